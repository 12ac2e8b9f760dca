#include "runner/MainUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <numeric>

#include "app/LanguageFile.h"
#include "app/ProgramFolder.h"
#include "app/QtArt.h"
#include "app/QtConvert.h"
#include "app/QtFormParts.h"
#include "app/QtHelpDocument.h"
#include "app/QtPictureBox.h"
#include "app/QtTaskView.h"
#include "app/ShowQuestionImageUnit.h"
#include "app/TestInfoUnit.h"
#include "editor/EditorUnit.h"
#include "journal/ResultProtocol.h"
#include "journal/ServerUnit.h"
#include "model/CheckTestContainer.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/InfoText.h"
#include "model/PicturePath.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"
#include "runner/InputUserNameUnit.h"
#include "runner/JournalLinkUnit.h"
#include "runner/ResultReport.h"
#include "runner/RunnerMenusUnit.h"
#include "runner/RunnerRules.h"
#include "runner/Scoring.h"
#include "runner/SessionText.h"
#include "runner/TestSaving.h"
#include "runner/ShowResultUnit.h"
#include "tools/AboutUnit.h"
#include "tools/AdditionConfigUnit.h"
#include "tools/EncryptUnit.h"

namespace quilmo {

namespace {

const QString kCaptionAttention = QStringLiteral("Внимание!");

}  // namespace

TMainForm::TMainForm(AppServices& services, QWidget* parent)
    : QMainWindow(parent),
      Services(services),
      Prompter(services.prompts),
      Session(*this, services.platform, TaskList, Info, ModeConfig, Configuration)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(ProgramIcon());

    BuildLayout();
    BuildMenus();
    BuildAnswerControlTable();
    TestInfoWindow = new TTestInfoForm(this);
    InputUserNameWindow = new TInputUserNameForm(this);
    ShowResultWindow = new TShowResultForm(this);
    BuildSession();

    // Start-up: an empty runner with the settings of config.ini.
    SetState(TRunnerState::NoTest);
    TaskList.clear();
    ClearTestInformation();
    ClearTaskView(SingleChoice);
    QuestionText->setPlainText(QStringLiteral("Для начала работы выберите тест..."));
    QuestionLabel->setText(QStringLiteral("Информация:"));
    VariantLabel->setText(QStringLiteral("Выберите один из вариантов ответа:"));
    const TDateTime now = Services.platform.Now();
    StatusPanels[4]->setText(Q(FormatDateTime("dd.mm.yyyy", now)));
    StatusPanels[5]->setText(Q(FormatDateTime("hh:nn", now)));
    SetDefaults(ModeConfig, Configuration);
    LoadSettings();
    if (!Configuration.LanguageFile.empty())
        LoadLanguage();
    setAcceptDrops(true);
    qApp->installEventFilter(this);

