#include "app/TestInfoUnit.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "model/InfoText.h"

namespace quilmo {

TTestInfoForm::TTestInfoForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TestInfoForm"));
    setWindowTitle(QStringLiteral("Информация о тесте"));

    InfoText = new QPlainTextEdit(this);
    InfoText->setObjectName(QStringLiteral("InfoText"));
    InfoText->setReadOnly(true);
    InfoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(10);
    InfoText->setFont(font);
    QPalette pal = InfoText->palette();
    pal.setColor(QPalette::Text, QColor(0, 128, 0));
    InfoText->setPalette(pal);

    OKButton = new QPushButton(QStringLiteral("ОК"), this);  // Cyrillic letters
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(InfoText);
    layout->addWidget(OKButton);
    setFixedSize(420, 320);
}

void TTestInfoForm::Fill(const TTestInfo& info, const TModeConfig& mode)
{
    InfoText->clear();
    InfoText->setPlainText(JoinForDisplay(TestInfoWindowText(info, mode)));
    InfoText->moveCursor(QTextCursor::Start);
}

QString TTestInfoForm::Text() const
{
    return InfoText->toPlainText();
}

}  // namespace quilmo
