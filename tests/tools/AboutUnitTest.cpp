// The about box: title, version, links and their hover.

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/QtConvert.h"
#include "app/Version.h"
#include "support/QtRunnerFixture.h"
#include "tools/AboutUnit.h"

namespace quilmo::testing {
namespace {

void ClickLabel(QLabel* label)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, label->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &press);
    QApplication::sendEvent(label, &release);
}

class AboutUnitTest : public RunnerTest {};

TEST_F(AboutUnitTest, HelpMenuShowsTitleVersionAndLinks)
{
    Start();
    prompts.ExpectModal("TAboutForm", [](QDialog& about) {
        EXPECT_EQ(about.windowTitle(), "О программе");
        EXPECT_EQ(about.size(), QSize(360, 238));
        EXPECT_EQ(about.findChild<QLabel*>("ApplicationTitle")->text(), "Программа: Quilmo");
        EXPECT_EQ(about.findChild<QLabel*>("Version")->text(),
                  QString("Версия: ") + QUILMO_VERSION);
        EXPECT_EQ(about.findChild<QLabel*>("GoToWWW")->text(), "Посетить сайт quilmo.example.org");
        EXPECT_EQ(about.findChild<QLabel*>("SendEmail")->text(),
                  "Написать автору quilmo@example.org");
        EXPECT_EQ(about.findChild<QLabel*>("PortalLink")->text(), "www.example.org/quilmo");
        for (const char* link : {"GoToWWW", "PortalLink", "Image3", "SendEmail"})
            ClickLabel(about.findChild<QLabel*>(link));
        return QDialog::Accepted;
    });
    ASSERT_TRUE(form->Menus().MHShowAboutBox->isEnabled());
    form->Menus().MHShowAboutBox->trigger();

    const QString v = QUILMO_VERSION;
    ASSERT_EQ(desktop.Opened.size(), 4);
    EXPECT_EQ(desktop.Opened[0].toString(), "https://quilmo.example.org/?from=quilmo" + v);
    EXPECT_EQ(desktop.Opened[1].toString(), "https://www.example.org/quilmo/?from=quilmo" + v);
    EXPECT_EQ(desktop.Opened[2].toString(), "https://www.example.org/quilmo/?from=quilmo" + v);
    EXPECT_EQ(desktop.Opened[3].toString(QUrl::FullyEncoded),
              "mailto:quilmo@example.org?SUBJECT=Quilmo%20" + v +
                  "&BODY=%D0%A1%D0%B2%D1%8F%D0%B7%D1%8C%20%D1%81%20%D0%B0%D0%B2%D1%82%D0%BE%D1%80"
                  "%D0%BE%D0%BC%20%D0%BF%D1%80%D0%BE%D0%B3%D1%80%D0%B0%D0%BC%D0%BC%D1%8B");
}

TEST_F(AboutUnitTest, LinksLightUpUnderTheMouse)
{
    Start();
    TAboutForm about(*services);
    const QColor navy(0, 0, 128);
    for (const char* name : {"GoToWWW", "PortalLink", "SendEmail"}) {
        auto* link = about.findChild<QLabel*>(name);
        EXPECT_EQ(link->palette().color(QPalette::WindowText), navy) << name;
        EXPECT_TRUE(link->font().underline()) << name;

        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(link, &enter);
        EXPECT_EQ(link->palette().color(QPalette::WindowText), WinColorToQColor(-16777216 + 26))
            << name;
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor) << name;

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        EXPECT_EQ(link->palette().color(QPalette::WindowText), navy) << name;
        EXPECT_EQ(link->cursor().shape(), Qt::ArrowCursor) << name;
    }
    auto* picture = about.findChild<QLabel*>("Image3");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(picture, &enter);
    EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace quilmo::testing
