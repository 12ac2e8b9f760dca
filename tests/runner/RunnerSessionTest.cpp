// The session without its window: order, judging, time limits, the ways it
// ends, and the events that arrive while one of its boxes is open.

#include "runner/RunnerSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>

#include "support/FakePlatform.h"

namespace quilmo::testing {
namespace {

const std::string kResultWindow = "<result window>";
const std::string kStop = "Вы желаете остановить тест?";

// A window that plays the learner: each box the session shows must be the
// next one expected; During runs while that box is open.
class ScriptedWindow : public SessionWindow {
public:
    ScriptedWindow& Expect(const std::string& text, bool yes = true)
    {
        Script.push_back({text, yes, {}});
        return *this;
    }
    ScriptedWindow& During(std::function<void()> action)
    {
        Script.back().During = std::move(action);
        return *this;
    }
    void Verify()
    {
        for (const Box& box : Script)
            ADD_FAILURE() << "expected box never shown: " << box.Text;
        Script.clear();
    }

    std::optional<std::string> AskUserName(int hour, const std::string& proposed) override
    {
        PromptHour = hour;
        Proposed.push_back(proposed);
        return Name;
    }
    bool Ask(const std::string& caption, const std::string& text) override
    {
        Captions.push_back(caption);
        return Take(text);
    }
    void Tell(SessionBox box, const std::string& text) override
    {
        Kinds.push_back(box);
        Take(text);
    }
    void AppendLogLine(const std::string& text) override { Log.push_back(text); }
    void SendTestMessage(const std::string& text) override { Sent.push_back(text); }
    void ShowSessionStart(int32_t taskCount, std::optional<int32_t> timeLimitTest) override
    {
        StartCount = taskCount;
        TestLeft = timeLimitTest;
    }
    void SetRunning(bool running) override { Running = running; }
    void StartTestTimer() override { TestTimer = true; }
    void StopTestTimer() override { TestTimer = false; }
    void StartTaskTimer() override { TaskTimer = true; }
    void StopTaskTimer() override { TaskTimer = false; }
    std::string ShowTask(const TaskDisplay& display) override
    {
        Displays.push_back(display);
        TaskLeft = display.TimeLimitTask;
        States.assign(display.VariantOrder.size(), 0);
        return PictureMessage;
    }
    TIntDynArray RowStates(const TTask&) const override { return States; }
    void ColourRows(const std::vector<RowColour>& rows) override { Colourings.push_back(rows); }
    void ShowTestTime(int32_t seconds, std::optional<int64_t> left) override
    {
        TestTime = seconds;
        if (left)
            TestLeft = left;
    }
    void ShowTaskTime(int32_t seconds, std::optional<int64_t> left) override
    {
        TaskTime = seconds;
        if (left)
            TaskLeft = left;
    }
    void CloseSessionWindows() override { ++WindowsClosed; }
    void ShowSessionEnded(bool withResult) override
    {
        Endings.push_back(withResult);
        TestLeft.reset();
        TaskLeft.reset();
    }
    void ShowResult(const TTestResult& result) override
    {
        Results.push_back(result);
        Take(kResultWindow);
    }
    void SelectRowByKey(int taskType, int row) override { KeyRows.push_back({taskType, row}); }
    bool StartCalculator() override
    {
        ++Calculators;
        return CalculatorAvailable;
    }

    // What the learner has selected on the rows of the task on display.
    TIntDynArray States;
    std::optional<std::string> Name = "Иванов Пётр";
    std::string PictureMessage;
    bool CalculatorAvailable = true;

