// Every menu item and every shortcut of every window with a menu, triggered
// through Qt's own event path, each checked by the effect of its handler.

#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <filesystem>

#include "journal/Diagram1Unit.h"
#include "journal/ServerUnit.h"
#include "support/JournalSample.h"
#include "support/QtEditorFixture.h"
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


// ---------------------------------------------------------------- the editor

class EditorMenuActionsUnitTest : public EditorTest {
protected:
    void SetUp() override
    {
        Start();
        path = WriteTest("three.txt");
        ActivateWindow(form.get());
    }
    // The three tasks freshly opened, task `select` (-1: none) selected.
    void Reopen(int select = -1)
    {
        ActivateWindow(form.get());
        Open(path);
        prompts.Verify();
        ASSERT_EQ(form->TaskCount(), 3);
        if (select >= 0)
            form->SelectTask(select);
    }
    MenuCase Modal(QAction* item, QKeySequence shortcut, const char* className, int select = 0)
    {
        return {item, shortcut,
                [this, className, select] {
                    Reopen(select);
                    prompts.ExpectModal(className, Rejecting());
                },
                [] {}};
    }
    MenuCase Dialog(QAction* item, QKeySequence shortcut, bool save, const char* title)
    {
        return {item, shortcut,
                [this, save] {
                    Reopen();
                    if (save)
                        prompts.ExpectSaveFile(std::nullopt);
                    else
                        prompts.ExpectOpenFile(std::nullopt);
                },
                [this, title] { EXPECT_EQ(prompts.Last().File.Title, QString::fromUtf8(title)); }};
    }
    MenuCase Adds(QAction* item, QKeySequence shortcut, int type)
    {
        return {item, shortcut, [this] { Reopen(0); },
                [this, type] {
                    ASSERT_EQ(form->TaskCount(), 4);
                    if (type) {
                        EXPECT_EQ(form->TaskAt(3).TaskType, type);
                    }
                }};
    }
    MenuCase Deletes(QAction* item, QKeySequence shortcut)
    {
        return {item, shortcut,
                [this] {
                    Reopen(0);
                    prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::Yes);
                },
                [this] {
                    ASSERT_EQ(form->TaskCount(), 2);
                    EXPECT_EQ(form->NodeLabel(0), "Второй вопрос");
                }};
    }
    MenuCase Moves(QAction* item, int select, int position, const char* label)
    {
        return {item, {}, [this, select] { Reopen(select); },
                [this, position, label] { EXPECT_EQ(form->NodeLabel(position), QString::fromUtf8(label)); }};
    }

    std::string path;
};

