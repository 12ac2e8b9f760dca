#include "runner/InputUserNameUnit.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "runner/SessionText.h"

namespace quilmo {

TInputUserNameForm::TInputUserNameForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("InputUserNameForm"));
    setWindowTitle(QStringLiteral("Начнем тест?!"));

    HelloLabel = new QLabel(QStringLiteral("Как Вас зовут?"), this);
    HelloLabel->setObjectName(QStringLiteral("HelloLabel"));
    HelloLabel->setAlignment(Qt::AlignCenter);
    QFont bold = HelloLabel->font();
    bold.setBold(true);
    HelloLabel->setFont(bold);
    QPalette pal = HelloLabel->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 102, 204));  // the system's hot-track blue
    HelloLabel->setPalette(pal);

    UserName = new QLineEdit(QStringLiteral("Неизвестный"), this);
    UserName->setObjectName(QStringLiteral("UserName"));
    UserName->installEventFilter(this);
    connect(UserName, &QLineEdit::textChanged, this, &TInputUserNameForm::UserNameChange);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addWidget(HelloLabel);
    layout->addWidget(UserName);
    layout->addWidget(OKButton);
    setFixedSize(268, 121);
}

void TInputUserNameForm::Prepare(int hour, const QString& proposedName)
{
    HelloLabel->setText(Q(HelloText(hour)));
    Preparing = true;
    UserName->setText(proposedName);
    Preparing = false;
    EditedFlag = false;
    UserName->setFocus();
}

QString TInputUserNameForm::UserNameText() const
{
    return UserName->text();
}

void TInputUserNameForm::SetUserNameText(const QString& text)
{
    UserName->setText(text);
}

void TInputUserNameForm::UserNameChange()
{
    if (!Preparing)
        EditedFlag = true;
}

void TInputUserNameForm::UserNameClick()
{
    // A single click wipes the proposed name; once the learner has typed, it no longer does.
    if (EditedFlag)
        return;
    UserName->clear();
    EditedFlag = true;
}

bool TInputUserNameForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == UserName && event->type() == QEvent::MouseButtonPress)
        UserNameClick();
    return QDialog::eventFilter(watched, event);
}

}  // namespace quilmo