    std::vector<std::string> Shown;  // every box and question, in order
    std::vector<std::string> Captions;
    std::vector<SessionBox> Kinds;
    std::vector<std::string> Proposed;
    int PromptHour = -1;
    std::vector<std::string> Log;
    std::vector<std::string> Sent;
    int32_t StartCount = 0;
    bool Running = false;
    bool TestTimer = false;
    bool TaskTimer = false;
    std::vector<TaskDisplay> Displays;
    std::vector<std::vector<RowColour>> Colourings;
    int32_t TestTime = 0;
    int32_t TaskTime = 0;
    std::optional<int64_t> TestLeft;
    std::optional<int64_t> TaskLeft;
    int WindowsClosed = 0;
    std::vector<bool> Endings;
    std::vector<TTestResult> Results;
    std::vector<std::pair<int, int>> KeyRows;
    int Calculators = 0;

private:
    struct Box {
        std::string Text;
        bool Yes = true;
        std::function<void()> During;
    };
    bool Take(const std::string& text)
    {
        Shown.push_back(text);
        if (Script.empty()) {
            ADD_FAILURE() << "unexpected box: " << text;
            return false;
        }
        Box box = std::move(Script.front());
        Script.pop_front();
        EXPECT_EQ(box.Text, text);
        if (box.During)
            box.During();
        return box.Yes;
    }
    std::deque<Box> Script;
};

TTask SingleTask(const std::string& question, int rightRow, int variants = 2)
{
    TTask task;
    task.Question = question;
    task.TaskType = SingleChoice;
    for (int v = 0; v < variants; ++v)
        task.Variants[static_cast<size_t>(v)] = "вариант " + std::to_string(v + 1);
    task.Answers[static_cast<size_t>(rightRow)] = 1;
    task.VariantCount = variants;
    return task;
}

class RunnerSessionTest : public ::testing::Test {
protected:
    RunnerSessionTest()
    {
        info.Title = "Вложенность";
        info.FileName = "/tests/nesting.tst";
        info.Marks = {0, 1};
        info.FileCrc = 0x1234;
        tasks = {SingleTask("Первый", 0), SingleTask("Второй", 1)};
    }
    void TearDown() override { window.Verify(); }

    void Begin()
    {
        session.Begin();
        ASSERT_TRUE(session.Running());
    }
    void BeginWithTestLimit(int32_t limit = 1)
    {
        mode.ModeTimeLimit = 1;
        mode.TimeLimitTest = limit;
        Begin();
    }
    // The learner picks row r of the task on display (1 selected).
    void Pick(int row) { window.States.at(static_cast<size_t>(row)) = 1; }
    void ExpectTimeOut() { window.Expect("Время теста вышло!").Expect(kResultWindow); }
    const TTestResult& Result() const { return session.Result(); }
    int Results() const { return static_cast<int>(window.Results.size()); }
    bool TimersStopped() const { return !window.TestTimer && !window.TaskTimer; }

