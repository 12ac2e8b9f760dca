// The main window as a shell: opening tests, menus by state, closing, settings at exit.

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/TestInfoUnit.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/QtRunnerFixture.h"

namespace quilmo::testing {
namespace {

// A small test in the file format, written by hand: two marks (pass from 2
// right answers), three tasks of the three types.
const std::vector<std::string> kPassFailTest = {
    "Проверка связи",
    "  Две строки_CRLF_описания",
    "3",
    "--------",
    "2",
    "--------",
    "2",
    "0",
    "----1----", "Вопрос один", "", "", "2", "А", "Б", "", "", "",
    "----2----", "Вопрос два", "", "", "1,3", "А", "Б", "В", "", "",
    "----3----", "Вопрос три", "", "", "2-1", "А", "Б", "", "", "",
    "----------конец---------",
};

class MainUnitTest : public RunnerTest {
protected:
    QString WriteTest(const std::string& name, const std::vector<std::string>& lines)
    {
        return QString::fromStdString(folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines))));
    }
    QString QuestionText() const
    {
        return form->findChild<QPlainTextEdit*>("QuestionText")->toPlainText();
    }
    static bool Enabled(const QAction* item) { return item->isEnabled(); }
};

TEST_F(MainUnitTest, StartsEmptyWithDateAndTimeInTheStatusBar)
{
    Start();
    EXPECT_EQ(form->State(), TRunnerState::NoTest);
    EXPECT_EQ(QuestionText(), "Для начала работы выберите тест...");
    EXPECT_EQ(form->findChild<QLabel*>("QuestionLabel")->text(), "Информация:");
    EXPECT_EQ(form->findChild<QLabel*>("StatusPanel4")->text(), "05.03.2024");
    EXPECT_EQ(form->findChild<QLabel*>("StatusPanel5")->text(), "09:15");
    EXPECT_FALSE(form->Menus().MModuls->menuAction()->isVisible());
}

TEST_F(MainUnitTest, TestOnTheCommandLineOpensWhenShownAndShowsItsInformation)
{
    const QString path = WriteTest("pass.tst", kPassFailTest);
    Start({path, "ignored-second-argument.tst"});
    form->FormShow();

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Tasks().size(), 3u);
    EXPECT_EQ(QuestionText(),
              "Открыт тест: \"Проверка связи\"\n"
              "Всего заданий в тесте: 3.\n"
              "Критерии оценивания:\n"
              " \"зачет\" не менее 2 ответов правильно;\n"
              "Желаем выполнить все задания...");
    EXPECT_EQ(form->TestInfo().Description, "Две строки\r\nописания");
    EXPECT_NE(form->TestInfo().FileCrc, 0u);
}

TEST_F(MainUnitTest, DemoTestOpens)
{
    Start({QString::fromUtf8(QUILMO_EXAMPLES) + "/demo/Demo.tst"});
    form->FormShow();
    ASSERT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Tasks().size(), 8u);
    EXPECT_TRUE(QuestionText().startsWith("Открыт тест: \"Демонстрационный тест: окружающий мир\""));
    // Its picture resolves into the test's folder.
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(form->Tasks()[3].ImageFile)));
}

