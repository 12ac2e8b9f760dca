// A learner's pass through a test in the runner window: name prompt, tasks,
// answers, stopping, time-outs, the result window and result.txt.

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTimer>

#include <fstream>
#include <sstream>

#include "journal/ResultProtocol.h"
#include "journal/ServerUnit.h"
#include "support/QtSessionFixture.h"

namespace quilmo::testing {
namespace {

// Three tasks of the three types; pass from two right answers.
const std::vector<TaskLines> kThreeTypes = {
    {"Вопрос один", "2", {"А", "Б"}, "Подсказка один"},
    {"Вопрос два", "1,3", {"А", "Б", "В"}},
    {"Вопрос три", "2-1", {"А", "Б"}},
};
const std::vector<int> kPassFrom2 = {2, 0};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<TaskLines> SingleChoiceTasks(int count)
{
    std::vector<TaskLines> tasks;
    for (int i = 1; i <= count; ++i)
        tasks.push_back({"Задание " + std::to_string(i), "1", {"да", "нет", "не знаю"}});
    return tasks;
}

class SessionUnitTest : public SessionTest {
protected:
    bool SelectorEnabled(const char* kind, int row) const
    {
        return Widget<QWidget>(QStringLiteral("%1%2").arg(kind).arg(row))->isEnabled();
    }
    QColor RowBackground(int row) const
    {
        return Widget<QPlainTextEdit>(QStringLiteral("VariantText%1").arg(row))
            ->palette()
            .color(QPalette::Base);
    }
    int CountOf(const std::string& text, const std::string& part) const
    {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
    int MessagesStartingWith(const QString& prefix) const
    {
        int n = 0;
        for (const QString& m : prompts.Messages())
            n += m.startsWith(prefix) ? 1 : 0;
        return n;
    }
};

TEST_F(SessionUnitTest, FullSessionEndsWithTheResultAndTheExactLog)
{
    const std::string path = OpenTestFile(TestFileLines("Проверка связи", kPassFrom2, kThreeTypes));
    Begin();
    ASSERT_EQ(form->State(), TRunnerState::TestRunning);
    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №1 из 3:");
    EXPECT_EQ(LabelText("VariantLabel"), "Выберите один из 2 вариантов ответа:");
    EXPECT_EQ(Text("QuestionText"), "Вопрос один");
    EXPECT_EQ(Widget<QWidget>("QuestionText")->toolTip(), "Подсказка один");
    EXPECT_EQ(VariantText(0), "А");
    EXPECT_EQ(VariantText(1), "Б");
    EXPECT_EQ(Panel(1), "3");
    EXPECT_EQ(Panel(3), "1");
    EXPECT_EQ(Panel(4), "00:00:00");
    EXPECT_EQ(Panel(5), "00:00");
    EXPECT_TRUE(SelectorEnabled("RadioButtonVariant", 1));
    EXPECT_FALSE(SelectorEnabled("RadioButtonVariant", 2));
    EXPECT_FALSE(Widget<QWidget>("GridPanel_VT1")->isHidden());
    EXPECT_TRUE(Widget<QWidget>("GridPanel_VT2")->isHidden());
    EXPECT_TRUE(Widget<QWidget>("QuestionImage")->isHidden());  // no picture
    EXPECT_FALSE(NextButton()->isEnabled());
    EXPECT_TRUE(Widget<QTimer>("TimerTimeTest")->isActive());
    EXPECT_TRUE(Widget<QTimer>("TimerTask")->isActive());

    Press("2");
    Tick(12);
    EXPECT_EQ(Panel(4), "00:00:12");
    EXPECT_EQ(Panel(5), "00:12");
    Next();

    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №2 из 3:");
    EXPECT_EQ(LabelText("VariantLabel"), "Выберите несколько из 3 вариантов ответа:");
    EXPECT_EQ(Widget<QWidget>("QuestionText")->toolTip(), "");
    EXPECT_EQ(Panel(5), "00:00");
    Widget<QCheckBox>("CheckBoxVariant0")->click();  // the mouse counts as well as the keys
    Press("3");
    Tick(30);
    Next();

    EXPECT_EQ(LabelText("VariantLabel"), "Укажите порядок следования всех 2 вариантов ответа:");
    EXPECT_EQ(Widget<QComboBox>("ComboBoxVariant0")->count(), 2);
    Press("122");  // rows read 1, 2: the key wants 2, 1
    Tick(6);
    platform.Clock = {2024, 3, 5, 9, 16, 20, 0};
    ExpectResultWindow([](TShowResultForm& window) {
        EXPECT_EQ(window.windowTitle(), "Результаты тестирования (Иванов Пётр)");
        EXPECT_EQ(window.findChild<QLabel*>("CountTaskLabel")->text(), "3");
        EXPECT_EQ(window.findChild<QLabel*>("CountAskTaskLabel")->text(), "3");
        EXPECT_EQ(window.findChild<QLabel*>("CountCorrectTaskLabel")->text(), "2");
        EXPECT_EQ(window.findChild<QLabel*>("ResultLabel")->text(), "66,7%.");
        EXPECT_EQ(window.findChild<QLabel*>("MarkLabel")->text(), "зачет");
    });
    Next();

    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    const TTestResult& r = form->Result();
    EXPECT_EQ(r.EndMode, EndFinished);
    EXPECT_EQ(r.ResultMask, "++-");
    EXPECT_EQ(r.TimeMask, "12;30;6");
    EXPECT_EQ(r.Duration, 48);
    EXPECT_FALSE(Widget<QTimer>("TimerTimeTest")->isActive());
    EXPECT_FALSE(Widget<QTimer>("TimerTask")->isActive());
    EXPECT_EQ(LabelText("QuestionLabel"), "Результаты тестирования:");
    EXPECT_EQ(LabelText("VariantLabel"), "Выберите один из вариантов ответа:");
    EXPECT_EQ(Text("QuestionText"),
              "Тест закончен...\n"
              "Название теста: \"Проверка связи\"\n"
              "Всего заданий в тесте: 3.\n"
              "Вами выполнено заданий: 3.\n"
              "Из них правильно: 2 (66,7% выполненых заданий).\n"
              "Из них ошибок: 1 (33,3% выполненых заданий).\n"
              "Ваш результат: 66,7%.\n"
              "Ваша оценка: \"зачет\".\n"
              "Время начала: 09:15:02.\n"
              "Время завершения: 09:16:20.\n"
              "Продолжительность: 00:00:48.");
    EXPECT_EQ(Log(),
              "05.03.2024 09:15:02 Начат тест: \"Проверка связи\"\r\n"
              "------------------------------------------------\r\n"
              "---------- 05.03.2024 09:16:20 ----------\r\n"
              "Тест закончен...\r\n"
              "Имя компьютера: \"CLASS-PC-07\"\r\n"
              "Имя пользователя компьютера: \"pupil\"\r\n"
              "Имя пользователя (тестируемого): \"Иванов Пётр\"\r\n"
              "Название теста: \"Проверка связи\"\r\n"
              "Файл с тестом: \"" + path + "\"\r\n"
              "Всего заданий в тесте: 3.\r\n"
              "Выполнено заданий: 3.\r\n"
              "Из них правильно: 2 (66,7% выполненых заданий).\r\n"
              "Из них ошибок: 1 (33,3% выполненых заданий).\r\n"
              "Результат: 66,7%.\r\n"
              "Ваша оценка: \"зачет\".\r\n"
              "Маска результата: \"++-\".\r\n"
              "Маска времени обдумывания (в секундах): \"12;30;6\".\r\n"
              "Время начала: 09:15:02.\r\n"
              "Время завершения: 09:16:20.\r\n"
              "Продолжительность: 00:00:48.\r\n"
              "------------------------------------------------\r\n");
    // Panels 1, 3, 4 and 5 keep their last values.
    EXPECT_EQ(Panel(4), "00:00:48");
    EXPECT_EQ(Panel(3), "3");
}

TEST_F(SessionUnitTest, StopOnTheFourthOfTenJudgesTheTaskOnDisplay)
{
    OpenTestFile(TestFileLines("Десять", {6, 3, 0}, SingleChoiceTasks(10)));
    Begin();
    Press("1");
    Next();
    Press("1");
    Next();
    Press("2");
    Next();
    ASSERT_EQ(LabelText("QuestionLabel"), "Вопрос №4 из 10:");

    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::No);
    form->MTEndClick();
    EXPECT_EQ(prompts.Last().Caption, "Внимание! Идет тест...");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Question);
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);

    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    const TTestResult& r = form->Result();
    EXPECT_EQ(r.EndMode, EndStopped);
    EXPECT_EQ(r.AskedCount, 4);
    EXPECT_EQ(r.RightCount, 2);
    EXPECT_EQ(r.WrongCount, 2);
    EXPECT_EQ(r.NotAskedCount, 6);
    EXPECT_EQ(r.ResultMask, "++--******");
    EXPECT_EQ(r.Mark, 1);
    EXPECT_NE(Log().find("Тест остановлен...\r\n"), std::string::npos);
}