    // The design's client area, status bar included, below the menu bar.
    resize(614, 584 + menuBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Results journal: its window lives, hidden, from start to exit.
    Journal = new TJournalLink(Services, Configuration, StatusPanels[8],
                               [this] { return RunnerState == TRunnerState::TestRunning; }, this);
    MenuItems->MMServer->setEnabled(true);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

// ---------------------------------------------------------------- layout

void TMainForm::BuildLayout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    setMinimumWidth(400);

    // The question with its picture, and the variant rows below it.
    TaskView = new TTaskView(TaskViewMode::ReadOnly, central);
    TaskView->QuestionImage->SetPicture(ProgramPicture(128));

    BitBtnGoCheck = new QPushButton(QStringLiteral("Дальше"), central);
    BitBtnGoCheck->setObjectName(QStringLiteral("BitBtnGoCheck"));
    BitBtnGoCheck->setFixedHeight(30);
    BitBtnGoCheck->setIcon(NextArrowIcon());
    BitBtnGoCheck->setLayoutDirection(Qt::RightToLeft);  // the picture on the right

    CountAskProgressBar = new QProgressBar(central);
    CountAskProgressBar->setObjectName(QStringLiteral("CountAskProgressBar"));
    CountAskProgressBar->setFixedHeight(10);
    CountAskProgressBar->setTextVisible(false);
    CountAskProgressBar->setRange(0, 0);
    CountAskProgressBar->setMaximum(1);
    CountAskProgressBar->setValue(0);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(TaskView, 1);
    layout->addWidget(BitBtnGoCheck);
    layout->addWidget(CountAskProgressBar);

    // Nine status panels: width and alignment of each.
    static const struct {
        int Width;
        Qt::Alignment Align;
        const char* Text;
    } panels[9] = {
        {60, Qt::AlignRight, "Всего:"}, {40, Qt::AlignCenter, ""},
        {60, Qt::AlignRight, "Текущий:"}, {40, Qt::AlignCenter, ""},
        {80, Qt::AlignCenter, ""}, {80, Qt::AlignCenter, ""},
        {80, Qt::AlignCenter, ""}, {80, Qt::AlignCenter, ""},
        {50, Qt::AlignLeft, ""},
    };
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 9; ++i) {
        auto* panel = new QLabel(QString::fromUtf8(panels[i].Text), bar);
        panel->setObjectName(QStringLiteral("StatusPanel") + QString::number(i));
        // The last panel, which shows how many results wait to be sent,
        // takes the rest of the bar.
        if (i == 8)
            panel->setMinimumWidth(panels[i].Width);
        else
            panel->setFixedWidth(panels[i].Width);
        panel->setAlignment(panels[i].Align | Qt::AlignVCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        bar->addWidget(panel, i == 8 ? 1 : 0);
        StatusPanels[i] = panel;
    }
    // The panels sit side by side, without the gaps the bar's own layout
    // leaves, so that the last one has room for its text.
    if (auto* row = bar->findChild<QHBoxLayout*>())
        row->setSpacing(0);
}

void TMainForm::BuildAnswerControlTable()
{
    // The session addresses the view's controls by row.
    QuestionLabel = TaskView->QuestionLabel;
    QuestionText = TaskView->QuestionText;
    QuestionImage = TaskView->QuestionImage;
    VariantLabel = TaskView->VariantLabel;
    VariantText = TaskView->VariantText;
    RadioButtonVariant = TaskView->RadioButtonVariant;
    CheckBoxVariant = TaskView->CheckBoxVariant;
    ComboBoxVariant = TaskView->ComboBoxVariant;
}

void TMainForm::BuildMenus()
{
    MenuItems = std::make_unique<TRunnerMenus>(this);
    const TRunnerMenus& m = *MenuItems;
    auto on = [this](QAction* item, auto handler) { connect(item, &QAction::triggered, this, handler); };
    connect(m.MFile, &QMenu::aboutToShow, this, &TMainForm::MFileClick);
    on(m.MFOpen, &TMainForm::MFOpenClick);
    on(m.MFSaveAs, &TMainForm::MFSaveAsClick);
    on(m.MFClose, &TMainForm::MFCloseClick);
    on(m.MFExit, &TMainForm::MFExitClick);
    connect(m.MTest, &QMenu::aboutToShow, this, &TMainForm::MTestClick);
    on(m.MTInfo, &TMainForm::MTInfoClick);
    on(m.MTBegin, &TMainForm::MTBeginClick);
    on(m.MTEnd, &TMainForm::MTEndClick);
    connect(m.MConfig, &QMenu::aboutToShow, this, &TMainForm::MConfigClick);
    on(m.MCFont, &TMainForm::MCFontClick);
    on(m.MCOTNormal, [this] { MCOrderTaskSubClick(true); });
    on(m.MCOTRandom, [this] { MCOrderTaskSubClick(false); });
    on(m.MCOVNormal, [this] { MCOrderVariantSubClick(true); });
    on(m.MCOVRandom, [this] { MCOrderVariantSubClick(false); });
    on(m.MCModeEducation, &TMainForm::MCModeEducationClick);
    for (int tag = 0; tag < 3; ++tag)
        on(m.MCMTLimit[tag], [this, tag] { MCMTLimitClick(tag); });
    on(m.MCMTLSetupTest, &TMainForm::MCMTLSetupTestClick);
    on(m.MCMTLSetupTask, &TMainForm::MCMTLSetupTaskClick);
    on(m.MCSaveResult, &TMainForm::MCSaveResultClick);
    on(m.MCSaveConfig, &TMainForm::MCSaveConfigClick);
    on(m.MCAdditionConfig, &TMainForm::MCAdditionConfigClick);
    on(m.MCSaveConfigNow, &TMainForm::MCSaveConfigNowClick);
    on(m.MCLoadConfigNow, &TMainForm::MCLoadConfigNowClick);
    on(m.MMServer, &TMainForm::MMServerClick);
    on(m.MMEncrypt, &TMainForm::MMEncryptClick);
    on(m.MMEditor, &TMainForm::MMEditorClick);
    on(m.MHShowHelp, &TMainForm::MHShowHelpClick);
    on(m.MHShowAboutBox, &TMainForm::MHShowAboutBoxClick);
    RefreshMenus();
}

void TMainForm::SetState(TRunnerState state)
{
    RunnerState = state;
    RefreshMenus();
}

void TMainForm::RefreshMenus()
{
    MFileClick();
    MTestClick();
    MConfigClick();
}

void TMainForm::ApplyQuestionFont(const QFont& font)
{
    TaskView->SetTextFont(font);
    TaskView->SetTextColor(WinColorToQColor(FontColor));
}

void TMainForm::ShowInformation(const std::vector<std::string>& lines)
{
    QuestionText->setPlainText(JoinForDisplay(lines));
    QuestionText->moveCursor(QTextCursor::Start);
    QuestionText->ensureCursorVisible();
}

// ---------------------------------------------------------------- the open test

void TMainForm::ReleaseTasks()
{
    TaskList.clear();
    TaskList.shrink_to_fit();
}

void TMainForm::ClearTestInformation()
{
    Info.FileName.clear();
    Info.FileDir.clear();
    Info.Title.clear();
    Info.TaskCount = 0;
    std::fill(Info.Marks.begin(), Info.Marks.end(), 0);
    DeleteTempFolder(Info.TempDir);
    Info.TempDir.clear();
    Info.Locked = 0;
}

void TMainForm::OpenTest(const QString& fileName)
{
    OpenTestEnvironment environment;
    environment.TempBase = Services.platform.TempFolder();
    environment.NewGuid = [this] { return Services.platform.NewGuid(); };
    // A subset drawn from a `T (M)` file differs from run to run.
    Random.SetSeed(Services.platform.PerformanceCounter());
    OpenTestResult result = OpenTestFile(S(fileName), Random, environment);
    if (result.Outcome == OpenOutcome::NothingToOpen)
        return;
    ApplyOpenResult(result);
    RefreshMenus();
}

void TMainForm::ApplyOpenResult(OpenTestResult& result)
{

    Info.FileName = result.FileName;
    Info.FileDir = result.FileDir;
    ReleaseTasks();
    if (result.Mode)
        ModeConfig = *result.Mode;

    switch (result.Outcome) {
    case OpenOutcome::NothingToOpen:
        return;
    case OpenOutcome::WrongExtension:
    case OpenOutcome::WrongSignature:
        Prompter.LoadError(this, Q(result.Message));
        return;
    case OpenOutcome::LoadFailed:
        ClearTestInformation();
        if (!result.CleanupError.empty())
            ShowDeleteError(result.CleanupError);
        Prompter.LoadError(this, Q(result.Message));
        Info.FileCrc = result.FileCrc;
        return;
    case OpenOutcome::Loaded:
        break;
    }

    // A check test opened over another keeps no stale picture folder.
    const std::string oldTempDir = Info.TempDir;
    if (!oldTempDir.empty() && oldTempDir != result.TempDir)
        DeleteTempFolder(oldTempDir);
    ParsedTest& test = result.Test;
    Info.TempDir = result.TempDir;
    Info.Title = test.Title;
    Info.Description = test.Description;
    Info.TaskCount = test.TaskCount;
    Info.Marks = test.Marks;
    Info.Locked = result.Locked;
    TaskList = std::move(test.Tasks);
    ShowInformation(InformationText(Info));
    SetState(TRunnerState::TestOpen);
    Info.FileCrc = result.FileCrc;
}

void TMainForm::CloseTest()
{
    ReleaseTasks();
    ClearTestInformation();
    SetState(TRunnerState::NoTest);
    QuestionText->setPlainText(QStringLiteral("Тест не выбран..."));
}

void TMainForm::FormShow()
{
    if (Services.Arguments.isEmpty())
        return;
    DiscardSession();  // the reopened test replaces the tasks a session would use
    OpenTest(Services.Arguments.first());
}

void TMainForm::DropFiles(const QStringList& fileNames)
{
    if (fileNames.isEmpty() || RunnerState != TRunnerState::NoTest)
        return;
    OpenTest(fileNames.first());
}

bool TMainForm::FormCloseQuery()
{
    // Results journal: results received but not exported.
    return Session.CloseQuery([this] { return Journal->CloseQuery(); });
}

void TMainForm::FormDestroy()
{
    if (Destroyed)
        return;
    Destroyed = true;
    Session.Halt();
    ReleaseTasks();
    if (ModeConfig.SaveConfig == 1)
        SaveSettings();
    setAcceptDrops(false);
    ClearTestInformation();
}

// ---------------------------------------------------------------- settings

void TMainForm::LoadSettings()
{
    TFontSpec font = QFontToFontSpec(QuestionText->font(), FontColor);
    LoadSettingsFile(Services.ProgramDir, font, ModeConfig, Configuration);
    FontColor = font.Color;
    ApplyQuestionFont(FontSpecToQFont(font));
}

bool TMainForm::SaveSettings()
{
    const TFontSpec font = QFontToFontSpec(QuestionText->font(), FontColor);
    if (SaveSettingsFile(Services.ProgramDir, font, ModeConfig, Configuration))
        return true;
    Prompter.Notice(this, QString::fromUtf8(kSaveSettingsError));
    return false;
}

void TMainForm::LoadLanguage()
{
    const IniFile ini = IniFile::Load(Services.ProgramDir + kLanguageFileName);
    // Each key captions a menu, a menu item or the answer button, found by name.
    std::vector<QObject*> controls;
    std::vector<std::string> current;
    for (const LanguageKey& key : kLanguageKeys) {
        QObject* control = findChild<QObject*>(QString::fromLatin1(key.Control));
        controls.push_back(control);
        QString caption;
        if (auto* m = qobject_cast<QMenu*>(control))
            caption = m->title();
        else if (auto* a = qobject_cast<QAction*>(control))
            caption = a->text();
        else if (auto* b = qobject_cast<QPushButton*>(control))
            caption = b->text();
        current.push_back(S(caption));
    }
    const std::vector<std::string> captions = ReadLanguageCaptions(ini, current);
    for (size_t i = 0; i < controls.size() && i < captions.size(); ++i) {
        const QString caption = Q(captions[i]);
        if (auto* m = qobject_cast<QMenu*>(controls[i]))
            m->setTitle(caption);
        else if (auto* a = qobject_cast<QAction*>(controls[i]))
            a->setText(caption);
        else if (auto* b = qobject_cast<QPushButton*>(controls[i]))
            b->setText(caption);
        else {
            Prompter.Notice(this, QString::fromUtf8(kLanguageLoadError));
            return;
        }
    }
}

// ---------------------------------------------------------------- menus

bool TMainForm::CanSaveAs() const
{
    return SaveAsAllowed(RunnerState, Info.Locked);
}

RunnerMenuStates TMainForm::MenuStatesNow() const
{
    return MenuStates(RunnerState, Info.Locked, TaskList.size());
}

void TMainForm::MFileClick()
{
    MenuItems->ShowFile(MenuStatesNow());
}

void TMainForm::MFOpenClick()
{
    if (RunnerState != TRunnerState::NoTest)
        return;
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Открыть");
    spec.Filter = QStringLiteral(
        "Все файлы тестов|*.TXT;*.TST;*.STST;*.EST|Обычные тесты|*.TXT;*.TST|"
        "Зашифрованные тесты|*.STST|Проверочный тест|*.EST");
    spec.InitialDir = Q(Configuration.InitialDirOpenTest);
    if (const auto chosen = Prompter.OpenFile(this, spec))
        OpenTest(chosen->Path);
}

void TMainForm::MFSaveAsClick()
{
    if (!CanSaveAs())
        return;
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить как");
    spec.Filter = QStringLiteral("Проверочный тест (*.EST)|*.EST|Текстовый файл (*.TXT)|*.TXT");
    spec.DefaultExtension = QStringLiteral("EST");
    spec.OverwritePrompt = true;
    const auto chosen = Prompter.SaveFile(this, spec);
    if (!chosen)
        return;
    if (chosen->FilterIndex == 2)
        WriteTextTest(chosen->Path);
    else
        WriteCheckTest(chosen->Path);
}

void TMainForm::MFCloseClick()
{
    if (RunnerState != TRunnerState::TestOpen)
        return;
    CloseTest();
}

void TMainForm::MFExitClick()
{
    if (RunnerState != TRunnerState::NoTest)
        return;
    close();
}

void TMainForm::MTestClick()
{
    MenuItems->ShowTest(MenuStatesNow());
}

void TMainForm::MTInfoClick()
{
    if (RunnerState == TRunnerState::NoTest)
        return;
    TestInfoWindow->Fill(Info, ModeConfig);
    Prompter.ShowModal(*TestInfoWindow);
}

void TMainForm::MTBeginClick()
{
    // F5 honours the menu's rule: only an open test with tasks can begin.
    if (BeginAllowed(RunnerState, TaskList.size()))
        BeginTest();
}

void TMainForm::DiscardSession()
{
    Session.Discard();
}

void TMainForm::SendTestMessage(const std::string& text)
{
    if (ModeConfig.SendResult == 0)
        return;
    Platform& platform = Services.platform;
    // An announcement is only worth its moment: it is never kept to send later.
    Journal->Send(journal::MessageLines(Session.LastUserName(), platform.ComputerName(), platform.AccountName(), text),
                  false);
}

void TMainForm::SendTestResult()
{
    if (ModeConfig.SendResult == 0)
        return;
    Journal->Send(journal::ResultLines(Session.Result()), true);
}

void TMainForm::MTEndClick()
{
    Session.Stop();
}

bool TMainForm::SettingsItemEnabled(bool enabledWhileRunning) const
{
    return SettingsItemAllowed(RunnerState, Info.Locked, enabledWhileRunning);
}

void TMainForm::MConfigClick()
{
    MenuItems->ShowConfig(MenuStatesNow(), ModeConfig);
}

void TMainForm::MCFontClick()
{
    const QColor color = WinColorToQColor(FontColor);
    const auto chosen = Prompter.Font(this, {QuestionText->font(), color});
    if (!chosen)
        return;
    // An unchanged colour keeps a system colour as it was written.
    if (chosen->Color != color)
        FontColor = QColorToWinColor(chosen->Color);
    ApplyQuestionFont(chosen->Font);
}

void TMainForm::MCOrderTaskSubClick(bool normal)
{
    if (!SettingsItemEnabled(false))
        return;
    ModeConfig.OrderTaskNormal = normal ? 1 : 0;
    MConfigClick();
}

void TMainForm::MCOrderVariantSubClick(bool normal)
{
    if (!SettingsItemEnabled(false))
        return;
    ModeConfig.OrderVariantNormal = normal ? 1 : 0;
    MConfigClick();
}

void TMainForm::MCModeEducationClick()
{
    if (!SettingsItemEnabled(false))
        return;
    ModeConfig.ModeEducation = ModeConfig.ModeEducation == 1 ? 0 : 1;
    MConfigClick();
}

void TMainForm::MCMTLimitClick(int tag)
{
    if (!SettingsItemEnabled(false))
        return;
    ModeConfig.ModeTimeLimit = static_cast<uint8_t>(tag);
    MConfigClick();
}

namespace {

// Asks for a limit in seconds; returns true when the value was changed.
bool AskLimit(Prompts& prompts, QWidget* owner, const QString& prompt, int32_t& value,
              int32_t maximum)
{
    const auto text = prompts.InputBox(owner, QStringLiteral("Ввод значения"), prompt,
                                       QString::number(value));
    if (!text)
        return false;
    if (const auto accepted = AcceptedTimeLimit(S(*text), maximum)) {
        value = *accepted;
        return true;
    }
    prompts.Notice(owner, QStringLiteral("Значение не изменено!"));
    return false;
}

}  // namespace

void TMainForm::MCMTLSetupTestClick()
{
    if (!SettingsItemEnabled(false))
        return;
    AskLimit(Prompter, this,
             QStringLiteral("Задайте максимальное время (в секундах) прохождения теста:"),
             ModeConfig.TimeLimitTest, kMaxTimeLimitTest);
}

void TMainForm::MCMTLSetupTaskClick()
{
    if (!SettingsItemEnabled(false))
        return;
    AskLimit(Prompter, this,
             QStringLiteral("Задайте максимальное время (в секундах) обдумывания вопроса:"),
             ModeConfig.TimeLimitTask, kMaxTimeLimitTask);
}

void TMainForm::MCSaveResultClick()
{
    if (!SettingsItemEnabled(false))
        return;
    ModeConfig.SaveResult = ModeConfig.SaveResult == 1 ? 0 : 1;
    MConfigClick();
}

void TMainForm::MCSaveConfigClick()
{
    if (!SettingsItemEnabled(true))
        return;
    ModeConfig.SaveConfig = ModeConfig.SaveConfig == 1 ? 0 : 1;
    MConfigClick();
}

void TMainForm::MCAdditionConfigClick()
{
    if (!SettingsItemEnabled(false))
        return;
    TAdditionConfigForm form(Services, ModeConfig, Configuration,
                             AssociationContext{UserDataFolder(), ExecutablePath()}, this);
    Prompter.ShowModal(form);
}

void TMainForm::MCSaveConfigNowClick()
{
    if (!SettingsItemEnabled(false))
        return;
    if (Prompter.Ask(this, kCaptionAttention,
                     QStringLiteral("Вы желаете сохранить настройки программы сейчас?")))
        SaveSettings();
}

void TMainForm::MCLoadConfigNowClick()
{
    if (!SettingsItemEnabled(false))
        return;
    if (Prompter.Ask(this, kCaptionAttention,
                     QStringLiteral("Вы желаете загрузить настройки программы сейчас?"))) {
        LoadSettings();
        MConfigClick();
    }
}

void TMainForm::MMServerClick()
{
    if (!Session.ModuleMayOpen(RunnerModule::Journal))
        return;
    // The port counts from the next opening; an open journal only comes forward.
    TServerForm& journal = Journal->Server();
    journal.SetPort(Configuration.LocalPort);
    journal.show();
    journal.raise();
    journal.activateWindow();
}

void TMainForm::MMEncryptClick()
{
    // A session is stopped, with its result, before a module takes the window.
    if (!Session.ModuleMayOpen(RunnerModule::Encryptor))
        return;
    TEncryptForm form(Services, this);
    Prompter.ShowModal(form);
}

void TMainForm::MMEditorClick()
{
    if (!Session.ModuleMayOpen(RunnerModule::Editor))
        return;
    // The reopened command-line test must not meet a session still running.
    DiscardSession();
    hide();
    setEnabled(false);
    {
        TEditorForm editor(Services, this);
        editor.setGeometry(geometry());
        editor.setWindowState(windowState());
        editor.SetQuestionFont(QuestionText->font());
        Prompter.ShowModal(editor);
    }
    show();  // showing the window again reopens the command-line test
    setEnabled(true);
}

void TMainForm::MHShowHelpClick()
{
    OpenHelpDocument(Services);
}

void TMainForm::MHShowAboutBoxClick()
{
    TAboutForm form(Services, this);
    Prompter.ShowModal(form);
}

void TMainForm::FormKeyDown(int key)
{
    if (key == Qt::Key_F7)
        MenuItems->ToggleModules();
}

// ---------------------------------------------------------------- save as and check tests

void TMainForm::ShowDeleteError(const std::string& text)
{
    // No owner and the system's own caption: the folder is not the window's business.
    Prompter.Message(nullptr, QStringLiteral("Ошибка"), Q(text), PromptIcon::None, PromptButtons::Ok);
}

void TMainForm::DeleteTempFolder(const std::string& path)
{
    if (path.empty())
        return;
    if (const Status deleted = DeleteFolderRecursively(path); !deleted)
        ShowDeleteError(deleted.error().Message);
}

SaveQuestions TMainForm::SavingQuestions()
{
    SaveQuestions questions;
    questions.MissingPicture = [this](const std::string& missing) {
        Prompter.Message(this, kCaptionAttention, Q(MissingPictureText(missing)), PromptIcon::Information,
                         PromptButtons::Ok);
    };
    questions.Replace = [this](const std::string& target) {
        return Prompter.Ask(this, kCaptionAttention,
                            QStringLiteral("Файл: \"%1\" уже существует.\r\nЗаменить его?").arg(Q(target)));
    };
    return questions;
}

void TMainForm::WriteCheckTest(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    const uint8_t locked =
        Prompter.Ask(this, kCaptionAttention, QStringLiteral("Ограничить доступ к настройкам создаваемого теста?"))
            ? 1
            : 0;
    if (!SaveCheckTest(S(fileName), Info, TaskList, ModeConfig, locked, SavingQuestions()))
        Prompter.Notice(this, QString::fromUtf8(kSaveCheckTestError));
}

void TMainForm::WriteTextTest(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    if (const Status saved = SaveTextTest(S(fileName), Info, TaskList, SavingQuestions()); !saved)
        Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(saved.error().Message), PromptIcon::Error,
                         PromptButtons::Ok);
}