TEST_F(MainUnitTest, DropOpensTheFirstFileOnlyWhileNoTestIsOpen)
{
    const QString first = WriteTest("first.tst", kPassFailTest);
    std::vector<std::string> other = kPassFailTest;
    other[0] = "Другой тест";
    const QString second = WriteTest("second.tst", other);
    Start();

    form->DropFiles({first, second});
    EXPECT_EQ(form->TestInfo().Title, "Проверка связи");
    form->DropFiles({second});
    EXPECT_EQ(form->TestInfo().Title, "Проверка связи");  // ignored, no message
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(MainUnitTest, FileMenuFollowsTheRunnerState)
{
    const QString path = WriteTest("pass.tst", kPassFailTest);
    Start();
    form->MFileClick();
    EXPECT_TRUE(Enabled(form->Menus().MFOpen));
    EXPECT_FALSE(Enabled(form->Menus().MFSaveAs));
    EXPECT_FALSE(Enabled(form->Menus().MFClose));
    EXPECT_TRUE(Enabled(form->Menus().MFExit));

    form->OpenTest(path);
    form->MFileClick();
    EXPECT_FALSE(Enabled(form->Menus().MFOpen));
    EXPECT_TRUE(Enabled(form->Menus().MFSaveAs));
    EXPECT_TRUE(Enabled(form->Menus().MFClose));
    EXPECT_FALSE(Enabled(form->Menus().MFExit));

    // A shortcut honours the same rule: File > Open does nothing with a test open.
    form->MFOpenClick();
    EXPECT_TRUE(prompts.Shown().empty());

    form->MFCloseClick();
    form->MFileClick();
    EXPECT_TRUE(Enabled(form->Menus().MFOpen));
    EXPECT_FALSE(Enabled(form->Menus().MFClose));
    EXPECT_TRUE(Enabled(form->Menus().MFExit));
}

TEST_F(MainUnitTest, CloseReleasesTheTestAndSaysNoTestIsChosen)
{
    const QString path = WriteTest("pass.tst", kPassFailTest);
    Start();
    form->OpenTest(path);
    form->MFCloseClick();
    EXPECT_EQ(form->State(), TRunnerState::NoTest);
    EXPECT_EQ(QuestionText(), "Тест не выбран...");
    EXPECT_TRUE(form->Tasks().empty());
    EXPECT_EQ(form->TestInfo().Title, "");
    EXPECT_EQ(form->TestInfo().Marks, (TIntDynArray{0, 0}));  // entries zeroed, length kept
}

TEST_F(MainUnitTest, FileOpenUsesTheDialogWithItsFilterAndStartFolder)
{
    const QString path = WriteTest("pass.tst", kPassFailTest);
    Start();
    form->Config().InitialDirOpenTest = folder.Path();
    prompts.ExpectOpenFile(path);
    form->MFOpenClick();
    EXPECT_EQ(prompts.Last().File.Filter,
              "Все файлы тестов|*.TXT;*.TST;*.STST;*.EST|Обычные тесты|*.TXT;*.TST|"
              "Зашифрованные тесты|*.STST|Проверочный тест|*.EST");
    EXPECT_EQ(prompts.Last().File.InitialDir, QString::fromStdString(folder.Path()));
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);

    // Cancelling changes nothing.
    form->MFCloseClick();
    prompts.ExpectOpenFile(std::nullopt);
    form->MFOpenClick();
    EXPECT_EQ(form->State(), TRunnerState::NoTest);
}

TEST_F(MainUnitTest, OpeningFailuresShowTheirMessages)
{
    const QString good = WriteTest("good.tst", kPassFailTest);
    const QString wrongType = WriteTest("notes.doc", kPassFailTest);
    std::vector<std::string> cut(kPassFailTest.begin(), kPassFailTest.begin() + 20);
    const QString truncated = WriteTest("cut.tst", cut);
    Start();

    // A missing file: nothing at all.
    form->OpenTest(QString::fromStdString(folder / "missing.tst"));
    EXPECT_TRUE(prompts.Shown().empty());

    prompts.ExpectMessage("Не верный тип файла!");
    form->OpenTest(wrongType);
    EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Error);
    EXPECT_EQ(form->State(), TRunnerState::NoTest);

    form->OpenTest(good);
    prompts.ExpectMessage("Ошибка загрузки теста!");
    form->OpenTest(truncated);  // as the command line may, whatever the state
    EXPECT_EQ(prompts.Last().Caption, "Ошибка!");
    EXPECT_TRUE(form->Tasks().empty());
    EXPECT_EQ(form->TestInfo().Title, "");
    EXPECT_NE(form->TestInfo().FileCrc, 0u);  // the checksum is still taken
    // The state stays as it was, but no session can begin without tasks.
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    form->MTestClick();
    EXPECT_FALSE(Enabled(form->Menus().MTBegin));
}