TEST_F(SessionUnitTest, TestTimeOutEndsTheSessionWithTheTaskOnDisplayAsked)
{
    OpenTestFile(TestFileLines("Время", kPassFrom2, kThreeTypes));
    form->Mode().ModeTimeLimit = 1;
    form->Mode().TimeLimitTest = 5;
    Begin();
    EXPECT_EQ(Panel(6), "00:00:05");
    Press("2");
    Tick(2);
    Next();
    Tick(2);
    EXPECT_EQ(Panel(6), "00:00:01");

    prompts.ExpectMessage("Время теста вышло!");
    ExpectResultWindow();
    form->TimerTimeTestTimer();
    EXPECT_EQ(prompts.Shown()[1].Caption, "Внимание!");
    EXPECT_EQ(prompts.Shown()[1].Icon, PromptIcon::None);
    const TTestResult& r = form->Result();
    EXPECT_EQ(r.EndMode, EndTimeout);
    EXPECT_EQ(r.AskedCount, 2);
    EXPECT_EQ(r.ResultMask, "+-*");
    EXPECT_EQ(r.Duration, 5);
    EXPECT_EQ(Panel(6), "");  // emptied at the end
    EXPECT_NE(Log().find("Тест закончен - вышло время...\r\n"), std::string::npos);
}

