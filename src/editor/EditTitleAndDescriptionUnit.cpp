#include "editor/EditTitleAndDescriptionUnit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtConvert.h"

namespace quilmo {

TEditTitleAndDescriptionForm::TEditTitleAndDescriptionForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditTitleAndDescriptionForm"));
    setWindowTitle(QStringLiteral("Заголовок и описание теста"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);

    QFont fieldFont(QStringLiteral("Tahoma"));
    fieldFont.setPixelSize(15);

    auto* titleLabel = new QLabel(QStringLiteral("Заголовок теста:"), this);
    EditTitle = new QLineEdit(this);
    EditTitle->setObjectName(QStringLiteral("EditTitle"));
    EditTitle->setFont(fieldFont);
    auto* descriptionLabel = new QLabel(QStringLiteral("Описание теста:"), this);
    MemoDescription = new QPlainTextEdit(this);
    MemoDescription->setObjectName(QStringLiteral("MemoDescription"));
    MemoDescription->setFont(fieldFont);
    MemoDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ButtonSave = new QPushButton(QStringLiteral("Сохранить изменения"), this);
    ButtonSave->setObjectName(QStringLiteral("ButtonSave"));
    ButtonSave->setAutoDefault(false);  // Enter in the title field must not close the dialog
    connect(ButtonSave, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(titleLabel);
    layout->addWidget(EditTitle);
    layout->addWidget(descriptionLabel);
    layout->addWidget(MemoDescription, 1);
    layout->addWidget(ButtonSave);
    resize(480, 330);
}

void TEditTitleAndDescriptionForm::SetTitle(const std::string& title)
{
    EditTitle->setText(Q(title));
}

void TEditTitleAndDescriptionForm::SetDescription(const std::string& description)
{
    MemoDescription->setPlainText(FieldToWidget(description));
}

std::string TEditTitleAndDescriptionForm::Title() const
{
    return S(EditTitle->text());
}

std::string TEditTitleAndDescriptionForm::Description() const
{
    return WidgetToField(MemoDescription->toPlainText());
}

}  // namespace quilmo
