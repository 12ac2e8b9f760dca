#include "runner/RunnerSession.h"

#include <algorithm>
#include <numeric>

#include "runner/ResultReport.h"

namespace quilmo {

RunnerSession::RunnerSession(SessionWindow& window, Platform& platform, const std::vector<TTask>& tasks,
                             const TTestInfo& info, const TModeConfig& mode, const TConfig& config)
    : Window(window), System(platform), Tasks(tasks), Info(info), Mode(mode), Config(config)
{
}

const TTask* RunnerSession::TaskOnDisplay() const
{
    if (!Running() || Current < 0 || Current >= static_cast<int32_t>(Order.size()))
        return nullptr;
    const int32_t index = Order[static_cast<size_t>(Current)];
    if (index < 0 || index >= static_cast<int32_t>(Tasks.size()))
        return nullptr;
    return &Tasks[static_cast<size_t>(index)];
}

void RunnerSession::Begin()
{
    if (Running() || Tasks.empty())
        return;
    const auto name = Window.AskUserName(System.Now().Hour, UserName.empty() ? Config.DefaultUserName : UserName);
    if (!name || Running() || Tasks.empty())
        return;
    if (name->empty())  // blanks are a name, nothing is not
        return;
    UserName = *name;

    // Every per-task array is sized from the tasks themselves.
    const size_t count = Tasks.size();
    Order.resize(count);
    std::iota(Order.begin(), Order.end(), 0);
    Seconds.assign(count, 0);
    if (Mode.OrderTaskNormal == 0)
        ShuffleIndices(Order, Random, System.PerformanceCounter());
    Answers.assign(count, 0);
    Current = 0;
    Variants.clear();
    const uint64_t generation = ++SessionGeneration;
    Phase = SessionPhase::Starting;

    Window.AppendLogLine(StartLogLine(System.Now(), Info.Title));
    Window.SendTestMessage("Начат тест");
    // Their error boxes may have let another session begin or the test close.
    if (SessionGeneration != generation)
        return;
    if (Phase != SessionPhase::Starting || Tasks.size() != count) {
        if (Phase == SessionPhase::Starting)
            Phase = SessionPhase::Idle;
        return;
    }

    Window.ShowSessionStart(static_cast<int32_t>(count),
                            Mode.ModeTimeLimit == 1 ? std::optional<int32_t>(Mode.TimeLimitTest) : std::nullopt);
    TestCount = 0;
    Window.StartTestTimer();
    SessionStart = System.Now();
    Phase = SessionPhase::Running;
    Window.SetRunning(true);
    ShowTask();
}

void RunnerSession::ShowTask()
{
    const TTask* task = TaskOnDisplay();
    if (!task)
        return;
    const uint64_t generation = SessionGeneration;
    Judged = false;
    const int n = std::clamp<int32_t>(task->VariantCount, 0, 5);
    Variants.resize(static_cast<size_t>(n));
    std::iota(Variants.begin(), Variants.end(), 0);
    if (Mode.OrderVariantNormal == 0)
        ShuffleIndices(Variants, Random, System.PerformanceCounter());

    TaskDisplay display;
    display.Task = task;
    display.Position = Current;
    display.Count = static_cast<int32_t>(Order.size());
    display.VariantOrder = Variants;
    if (Mode.ModeTimeLimit == 2)
        display.TimeLimitTask = Mode.TimeLimitTask;
    // The picture's message comes once the task stands complete behind it.
    const std::string pictureMessage = Window.ShowTask(display);
    if (!pictureMessage.empty()) {
        Window.Tell(SessionBox::Notice, pictureMessage);
        if (!Alive(generation))
            return;
    }
    Window.StartTaskTimer();
}

void RunnerSession::Next()
{
    if (!Running())
        return;
    const uint64_t generation = SessionGeneration;
    CheckAnswer();
    if (!Alive(generation))
        return;  // a time-out behind the feedback has ended the session
    if (Current < static_cast<int32_t>(Order.size()) - 1) {
        ++Current;
        ShowTask();
    } else {
        End(EndFinished);
    }
}

void RunnerSession::CheckAnswer()
{
    if (!Running())
        return;
    Window.StopTaskTimer();
    const TTask* task = TaskOnDisplay();
    // Judged once: a time-out firing behind the education feedback finds the
    // task already judged.
    if (!task || Judged)
        return;
    Judged = true;
    const TIntDynArray states = Window.RowStates(*task);
    const bool right = JudgeTask(*task, Variants, states);
    Answers[static_cast<size_t>(Current)] = right ? 1 : 0;
    if (right || Mode.ModeEducation != 1)
        return;
    const TEducationFeedback feedback = EducationFeedback(*task, Variants, states);
    Window.ColourRows(feedback.Rows);
    Window.Tell(SessionBox::Feedback, feedback.Text);
    Window.ColourRows(std::vector<RowColour>(feedback.Rows.size(), RowColour::Normal));
}

bool RunnerSession::AskAndStop()
{
    const uint64_t generation = SessionGeneration;
    if (!Window.Ask(kStopCaption, kStopQuestion))
        return false;
    // The session may have ended behind the question.
    if (!Alive(generation))
        return true;
    CheckAnswer();
    if (!Alive(generation))
        return true;
    End(EndStopped);
    return true;
}

void RunnerSession::Stop()
{
    if (Running())
        AskAndStop();
}

bool RunnerSession::ModuleMayOpen(RunnerModule module)
{
    // The journal does not touch the session; the editor and the encryptor
    // take the window (and may reopen the test) from under it.
    if (module == RunnerModule::Journal || !Running())
        return true;
    return AskAndStop();
}

void RunnerSession::End(uint8_t endMode)
{
    if (!Running())
        return;
    RunnerResult.EndMode = endMode;
    const TDateTime sessionEnd = System.Now();
    Halt();
    Phase = SessionPhase::Idle;
    Window.SetRunning(false);
    Window.ShowSessionEnded(true);

    TSessionFacts facts;
    facts.CompName = System.ComputerName();
    facts.CompUserName = System.AccountName();
    facts.UserName = UserName;
    facts.TestTitle = Info.Title;
    facts.TestFile = Info.FileName;
    facts.Marks = Info.Marks;
    facts.FileCrc = Info.FileCrc;
    facts.TaskOrder = Order;
    facts.AnswerResults = Answers;
    facts.TaskSeconds = Seconds;
    facts.CurrentTask = Current;
    facts.TestSeconds = TestCount;
    facts.SessionStart = SessionStart;
    facts.SessionEnd = sessionEnd;
    FillTestResult(RunnerResult, facts);
    Window.ShowResult(RunnerResult);
}

void RunnerSession::Halt()
{
    Window.StopTestTimer();
    Window.StopTaskTimer();
    ++SessionGeneration;
    Window.CloseSessionWindows();
}

void RunnerSession::Discard()
{
    if (!Running())
        return;
    Halt();
    Phase = SessionPhase::Idle;
    Window.SetRunning(false);
    Window.ShowSessionEnded(false);
}

void RunnerSession::TickTest()
{
    if (!Running()) {
        Window.StopTestTimer();
        return;
    }
    ++TestCount;
    if (Mode.ModeTimeLimit != 1) {
        Window.ShowTestTime(TestCount, std::nullopt);
        return;
    }
    Window.ShowTestTime(TestCount, int64_t(Mode.TimeLimitTest) - TestCount);
    if (TestCount < Mode.TimeLimitTest)
        return;
    Window.StopTestTimer();
    const uint64_t generation = SessionGeneration;
    CheckAnswer();
    if (!Alive(generation))
        return;
    Window.Tell(SessionBox::TestTimeOut, "Время теста вышло!");
    if (!Alive(generation))
        return;
    End(EndTimeout);
}

void RunnerSession::TickTask()
{
    // A judged task's time has ended, even if a late tick still arrives.
    if (!Running() || Judged || Current < 0 || Current >= static_cast<int32_t>(Seconds.size())) {
        Window.StopTaskTimer();
        return;
    }
    const int32_t seconds = ++Seconds[static_cast<size_t>(Current)];
    if (Mode.ModeTimeLimit != 2) {
        Window.ShowTaskTime(seconds, std::nullopt);
        return;
    }
    Window.ShowTaskTime(seconds, int64_t(Mode.TimeLimitTask) - seconds);
    if (seconds < Mode.TimeLimitTask)
        return;
    Window.StopTaskTimer();  // stopped before its box, so it cannot fire twice for one task
    const uint64_t generation = SessionGeneration;
    Window.Tell(SessionBox::Notice, "Время обдумывания вопроса вышло!");
    if (!Alive(generation))
        return;
    Next();  // whether or not the answer was confirmable
}

void RunnerSession::KeyPress(char key)
{
    if (!Running())
        return;
    if (key == '=') {
        if (!Window.StartCalculator())
            Window.Tell(SessionBox::Notice, "Ошибка запуска Калькулятора");
        return;
    }
    if (key < '1' || key > '5')
        return;
    if (const TTask* task = TaskOnDisplay())
        Window.SelectRowByKey(task->TaskType, key - '1');
}

bool RunnerSession::CloseQuery(const std::function<bool()>& othersAgree)
{
    const bool running = Running();
    const uint64_t generation = SessionGeneration;
    if (running && !Window.Ask(kStopCaption, "Вы желаете выйти из программы во время теста?"))
        return false;
    if (!othersAgree())
        return false;
    // The close line is written only once the program really closes.
    if (running && Alive(generation))
        Window.AppendLogLine(CloseLogLine(System.Now(), Info.Title));
    return true;
}

}  // namespace quilmo