TEST_F(SessionUnitTest, TaskTimeOutsMoveOnAndFinishTheSession)
{
    OpenTestFile(TestFileLines("По вопросу", {1, 0}, SingleChoiceTasks(2)));
    form->Mode().ModeTimeLimit = 2;
    form->Mode().TimeLimitTask = 3;
    Begin();
    EXPECT_EQ(Panel(7), "00:03");
    EXPECT_EQ(Panel(6), "");
    Tick(2);
    EXPECT_EQ(Panel(7), "00:01");
    prompts.ExpectMessage("Время обдумывания вопроса вышло!");
    Tick(1);
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №2 из 2:");
    EXPECT_EQ(Panel(7), "00:03");

    prompts.ExpectMessage("Время обдумывания вопроса вышло!");
    ExpectResultWindow();
    Tick(3);
    const TTestResult& r = form->Result();
    EXPECT_EQ(r.EndMode, EndFinished);
    EXPECT_EQ(r.AskedCount, 2);
    EXPECT_EQ(r.RightCount, 0);
    EXPECT_EQ(r.TimeMask, "3;3");
    EXPECT_EQ(r.MarkText, "незачет");
    EXPECT_EQ(Panel(7), "");
}

TEST_F(SessionUnitTest, LimitsOfZeroOrLessEndAtTheFirstTickWithANegativeTimeLeft)
{
    OpenTestFile(TestFileLines("Ноль", {1, 0}, SingleChoiceTasks(2)));
    form->Mode().ModeTimeLimit = 2;
    form->Mode().TimeLimitTask = -5;  // as config.ini may bring it
    Begin();
    prompts.ExpectMessage("Время обдумывания вопроса вышло!").During([&] {
        EXPECT_EQ(Panel(7), "-00:06");
    });
    TickTask(1);
    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №2 из 2:");
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    Stop();

    OpenTestFile(TestFileLines("Ноль", {1, 0}, SingleChoiceTasks(2)));
    form->Mode().ModeTimeLimit = 1;
    form->Mode().TimeLimitTest = 0;
    Begin();
    prompts.ExpectMessage("Время теста вышло!");
    ExpectResultWindow();
    TickTest(1);
    EXPECT_EQ(form->Result().EndMode, EndTimeout);
    EXPECT_EQ(form->Result().AskedCount, 1);
}