// ---------------------------------------------------------------- the task view

void TMainForm::ClearTaskView(int type)
{
    PaintFreeze freeze(this);
    TaskView->Clear(type);
    BitBtnGoCheck->setEnabled(false);
}

// ---------------------------------------------------------------- events

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &TMainForm::FormShow);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();  // other top-level windows close with the program
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    event->acceptProposedAction();  // always acknowledged
    DropFiles(files);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees key presses before its controls: each press once, at the
    // widget that has the focus (or the window itself), and never those of
    // other windows and dialogs.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // A press its first widget ignores travels on to that widget's parents;
        // a box it opened may have moved the focus meanwhile, so the press is
        // known by itself, not by where the focus is now.
        const bool travelling = event == KeyInFlight && KeyInFlightAt && widget != KeyInFlightAt &&
                                widget->isAncestorOf(KeyInFlightAt);
        const bool first = !travelling && (widget == QApplication::focusWidget() ||
                                           (QApplication::focusWidget() == nullptr && widget == this));
        if (first && widget->window() == this) {
            KeyInFlight = event;
            KeyInFlightAt = widget;
            // Forgotten once the press has been delivered, before the next one.
            QTimer::singleShot(0, this, [this, event] {
                if (KeyInFlight == event)
                    KeyInFlight = nullptr;
            });
            const auto* key = static_cast<QKeyEvent*>(event);
            FormKeyDown(key->key());
            FormKeyPress(key->text());
            // A number box with the focus would pick the typed number as well
            // and so move twice; the digit has already answered for it.
            const QString text = key->text();
            const bool digit = text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('5');
            if (digit && RunnerState == TRunnerState::TestRunning &&
                std::find(ComboBoxVariant.begin(), ComboBoxVariant.end(), widget) != ComboBoxVariant.end())
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the testing session

void TMainForm::BuildSession()
{
    TimerTimeTest = new QTimer(this);
    TimerTimeTest->setObjectName(QStringLiteral("TimerTimeTest"));
    TimerTimeTest->setInterval(1000);
    connect(TimerTimeTest, &QTimer::timeout, this, &TMainForm::TimerTimeTestTimer);
    TimerTask = new QTimer(this);
    TimerTask->setObjectName(QStringLiteral("TimerTask"));
    TimerTask->setInterval(1000);
    connect(TimerTask, &QTimer::timeout, this, &TMainForm::TimerTaskTimer);

    connect(BitBtnGoCheck, &QPushButton::clicked, this, &TMainForm::BitBtnGoCheckClick);
    BitBtnGoCheck->setAutoDefault(true);  // Enter confirms an answer, as the space bar does
    connect(QuestionImage, &TPictureBox::clicked, this, &TMainForm::QuestionImageClick);
    for (int r = 0; r < 5; ++r) {
        connect(RadioButtonVariant[r], &QRadioButton::clicked, this, &TMainForm::VariantClick);
        connect(CheckBoxVariant[r], &QCheckBox::clicked, this, &TMainForm::VariantClick);
        connect(ComboBoxVariant[r], &QComboBox::activated, this, &TMainForm::VariantClick);
    }
}

void TMainForm::BeginTest()
{
    if (RunnerState == TRunnerState::TestOpen)
        Session.Begin();
}

void TMainForm::BitBtnGoCheckClick()
{
    Session.Next();
}

void TMainForm::CheckAnswer()
{
    Session.CheckAnswer();
}

void TMainForm::TimerTimeTestTimer()
{
    Session.TickTest();
}

void TMainForm::TimerTaskTimer()
{
    Session.TickTask();
}

void TMainForm::FormKeyPress(const QString& text)
{
    if (text.size() == 1 && text.at(0).unicode() < 0x80)
        Session.KeyPress(static_cast<char>(text.at(0).unicode()));
}

std::optional<std::string> TMainForm::AskUserName(int hour, const std::string& proposed)
{
    InputUserNameWindow->Prepare(hour, Q(proposed));
    if (Prompter.ShowModal(*InputUserNameWindow) != QDialog::Accepted)
        return std::nullopt;
    return S(InputUserNameWindow->UserNameText());
}

bool TMainForm::Ask(const std::string& caption, const std::string& text)
{
    return Prompter.Ask(this, Q(caption), Q(text));
}

void TMainForm::Tell(SessionBox box, const std::string& text)
{
    switch (box) {
    case SessionBox::Notice:
        Prompter.Notice(this, Q(text));
        break;
    case SessionBox::Feedback:
        Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(text), PromptIcon::Information,
                         PromptButtons::Ok);
        break;
    case SessionBox::TestTimeOut:
        Prompter.Message(this, kCaptionAttention, Q(text), PromptIcon::None, PromptButtons::Ok);
        break;
    }
}

