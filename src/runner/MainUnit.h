#pragma once
// The main window: the test runner, hub of the program.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "app/AppServices.h"
#include "app/Settings.h"
#include "model/Random.h"
#include "model/TestLoader.h"
#include "model/TestModel.h"
#include "model/TestResult.h"
#include "model/TextTestWriter.h"
#include "runner/JournalLinkUnit.h"
#include "runner/RunnerMenusUnit.h"
#include "runner/RunnerSession.h"
#include "runner/TestSaving.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;


namespace quilmo {

class TInputUserNameForm;
class TPictureBox;
class TServerForm;
class TShowResultForm;
class TTaskView;
class TTestInfoForm;

class TMainForm : public QMainWindow, private SessionWindow {
    Q_OBJECT
public:
    explicit TMainForm(AppServices& services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The open test, its tasks and the settings in memory.
    TRunnerState State() const { return RunnerState; }
    const TTestInfo& TestInfo() const { return Info; }
    const std::vector<TTask>& Tasks() const { return TaskList; }
    TModeConfig& Mode() { return ModeConfig; }
    TConfig& Config() { return Configuration; }
    TTestInfoForm& TestInfoForm() { return *TestInfoWindow; }

    // Open test: the command line, File > Open and a drop all end here.
    void OpenTest(const QString& fileName);
    // Releases the tasks and the test information; back to NoTest.
    void CloseTest();
    // Start-up step 4: runs whenever the window is shown.
    void FormShow();
    // Files dropped on the window: the first opens, only when no test is open.
    void DropFiles(const QStringList& fileNames);
    // The close query; false keeps the window open.
    bool FormCloseQuery();
    // Destroying the window: saves the settings when asked, clears the test.
    void FormDestroy();

    void LoadSettings();
    bool SaveSettings();
    void LoadLanguage();

    // Menu handlers, named after their items.
    void MFileClick();
    void MFOpenClick();
    void MFSaveAsClick();
    void MFCloseClick();
    void MFExitClick();
    void MTestClick();
    void MTInfoClick();
    void MTBeginClick();
    void MTEndClick();
    void MConfigClick();
    void MCFontClick();
    void MCOrderTaskSubClick(bool normal);
    void MCOrderVariantSubClick(bool normal);
    void MCModeEducationClick();
    void MCMTLimitClick(int tag);
    void MCMTLSetupTestClick();
    void MCMTLSetupTaskClick();
    void MCSaveResultClick();
    void MCSaveConfigClick();
    void MCAdditionConfigClick();
    void MCSaveConfigNowClick();
    void MCLoadConfigNowClick();
    void MMServerClick();
    void MMEncryptClick();
    void MMEditorClick();
    void MHShowHelpClick();
    void MHShowAboutBoxClick();
    // F7 shows or hides the Modules menu.
    void FormKeyDown(int key);

    // Empties the question and variant area and shows the selector column of type.
    void ClearTaskView(int type);

    // Ends a running session without a result, before its tasks are released
    // (the editor opened during a session, the command-line test reopened).
    void DiscardSession();
    // The two messages to the journal; nothing unless SendResult is on.
    void SendTestMessage(const std::string& text) override;
    void SendTestResult();
    // The runner's result of the last finished session.
    const TTestResult& Result() const { return Session.Result(); }
    // Results that found no journal and wait to be sent again.
    int64_t OutboxCount() { return Journal->Waiting(); }
    // Every minute while results wait: sends them again.
    void TimerOutboxTimer() { Journal->ResendWaiting(); }

    // The testing session: from the name prompt to the result window.
    void BeginTest();
    // Shows or hides the question's picture; a missing or unreadable file says so.
    void ShowTaskImage(const std::string& path);
    void BitBtnGoCheckClick();
    void VariantClick();
    void QuestionImageClick();
    void CheckAnswer();
    void EndTest();
    // The session timer and the task timer, one tick each.
    void TimerTimeTestTimer();
    void TimerTaskTimer();
    // A key the window sees before its controls: digits answer, "=" starts a calculator.
    void FormKeyPress(const QString& text);
    void ShowResultText();
    void WriteResultReport();
    void AppendLogLine(const std::string& text) override;
    TInputUserNameForm& InputUserNameForm() { return *InputUserNameWindow; }
    int32_t CurrentTaskPosition() const { return Session.CurrentTask(); }
    const TIntDynArray& SessionTaskOrder() const { return Session.TaskOrder(); }

    // The menus and their items, made once by BuildMenus.
    using TMenus = TRunnerMenus;
    const TMenus& Menus() const { return *MenuItems; }

    // ---- Results journal
    // The journal window, created at start-up and kept for the life of the program.
    TServerForm& ServerForm() { return Journal->Server(); }
    // For tests: what a session leaves behind for the two journal messages.
    void SetJournalSessionForTest(const std::string& userName, const TTestResult& result);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void BuildAnswerControlTable();
    void ApplyQuestionFont(const QFont& font);
    void ShowInformation(const std::vector<std::string>& lines);
    void ApplyOpenResult(OpenTestResult& result);
    void ReleaseTasks();
    void ClearTestInformation();
    // Moves the runner state and refreshes the enabling of the menus with it,
    // so that shortcuts honour the same rules as the opened menus.
    void SetState(TRunnerState state);
    void RefreshMenus();
    bool CanSaveAs() const;
    bool SettingsItemEnabled(bool enabledWhileRunning) const;
    RunnerMenuStates MenuStatesNow() const;

    // Save as and the check test's picture folder.
    void WriteCheckTest(const QString& fileName);
    void WriteTextTest(const QString& fileName);
    // The questions saving asks: missing pictures, pictures to replace.
    SaveQuestions SavingQuestions();
    // Deletes a picture folder; a failure shows the system's text.
    void DeleteTempFolder(const std::string& path);
    void ShowDeleteError(const std::string& text);

    AppServices& Services;
    Prompts& Prompter;

    // The open test.
    TRunnerState RunnerState = TRunnerState::NoTest;
    TTestInfo Info;
    std::vector<TTask> TaskList;
    TRandom Random;

    // Settings in memory; the font is the question text's.
    TModeConfig ModeConfig;
    TConfig Configuration;
    int32_t FontColor = kColorWindowText;

    bool Destroyed = false;

    // Windows created at start and kept for the life of the process.
    TTestInfoForm* TestInfoWindow = nullptr;

    // Controls, named as the window names them.
    TTaskView* TaskView = nullptr;
    QLabel* QuestionLabel = nullptr;
    QPlainTextEdit* QuestionText = nullptr;
    TPictureBox* QuestionImage = nullptr;
    QLabel* VariantLabel = nullptr;
    QPushButton* BitBtnGoCheck = nullptr;
    QProgressBar* CountAskProgressBar = nullptr;
    std::array<QLabel*, 9> StatusPanels{};

    // The twenty answer controls of the task view: five variant texts, five
    // radio buttons, five check boxes, five number boxes.
    std::array<QPlainTextEdit*, 5> VariantText{};
    std::array<QRadioButton*, 5> RadioButtonVariant{};
    std::array<QCheckBox*, 5> CheckBoxVariant{};
    std::array<QComboBox*, 5> ComboBoxVariant{};

    std::unique_ptr<TRunnerMenus> MenuItems;
    // The key press being delivered and the widget that had it first.
    const QEvent* KeyInFlight = nullptr;
    QPointer<QWidget> KeyInFlightAt;

    // The testing session: its events come from the timers, the button, the
    // keys and the menus; what it asks of the window is below.
    void BuildSession();
    // The display part of showing a task; returns the picture's message, if any.
    QString DisplayTask(const TaskDisplay& display);
    // Loads the picture into the picture control; returns the message to show, if any.
    QString LoadTaskImage(const std::string& path);
    void SetRowBackground(int row, const QColor& colour);
    void ReportLogError(const std::string& text);

    // SessionWindow
    std::optional<std::string> AskUserName(int hour, const std::string& proposed) override;
    bool Ask(const std::string& caption, const std::string& text) override;
    void Tell(SessionBox box, const std::string& text) override;
    void ShowSessionStart(int32_t taskCount, std::optional<int32_t> timeLimitTest) override;
    void SetRunning(bool running) override;
    void StartTestTimer() override;
    void StopTestTimer() override;
    void StartTaskTimer() override;
    void StopTaskTimer() override;
    std::string ShowTask(const TaskDisplay& display) override;
    TIntDynArray RowStates(const TTask& task) const override;
    void ColourRows(const std::vector<RowColour>& rows) override;
    void ShowTestTime(int32_t seconds, std::optional<int64_t> left) override;
    void ShowTaskTime(int32_t seconds, std::optional<int64_t> left) override;
    void CloseSessionWindows() override;
    void ShowSessionEnded(bool withResult) override;
    void ShowResult(const TTestResult& result) override;
    void SelectRowByKey(int taskType, int row) override;
    bool StartCalculator() override;

    RunnerSession Session;
    std::optional<QColor> RowColourBeforeFeedback;  // while the feedback colours the rows
    QTimer* TimerTimeTest = nullptr;
    QTimer* TimerTask = nullptr;
    TInputUserNameForm* InputUserNameWindow = nullptr;
    TShowResultForm* ShowResultWindow = nullptr;
    QDialog* ImageWindow = nullptr;  // the picture window while it is open

    // The journal window and the results waiting for it.
    TJournalLink* Journal = nullptr;
};

}  // namespace quilmo