    FakePlatform platform;
    ScriptedWindow window;
    std::vector<TTask> tasks;
    TTestInfo info;
    TModeConfig mode;
    TConfig config;
    RunnerSession session{window, platform, tasks, info, mode, config};
};

TEST_F(RunnerSessionTest, BeginAsksTheNameLogsAnnouncesAndShowsTheFirstTask)
{
    platform.Clock = TDateTime{2024, 3, 5, 19, 15, 2, 0};
    Begin();
    EXPECT_EQ(window.PromptHour, 19);
    EXPECT_EQ(window.Proposed, std::vector<std::string>{"Неизвестный"});
    EXPECT_EQ(window.Log, std::vector<std::string>{"05.03.2024 19:15:02 Начат тест: \"Вложенность\""});
    EXPECT_EQ(window.Sent, std::vector<std::string>{"Начат тест"});
    EXPECT_EQ(window.StartCount, 2);
    EXPECT_FALSE(window.TestLeft.has_value());
    EXPECT_TRUE(window.Running);
    EXPECT_TRUE(window.TestTimer);
    EXPECT_TRUE(window.TaskTimer);
    ASSERT_EQ(window.Displays.size(), 1u);
    EXPECT_EQ(window.Displays[0].Task, &tasks[0]);
    EXPECT_EQ(window.Displays[0].Position, 0);
    EXPECT_EQ(window.Displays[0].Count, 2);
    EXPECT_EQ(window.Displays[0].VariantOrder, (TIntDynArray{0, 1}));
    EXPECT_EQ(session.LastUserName(), "Иванов Пётр");

    // The next session proposes the name entered last.
    window.Expect(kStop).Expect(kResultWindow);
    session.Stop();
    Begin();
    EXPECT_EQ(window.Proposed.back(), "Иванов Пётр");
}

TEST_F(RunnerSessionTest, NoSessionWithoutANameOrTasks)
{
    window.Name = std::nullopt;  // closed without OK
    session.Begin();
    window.Name = "";  // an empty name begins nothing, without a message
    session.Begin();
    EXPECT_FALSE(session.Running());
    EXPECT_TRUE(window.Log.empty());
    EXPECT_TRUE(window.Displays.empty());

    tasks.clear();
    window.Name = "Петя";
    session.Begin();
    EXPECT_FALSE(session.Running());
    EXPECT_EQ(window.Proposed.size(), 2u);  // not even asked
}

TEST_F(RunnerSessionTest, RandomOrderShufflesTasksAndVariantsWithAFreshSeedEachTime)
{
    tasks.clear();
    for (int i = 0; i < 6; ++i)
        tasks.push_back(SingleTask("Задание " + std::to_string(i), 0, 5));
    mode.OrderTaskNormal = 0;
    mode.OrderVariantNormal = 0;
    Begin();
    TIntDynArray expectedOrder = {0, 1, 2, 3, 4, 5};
    TRandom random;
    ShuffleIndices(expectedOrder, random, 12345);  // the first counter reading
    EXPECT_EQ(session.TaskOrder(), expectedOrder);
    TIntDynArray expectedVariants = {0, 1, 2, 3, 4};
    ShuffleIndices(expectedVariants, random, 12346);  // the next one
    EXPECT_EQ(window.Displays[0].VariantOrder, expectedVariants);
    EXPECT_EQ(window.Displays[0].Task, &tasks[static_cast<size_t>(expectedOrder[0])]);

    // The row showing variant 0 is the right one, wherever it is shown.
    const auto row = std::find(expectedVariants.begin(), expectedVariants.end(), 0) - expectedVariants.begin();
    Pick(static_cast<int>(row));
    session.Next();
    window.Expect(kStop).Expect(kResultWindow);
    session.Stop();
    TIntDynArray mask(6, -1);
    mask[static_cast<size_t>(expectedOrder[0])] = 1;
    mask[static_cast<size_t>(expectedOrder[1])] = 0;
    EXPECT_EQ(Result().MaskValues, mask);
}

TEST_F(RunnerSessionTest, NextJudgesEachTaskAndTheLastOneFinishes)
{
    Begin();
    Pick(0);
    session.Next();
    ASSERT_EQ(window.Displays.size(), 2u);
    EXPECT_TRUE(window.TaskTimer);
    EXPECT_EQ(window.Displays[1].Position, 1);
    Pick(0);  // wrong: the key is row 2
    window.Expect(kResultWindow);
    session.Next();
    EXPECT_FALSE(session.Running());
    EXPECT_FALSE(window.Running);
    EXPECT_TRUE(TimersStopped());
    EXPECT_EQ(window.Endings, std::vector<bool>{true});
    ASSERT_EQ(Results(), 1);
    EXPECT_EQ(Result().EndMode, EndFinished);
    EXPECT_EQ(Result().ResultMask, "+-");
    EXPECT_EQ(Result().UserName, "Иванов Пётр");
    EXPECT_EQ(Result().CompName, "CLASS-PC-07");
    EXPECT_EQ(Result().TestFile, "/tests/nesting.tst");
    EXPECT_EQ(Result().FileCrc, 0x1234u);
    EXPECT_EQ(Result().Mark, 2);
    // Nothing more happens after the end.
    session.Next();
    session.TickTask();
    EXPECT_EQ(Results(), 1);
}

TEST_F(RunnerSessionTest, StopOnTheFourthOfTenJudgesTheTaskOnDisplay)
{
    tasks.assign(10, SingleTask("Задание", 0, 3));
    info.Marks = {0, 3, 6};
    Begin();
    for (int right : {1, 1, 0}) {
        Pick(right ? 0 : 1);
        session.Next();
    }
    window.Expect(kStop, false);
    session.Stop();
    EXPECT_EQ(window.Captions.back(), "Внимание! Идет тест...");
    EXPECT_TRUE(session.Running());

    window.Expect(kStop).Expect(kResultWindow);
    session.Stop();
    EXPECT_EQ(Result().EndMode, EndStopped);
    EXPECT_EQ(Result().AskedCount, 4);
    EXPECT_EQ(Result().RightCount, 2);
    EXPECT_EQ(Result().WrongCount, 2);
    EXPECT_EQ(Result().NotAskedCount, 6);
    EXPECT_EQ(Result().ResultMask, "++--******");
    EXPECT_EQ(Result().Mark, 1);
}

TEST_F(RunnerSessionTest, TestTimeOutEndsTheSessionWithTheTaskOnDisplayAsked)
{
    tasks.push_back(SingleTask("Третий", 0));
    BeginWithTestLimit(5);
    EXPECT_EQ(window.TestLeft, 5);
    Pick(0);
    for (int i = 0; i < 2; ++i) {
        session.TickTest();
        session.TickTask();
    }
    session.Next();
    for (int i = 0; i < 2; ++i) {
        session.TickTest();
        session.TickTask();
    }
    EXPECT_EQ(window.TestLeft, 1);
    EXPECT_EQ(window.TestTime, 4);
    window.Expect("Время теста вышло!").During([&] { EXPECT_EQ(window.TestLeft, 0); }).Expect(kResultWindow);
    session.TickTest();
    EXPECT_EQ(window.Kinds.back(), SessionBox::TestTimeOut);
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Result().AskedCount, 2);
    EXPECT_EQ(Result().ResultMask, "+-*");
    EXPECT_EQ(Result().Duration, 5);
    EXPECT_EQ(Result().TimeMask, "2;2;0");
    EXPECT_FALSE(window.TestLeft.has_value());  // emptied at the end
    EXPECT_TRUE(TimersStopped());
}

TEST_F(RunnerSessionTest, TaskTimeOutsMoveOnAndFinishTheSession)
{
    mode.ModeTimeLimit = 2;
    mode.TimeLimitTask = 3;
    Begin();
    EXPECT_EQ(window.TaskLeft, 3);
    EXPECT_FALSE(window.TestLeft.has_value());
    session.TickTask();
    session.TickTask();
    EXPECT_EQ(window.TaskLeft, 1);
    window.Expect("Время обдумывания вопроса вышло!").During([&] { EXPECT_FALSE(window.TaskTimer); });
    session.TickTask();
    EXPECT_EQ(window.Kinds.back(), SessionBox::Notice);
    ASSERT_EQ(window.Displays.size(), 2u);
    EXPECT_EQ(window.TaskLeft, 3);

    window.Expect("Время обдумывания вопроса вышло!").Expect(kResultWindow);
    for (int i = 0; i < 3; ++i)
        session.TickTask();
    EXPECT_EQ(Result().EndMode, EndFinished);
    EXPECT_EQ(Result().AskedCount, 2);
    EXPECT_EQ(Result().RightCount, 0);
    EXPECT_EQ(Result().TimeMask, "3;3");
    EXPECT_EQ(Result().MarkText, "незачет");
}

TEST_F(RunnerSessionTest, LimitsOfZeroOrLessEndAtTheFirstTick)
{
    mode.ModeTimeLimit = 2;
    mode.TimeLimitTask = -5;  // as config.ini may bring it
    Begin();
    window.Expect("Время обдумывания вопроса вышло!").During([&] { EXPECT_EQ(window.TaskLeft, -6); });
    session.TickTask();
    EXPECT_EQ(window.Displays.size(), 2u);
    window.Expect(kStop).Expect(kResultWindow);
    session.Stop();

    BeginWithTestLimit(0);
    ExpectTimeOut();
    session.TickTest();
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Result().AskedCount, 1);
}

