// What the program sets up before its first window: Qt's dialogs in Russian and
// Tahoma, the font every layout is measured in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>

#include "app/QtStartup.h"
#include "editor/EditorUnit.h"
#include "model/Cp1251.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"

namespace quilmo::testing {
namespace {

TEST(QtStartupTest, QtsOwnDialogTextsAreRussian)
{
    ASSERT_TRUE(InstallQtTranslation(*qApp));
    const struct {
        const char* Context;
        const char* English;
    } cases[] = {
        {"QFileDialog", "Look in:"},
        {"QFileDialog", "File &name:"},
        {"QFileDialog", "%1 already exists.\nDo you want to replace it?"},
        {"QFontDialog", "Font st&yle"},
        {"QColorDialog", "&Basic colors"},
    };
    for (const auto& c : cases) {
        const QString text = QCoreApplication::translate(c.Context, c.English);
        EXPECT_NE(text, QString::fromLatin1(c.English)) << c.English;
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("[А-Яа-я]")))) << c.English;
    }
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Yes);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Отмена");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove('&'), "Да");
    // A second call loads nothing more.
    EXPECT_TRUE(InstallQtTranslation(*qApp));
}

TEST(QtStartupTest, TahomaIsThereWithItsBoldAndCyrillic)
{
    ASSERT_TRUE(RegisterTahoma());
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    EXPECT_EQ(QFontInfo(font).family(), "Tahoma");
    EXPECT_TRUE(QFontDatabase::isScalable(QStringLiteral("Tahoma")));
    EXPECT_TRUE(QFontDatabase::writingSystems(QStringLiteral("Tahoma")).contains(QFontDatabase::Cyrillic));
    font.setBold(true);
    EXPECT_TRUE(QFontInfo(font).bold());
    EXPECT_TRUE(QFontDatabase::styles(QStringLiteral("Tahoma")).contains(QStringLiteral("Bold")));
}

TEST(QtStartupTest, EditorStatusShowsTheWholeTaskCountInTahoma)
{
    PrepareApplication(*qApp);
    TempFolder folder;
    // 1,500 single-choice tasks, written by the file format's rules.
    std::string text = "Много\r\n\r\n1500\r\n--------\r\n2\r\n--------\r\n2\r\n0\r\n";
    for (int i = 1; i <= 1500; ++i)
        text += "----" + std::to_string(i) + "----\r\nВопрос\r\n\r\n\r\n1\r\nА\r\nБ\r\n\r\n\r\n\r\n";
    text += "----------конец---------\r\n";
    folder.Write("many.tst", Utf8ToCp1251(text));

    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    AppServices services{prompts, platform, desktop, folder.Path(), folder.Path(), {}};
    TEditorForm form(services);
    form.show();
    prompts.ExpectOpenFile(QString::fromStdString(folder / "many.tst"));
    form.MFOpenClick();
    prompts.Verify();

    auto* panel = form.findChild<QLabel*>(QStringLiteral("StatusPanel0"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), "Всего заданий: 1500");
    EXPECT_EQ(QFontInfo(panel->font()).family(), "Tahoma");
    const int room = panel->contentsRect().width() - panel->indent();
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), room);
}

}  // namespace
}  // namespace quilmo::testing