TEST_F(SessionUnitTest, EducationFeedbackColoursTheRowsAndRestoresThem)
{
    OpenTestFile(TestFileLines("Обучение", kPassFrom2, kThreeTypes));
    form->Mode().ModeEducation = 1;
    Begin();
    const QColor normal = RowBackground(0);
    const QColor correct(220, 245, 216);
    const QColor error(255, 230, 204);

    Press("1");  // the key is row 2
    prompts.ExpectMessage("Не правильно...   \r\nВерный ответ: 2;").During([&] {
        EXPECT_EQ(RowBackground(0), error);
        EXPECT_EQ(RowBackground(1), correct);
        EXPECT_FALSE(Widget<QTimer>("TimerTask")->isActive());  // the task's own time has stopped
    });
    Next();
    EXPECT_EQ(prompts.Last().Caption, "Quilmo");
    EXPECT_EQ(prompts.Last().Icon, PromptIcon::Information);
    EXPECT_EQ(RowBackground(0), normal);
    EXPECT_EQ(RowBackground(1), normal);

    Press("13");  // right: no box, no colours
    Next();

    Press("1");  // row 1 gets 1, row 2 nothing: the places are 2, 1
    prompts.ExpectMessage("Не правильно...   \r\nВерные значения: \r\n2; \r\n1; ").During([&] {
        EXPECT_EQ(RowBackground(0), error);
        EXPECT_EQ(RowBackground(1), error);
    });
    ExpectResultWindow();
    Next();
    EXPECT_EQ(RowBackground(0), normal);
    EXPECT_EQ(RowBackground(1), normal);
    EXPECT_EQ(form->Result().ResultMask, "-+-");
}

TEST_F(SessionUnitTest, ClosingDuringASessionWritesOnlyTheCloseLine)
{
    OpenTestFile(TestFileLines("Закрытие", kPassFrom2, kThreeTypes));
    Begin();
    Press("2");
    Next();

    prompts.ExpectMessage("Вы желаете выйти из программы во время теста?", PromptAnswer::No);
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_EQ(prompts.Last().Caption, "Внимание! Идет тест...");
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);
    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №2 из 3:");

    platform.Clock = {2024, 3, 5, 9, 20, 0, 0};
    prompts.ExpectMessage("Вы желаете выйти из программы во время теста?", PromptAnswer::Yes);
    EXPECT_TRUE(form->FormCloseQuery());
    Stop();
    EXPECT_EQ(Log(),
              "05.03.2024 09:15:02 Начат тест: \"Закрытие\"\r\n"
              "05.03.2024 09:20:00 Закрыта программа во время теста: \"Закрытие\"\r\n");
}

TEST_F(SessionUnitTest, TheCloseLineIsWrittenOnlyWhenTheProgramReallyCloses)
{
    OpenTestFile(TestFileLines("Журнал", kPassFrom2, kThreeTypes));
    journal::ReceivedEvent unsaved;
    unsaved.kind = journal::ReceivedEvent::Kind::Result;
    unsaved.Result.ResultMask = "+";
    form->ServerForm().ReceiveEvent(unsaved);
    Begin();

    // Leaving the test, but not the journal's unsaved results: the session goes on.
    prompts.ExpectMessage("Вы желаете выйти из программы во время теста?", PromptAnswer::Yes);
    prompts.ExpectMessage(
        "Вы желаете выйти из программы не сохранив результаты в модуле \"Журнала\"?",
        PromptAnswer::No);
    EXPECT_FALSE(form->FormCloseQuery());
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);
    EXPECT_EQ(Log(), "05.03.2024 09:15:02 Начат тест: \"Журнал\"\r\n");
}

TEST_F(SessionUnitTest, DirForResultTakesTheBlocksAndTheProgramFolderTheLines)
{
    OpenTestFile(TestFileLines("Папки", kPassFrom2, kThreeTypes));
    folder.Write("reports/keep", "");
    form->Config().DirForResult = folder / "reports";
    Begin();
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();

    EXPECT_EQ(Log(), "05.03.2024 09:15:02 Начат тест: \"Папки\"\r\n");
    const std::string block = Log("reports/result.txt");
    EXPECT_EQ(CountOf(block, "\r\n"), 20);
    EXPECT_EQ(block.rfind("------------------------------------------------\r\n---------- ", 0), 0u);
    EXPECT_NE(block.find("Тест остановлен...\r\n"), std::string::npos);
}