void TMainForm::ShowSessionStart(int32_t taskCount, std::optional<int32_t> timeLimitTest)
{
    StatusPanels[1]->setText(QString::number(taskCount));
    StatusPanels[4]->setText(Q(FormatHhNnSs(0)));
    if (timeLimitTest)
        StatusPanels[6]->setText(Q(FormatHhNnSs(*timeLimitTest)));
    CountAskProgressBar->setRange(0, taskCount);
    QuestionLabel->setText(QStringLiteral("Вопрос:"));
}

void TMainForm::SetRunning(bool running)
{
    SetState(running ? TRunnerState::TestRunning : TRunnerState::TestOpen);
}

void TMainForm::StartTestTimer()
{
    TimerTimeTest->start();
}

void TMainForm::StopTestTimer()
{
    TimerTimeTest->stop();
}

void TMainForm::StartTaskTimer()
{
    TimerTask->start();
}

void TMainForm::StopTaskTimer()
{
    TimerTask->stop();
}

std::string TMainForm::ShowTask(const TaskDisplay& display)
{
    return S(DisplayTask(display));
}

QString TMainForm::DisplayTask(const TaskDisplay& display)
{
    const TTask& task = *display.Task;
    const int n = static_cast<int>(display.VariantOrder.size());
    const int type = task.TaskType;
    PaintFreeze freeze(this);
    ClearTaskView(type);
    QuestionLabel->setText(Q(QuestionCaption(display.Position + 1, display.Count)));
    const QString imageMessage = LoadTaskImage(task.ImageFile);
    TaskView->ShowForAnswer(task, display.VariantOrder);
    VariantLabel->setText(Q(VariantCaption(type, n)));
    CountAskProgressBar->setValue(display.Position + 1);
    BitBtnGoCheck->setEnabled(false);
    StatusPanels[3]->setText(QString::number(display.Position + 1));
    StatusPanels[5]->setText(Q(FormatNnSs(0)));
    if (display.TimeLimitTask)
        StatusPanels[7]->setText(Q(FormatNnSs(*display.TimeLimitTask)));
    return imageMessage;
}

