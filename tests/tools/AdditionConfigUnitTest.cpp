// The additional settings dialog: its pages, their "Применить" buttons, the
// folder browser, the colour dialog and the file associations.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cerrno>

#include "app/QtConvert.h"
#include "model/FileIO.h"
#include "support/QtRunnerFixture.h"
#include "support/XdgSandbox.h"
#include "tools/AdditionConfigUnit.h"
#include "tools/ExternalCommand.h"

namespace quilmo::testing {
namespace {

class AdditionConfigUnitTest : public ::testing::Test {
protected:
    AdditionConfigUnitTest() { SetDefaults(mode, config); }
    void TearDown() override
    {
        form.reset();
        prompts.Verify();
    }

    TAdditionConfigForm& Open(const std::string& program)
    {
        form = std::make_unique<TAdditionConfigForm>(services, mode, config,
                                                     AssociationContext{xdg.DataHome(), program});
        return *form;
    }
    TAdditionConfigForm& Open() { return Open(xdg.Program("bin/quilmo")); }

    QCheckBox* Box(const char* name) const { return form->findChild<QCheckBox*>(name); }
    QLineEdit* Edit(const char* name) const { return form->findChild<QLineEdit*>(name); }
    void Click(const char* name) const { form->findChild<QPushButton*>(name)->click(); }
    void ShowPage(int index) const { form->Pages()->setCurrentIndex(index); }

