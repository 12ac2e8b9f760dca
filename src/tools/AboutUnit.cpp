#include "tools/AboutUnit.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/QtArt.h"
#include "app/QtConvert.h"
#include "tools/About.h"
#include "tools/QtToolArt.h"

namespace quilmo {

namespace {

const QColor kNavy(0, 0, 128);
constexpr int32_t kColorHotLight = -16777216 + 26;  // system colour 26

QLabel* LinkLabel(const char* name, const QString& caption, int tag, QWidget* parent)
{
    auto* link = new QLabel(caption, parent);
    link->setObjectName(QString::fromLatin1(name));
    link->setProperty("tag", tag);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette pal = link->palette();
    pal.setColor(QPalette::WindowText, kNavy);
    link->setPalette(pal);
    return link;
}

QLabel* Picture(const char* name, const QPixmap& pixmap, QWidget* parent)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(pixmap);
    picture->setFixedSize(pixmap.size());
    return picture;
}

}  // namespace

TAboutForm::TAboutForm(AppServices& services, QWidget* parent)
    : QDialog(parent), Services(services), FileVersion(ProgramVersion())
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("О программе"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    QLabel* logo = Picture("Image1", ProgramPicture(40), panel);
    QLabel* rosette = Picture("Image2", RosettePicture(32), panel);
    ApplicationTitle = new QLabel(panel);
    ApplicationTitle->setObjectName(QStringLiteral("ApplicationTitle"));
    QFont titleFont = ApplicationTitle->font();
    titleFont.setBold(true);
    ApplicationTitle->setFont(titleFont);
    Version = new QLabel(panel);
    Version->setObjectName(QStringLiteral("Version"));

    Image3 = Picture("Image3", GlobePicture(48), panel);
    PortalLink = LinkLabel("PortalLink", Q(PortalCaption()), 1, panel);

    Credits = new QPlainTextEdit(panel);
    Credits->setObjectName(QStringLiteral("Credits"));
    Credits->setReadOnly(true);
    Credits->setFrameShape(QFrame::NoFrame);
    Credits->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Credits->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette creditsPalette = Credits->palette();
    creditsPalette.setColor(QPalette::Base, palette().color(QPalette::Window));
    Credits->setPalette(creditsPalette);
    Credits->document()->setDocumentMargin(2);
    Credits->setPlainText(QStringLiteral("Программа для проведения \n"
                                         "компьютерного тестирования.\n"
                                         "\n"
                                         "Разработчики Quilmo.\n"
                                         "Новые версии и справка на сайте ") +
                          Q(SiteHostName()));

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->addWidget(ApplicationTitle);
    titles->addWidget(Version);
    titles->addStretch(1);
    top->addLayout(titles, 1);
    top->addWidget(rosette, 0, Qt::AlignTop);

    auto* middle = new QHBoxLayout;
    auto* portal = new QVBoxLayout;
    portal->addWidget(Image3, 0, Qt::AlignHCenter);
    portal->addWidget(PortalLink, 0, Qt::AlignHCenter);
    portal->addStretch(1);
    middle->addLayout(portal);
    middle->addWidget(Credits, 1);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(6, 6, 6, 4);
    panelLayout->setSpacing(4);
    panelLayout->addLayout(top);
    panelLayout->addLayout(middle, 1);

    GoToWWW = LinkLabel("GoToWWW", QStringLiteral("Посетить сайт ") + Q(SiteHostName()), 0, this);
    SendEmail = LinkLabel("SendEmail", QStringLiteral("Написать автору ") + Q(ProjectEmail()), 0, this);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    auto* links = new QVBoxLayout;
    links->addWidget(GoToWWW);
    links->addWidget(SendEmail);
    bottom->addLayout(links, 1);
    bottom->addWidget(OKButton, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(panel, 1);
    layout->addLayout(bottom);
    setFixedSize(360, 238);

    for (QLabel* watched : {GoToWWW, SendEmail, PortalLink, Image3})
        watched->installEventFilter(this);
    FormCreate();
}

void TAboutForm::FormCreate()
{
    ApplicationTitle->setText(QStringLiteral("Программа: ") + QString::fromUtf8(kAppTitle));
    Version->setText(QStringLiteral("Версия: ") + Q(FileVersion));
}

void TAboutForm::Open(const std::string& address)
{
    // Whether the desktop could open it is not reported.
    Services.desktop.OpenUrl(QUrl(Q(address)));
}

void TAboutForm::GoToWWWClick(QObject* sender)
{
    if (sender && sender->property("tag").toInt() == 1)
        Open(PortalAddress(FileVersion));
    else
        Open(SiteAddress(FileVersion));
}

void TAboutForm::Image3Click()
{
    Open(PortalAddress(FileVersion));
}

void TAboutForm::SendEmailClick()
{
    Open(MailAddress(FileVersion));
}

void TAboutForm::LinkMouseEnter(QLabel* link)
{
    QPalette pal = link->palette();
    pal.setColor(QPalette::WindowText, WinColorToQColor(kColorHotLight));
    link->setPalette(pal);
    link->setCursor(Qt::PointingHandCursor);
}

void TAboutForm::LinkMouseLeave(QLabel* link)
{
    QPalette pal = link->palette();
    pal.setColor(QPalette::WindowText, kNavy);
    link->setPalette(pal);
    link->unsetCursor();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        if (label == Image3)
            label->setCursor(Qt::PointingHandCursor);  // the picture keeps its colours
        else
            LinkMouseEnter(label);
        break;
    case QEvent::Leave:
        if (label == Image3)
            label->unsetCursor();
        else
            LinkMouseLeave(label);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (label == Image3)
                Image3Click();
            else if (label == SendEmail)
                SendEmailClick();
            else
                GoToWWWClick(label);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quilmo