TEST_F(SessionUnitTest, AnUnwritableLogIsReportedAndTheResultStillShown)
{
    OpenTestFile(TestFileLines("Без папки", kPassFrom2, kThreeTypes));
    form->Config().DirForResult = folder / "missing";
    Begin();
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    prompts.ExpectMessage("");  // the system's own text
    ExpectResultWindow();
    form->MTEndClick();
    const ShownPrompt& error = prompts.Shown()[2];
    EXPECT_EQ(error.Caption, "Quilmo");
    EXPECT_EQ(error.Icon, PromptIcon::Error);
    EXPECT_FALSE(error.Text.isEmpty());
    EXPECT_EQ(form->Result().EndMode, EndStopped);
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
}

TEST_F(SessionUnitTest, SaveResultOffWritesNothing)
{
    OpenTestFile(TestFileLines("Тихо", kPassFrom2, kThreeTypes));
    form->Mode().SaveResult = 0;
    Begin();
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder / "result.txt")));
}

TEST_F(SessionUnitTest, RandomOrderKeepsJudgingAndMasksRight)
{
    // Each task's right variant is the one whose text is "да".
    OpenTestFile(TestFileLines("Случайно", {3, 0},
                               {{"Первое", "1", {"да", "нет", "нет"}},
                                {"Второе", "2", {"нет", "да", "нет", "нет"}},
                                {"Третье", "3", {"нет", "нет", "да"}}}));
    form->Mode().OrderTaskNormal = 0;
    form->Mode().OrderVariantNormal = 0;
    Begin();
    const TIntDynArray order = form->SessionTaskOrder();
    TIntDynArray sorted = order;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted, (TIntDynArray{0, 1, 2}));
    EXPECT_NE(order, sorted) << "the fake counter's seed moves some task";
    for (int position = 0; position < 3; ++position) {
        int rightRow = -1;
        for (int r = 0; r < 5; ++r)
            if (VariantText(r) == "да")
                rightRow = r;
        ASSERT_GE(rightRow, 0);
        Press(std::to_string(rightRow + 1).c_str());
        TickTask(position + 1);  // 1, 2, 3 seconds in the order asked
        if (position == 2)
            ExpectResultWindow();
        Next();
    }
    const TTestResult& r = form->Result();
    EXPECT_EQ(r.ResultMask, "+++");
    TIntDynArray expectedTimes(3);
    for (int p = 0; p < 3; ++p)
        expectedTimes[static_cast<size_t>(order[static_cast<size_t>(p)])] = p + 1;
    EXPECT_EQ(r.TimeValues, expectedTimes);
    EXPECT_EQ(r.Mark, 2);
}

TEST_F(SessionUnitTest, KeyboardAnswersEachTypeWithinItsVariants)
{
    OpenTestFile(TestFileLines("Клавиши", kPassFrom2,
                               {{"Один", "2", {"а", "б", "в"}},
                                {"Много", "1,3", {"а", "б", "в"}},
                                {"Порядок", "4-3-2-1", {"а", "б", "в", "г"}}}));
    Begin();
    auto radio = [&](int r) { return Widget<QRadioButton>(QStringLiteral("RadioButtonVariant%1").arg(r)); };
    Press("45");  // beyond the three variants: nothing
    EXPECT_FALSE(NextButton()->isEnabled());
    Press("2");
    EXPECT_TRUE(radio(1)->isChecked());
    EXPECT_TRUE(NextButton()->isEnabled());
    Press("3");
    EXPECT_TRUE(radio(2)->isChecked());
    EXPECT_FALSE(radio(1)->isChecked());
    Press("9x");  // other keys do nothing here
    Next();

    auto check = [&](int r) { return Widget<QCheckBox>(QStringLiteral("CheckBoxVariant%1").arg(r)); };
    Press("113");
    EXPECT_FALSE(check(0)->isChecked());
    EXPECT_TRUE(check(2)->isChecked());
    EXPECT_TRUE(NextButton()->isEnabled());
    Press("1");
    Next();

    auto box = [&](int r) { return Widget<QComboBox>(QStringLiteral("ComboBoxVariant%1").arg(r)); };
    EXPECT_EQ(box(2)->currentIndex(), -1);
    Press("333");
    EXPECT_EQ(box(2)->currentText(), "3");
    Press("3");
    EXPECT_EQ(box(2)->currentText(), "4");
    Press("3");
    EXPECT_EQ(box(2)->currentText(), "1");  // wraps
    Press("5");
    EXPECT_EQ(box(4)->currentIndex(), -1);

    Press("=");
    EXPECT_EQ(desktop.CalculatorStarts, 1);
    desktop.CalculatorAvailable = false;
    prompts.ExpectMessage("Ошибка запуска Калькулятора");
    Press("=");

    // Keys reach the window through its key preview too.
    QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    QApplication::sendEvent(form.get(), &two);
    EXPECT_EQ(box(1)->currentText(), "1");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ExpectResultWindow();
    QApplication::sendEvent(NextButton(), &enter);
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(form->Result().ResultMask, "-+-");
}