    XdgSandbox xdg;
    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    AppServices services{prompts, platform, desktop, folder.Path(), folder.Path(), {}};
    TModeConfig mode;
    TConfig config;
    std::unique_ptr<TAdditionConfigForm> form;
};

// The tick and the enabling of the three type boxes, .tst, .stst, .est.
std::string BoxStates(const TAdditionConfigForm& form)
{
    std::string states;
    for (const char* name : {"CheckBox_TST", "CheckBox_STST", "CheckBox_EST"}) {
        const auto* box = form.findChild<QCheckBox*>(name);
        states += box->isChecked() ? 'x' : '-';
        states += box->isEnabled() ? "e " : "d ";
    }
    return states;
}

TEST_F(AdditionConfigUnitTest, AssociationsOfOnlyTheTickedTypeAndNoneForAnotherCopy)
{
    if (FindOnPath("update-mime-database").empty() || FindOnPath("xdg-mime").empty())
        GTEST_SKIP() << "update-mime-database or xdg-mime is not installed";
    Open();
    EXPECT_EQ(form->Pages()->currentIndex(), 0);
    EXPECT_EQ(BoxStates(*form), "-e -e -e ");

    Box("CheckBox_EST")->setChecked(true);
    Click("ButtonSetAssociation");
    EXPECT_EQ(BoxStates(*form), "-e -e xd ");

    // Switching pages keeps the registered state.
    ShowPage(3);
    ShowPage(0);
    EXPECT_EQ(BoxStates(*form), "-e -e xd ");

    // The same dialog of a copy of the program elsewhere finds nothing of its own.
    Open(xdg.Program("copy/quilmo"));
    EXPECT_EQ(BoxStates(*form), "-e -e -e ");
}

TEST_F(AdditionConfigUnitTest, AssociationFailureIsShownAndTheTicksStay)
{
    Open();
    xdg.folder.Write("data/mime", "a file where the MIME folder belongs");
    prompts.ExpectMessage(QString::fromStdString("Не удалось создать папку \"" + xdg.DataHome() + "mime/packages\". " +
                                                 SystemErrorText(ENOTDIR) + "."));
    Box("CheckBox_TST")->setChecked(true);
    Click("ButtonSetAssociation");
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(BoxStates(*form), "xe -e -e ");
}

TEST_F(AdditionConfigUnitTest, NetworkEditsAreLostOnPageSwitchAndAppliedAsTyped)
{
    config.DirForResult = "/results";
    Open();
    ShowPage(1);
    EXPECT_EQ(Edit("Edit_RemoteHost")->text(), "127.0.0.1");
    Edit("Edit_RemoteHost")->setText("teacher-pc");
    ShowPage(2);
    ShowPage(1);
    EXPECT_EQ(Edit("Edit_RemoteHost")->text(), "127.0.0.1");

    Edit("Edit_RemoteHost")->setText(" 10.0.0.5 ");
    Edit("Edit_RemotePort")->setText("51o5");
    Edit("Edit_LocalPort")->setText("");
    Box("CheckBox_SendResult")->setChecked(true);
    const TConfig before = config;
    Click("ButtonSetNetConfig");

    EXPECT_EQ(config.RemoteHost, " 10.0.0.5 ");
    EXPECT_EQ(config.RemotePort, "51o5");
    EXPECT_EQ(config.LocalPort, "");
    EXPECT_EQ(mode.SendResult, 1);
    TConfig rest = config;
    rest.RemoteHost = before.RemoteHost;
    rest.RemotePort = before.RemotePort;
    rest.LocalPort = before.LocalPort;
    EXPECT_EQ(rest, before) << "folders and colours untouched";
}

TEST_F(AdditionConfigUnitTest, FolderBrowserChoosesCancellingEmptiesAndApplyLeavesColours)
{
    config.InitialDirOpenTest = "/old/tests";
    config.DirForResult = "/old/results";
    config.ColorCorrectAnswer = 0x00112233;
    Open();
    ShowPage(2);
    EXPECT_EQ(Edit("Edit_InitialDirOpenTest")->text(), "/old/tests");
    EXPECT_EQ(Edit("Edit_DirForResult")->text(), "/old/results");

    prompts.ExpectFolder(QString("/srv/tests"));
    Click("Button_SelectInitialDirOpenTest");
    EXPECT_EQ(prompts.Last().Caption, "Пожалуйста, выберите папку");
    EXPECT_EQ(Edit("Edit_InitialDirOpenTest")->text(), "/srv/tests");

    prompts.ExpectFolder(std::nullopt);
    Click("Button_SelectDirForResult");
    EXPECT_EQ(Edit("Edit_DirForResult")->text(), "");

    const TConfig before = config;
    Click("ButtonSaveFolder");
    EXPECT_EQ(config.InitialDirOpenTest, "/srv/tests");
    EXPECT_EQ(config.DirForResult, "");
    EXPECT_EQ(config.ColorCorrectAnswer, 0x00112233);
    EXPECT_EQ(config.ColorErrorAnswer, before.ColorErrorAnswer);
    EXPECT_EQ(config.RemoteHost, before.RemoteHost);

    Click("Button_ClearInitialDirOpenTest");
    EXPECT_EQ(Edit("Edit_InitialDirOpenTest")->text(), "");
    EXPECT_EQ(config.InitialDirOpenTest, "/srv/tests") << "not applied yet";
}

TEST_F(AdditionConfigUnitTest, ColourDialogGetsBothColoursInItsFirstColumnsAndApplyLeavesFolders)
{
    config.DirForResult = "/results";
    Open();
    ShowPage(3);
    EXPECT_EQ(form->CorrectSquareColor(), 14218716);
    EXPECT_EQ(form->ErrorSquareColor(), 13428479);

    prompts.ExpectColor(QColor(1, 2, 3));
    Click("ChoiceColorCorrectAnswer");
    EXPECT_EQ(prompts.Last().Text, QColor(220, 245, 216).name()) << "preselected";
    const QList<QColor> custom = prompts.LastCustomColors();
    ASSERT_EQ(custom.size(), 16);
    // The dialog numbers its two rows of eight down each column.
    EXPECT_EQ(custom[0], QColor(220, 245, 216));  // slot A
    EXPECT_EQ(custom[1], QColor(220, 245, 216));  // slot I
    EXPECT_EQ(custom[2], QColor(255, 230, 204));  // slot B
    EXPECT_EQ(custom[3], QColor(255, 230, 204));  // slot J
    for (int i = 4; i < 16; ++i)
        EXPECT_EQ(custom[i], QColor(Qt::white)) << i;
    EXPECT_EQ(form->CorrectSquareColor(), 0x00030201);

    // A second press offers the same custom colours, though the square changed.
    prompts.ExpectColor(std::nullopt);
    Click("ChoiceColorErrorAnswer");
    EXPECT_EQ(prompts.LastCustomColors()[0], QColor(220, 245, 216));
    EXPECT_EQ(form->ErrorSquareColor(), 13428479) << "cancelled";

    Click("ButtonSetColors");
    EXPECT_EQ(config.ColorCorrectAnswer, 0x00030201);
    EXPECT_EQ(config.ColorErrorAnswer, 13428479);
    EXPECT_EQ(config.DirForResult, "/results");

    // A choice not applied is gone when the page shows again.
    prompts.ExpectColor(QColor(9, 9, 9));
    Click("ChoiceColorErrorAnswer");
    ShowPage(0);
    ShowPage(3);
    EXPECT_EQ(form->ErrorSquareColor(), 13428479);
}

class AdditionConfigMenuTest : public RunnerTest {
protected:
    XdgSandbox xdg;
};

TEST_F(AdditionConfigMenuTest, SettingsMenuOpensTheDialogOnItsFirstPage)
{
    Start();
    prompts.ExpectModal("TAdditionConfigForm", [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Дополнительные настройки");
        EXPECT_EQ(dialog.size(), QSize(428, 318));
        auto* pages = dialog.findChild<QTabWidget*>("PageControl");
        EXPECT_EQ(pages->count(), 4);
        EXPECT_EQ(pages->tabText(0), "Ассоциация расширений");
        EXPECT_EQ(pages->tabText(1), "Настройки сети");
        EXPECT_EQ(pages->tabText(2), "Папки");
        EXPECT_EQ(pages->tabText(3), "Цвета");
        EXPECT_EQ(pages->currentIndex(), 0);
        EXPECT_EQ(BoxStates(static_cast<TAdditionConfigForm&>(dialog)), "-e -e -e ");
        return QDialog::Rejected;
    });
    form->MConfigClick();
    ASSERT_TRUE(form->Menus().MCAdditionConfig->isEnabled());
    form->Menus().MCAdditionConfig->trigger();
}

}  // namespace
}  // namespace quilmo::testing