TEST_F(MainUnitTest, TestInformationWindowDescribesTheTestAndItsModes)
{
    const QString path = WriteTest("pass.tst", kPassFailTest);
    Start();
    form->OpenTest(path);
    form->Mode().OrderVariantNormal = 0;
    form->Mode().ModeTimeLimit = 2;
    form->Mode().TimeLimitTask = 90;
    QString shown;
    prompts.ExpectModal("TTestInfoForm", [&](QDialog& dialog) {
        shown = static_cast<TTestInfoForm&>(dialog).Text();
        return int(QDialog::Accepted);
    });
    form->MTInfoClick();
    EXPECT_EQ(shown,
              "Открыт тест: \"Проверка связи\"\n"
              "Всего заданий в тесте: 3.\n"
              "Критерии оценивания:\n"
              " \"зачет\" не менее 2 ответов правильно;\n"
              "Описание теста:\n"
              "Две строки\n"
              "описания\n"
              "Порядок следования заданий: нормальный.\n"
              "Порядок следования вариантов: случайный.\n"
              "Ограничение по времени для каждого задания: 00:01:30.");
}

TEST_F(MainUnitTest, F7TogglesTheModulesMenu)
{
    Start();
    QAction* modules = form->Menus().MModuls->menuAction();
    form->FormKeyDown(Qt::Key_F7);
    EXPECT_TRUE(modules->isVisible());
    form->FormKeyDown(Qt::Key_F7);
    EXPECT_FALSE(modules->isVisible());
}

TEST_F(MainUnitTest, HelpOpensTheDocumentBesideTheProgram)
{
    Start();
    form->MHShowHelpClick();
    ASSERT_EQ(desktop.Opened.size(), 1);
    EXPECT_EQ(desktop.Opened[0].toLocalFile(), QString::fromStdString(folder / "Help.html"));
}

TEST_F(MainUnitTest, SettingsItemsChangeTheModeAndTheMenuShowsIt)
{
    Start();
    form->MCOrderTaskSubClick(false);
    form->MCModeEducationClick();
    form->MCMTLimitClick(1);
    form->MConfigClick();
    EXPECT_EQ(form->Mode().OrderTaskNormal, 0);
    EXPECT_EQ(form->Mode().ModeEducation, 1);
    EXPECT_TRUE(form->Menus().MCOTRandom->isChecked());
    EXPECT_TRUE(form->Menus().MCModeEducation->isChecked());
    EXPECT_TRUE(form->Menus().MCMTLimit[1]->isChecked());
}

TEST_F(MainUnitTest, TimeLimitInputBoxesKeepTheirRanges)
{
    Start();
    const QString testPrompt = "Задайте максимальное время (в секундах) прохождения теста:";
    const QString taskPrompt = "Задайте максимальное время (в секундах) обдумывания вопроса:";
    struct Case {
        bool Test;
        std::optional<QString> Input;
        int32_t Expected;
        bool Refused;
    } cases[] = {
        {true, "43199", 43199, false}, {true, "43200", 43199, true}, {true, "", 43199, true},
        {true, "abc", 43199, true},    {true, std::nullopt, 43199, false},
        {false, "3599", 3599, false},  {false, "3600", 3599, true},  {false, "0", 3599, true},
        {false, "-5", 3599, true},     {false, "1", 1, false},
    };
    for (const Case& c : cases) {
        prompts.ExpectInput(c.Test ? testPrompt : taskPrompt, c.Input);
        if (c.Refused)
            prompts.ExpectMessage("Значение не изменено!");
        c.Test ? form->MCMTLSetupTestClick() : form->MCMTLSetupTaskClick();
        EXPECT_EQ(c.Test ? form->Mode().TimeLimitTest : form->Mode().TimeLimitTask, c.Expected)
            << (c.Input ? c.Input->toStdString() : "cancel");
    }
    EXPECT_EQ(form->Mode().ModeTimeLimit, 0);  // choosing a length does not switch the limit on
}