TEST_F(SessionUnitTest, OneEqualsPressShowsTheCalculatorErrorOnce)
{
    OpenTestFile(TestFileLines("Калькулятор", kPassFrom2, kThreeTypes));
    Begin();
    form->show();
    form->activateWindow();
    QApplication::processEvents();
    Press("2");  // the answer gives "Дальше" the focus
    QPushButton* button = NextButton();
    button->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != button)
        GTEST_SKIP() << "this platform gives no focus to an offscreen window";
    desktop.CalculatorAvailable = false;
    // The box takes the focus while it is open, and the window does not have it
    // back yet when the press, ignored by the button, reaches the window.
    prompts.ExpectMessage("Ошибка запуска Калькулятора").During([&] { button->clearFocus(); });
    QKeyEvent equals(QEvent::KeyPress, Qt::Key_Equal, Qt::NoModifier, QStringLiteral("="));
    QApplication::sendEvent(button, &equals);
    EXPECT_EQ(desktop.CalculatorStarts, 1);
    EXPECT_EQ(prompts.Messages().filter("Калькулятора").size(), 1);

    // The next press is a press of its own.
    QApplication::processEvents();
    button->setFocus();
    prompts.ExpectMessage("Ошибка запуска Калькулятора");
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Equal, Qt::NoModifier, QStringLiteral("="));
    QApplication::sendEvent(button, &again);
    EXPECT_EQ(desktop.CalculatorStarts, 2);
    form->hide();
}

TEST_F(SessionUnitTest, StrayF4DuringASessionAsksAndOnYesLeavesTheResultBeforeTheEditorOpens)
{
    OpenTestFile(TestFileLines("Редактор", kPassFrom2, kThreeTypes));
    Begin();
    Press("2");
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::No);
    form->MMEditorClick();  // No: the session goes on and no editor opens
    EXPECT_EQ(prompts.Last().Caption, "Внимание! Идет тест...");
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);
    EXPECT_EQ(form->CurrentTaskPosition(), 0);

    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    prompts.ExpectModal("TEditorForm", [&](QDialog&) {
        EXPECT_EQ(form->State(), TRunnerState::TestOpen);
        EXPECT_NE(Log().find("Тест остановлен...\r\n"), std::string::npos);
        return int(QDialog::Rejected);
    });
    form->MMEditorClick();
    EXPECT_EQ(form->Result().EndMode, EndStopped);
    EXPECT_EQ(form->Result().ResultMask, "+**");
    const std::string log = Log();
    EXPECT_EQ(CountOf(log, "Тест остановлен...\r\n"), 1);
    EXPECT_EQ(CountOf(log, "Закрыта программа во время теста"), 0);
}

TEST_F(SessionUnitTest, TheEncryptorAsksTooAndTheJournalOpensWithoutAQuestion)
{
    OpenTestFile(TestFileLines("Модули", kPassFrom2, kThreeTypes));
    Begin();
    form->MMServerClick();  // the journal does not touch the session
    EXPECT_TRUE(form->ServerForm().isVisible());
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);
    form->ServerForm().hide();

    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::No);
    form->MMEncryptClick();
    EXPECT_EQ(form->State(), TRunnerState::TestRunning);
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    prompts.ExpectModal("TEncryptForm", [](QDialog&) { return int(QDialog::Rejected); });
    form->MMEncryptClick();
    EXPECT_EQ(form->Result().EndMode, EndStopped);
    EXPECT_NE(Log().find("Тест остановлен...\r\n"), std::string::npos);
}