TEST_F(EditorMenuActionsUnitTest, EveryItemAndShortcutReachesItsHandler)
{
    const TEditorForm::TMenus& m = form->Menus();
    const std::vector<MenuCase> cases = {
        {m.MFNew, {}, [this] { Reopen(); }, [this] { EXPECT_EQ(form->TaskCount(), 0); }},
        Dialog(m.MFOpen, QKeySequence(Qt::CTRL | Qt::Key_O), false, "Открыть"),
        {m.MFSaveFile, QKeySequence(Qt::SHIFT | Qt::Key_F12),
         [this] {
             Reopen();
             std::filesystem::remove(path);
         },
         [this] { EXPECT_TRUE(std::filesystem::exists(path)); }},
        Dialog(m.MFSaveFileAs, {}, true, "Сохранить как"),
        Dialog(m.MFImportFromOthr, {}, false, "Импорт заданий"),
        Dialog(m.MTExportToHTML, {}, true, "Экспорт в HTML"),
        Dialog(m.MFExportMoodleXml, {}, true, "Экспорт в Moodle XML"),
        Dialog(m.MFExportGift, {}, true, "Экспорт в GIFT"),
        Dialog(m.MFExportAiken, {}, true, "Экспорт в Aiken"),
        Modal(m.MTAdd, QKeySequence(Qt::CTRL | Qt::Key_Insert), "TSelectTypeTaskForm"),
        Adds(m.MTAdd2Sub[0], QKeySequence(Qt::SHIFT | Qt::Key_Insert), SingleChoice),
        Adds(m.MTAdd2Sub[1], {}, MultipleChoice),
        Adds(m.MTAdd2Sub[2], {}, Ordering),
        Deletes(m.MTDelete, QKeySequence(Qt::CTRL | Qt::Key_Delete)),
        Moves(m.MTMoveToUp, 1, 0, "Второй вопрос"),
        Moves(m.MTMoveToDown, 0, 1, "Первый вопрос"),
        Moves(m.MTMoveToFirst, 2, 0, "Третий вопрос"),
        Moves(m.MTMoveToLast, 0, 2, "Первый вопрос"),
        Adds(m.MTAddCopy, {}, 0),
        {m.MTCopyToClipboard, {},
         [this] {
             Reopen(1);
             QGuiApplication::clipboard()->clear();
         },
         [] { EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("Второй вопрос")); }},
        {m.MTPasteFromClipboard, {},
         [this] {
             Reopen(1);
             form->MTCopyToClipboardClick();
             form->ApplicationIdle();
         },
         [this] {
             ASSERT_EQ(form->TaskCount(), 4);
             EXPECT_EQ(form->TaskAt(3).Question, "Второй вопрос");
         }},
        Modal(m.MTChangeType, {}, "TSelectTypeTaskForm"),
        Modal(m.MPTitleAndDescription, {}, "TEditTitleAndDescriptionForm", -1),
        Modal(m.MFMarks, {}, "TMarkLevelForm", -1),
        {m.MVFont, {},
         [this] {
             Reopen();
             prompts.ExpectFont(std::nullopt);
         },
         [] {}},
        {m.MVIcon16, {}, [this] { form->MVIcon24Click(); },
         [this] { EXPECT_EQ(form->Tree()->iconSize(), QSize(16, 16)); }},
        {m.MVIcon24, {}, [this] { form->MVIcon16Click(); },
         [this] { EXPECT_EQ(form->Tree()->iconSize(), QSize(24, 24)); }},
        {m.MHShowHelp, QKeySequence(Qt::Key_F1), [this] { desktop.Opened.clear(); },
         [this] {
             ASSERT_EQ(desktop.Opened.size(), 1);
             EXPECT_TRUE(desktop.Opened[0].path().endsWith("/Help.html"));
         }},
        Modal(m.MHShowAboutBox, {}, "TAboutForm", -1),
        Adds(m.PMAddSub[0], {}, SingleChoice),
        Adds(m.PMAddSub[1], {}, MultipleChoice),
        Adds(m.PMAddSub[2], {}, Ordering),
        Deletes(m.PMDelete, {}),
        Adds(m.PMAddCopy, {}, 0),
        Modal(m.PMChangeType, {}, "TSelectTypeTaskForm"),
        {m.MFClose, {}, [this] { Reopen(); }, [this] { EXPECT_FALSE(form->isVisible()); }},
    };
    const auto inField = [this](const char* name) { return [this, name] { return W<QWidget>(name); }; };
    const std::vector<KeyCase> keys = {
        // Keys reach the window before the control with the focus: in a text
        // field the task menu's keys stay the menu's.
        {"Ctrl+Ins in the question", QKeySequence(Qt::CTRL | Qt::Key_Insert),
         [this] {
             Reopen(0);
             prompts.ExpectModal("TSelectTypeTaskForm", Rejecting());
         },
         [] {}, inField("QuestionText")},
        {"Shift+Ins in a variant", QKeySequence(Qt::SHIFT | Qt::Key_Insert), [this] { Reopen(0); },
         [this] { EXPECT_EQ(form->TaskCount(), 4); }, inField("VariantText1")},
        {"Ctrl+Del in the prompt", QKeySequence(Qt::CTRL | Qt::Key_Delete),
         [this] {
             Reopen(0);
             prompts.ExpectMessage("Вы желаете удалить задание?", PromptAnswer::No);
         },
         [this] { EXPECT_EQ(form->TaskCount(), 3); }, inField("PromptEdit")},
        {"Ctrl+Down in a variant moves its text down", QKeySequence(Qt::CTRL | Qt::Key_Down),
         [this] { Reopen(0); },
         [this] {
             EXPECT_EQ(W<QPlainTextEdit>("VariantText0")->toPlainText(), "Б");
             EXPECT_EQ(W<QPlainTextEdit>("VariantText1")->toPlainText(), "А");
         },
         inField("VariantText0")},
        {"Ctrl+Up in a variant moves its text up", QKeySequence(Qt::CTRL | Qt::Key_Up), [this] { Reopen(0); },
         [this] { EXPECT_EQ(W<QPlainTextEdit>("VariantText0")->toPlainText(), "Б"); }, inField("VariantText1")},
        {"Escape keeps the editor open", QKeySequence(Qt::Key_Escape), [this] { Reopen(); },
         [this] { EXPECT_TRUE(form->isVisible()); }},
    };
    RunMenuCases(form.get(), prompts, cases, keys);
}

