// Every menu item and every shortcut of every window, triggered through Qt's
// own event path, each checked by the effect of its handler.

#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <filesystem>

#include "journal/ServerUnit.h"
#include "support/QtMenuActions.h"
#include "support/QtSessionFixture.h"

namespace quilmo::testing {
namespace {

auto Rejecting()
{
    return [](QDialog&) { return int(QDialog::Rejected); };
}

class RunnerMenuActionsUnitTest : public SessionTest {
protected:
    void SetUp() override
    {
        Start();
        form->Config().LocalPort = "0";  // the journal on any free port
        ActivateWindow(form.get());
    }
    void NoTest()
    {
        form->DiscardSession();
        if (form->State() != TRunnerState::NoTest)
            form->CloseTest();
        ActivateWindow(form.get());
    }
    void TestOpen()
    {
        NoTest();
        OpenTestFile(TestFileLines("Тест меню", {}, {{"Вопрос", "1", {"Да", "Нет"}}}));
        ASSERT_EQ(form->State(), TRunnerState::TestOpen);
    }
    void TestRunning()
    {
        TestOpen();
        Begin();
        ASSERT_EQ(form->State(), TRunnerState::TestRunning);
    }
    // A setting that the item must change from `before` to `after`.
    MenuCase Setting(QAction* item, uint8_t TModeConfig::*field, uint8_t before, uint8_t after)
    {
        return {item, {}, [this, field, before] { form->Mode().*field = before; },
                [this, field, after] { EXPECT_EQ(form->Mode().*field, after); }};
    }
    MenuCase Modal(QAction* item, QKeySequence shortcut, const char* className,
                   std::function<void()> state)
    {
        return {item, shortcut,
                [this, state, className] {
                    state();
                    prompts.ExpectModal(className, Rejecting());
                },
                [] {}};
    }
};

TEST_F(RunnerMenuActionsUnitTest, EveryItemAndShortcutReachesItsHandler)
{
    const TMainForm::TMenus& m = form->Menus();
    auto noTest = [this] { NoTest(); };
    auto testOpen = [this] { TestOpen(); };
    const std::vector<MenuCase> cases = {
        {m.MFOpen, QKeySequence(Qt::CTRL | Qt::Key_O),
         [this] {
             NoTest();
             prompts.ExpectOpenFile(std::nullopt);
         },
         [this] { EXPECT_EQ(prompts.Last().File.Title, "Открыть"); }},
        {m.MFSaveAs, {},
         [this] {
             TestOpen();
             prompts.ExpectSaveFile(std::nullopt);
         },
         [this] { EXPECT_EQ(prompts.Last().File.Title, "Сохранить как"); }},
        {m.MFClose, {}, testOpen, [this] { EXPECT_EQ(form->State(), TRunnerState::NoTest); }},
        Modal(m.MTInfo, {}, "TTestInfoForm", testOpen),
        Modal(m.MTBegin, QKeySequence(Qt::Key_F5), "TInputUserNameForm", testOpen),
        {m.MTEnd, {},
         [this] {
             TestRunning();
             prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::No);
         },
         [this] { EXPECT_EQ(form->State(), TRunnerState::TestRunning); }},
        {m.MCFont, {},
         [this] {
             NoTest();
             prompts.ExpectFont(std::nullopt);
         },
         [] {}},
        Setting(m.MCOTNormal, &TModeConfig::OrderTaskNormal, 0, 1),
        Setting(m.MCOTRandom, &TModeConfig::OrderTaskNormal, 1, 0),
        Setting(m.MCOVNormal, &TModeConfig::OrderVariantNormal, 0, 1),
        Setting(m.MCOVRandom, &TModeConfig::OrderVariantNormal, 1, 0),
        Setting(m.MCModeEducation, &TModeConfig::ModeEducation, 0, 1),
        Setting(m.MCMTLimit[0], &TModeConfig::ModeTimeLimit, 2, 0),
        Setting(m.MCMTLimit[1], &TModeConfig::ModeTimeLimit, 0, 1),
        Setting(m.MCMTLimit[2], &TModeConfig::ModeTimeLimit, 1, 2),
        Setting(m.MCSaveResult, &TModeConfig::SaveResult, 1, 0),
        Setting(m.MCSaveConfig, &TModeConfig::SaveConfig, 0, 1),
        {m.MCMTLSetupTest, {},
         [this] {
             prompts.ExpectInput("Задайте максимальное время (в секундах) прохождения теста:",
                                 std::nullopt);
         },
         [] {}},
        {m.MCMTLSetupTask, {},
         [this] {
             prompts.ExpectInput("Задайте максимальное время (в секундах) обдумывания вопроса:",
                                 std::nullopt);
         },
         [] {}},
        Modal(m.MCAdditionConfig, {}, "TAdditionConfigForm", noTest),
        {m.MCSaveConfigNow, {},
         [this] {
             prompts.ExpectMessage("Вы желаете сохранить настройки программы сейчас?",
                                   PromptAnswer::No);
         },
         [] {}},
        {m.MCLoadConfigNow, {},
         [this] {
             prompts.ExpectMessage("Вы желаете загрузить настройки программы сейчас?",
                                   PromptAnswer::No);
         },
         [] {}},
        {m.MMServer, QKeySequence(Qt::Key_F2), [this] { form->ServerForm().hide(); },
         [this] {
             EXPECT_TRUE(form->ServerForm().isVisible());
             form->ServerForm().hide();
         }},
        Modal(m.MMEncrypt, QKeySequence(Qt::Key_F3), "TEncryptForm", noTest),
        Modal(m.MMEditor, QKeySequence(Qt::Key_F4), "TEditorForm", noTest),
        {m.MHShowHelp, QKeySequence(Qt::Key_F1), [this] { desktop.Opened.clear(); },
         [this] {
             ASSERT_EQ(desktop.Opened.size(), 1);
             EXPECT_TRUE(desktop.Opened[0].path().endsWith("/Help.html"));
         }},
        Modal(m.MHShowAboutBox, {}, "TAboutForm", noTest),
        {m.MFExit, {}, noTest, [this] { EXPECT_FALSE(form->isVisible()); }},
    };
    QAction* modules = m.MModuls->menuAction();
    const std::vector<KeyCase> keys = {
        {"F7 shows the Modules menu", QKeySequence(Qt::Key_F7),
         [this, modules] {
             NoTest();
             modules->setVisible(false);
         },
         [modules] { EXPECT_TRUE(modules->isVisible()); }},
        {"F7 again hides it", QKeySequence(Qt::Key_F7), [] {},
         [modules] { EXPECT_FALSE(modules->isVisible()); }},
    };
    RunMenuCases(form.get(), prompts, cases, keys);
}

}  // namespace
}  // namespace quilmo::testing