TEST_F(SessionUnitTest, DigitTypedIntoAFocusedNumberBoxMovesItOnce)
{
    OpenTestFile(TestFileLines("Фокус", kPassFrom2, {{"Порядок", "4-3-2-1", {"а", "б", "в", "г"}}}));
    Begin();
    form->show();
    form->activateWindow();
    QApplication::processEvents();
    auto* box = Widget<QComboBox>("ComboBoxVariant0");
    Press("1");
    ASSERT_EQ(box->currentText(), "1");
    box->setFocus();  // the learner tabs back into the box
    QApplication::processEvents();
    if (QApplication::focusWidget() != box)
        GTEST_SKIP() << "this platform gives no focus to an offscreen window";
    QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    QApplication::sendEvent(box, &one);
    EXPECT_EQ(box->currentText(), "2");  // not picked back to "1" by the box itself
    form->hide();
}

TEST_F(SessionUnitTest, KeysDoNothingOutsideASession)
{
    OpenTestFile(TestFileLines("Вне", kPassFrom2, kThreeTypes));
    Press("1=");
    EXPECT_EQ(desktop.CalculatorStarts, 0);
    EXPECT_FALSE(Widget<QRadioButton>("RadioButtonVariant0")->isChecked());
}

TEST_F(SessionUnitTest, NamePromptGreetsProposesAndDecides)
{
    OpenTestFile(TestFileLines("Имя", kPassFrom2, kThreeTypes));
    platform.Clock.Hour = 19;
    QString greeting, proposed;
    prompts.ExpectModal("TInputUserNameForm", [&](QDialog& dialog) {
        greeting = dialog.findChild<QLabel*>("HelloLabel")->text();
        proposed = dialog.findChild<QLineEdit*>("UserName")->text();
        return int(QDialog::Rejected);  // closed from the title bar
    });
    form->MTBeginClick();
    EXPECT_EQ(greeting, "Добрый вечер! Как Вас Зовут?");
    EXPECT_EQ(proposed, "Неизвестный");
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);

    ExpectNamePrompt("");  // an empty name starts nothing, without a word
    form->MTBeginClick();
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
    EXPECT_EQ(Log(), "");

    Begin("   ");  // blanks are a name
    ASSERT_EQ(form->State(), TRunnerState::TestRunning);
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    EXPECT_EQ(form->Result().UserName, "   ");

    // The next session proposes the last learner's name.
    prompts.ExpectModal("TInputUserNameForm", [&](QDialog& dialog) {
        proposed = dialog.findChild<QLineEdit*>("UserName")->text();
        return int(QDialog::Rejected);
    });
    form->MTBeginClick();
    EXPECT_EQ(proposed, "   ");
}

TEST_F(SessionUnitTest, FirstClickWipesTheProposedNameUntilTheLearnerTypes)
{
    Start();
    TInputUserNameForm& prompt = form->InputUserNameForm();
    auto* edit = prompt.findChild<QLineEdit*>("UserName");
    auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
    };
    prompt.Prepare(9, "Неизвестный");
    EXPECT_FALSE(prompt.Edited());
    click();
    EXPECT_EQ(edit->text(), "");
    edit->setText("Петя");
    click();
    EXPECT_EQ(edit->text(), "Петя");

    prompt.Prepare(9, "Петя");
    edit->insert("!");  // typing first: clicks no longer clear
    click();
    EXPECT_EQ(edit->text(), "Петя!");
}

TEST_F(SessionUnitTest, BeginNeedsTasks)
{
    // A count line that is not a number loads no tasks: nothing to begin.
    std::vector<std::string> lines = TestFileLines("Пусто", kPassFrom2, {});
    lines[2] = "много";
    OpenTestFile(lines);
    ASSERT_EQ(form->State(), TRunnerState::TestOpen);
    form->MTestClick();
    EXPECT_FALSE(form->Menus().MTBegin->isEnabled());
    form->MTBeginClick();  // F5 all the same: no prompt, no session
    EXPECT_EQ(form->State(), TRunnerState::TestOpen);
}

TEST_F(SessionUnitTest, MenusFollowTheSession)
{
    OpenTestFile(TestFileLines("Меню", kPassFrom2, kThreeTypes));
    Begin();
    form->MTestClick();
    EXPECT_TRUE(form->Menus().MTInfo->isEnabled());
    EXPECT_FALSE(form->Menus().MTBegin->isEnabled());
    EXPECT_TRUE(form->Menus().MTEnd->isEnabled());
    form->MConfigClick();
    EXPECT_TRUE(form->Menus().MCFont->isEnabled());
    EXPECT_TRUE(form->Menus().MCSaveConfig->isEnabled());
    EXPECT_FALSE(form->Menus().MCModeTimeLimit->isEnabled());
    EXPECT_FALSE(form->Menus().MCSaveResult->isEnabled());
    form->MFileClick();
    EXPECT_FALSE(form->Menus().MFClose->isEnabled());
    form->MTBeginClick();  // F5 during a session: nothing
    form->MCMTLimitClick(1);  // settings are fixed for the session
    EXPECT_EQ(form->Mode().ModeTimeLimit, 0);

    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    form->MTestClick();
    EXPECT_TRUE(form->Menus().MTBegin->isEnabled());
    EXPECT_FALSE(form->Menus().MTEnd->isEnabled());
}