void TMainForm::ShowTaskImage(const std::string& path)
{
    const QString message = LoadTaskImage(path);
    if (!message.isEmpty())
        Prompter.Notice(this, message);
}

QString TMainForm::LoadTaskImage(const std::string& path)
{
    return TaskView->ShowPicture(path);
}

void TMainForm::QuestionImageClick()
{
    if (QuestionImage->isHidden() || !QuestionImage->HasPicture())
        return;
    TShowQuestionImageForm window(this);
    window.SetPicture(QuestionImage->Picture());
    ImageWindow = &window;
    Prompter.ShowModal(window);
    ImageWindow = nullptr;
}

void TMainForm::VariantClick()
{
    BitBtnGoCheck->setEnabled(true);
    BitBtnGoCheck->setFocus();
}

TIntDynArray TMainForm::RowStates(const TTask& task) const
{
    const int n = std::clamp<int32_t>(task.VariantCount, 0, 5);
    TIntDynArray states(static_cast<size_t>(n), 0);
    for (int r = 0; r < n; ++r)
        states[static_cast<size_t>(r)] = TaskView->Mark(task.TaskType, r);
    return states;
}

void TMainForm::SetRowBackground(int row, const QColor& colour)
{
    TaskView->SetRowBackground(row, colour);
}

void TMainForm::ColourRows(const std::vector<RowColour>& rows)
{
    const bool restoring = std::all_of(rows.begin(), rows.end(), [](RowColour c) { return c == RowColour::Normal; });
    if (!restoring && !RowColourBeforeFeedback)
        RowColourBeforeFeedback = VariantText[0]->palette().color(QPalette::Base);
    const QColor normal = RowColourBeforeFeedback.value_or(VariantText[0]->palette().color(QPalette::Base));
    const QColor correct = WinColorToQColor(Configuration.ColorCorrectAnswer);
    const QColor error = WinColorToQColor(Configuration.ColorErrorAnswer);
    for (size_t r = 0; r < rows.size() && r < VariantText.size(); ++r) {
        if (restoring)
            SetRowBackground(static_cast<int>(r), normal);
        else if (rows[r] != RowColour::Normal)
            SetRowBackground(static_cast<int>(r), rows[r] == RowColour::Correct ? correct : error);
    }
    if (restoring)
        RowColourBeforeFeedback.reset();
}

