#pragma once
// One learner's pass through the open test, without the window: task and
// variant order, judging, the two timers' counts and limits, the ways a
// session ends, and the generation guard that keeps a session from being
// judged or ended twice while one of its boxes is open.
//
// The session is driven by events (Begin, Next, TickTest, TickTask, Stop, …)
// and tells its window what to do through SessionWindow. Every call that may
// show a modal box can let other events in (a timer firing behind it); after
// each such call the session checks that it is still the same session.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "app/Settings.h"
#include "model/Random.h"
#include "model/TestModel.h"
#include "model/TestResult.h"
#include "runner/Scoring.h"

namespace quilmo {

// What the window shows for one task.
struct TaskDisplay {
    const TTask* Task = nullptr;
    int32_t Position = 0;        // 0-based position in the order asked
    int32_t Count = 0;           // tasks in the session
    TIntDynArray VariantOrder;   // row -> variant index
    std::optional<int32_t> TimeLimitTask;  // seconds allowed for the task, under a task limit
};

// The boxes a session shows with an OK button.
enum class SessionBox {
    Notice,       // the program's caption, no icon
    Feedback,     // the education feedback: the program's caption, information icon
    TestTimeOut,  // "Внимание!", no icon
};

// Modules a learner may open from the runner.
enum class RunnerModule { Journal, Encryptor, Editor };

// Everything the session asks of its window. Calls marked "modal" may let
// other events of the session in before they return.
class SessionWindow {
public:
    virtual ~SessionWindow() = default;
    // The name prompt, proposing a name (modal); nullopt unless closed with OK.
    virtual std::optional<std::string> AskUserName(int hour, const std::string& proposed) = 0;
    // A question with Yes and No (modal); true for Yes.
    virtual bool Ask(const std::string& caption, const std::string& text) = 0;
    // A box with an OK button (modal).
    virtual void Tell(SessionBox box, const std::string& text) = 0;
    // The one-line log entry and the announcement to the journal (modal on failure).
    virtual void AppendLogLine(const std::string& text) = 0;
    virtual void SendTestMessage(const std::string& text) = 0;
    // Status bar, progress bar and caption of a session that has just begun.
    virtual void ShowSessionStart(int32_t taskCount, std::optional<int32_t> timeLimitTest) = 0;
    // Running or not: the runner's state and its menus.
    virtual void SetRunning(bool running) = 0;
    virtual void StartTestTimer() = 0;
    virtual void StopTestTimer() = 0;
    virtual void StartTaskTimer() = 0;
    virtual void StopTaskTimer() = 0;
    // Shows the task; returns the picture's message to tell, empty if none.
    virtual std::string ShowTask(const TaskDisplay& display) = 0;
    // The selector states of the rows of the task on display (see JudgeTask).
    virtual TIntDynArray RowStates(const TTask& task) const = 0;
    // Colours the rows for the feedback; Normal puts a row's own colour back.
    virtual void ColourRows(const std::vector<RowColour>& rows) = 0;
    // The elapsed and remaining times of a tick.
    virtual void ShowTestTime(int32_t seconds, std::optional<int64_t> left) = 0;
    virtual void ShowTaskTime(int32_t seconds, std::optional<int64_t> left) = 0;
    // Closes the windows a session may have open over it (the picture window).
    virtual void CloseSessionWindows() = 0;
    // The window after a session: the result view, or the information view
    // of a session discarded without a result.
    virtual void ShowSessionEnded(bool withResult) = 0;
    // Result text, report, result message and the result window (modal).
    virtual void ShowResult(const TTestResult& result) = 0;
    // A digit key for row r of the task on display: the row's selector moves
    // as the key asks (a disabled one does not) and the answer may be confirmed.
    virtual void SelectRowByKey(int taskType, int row) = 0;
    // Starts a calculator; false when none could be started.
    virtual bool StartCalculator() = 0;
};

class RunnerSession {
public:
    // tasks, info, mode and config are the window's and outlive the session.
    RunnerSession(SessionWindow& window, Platform& platform, const std::vector<TTask>& tasks,
                  const TTestInfo& info, const TModeConfig& mode, const TConfig& config);

    bool Running() const { return Phase == SessionPhase::Running; }
    uint64_t Generation() const { return SessionGeneration; }
    // True while the session that had this generation is still running.
    bool Alive(uint64_t generation) const { return Running() && SessionGeneration == generation; }

    // Test > "Начать": the name prompt, then the first task.
    void Begin();
    // "Дальше", also after a per-task time-out: judges and moves on or ends.
    void Next();
    // Judges the task on display once; a wrong answer in education mode shows its feedback.
    void CheckAnswer();
    // Test > "Закончить": asks, then ends the session as stopped.
    void Stop();
    // The two timers' ticks.
    void TickTest();
    void TickTask();
    // A key the window sees before its controls.
    void KeyPress(char key);
    // Ends a running session without a result.
    void Discard();
    // Stops the timers and moves the generation on, so that every box of the
    // session still open finds it gone (the window being destroyed).
    void Halt();
    // Before a module opens: a session that the module would disturb is
    // offered to stop first. True when the module may open.
    bool ModuleMayOpen(RunnerModule module);
    // The close query: during a session asks whether to leave, then
    // othersAgree (the other windows' questions); false keeps the window
    // open. A session still running once the program really closes gets
    // its close line; one that a time-out ended behind a question has its
    // report and was not interrupted.
    bool CloseQuery(const std::function<bool()>& othersAgree);

    // The last finished session's result.
    const TTestResult& Result() const { return RunnerResult; }
    TTestResult& MutableResult() { return RunnerResult; }
    const std::string& LastUserName() const { return UserName; }
    void SetLastUserName(const std::string& name) { UserName = name; }
    int32_t CurrentTask() const { return Current; }
    const TIntDynArray& TaskOrder() const { return Order; }
    const TIntDynArray& VariantOrder() const { return Variants; }
    const TIntDynArray& TaskSeconds() const { return Seconds; }
    int32_t TestSeconds() const { return TestCount; }
    const TTask* TaskOnDisplay() const;
    bool TaskJudged() const { return Judged; }

    static constexpr const char* kStopCaption = "Внимание! Идет тест...";
    static constexpr const char* kStopQuestion = "Вы желаете остановить тест?";

private:
    enum class SessionPhase { Idle, Starting, Running };
    void ShowTask();
    void End(uint8_t endMode);
    // Asks the stop question and, on Yes, ends the session as stopped.
    // False when the learner chose No.
    bool AskAndStop();

    SessionWindow& Window;
    Platform& System;
    const std::vector<TTask>& Tasks;
    const TTestInfo& Info;
    const TModeConfig& Mode;
    const TConfig& Config;
    TRandom Random;

    SessionPhase Phase = SessionPhase::Idle;
    uint64_t SessionGeneration = 0;  // moves on when a session begins and ends
    std::string UserName;            // the name entered last in this program run
    TIntDynArray Order;              // position -> index in the task list
    int32_t Current = 0;
    TIntDynArray Variants;           // row -> variant index of the task on display
    TIntDynArray Answers;            // position -> 1 right, 0 otherwise
    TIntDynArray Seconds;            // position -> seconds on display
    int32_t TestCount = 0;
    TDateTime SessionStart;
    bool Judged = false;             // the task on display has been judged
    TTestResult RunnerResult;
};

}  // namespace quilmo
