#pragma once
// The main window: the test runner, hub of the program.

#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

#include "app/AppServices.h"
#include "app/Settings.h"
#include "model/Random.h"
#include "model/TestLoader.h"
#include "model/TestModel.h"
#include "runner/TestResult.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTextEdit;


namespace quilmo {

class TPictureBox;
class TServerForm;
class TTestInfoForm;

class TMainForm : public QMainWindow {
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
    void SendTestMessage(const std::string& text);
    void SendTestResult();
    // The runner's result of the last finished session.
    const TTestResult& Result() const { return RunnerResult; }

    QAction* Action(const char* objectName) const;
    QMenu* Menu(const char* objectName) const;

    // ---- Results journal
    // The journal window, created at start-up and kept for the life of the program.
    TServerForm& ServerForm() { return *ServerWindow; }
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

    AppServices& Services;
    Prompts& Prompter;

    // The open test.
    TRunnerState RunnerState = TRunnerState::NoTest;
    TTestInfo Info;
    std::vector<TTask> TaskList;
    TRandom Random;
    TTestResult RunnerResult;

    // Settings in memory; the font is the question text's.
    TModeConfig ModeConfig;
    TConfig Configuration;
    int32_t FontColor = kColorWindowText;

    bool Destroyed = false;

    // Windows created at start and kept for the life of the process.
    TTestInfoForm* TestInfoWindow = nullptr;

    // Controls, named as the window names them.
    QLabel* QuestionLabel = nullptr;
    QPlainTextEdit* QuestionText = nullptr;
    TPictureBox* QuestionImage = nullptr;
    QSplitter* Splitter = nullptr;
    QLabel* VariantLabel = nullptr;
    QWidget* GridPanel_VT1 = nullptr;
    QWidget* GridPanel_VT2 = nullptr;
    QWidget* GridPanel_VT3 = nullptr;
    QButtonGroup* RadioGroup = nullptr;
    QPushButton* BitBtnGoCheck = nullptr;
    QProgressBar* CountAskProgressBar = nullptr;
    std::array<QLabel*, 9> StatusPanels{};

    // The twenty answer controls, looked up by name at start: five variant
    // texts, five radio buttons, five check boxes, five number boxes; and the
    // three selector columns in type order.
    std::array<QPlainTextEdit*, 5> VariantText{};
    std::array<QRadioButton*, 5> RadioButtonVariant{};
    std::array<QCheckBox*, 5> CheckBoxVariant{};
    std::array<QComboBox*, 5> ComboBoxVariant{};
    std::array<QWidget*, 3> SelectorColumns{};

    QAction* ModulesMenuAction = nullptr;  // the menu bar entry of "Модули"

    // ---- Results journal
    // The close query's question about results the journal has not exported.
    bool JournalCloseQuery();
    // Sends one message; "Сервер не найден!" when no connection can be made.
    void SendToJournal(const std::vector<std::string>& values);
    TServerForm* ServerWindow = nullptr;
    // The examinee's name as entered at the start of the last session (a
    // session field; one declaration is kept when the session joins).
    std::string LastUserName;
};

}  // namespace quilmo