void TMainForm::ShowTestTime(int32_t seconds, std::optional<int64_t> left)
{
    {
        PaintFreeze freeze(this);
        StatusPanels[4]->setText(Q(FormatHhNnSs(seconds)));
    }
    if (left)
        StatusPanels[6]->setText(Q(FormatHhNnSs(*left)));
}

void TMainForm::ShowTaskTime(int32_t seconds, std::optional<int64_t> left)
{
    {
        PaintFreeze freeze(this);
        StatusPanels[5]->setText(Q(FormatNnSs(seconds)));
    }
    if (left)
        StatusPanels[7]->setText(Q(FormatNnSs(*left)));
}

void TMainForm::CloseSessionWindows()
{
    if (ImageWindow)
        ImageWindow->reject();
}

void TMainForm::ShowSessionEnded(bool withResult)
{
    StatusPanels[6]->clear();
    StatusPanels[7]->clear();
    ClearTaskView(SingleChoice);
    ShowTaskImage({});
    QuestionLabel->setText(withResult ? QStringLiteral("Результаты тестирования:") : QStringLiteral("Информация:"));
    VariantLabel->setText(QStringLiteral("Выберите один из вариантов ответа:"));
}

void TMainForm::ShowResult(const TTestResult& result)
{
    ShowResultText();
    WriteResultReport();
    SendTestResult();
    ShowResultWindow->Fill(result);
    Prompter.ShowModal(*ShowResultWindow);
}