TEST_F(RunnerSessionTest, WithoutALimitTicksOnlyCount)
{
    Begin();
    for (int i = 0; i < 3725; ++i) {
        session.TickTest();
        session.TickTask();
    }
    EXPECT_EQ(window.TaskTime, 3725);
    EXPECT_EQ(window.TestTime, 3725);
    EXPECT_FALSE(window.TestLeft.has_value());
    EXPECT_FALSE(window.TaskLeft.has_value());
    window.Expect(kStop).Expect(kResultWindow);
    session.Stop();
    EXPECT_EQ(Result().TimeMask, "3725;0");
    EXPECT_EQ(Result().Duration, 3725);
}

TEST_F(RunnerSessionTest, EducationFeedbackColoursTheRowsAndRestoresThem)
{
    mode.ModeEducation = 1;
    Begin();
    Pick(1);  // wrong: the key is row 1
    window.Expect("Не правильно...   \r\nВерный ответ: 1;").During([&] {
        ASSERT_EQ(window.Colourings.size(), 1u);
        EXPECT_EQ(window.Colourings[0], (std::vector<RowColour>{RowColour::Correct, RowColour::Error}));
        EXPECT_FALSE(window.TaskTimer);  // the task's own time has stopped
    });
    session.Next();
    EXPECT_EQ(window.Kinds.back(), SessionBox::Feedback);
    ASSERT_EQ(window.Colourings.size(), 2u);
    EXPECT_EQ(window.Colourings[1], std::vector<RowColour>(2, RowColour::Normal));

    Pick(1);  // right: no box, no colours
    window.Expect(kResultWindow);
    session.Next();
    EXPECT_EQ(window.Colourings.size(), 2u);
}