TEST_F(MainUnitTest, LeavingWithSaveConfigWritesAllTwentyFiveKeys)
{
    Start();
    form->MCSaveConfigClick();
    EXPECT_EQ(form->Mode().SaveConfig, 1);
    Stop();
    const std::string ini = Cp1251ToUtf8(folder.Read("config.ini"));
    int keys = 0;
    for (const std::string& line : SplitLines(ini))
        if (line.find('=') != std::string::npos)
            ++keys;
    EXPECT_EQ(keys, 25);
    EXPECT_NE(ini.find("SaveConfig=1"), std::string::npos);
}

TEST_F(MainUnitTest, LeavingWithoutSaveConfigWritesNothing)
{
    Start();
    Stop();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder / "config.ini")));
}

TEST_F(MainUnitTest, SettingsAreReadAtStartAndOnRequest)
{
    folder.Write("config.ini", Utf8ToCp1251("[Order]\r\nOrderTaskNormal=0\r\n[Font]\r\nSize=14\r\n"
                                            "Style_fsBold=1\r\n"));
    Start();
    EXPECT_EQ(form->Mode().OrderTaskNormal, 0);
    auto* question = form->findChild<QPlainTextEdit*>("QuestionText");
    EXPECT_EQ(question->font().pointSize(), 14);
    EXPECT_TRUE(question->font().bold());
    EXPECT_EQ(form->findChild<QPlainTextEdit*>("VariantText4")->font().pointSize(), 14);

    folder.Write("config.ini", "[Order]\r\nOrderTaskNormal=1\r\n");
    prompts.ExpectMessage("Вы желаете загрузить настройки программы сейчас?", PromptAnswer::No);
    form->MCLoadConfigNowClick();
    EXPECT_EQ(form->Mode().OrderTaskNormal, 0);
    prompts.ExpectMessage("Вы желаете загрузить настройки программы сейчас?", PromptAnswer::Yes);
    form->MCLoadConfigNowClick();
    EXPECT_EQ(form->Mode().OrderTaskNormal, 1);
    EXPECT_EQ(prompts.Last().Caption, "Внимание!");
    EXPECT_TRUE(question->font().bold());  // a missing style key leaves the style
}

TEST_F(MainUnitTest, SaveSettingsNowWritesTheFileAfterAsking)
{
    Start();
    prompts.ExpectMessage("Вы желаете сохранить настройки программы сейчас?", PromptAnswer::Yes);
    form->MCSaveConfigNowClick();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder / "config.ini")));
}

TEST_F(MainUnitTest, FontDialogSetsTheQuestionAndVariantFonts)
{
    Start();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(13);
    chosen.setItalic(true);
    prompts.ExpectFont(chosen);
    form->MCFontClick();
    EXPECT_EQ(form->findChild<QPlainTextEdit*>("QuestionText")->font().pointSize(), 13);
    EXPECT_TRUE(form->findChild<QPlainTextEdit*>("VariantText2")->font().italic());
}

TEST_F(MainUnitTest, FontDialogStartsFromTheFontInUseAndItsColourIsSaved)
{
    folder.Write("config.ini", "[Font]\r\nFontName=DejaVu Sans\r\nSize=11\r\nColor=255\r\n");
    Start();
    // Nothing chosen but OK: the font and the colour stay as they were.
    prompts.ExpectFont(form->findChild<QPlainTextEdit*>("QuestionText")->font());
    form->MCFontClick();
    EXPECT_EQ(prompts.Last().Font.Font.family(), "DejaVu Sans");
    EXPECT_EQ(prompts.Last().Font.Font.pointSize(), 11);
    EXPECT_EQ(prompts.Last().Font.Color, QColor(255, 0, 0));

    prompts.ExpectFont(QFont(QStringLiteral("DejaVu Serif"), 13), QColor(0x11, 0x22, 0x33));
    form->MCFontClick();
    EXPECT_EQ(prompts.Last().Font.Color, QColor(255, 0, 0));
    auto* variant = form->findChild<QPlainTextEdit*>("VariantText3");
    EXPECT_EQ(variant->palette().color(QPalette::Text), QColor(0x11, 0x22, 0x33));
    prompts.ExpectMessage("Вы желаете сохранить настройки программы сейчас?", PromptAnswer::Yes);
    form->MCSaveConfigNowClick();
    const std::string ini = folder.Read("config.ini");
    EXPECT_NE(ini.find("FontName=DejaVu Serif\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Color=3351057\r\n"), std::string::npos) << ini;  // 0x00332211
}