void TMainForm::SelectRowByKey(int taskType, int row)
{
    // Only an enabled selector answers, so digits above the variants do nothing.
    switch (taskType) {
    case SingleChoice: {
        QRadioButton* radio = RadioButtonVariant[row];
        if (!radio->isEnabled() || radio->isChecked())
            return;
        radio->setChecked(true);
        break;
    }
    case MultipleChoice: {
        QCheckBox* box = CheckBoxVariant[row];
        if (!box->isEnabled())
            return;
        box->setChecked(!box->isChecked());
        break;
    }
    case Ordering: {
        QComboBox* box = ComboBoxVariant[row];
        if (!box->isEnabled())
            return;
        box->setCurrentIndex(NextOrderChoice(box->currentIndex() + 1, box->count()) - 1);
        break;
    }
    default:
        return;
    }
    VariantClick();
}

bool TMainForm::StartCalculator()
{
    return Services.desktop.StartCalculator();
}

void TMainForm::ShowResultText()
{
    ShowInformation(LearnerText(Session.Result()));
}

void TMainForm::ReportLogError(const std::string& text)
{
    // The result is still shown and sent: the log is only one of its ways.
    Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(text), PromptIcon::Error,
                     PromptButtons::Ok);
}

void TMainForm::WriteResultReport()
{
    if (ModeConfig.SaveResult != 1)
        return;
    const Status written =
        AppendLogLines(ReportLogPath(Services.ProgramDir, Configuration.DirForResult),
                       ReportBlock(Session.Result(), Services.platform.Now()));
    if (!written)
        ReportLogError(written.error().Message);
}

void TMainForm::AppendLogLine(const std::string& text)
{
    if (ModeConfig.SaveResult != 1)
        return;
    const Status written = AppendLogLines(LineLogPath(Services.ProgramDir), {text});
    if (!written)
        ReportLogError(written.error().Message);
}

void TMainForm::SetJournalSessionForTest(const std::string& userName, const TTestResult& result)
{
    Session.SetLastUserName(userName);
    Session.MutableResult() = result;
}

}  // namespace quilmo