// ---- events behind the session's own boxes

TEST_F(RunnerSessionTest, TimeOutBehindTheStopQuestion)
{
    BeginWithTestLimit();
    Pick(0);
    window.Expect(kStop).During([&] { session.TickTest(); });
    ExpectTimeOut();
    session.Stop();  // the Yes comes after the session has ended

    EXPECT_FALSE(session.Running());
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Result().ResultMask, "+*");
    EXPECT_EQ(Results(), 1);
    EXPECT_TRUE(TimersStopped());
}

TEST_F(RunnerSessionTest, TimeOutBehindTheEducationFeedback)
{
    // On the first task "Дальше" would show the next one, on the last it would end.
    for (const bool onLastTask : {false, true}) {
        SCOPED_TRACE(onLastTask ? "last task" : "first task");
        window.Results.clear();
        window.Displays.clear();
        BeginWithTestLimit();
        mode.ModeEducation = 1;
        if (onLastTask) {
            Pick(0);  // right: no feedback
            session.Next();
        }
        Pick(onLastTask ? 0 : 1);  // wrong
        window.Expect(std::string("Не правильно...   \r\nВерный ответ: ") + (onLastTask ? "2;" : "1;"))
            .During([&] { session.TickTest(); });
        ExpectTimeOut();
        session.Next();

        // No second feedback, no further task, one end.
        EXPECT_EQ(window.Displays.size(), onLastTask ? 2u : 1u);
        EXPECT_FALSE(session.Running());
        EXPECT_EQ(Result().EndMode, EndTimeout);
        EXPECT_EQ(Result().ResultMask, onLastTask ? "+-" : "-*");
        EXPECT_EQ(Results(), 1);
        EXPECT_TRUE(TimersStopped());
        // The rows got their colours back although the session ended behind the box.
        EXPECT_EQ(window.Colourings.back(), std::vector<RowColour>(2, RowColour::Normal));
        window.Verify();
        mode.ModeEducation = 0;
    }
}