TEST_F(SessionUnitTest, TaskWithoutVariantsShowsNoSelectors)
{
    OpenTestFile(TestFileLines("Пустые варианты", {1, 0},
                               {{"Нечего выбрать", "1", {}}, {"Ключ на пустом", "3", {"а", "б"}}}));
    Begin();
    EXPECT_EQ(LabelText("VariantLabel"), "Выберите один из 0 вариантов ответа:");
    for (int r = 0; r < 5; ++r)
        EXPECT_FALSE(SelectorEnabled("RadioButtonVariant", r)) << r;
    Press("12345");
    EXPECT_FALSE(NextButton()->isEnabled());
    Next();
    EXPECT_EQ(LabelText("QuestionLabel"), "Вопрос №1 из 2:");

    // Only stopping (or a time-out) leaves it. With no row to disagree, the
    // task counts as right, as a key that marks no shown variant does.
    prompts.ExpectMessage("Вы желаете остановить тест?", PromptAnswer::Yes);
    ExpectResultWindow();
    form->MTEndClick();
    EXPECT_EQ(form->Result().AskedCount, 1);
    EXPECT_EQ(form->Result().ResultMask, "+*");
}

TEST_F(SessionUnitTest, PicturesShowOrSayWhyNotEveryTimeTheTaskIsShown)
{
    const std::string demo = std::string(QUILMO_EXAMPLES) + "/demo/triangle.jpg";
    folder.Write("triangle.jpg", ReadBytes(demo));
    folder.Write("broken.jpg", "not a picture at all");
    folder.Write("picture.png", ReadBytes(demo));
    OpenTestFile(TestFileLines("Картинки", {1, 0},
                               {{"С картинкой", "1", {"а"}, "", "triangle.jpg"},
                                {"Без файла", "1", {"а"}, "", "gone.jpg"},
                                {"Испорчена", "1", {"а"}, "", "broken.jpg"},
                                {"Без декодера", "1", {"а"}, "", "picture.png"}}));
    for (int session = 0; session < 2; ++session) {
        Begin();
        EXPECT_FALSE(Widget<QWidget>("QuestionImage")->isHidden());
        Press("1");
        prompts.ExpectMessage("Файл с изображением отсутствует!");
        Next();
        EXPECT_TRUE(Widget<QWidget>("QuestionImage")->isHidden());
        EXPECT_EQ(Text("QuestionText"), "Без файла");  // the task is shown all the same
        Press("1");
        prompts.ExpectMessage("Ошибка загрузки изображения!");
        Next();
        EXPECT_TRUE(Widget<QWidget>("QuestionImage")->isHidden());
        Press("1");
        prompts.ExpectMessage("Ошибка загрузки изображения!");
        Next();
        Press("1");
        ExpectResultWindow();
        Next();
        EXPECT_EQ(form->Result().ResultMask, "++++");
    }
}

TEST_F(SessionUnitTest, PictureWindowShowsThePictureAtItsNaturalSize)
{
    const std::string demo = std::string(QUILMO_EXAMPLES) + "/demo/triangle.jpg";
    folder.Write("triangle.jpg", ReadBytes(demo));
    OpenTestFile(TestFileLines("Картинка", {1, 0}, {{"С картинкой", "1", {"а"}, "", "triangle.jpg"}}));
    Begin();
    const QImage original(QString::fromStdString(demo));
    QSize shown;
    QString caption;
    prompts.ExpectModal("TShowQuestionImageForm", [&](QDialog& dialog) {
        shown = dialog.size();
        caption = dialog.windowTitle();
        return int(QDialog::Rejected);
    });
    form->QuestionImageClick();
    EXPECT_EQ(shown, original.size());
    EXPECT_EQ(caption, "Просмотр изображения к вопросу");
}

}  // namespace
}  // namespace quilmo::testing