// The text keys stay the text fields' own: copy, paste and cut.
TEST_F(EditorMenuActionsUnitTest, TextFieldsKeepCopyPasteAndCut)
{
    Reopen(0);
    auto* question = W<QPlainTextEdit>("QuestionText");
    question->selectAll();
    QGuiApplication::clipboard()->clear();
    PressOn(form.get(), QKeySequence(Qt::CTRL | Qt::Key_C), question);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Первый вопрос");

    auto* prompt = W<QLineEdit>("PromptEdit");
    prompt->clear();
    PressOn(form.get(), QKeySequence(Qt::CTRL | Qt::Key_V), prompt);
    EXPECT_EQ(prompt->text(), "Первый вопрос");
    prompt->selectAll();
    QGuiApplication::clipboard()->clear();
    PressOn(form.get(), QKeySequence(Qt::CTRL | Qt::Key_X), prompt);
    EXPECT_EQ(prompt->text(), "");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Первый вопрос");
    EXPECT_EQ(form->TaskCount(), 3);  // no menu item took any of them
}

// ---------------------------------------------------------------- the journal and its chart

class JournalMenuActionsUnitTest : public RunnerTest {
protected:
    void SetUp() override
    {
        Start();
        int minute = 0;
        for (const char* user : {"Анна", "Борис", "Вера"})
            Receive(JournalSample(user, ++minute));
    }
    TServerForm& Journal() { return form->ServerForm(); }
    void Receive(const journal::TTestResult& r) { Journal().ReceiveEvent(JournalResultEvent(r)); }
    MenuCase Chart(QAction* item, const char* className)
    {
        return {item, {},
                [this, className] {
                    Journal().SelectRow(1);
                    prompts.ExpectModal(className, Rejecting());
                },
                [] {}};
    }
    MenuCase Deletes(QAction* item)
    {
        return {item, {},
                [this] {
                    Receive(JournalSample("Удаляемый " + std::to_string(++extra), 30));
                    rows = Journal().GridRowCount();
                    Journal().SelectRow(rows - 1);
                },
                [this] { EXPECT_EQ(Journal().GridRowCount(), rows - 1); }};
    }
    MenuCase FitsColumns(QAction* item)
    {
        return {item, {}, [this] { grid()->setColumnWidth(2, 1); },
                [this] { EXPECT_GT(Journal().ColumnWidth(2), 1); }};
    }
    QTableWidget* grid() { return Journal().findChild<QTableWidget*>("ResultGrid"); }
    int extra = 0;
    int rows = 0;
};

TEST_F(JournalMenuActionsUnitTest, EveryItemReachesItsHandler)
{
    const TServerForm::TMenus& m = Journal().Menus();
    const std::vector<MenuCase> cases = {
        {m.MFaleSaveAs, {}, [this] { prompts.ExpectSaveFile(std::nullopt); },
         [this] { EXPECT_TRUE(prompts.Last().File.Filter.contains("*.XLSX")); }},
        {m.MFImportResults, {}, [this] { prompts.ExpectOpenFiles(std::nullopt); },
         [this] { EXPECT_EQ(prompts.Last().File.Title, "Импорт result.txt"); }},
        FitsColumns(m.MOptimizeWidthColGrid),
        Deletes(m.MDelete),
        Chart(m.MAD1, "TDiagram1Form"),
        Chart(m.MAD2, "TDiagram1Form"),
        Chart(m.MAD3, "TDiagram1Form"),
        Chart(m.MAItemStats, "TItemStatisticsForm"),
        FitsColumns(m.PMOptimizeWidthColGrid),
        Deletes(m.PMDelete),
        Chart(m.PMAD1, "TDiagram1Form"),
        Chart(m.PMAD2, "TDiagram1Form"),
        Chart(m.PMItemStats, "TItemStatisticsForm"),
    };
    RunMenuCases(&Journal(), prompts, cases);
}

TEST_F(JournalMenuActionsUnitTest, EveryChartItemReachesItsHandler)
{
    TDiagram1Form chart(*services);
    chart.Values = {2, 1};
    chart.MaxValue = 2;
    chart.PaintBox()->resize(484, 211);
    const TDiagram1Form::TMenus& m = chart.Menus();
    const std::vector<MenuCase> cases = {
        {m.MDSaveAs, {}, [this] { prompts.ExpectSaveFile(std::nullopt); },
         [this] { EXPECT_EQ(prompts.Last().File.DefaultExtension, "BMP"); }},
        {m.MDCopy, {}, [] { QGuiApplication::clipboard()->clear(); },
         [] { EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(484, 211)); }},
    };
    RunMenuCases(&chart, prompts, cases);
}

}  // namespace
}  // namespace quilmo::testing