TEST_F(RunnerSessionTest, LateTaskTickBehindTheFeedbackNeitherCountsNorMovesOn)
{
    mode.ModeTimeLimit = 2;
    mode.TimeLimitTask = 1;
    mode.ModeEducation = 1;
    Begin();
    Pick(1);  // wrong
    window.Expect("Не правильно...   \r\nВерный ответ: 1;").During([&] {
        session.TickTask();  // no time-out message, no second task
    });
    session.Next();
    ASSERT_EQ(window.Displays.size(), 2u);
    EXPECT_EQ(session.CurrentTask(), 1);
    window.Expect(kStop).Expect("Не правильно...   \r\nВерный ответ: 2;").Expect(kResultWindow);
    session.Stop();
    EXPECT_EQ(Result().TimeMask, "0;0");
}

TEST_F(RunnerSessionTest, TimeOutBehindTheTaskTimeOutMessage)
{
    // The menus offer one kind of limit at a time; switching behind the box is
    // the only way to have both timers run out together.
    mode.ModeTimeLimit = 2;
    mode.TimeLimitTask = 1;
    Begin();
    window.Expect("Время обдумывания вопроса вышло!").During([&] {
        mode.ModeTimeLimit = 1;
        mode.TimeLimitTest = 1;
        session.TickTest();
    });
    ExpectTimeOut();
    session.TickTask();

    EXPECT_FALSE(session.Running());
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Result().AskedCount, 1);
    EXPECT_EQ(Results(), 1);
    EXPECT_EQ(window.Displays.size(), 1u);
    EXPECT_TRUE(TimersStopped());
}

TEST_F(RunnerSessionTest, TimeOutBehindTheMissingPictureMessage)
{
    tasks = {SingleTask("Без файла", 0, 1)};
    mode.ModeTimeLimit = 1;
    mode.TimeLimitTest = 1;
    window.PictureMessage = "Файл с изображением отсутствует!";
    window.Expect("Файл с изображением отсутствует!").During([&] { session.TickTest(); });
    ExpectTimeOut();
    session.Begin();

    EXPECT_FALSE(session.Running());
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Result().ResultMask, "-");
    EXPECT_TRUE(TimersStopped());  // the task timer was never started for the ended session
}

TEST_F(RunnerSessionTest, TheSessionsWindowsCloseWhenItEnds)
{
    BeginWithTestLimit();
    ExpectTimeOut();
    session.TickTest();
    EXPECT_EQ(window.WindowsClosed, 1);
    Begin();
    session.Discard();
    EXPECT_EQ(window.WindowsClosed, 2);
}

TEST_F(RunnerSessionTest, DiscardedBehindTheStopQuestionNothingIsJudgedOrWritten)
{
    Begin();
    Pick(0);
    window.Expect(kStop).During([&] { session.Discard(); });
    session.Stop();

    EXPECT_FALSE(session.Running());
    EXPECT_FALSE(window.Running);
    EXPECT_EQ(window.Endings, std::vector<bool>{false});
    EXPECT_EQ(Results(), 0);
    EXPECT_EQ(Result().EndMode, 0);
    EXPECT_EQ(window.Log.size(), 1u);  // the start line only
    EXPECT_TRUE(TimersStopped());
    // The box's timers have no session to act on either.
    session.TickTest();
    session.TickTask();
    session.Next();
    EXPECT_EQ(Results(), 0);
}

TEST_F(RunnerSessionTest, ASessionThatBeganBehindTheStartLinesErrorIsTheOneThatRuns)
{
    // The start line's error box lets a second Begin in; the first gives way.
    class FailingLog : public ScriptedWindow {
    public:
        std::function<void()> OnFirstLine;
        void AppendLogLine(const std::string& text) override
        {
            ScriptedWindow::AppendLogLine(text);
            if (auto action = std::exchange(OnFirstLine, nullptr))
                action();
        }
    } failing;
    RunnerSession nested{failing, platform, tasks, info, mode, config};
    failing.OnFirstLine = [&] { nested.Begin(); };
    nested.Begin();
    EXPECT_TRUE(nested.Running());
    EXPECT_EQ(failing.Displays.size(), 1u);
    EXPECT_EQ(failing.Log.size(), 2u);
    nested.Discard();
}

// ---- the modules and closing