TEST_F(MainUnitTest, FontDialogLeavesTheSystemTextColourAsWritten)
{
    Start();
    prompts.ExpectFont(QFont(QStringLiteral("DejaVu Serif"), 13));
    form->MCFontClick();
    prompts.ExpectMessage("Вы желаете сохранить настройки программы сейчас?", PromptAnswer::Yes);
    form->MCSaveConfigNowClick();
    EXPECT_NE(folder.Read("config.ini").find("Color=-16777208\r\n"), std::string::npos);
}

TEST_F(MainUnitTest, LanguageFileReplacesCaptionsOnlyWhenSwitchedOn)
{
    folder.Write("language.txt",
                 "[Main]\r\nMenu_File=&File\r\nMenu_Test=\r\nBtn_GoCheck=Next\r\n"
                 "[Other]\r\nMenu_Help=Help\r\n");
    Start();
    EXPECT_EQ(form->Menus().MFile->title(), "&Файл");  // switch empty: file not read
    Stop();

    folder.Write("config.ini", "[Language]\r\nFile=x\r\n");
    Start();
    EXPECT_EQ(form->Menus().MFile->title(), "&File");
    EXPECT_EQ(form->Menus().MTest->title(), "");
    EXPECT_EQ(form->Menus().MHelp->title(), "Справка");
    EXPECT_EQ(form->findChild<QPushButton*>("BitBtnGoCheck")->text(), "Next");
    EXPECT_EQ(form->Menus().MFOpen->text(), "&Открыть...");
}

TEST_F(MainUnitTest, AnswerAreaStartsInTheSingleChoiceLayout)
{
    Start();
    EXPECT_FALSE(form->findChild<QWidget*>("GridPanel_VT1")->isHidden());
    EXPECT_TRUE(form->findChild<QWidget*>("GridPanel_VT2")->isHidden());
    EXPECT_TRUE(form->findChild<QWidget*>("GridPanel_VT3")->isHidden());
    EXPECT_FALSE(form->findChild<QPushButton*>("BitBtnGoCheck")->isEnabled());
    for (int r = 0; r < 5; ++r)
        EXPECT_FALSE(form->findChild<QWidget*>(QString("RadioButtonVariant%1").arg(r))->isEnabled());
}

}  // namespace
}  // namespace quilmo::testing

namespace quilmo::testing {
namespace {

TEST_F(MainUnitTest, ClientAreaBelowTheMenuBarIsTheDesignSizeWithTheStatusBarInside)
{
    Start();
    form->show();
    QApplication::processEvents();
    const int menuBottom = form->menuBar()->geometry().bottom() + 1;
    EXPECT_EQ(form->width(), 614);
    EXPECT_EQ(form->height() - menuBottom, 584);
    const QRect bar = form->statusBar()->geometry();
    EXPECT_EQ(bar.bottom() + 1, form->height());  // at the foot of the client area
    EXPECT_EQ(bar.width(), 614);
    EXPECT_GE(form->centralWidget()->geometry().top(), menuBottom);
    EXPECT_EQ(form->centralWidget()->geometry().bottom() + 1, bar.top());
    form->hide();
}

}  // namespace
}  // namespace quilmo::testing