TEST_F(RunnerSessionTest, TheEditorOrTheEncryptorDuringASessionAsksToStopFirst)
{
    for (const RunnerModule module : {RunnerModule::Editor, RunnerModule::Encryptor}) {
        Begin();
        Pick(0);
        window.Expect(kStop, false);
        EXPECT_FALSE(session.ModuleMayOpen(module));  // No: the session goes on, nothing opens
        EXPECT_TRUE(session.Running());
        EXPECT_EQ(window.Captions.back(), "Внимание! Идет тест...");

        window.Expect(kStop).Expect(kResultWindow);
        EXPECT_TRUE(session.ModuleMayOpen(module));
        EXPECT_FALSE(session.Running());
        EXPECT_EQ(Result().EndMode, EndStopped);
        EXPECT_EQ(Result().ResultMask, "+*");
        window.Verify();
    }
    // Outside a session nothing is asked.
    EXPECT_TRUE(session.ModuleMayOpen(RunnerModule::Editor));
}

TEST_F(RunnerSessionTest, TheJournalOpensDuringASessionWithoutAQuestion)
{
    Begin();
    EXPECT_TRUE(session.ModuleMayOpen(RunnerModule::Journal));
    EXPECT_TRUE(session.Running());
    EXPECT_TRUE(window.Shown.empty());
    session.Discard();
}

TEST_F(RunnerSessionTest, TimeOutBehindTheModuleQuestionStillOpensTheModule)
{
    BeginWithTestLimit();
    window.Expect(kStop).During([&] { session.TickTest(); });
    ExpectTimeOut();
    EXPECT_TRUE(session.ModuleMayOpen(RunnerModule::Editor));
    EXPECT_EQ(Result().EndMode, EndTimeout);
    EXPECT_EQ(Results(), 1);
}

TEST_F(RunnerSessionTest, ClosingDuringASessionAsksAndWritesTheCloseLineLast)
{
    const auto agree = [] { return true; };
    EXPECT_TRUE(session.CloseQuery(agree));  // no session: nothing asked, nothing written
    EXPECT_TRUE(window.Log.empty());

    Begin();
    window.Expect("Вы желаете выйти из программы во время теста?", false);
    EXPECT_FALSE(session.CloseQuery(agree));
    window.Expect("Вы желаете выйти из программы во время теста?");
    EXPECT_FALSE(session.CloseQuery([] { return false; }));  // another window keeps it open
    EXPECT_EQ(window.Log.size(), 1u);

    window.Expect("Вы желаете выйти из программы во время теста?");
    EXPECT_TRUE(session.CloseQuery(agree));
    EXPECT_EQ(window.Log.back(), "05.03.2024 09:15:02 Закрыта программа во время теста: \"Вложенность\"");
}

TEST_F(RunnerSessionTest, ATimeOutBehindTheCloseQuestionLeavesNoCloseLine)
{
    BeginWithTestLimit();
    window.Expect("Вы желаете выйти из программы во время теста?").During([&] { session.TickTest(); });
    ExpectTimeOut();
    EXPECT_TRUE(session.CloseQuery([] { return true; }));
    EXPECT_EQ(window.Log.size(), 1u);
    EXPECT_EQ(Result().EndMode, EndTimeout);
}

// ---- keys

TEST_F(RunnerSessionTest, KeysAnswerOnlyDuringASessionAndEqualsStartsTheCalculator)
{
    session.KeyPress('1');
    session.KeyPress('=');
    EXPECT_TRUE(window.KeyRows.empty());
    EXPECT_EQ(window.Calculators, 0);

    Begin();
    for (char key : std::string("1590x5"))
        session.KeyPress(key);
    EXPECT_EQ(window.KeyRows, (std::vector<std::pair<int, int>>{{1, 0}, {1, 4}, {1, 4}}));
    session.KeyPress('=');
    EXPECT_EQ(window.Calculators, 1);
    window.CalculatorAvailable = false;
    window.Expect("Ошибка запуска Калькулятора");
    session.KeyPress('=');
    EXPECT_EQ(window.Kinds.back(), SessionBox::Notice);
    session.Discard();
}

}  // namespace
}  // namespace quilmo::testing
