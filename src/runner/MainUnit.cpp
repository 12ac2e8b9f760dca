#include "runner/MainUnit.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "app/LanguageFile.h"
#include "app/QtArt.h"
#include "app/QtConvert.h"
#include "app/QtPictureBox.h"
#include "app/TestInfoUnit.h"
#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "journal/ServerUnit.h"
#include "model/InfoText.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

const QString kCaptionAttention = QStringLiteral("Внимание!");

// A grey caption strip above the question and the variants.
QLabel* MakeCaptionStrip(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFixedHeight(20);
    label->setIndent(4);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(110, 110, 110));
    label->setPalette(pal);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

// A column of five equal rows.
QWidget* MakeColumn(const QString& name, int width, QWidget* parent)
{
    auto* column = new QWidget(parent);
    column->setObjectName(name);
    if (width > 0)
        column->setFixedWidth(width);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int r = 0; r < 5; ++r)
        layout->setRowStretch(r, 1);
    return column;
}

void AddToColumn(QWidget* column, int row, QWidget* widget, Qt::Alignment align = {})
{
    static_cast<QGridLayout*>(column->layout())->addWidget(widget, row, 0, align);
}

}  // namespace

TMainForm::TMainForm(AppServices& services, QWidget* parent)
    : QMainWindow(parent), Services(services), Prompter(services.prompts)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(ProgramIcon());

    BuildLayout();
    BuildMenus();
    BuildAnswerControlTable();
    TestInfoWindow = new TTestInfoForm(this);

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

    resize(614, 584 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Results journal: its window lives, hidden, from start to exit.
    ServerWindow = new TServerForm(Services, this);
    Action("MMServer")->setEnabled(true);
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

    // Question area: caption strip, the text and the picture at its right.
    auto* questionPane = new QWidget(central);
    auto* questionLayout = new QVBoxLayout(questionPane);
    questionLayout->setContentsMargins(0, 0, 0, 0);
    questionLayout->setSpacing(0);
    QuestionLabel = MakeCaptionStrip(QStringLiteral("QuestionLabel"), {}, questionPane);
    questionLayout->addWidget(QuestionLabel);
    auto* questionArea = new QWidget(questionPane);
    questionArea->setMinimumHeight(160);
    auto* questionRow = new QHBoxLayout(questionArea);
    questionRow->setContentsMargins(0, 0, 0, 0);
    questionRow->setSpacing(2);
    QuestionText = new QPlainTextEdit(questionArea);
    QuestionText->setObjectName(QStringLiteral("QuestionText"));
    QuestionText->setReadOnly(true);
    QuestionText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    questionRow->addWidget(QuestionText, 1);
    QuestionImage = new TPictureBox(questionArea);
    QuestionImage->setObjectName(QStringLiteral("QuestionImage"));
    QuestionImage->setFixedWidth(160);
    QuestionImage->setToolTip(QStringLiteral("Для увеличения изображения щелкните по нему..."));
    QuestionImage->SetPicture(ProgramPicture(128));
    questionRow->addWidget(QuestionImage);
    questionLayout->addWidget(questionArea, 1);

    // Answer area: caption strip, three selector columns and the variant texts.
    auto* answerPane = new QWidget(central);
    auto* answerLayout = new QVBoxLayout(answerPane);
    answerLayout->setContentsMargins(0, 0, 0, 0);
    answerLayout->setSpacing(0);
    VariantLabel = MakeCaptionStrip(QStringLiteral("VariantLabel"), {}, answerPane);
    answerLayout->addWidget(VariantLabel);
    auto* answerArea = new QWidget(answerPane);
    answerArea->setMinimumHeight(200);
    auto* answerRow = new QHBoxLayout(answerArea);
    answerRow->setContentsMargins(0, 0, 0, 0);
    answerRow->setSpacing(0);
    GridPanel_VT1 = MakeColumn(QStringLiteral("GridPanel_VT1"), 50, answerArea);
    GridPanel_VT2 = MakeColumn(QStringLiteral("GridPanel_VT2"), 50, answerArea);
    GridPanel_VT3 = MakeColumn(QStringLiteral("GridPanel_VT3"), 50, answerArea);
    QWidget* textColumn = MakeColumn(QStringLiteral("GridPanel_VariantText"), 0, answerArea);
    RadioGroup = new QButtonGroup(this);
    for (int r = 0; r < 5; ++r) {
        const QString digit = QString::number(r + 1);
        auto* radio = new QRadioButton(digit, GridPanel_VT1);
        radio->setObjectName(QStringLiteral("RadioButtonVariant") + QString::number(r));
        RadioGroup->addButton(radio, r);
        AddToColumn(GridPanel_VT1, r, radio, Qt::AlignHCenter);
        auto* check = new QCheckBox(digit, GridPanel_VT2);
        check->setObjectName(QStringLiteral("CheckBoxVariant") + QString::number(r));
        AddToColumn(GridPanel_VT2, r, check, Qt::AlignHCenter);
        auto* combo = new QComboBox(GridPanel_VT3);
        combo->setObjectName(QStringLiteral("ComboBoxVariant") + QString::number(r));
        combo->setFixedWidth(40);
        AddToColumn(GridPanel_VT3, r, combo, Qt::AlignHCenter);
        auto* text = new QPlainTextEdit(textColumn);
        text->setObjectName(QStringLiteral("VariantText") + QString::number(r));
        text->setReadOnly(true);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        text->setMinimumHeight(24);
        AddToColumn(textColumn, r, text);
    }
    answerRow->addWidget(GridPanel_VT1);
    answerRow->addWidget(GridPanel_VT2);
    answerRow->addWidget(GridPanel_VT3);
    answerRow->addWidget(textColumn, 1);
    answerLayout->addWidget(answerArea, 1);

    Splitter = new QSplitter(Qt::Vertical, central);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(questionPane);
    Splitter->addWidget(answerPane);
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 1);

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
    layout->addWidget(Splitter, 1);
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
        panel->setFixedWidth(panels[i].Width);
        panel->setAlignment(panels[i].Align | Qt::AlignVCenter);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        bar->addWidget(panel);
        StatusPanels[i] = panel;
    }
}

void TMainForm::BuildAnswerControlTable()
{
    // Looked up by name, as the session addresses them by row.
    for (int r = 0; r < 5; ++r) {
        const QString d = QString::number(r);
        VariantText[r] = findChild<QPlainTextEdit*>(QStringLiteral("VariantText") + d);
        RadioButtonVariant[r] = findChild<QRadioButton*>(QStringLiteral("RadioButtonVariant") + d);
        CheckBoxVariant[r] = findChild<QCheckBox*>(QStringLiteral("CheckBoxVariant") + d);
        ComboBoxVariant[r] = findChild<QComboBox*>(QStringLiteral("ComboBoxVariant") + d);
    }
    SelectorColumns = {GridPanel_VT1, GridPanel_VT2, GridPanel_VT3};
}

void TMainForm::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto menu = [&](QWidget* parentMenu, const char* name, const char* caption) {
        auto* m = new QMenu(QString::fromUtf8(caption), parentMenu);
        m->setObjectName(QString::fromLatin1(name));
        if (auto* asBar = qobject_cast<QMenuBar*>(parentMenu))
            asBar->addMenu(m);
        else
            static_cast<QMenu*>(parentMenu)->addMenu(m);
        return m;
    };
    auto item = [&](QMenu* m, const char* name, const char* caption, auto handler,
                    QKeySequence shortcut = {}) {
        auto* a = new QAction(QString::fromUtf8(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        m->addAction(a);
        addAction(a);  // shortcuts work while the menu is closed
        connect(a, &QAction::triggered, this, handler);
        return a;
    };

    QMenu* file = menu(bar, "MFile", "&Файл");
    connect(file, &QMenu::aboutToShow, this, &TMainForm::MFileClick);
    item(file, "MFOpen", "&Открыть...", &TMainForm::MFOpenClick, QKeySequence(Qt::CTRL | Qt::Key_O));
    item(file, "MFSaveAs", "Сохранить как...", &TMainForm::MFSaveAsClick);
    item(file, "MFClose", "Закрыть", &TMainForm::MFCloseClick);
    file->addSeparator();
    item(file, "MFExit", "Вы&ход", &TMainForm::MFExitClick);

    QMenu* test = menu(bar, "MTest", "Тест");
    connect(test, &QMenu::aboutToShow, this, &TMainForm::MTestClick);
    item(test, "MTInfo", "Информация", &TMainForm::MTInfoClick);
    test->addSeparator();
    item(test, "MTBegin", "Начать", &TMainForm::MTBeginClick, QKeySequence(Qt::Key_F5));
    item(test, "MTEnd", "Закончить", &TMainForm::MTEndClick);

    QMenu* config = menu(bar, "MConfig", "Настройка");
    connect(config, &QMenu::aboutToShow, this, &TMainForm::MConfigClick);
    item(config, "MCFont", "Шрифт...", &TMainForm::MCFontClick);
    config->addSeparator();
    auto radioPair = [&](QMenu* sub, const char* normalName, const char* randomName,
                         void (TMainForm::*handler)(bool)) {
        auto* group = new QActionGroup(this);
        QAction* normal = item(sub, normalName, "Последовательно", [this, handler] { (this->*handler)(true); });
        QAction* random = item(sub, randomName, "Случайный", [this, handler] { (this->*handler)(false); });
        for (QAction* a : {normal, random}) {
            a->setCheckable(true);
            group->addAction(a);
        }
    };
    radioPair(menu(config, "MCOrderTask", "Порядок вопросов"), "MCOTNormal", "MCOTRandom",
              &TMainForm::MCOrderTaskSubClick);
    radioPair(menu(config, "MCOrderVariant", "Порядок вариантов"), "MCOVNormal", "MCOVRandom",
              &TMainForm::MCOrderVariantSubClick);
    config->addSeparator();
    item(config, "MCModeEducation", "Обучающий режим", &TMainForm::MCModeEducationClick)->setCheckable(true);
    QMenu* limit = menu(config, "MCModeTimeLimit", "Ограничение по времени");
    auto* limitGroup = new QActionGroup(this);
    const char* limitNames[3][2] = {{"MCMTLimitNot", "Отключено"},
                                    {"MCMTLimitTest", "Для всего теста"},
                                    {"MCMTLimitTask", "Для каждого вопроса"}};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* a = item(limit, limitNames[tag][0], limitNames[tag][1], [this, tag] { MCMTLimitClick(tag); });
        a->setCheckable(true);
        limitGroup->addAction(a);
    }
    limit->addSeparator();
    QMenu* setup = menu(limit, "MCMTLimitSetup", "Настройка");
    item(setup, "MCMTLSetupTest", "Время всего теста...", &TMainForm::MCMTLSetupTestClick);
    item(setup, "MCMTLSetupTask", "Время одного вопроса...", &TMainForm::MCMTLSetupTaskClick);
    item(config, "MCSaveResult", "Сохранять результаты", &TMainForm::MCSaveResultClick)->setCheckable(true);
    item(config, "MCSaveConfig", "Сохранять настройки при выходе", &TMainForm::MCSaveConfigClick)->setCheckable(true);
    config->addSeparator();
    item(config, "MCAdditionConfig", "Дополнительно...", &TMainForm::MCAdditionConfigClick);
    config->addSeparator();
    item(config, "MCSaveConfigNow", "Сохранить настройки сейчас", &TMainForm::MCSaveConfigNowClick);
    item(config, "MCLoadConfigNow", "Загрузить настройки сейчас", &TMainForm::MCLoadConfigNowClick);

    QMenu* modules = menu(bar, "MModuls", "Модули");
    ModulesMenuAction = modules->menuAction();
    ModulesMenuAction->setVisible(false);
    item(modules, "MMServer", "Журнал...", &TMainForm::MMServerClick, QKeySequence(Qt::Key_F2));
    item(modules, "MMEncrypt", "Шифратор...", &TMainForm::MMEncryptClick, QKeySequence(Qt::Key_F3));
    item(modules, "MMEditor", "Редактор...", &TMainForm::MMEditorClick, QKeySequence(Qt::Key_F4));
    // Each module's item comes alive with its window.
    for (const char* name : {"MMServer", "MMEncrypt", "MMEditor"})
        Action(name)->setEnabled(false);

    QMenu* help = menu(bar, "MHelp", "Справка");
    item(help, "MHShowHelp", "Просмотр справки", &TMainForm::MHShowHelpClick, QKeySequence(Qt::Key_F1));
    help->addSeparator();
    item(help, "MHShowAboutBox", "О программе", &TMainForm::MHShowAboutBoxClick)->setEnabled(false);

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

QAction* TMainForm::Action(const char* objectName) const
{
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

QMenu* TMainForm::Menu(const char* objectName) const
{
    return findChild<QMenu*>(QString::fromLatin1(objectName));
}

void TMainForm::ApplyQuestionFont(const QFont& font)
{
    QuestionText->setFont(font);
    for (QPlainTextEdit* text : VariantText)
        text->setFont(font);
    const QColor color = WinColorToQColor(FontColor);
    for (QPlainTextEdit* text : VariantText) {
        QPalette pal = text->palette();
        pal.setColor(QPalette::Text, color);
        text->setPalette(pal);
    }
    QPalette pal = QuestionText->palette();
    pal.setColor(QPalette::Text, color);
    QuestionText->setPalette(pal);
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
    if (!Info.TempDir.empty()) {
        std::error_code ec;
        if (std::filesystem::exists(Info.TempDir, ec)) {
            std::filesystem::remove_all(Info.TempDir, ec);
            if (ec)
                Prompter.Message(nullptr, QString::fromUtf8(kAppTitle), Q(ec.message()),
                                 PromptIcon::Error, PromptButtons::Ok);
        }
    }
    Info.TempDir.clear();
    Info.Locked = 0;
}

void TMainForm::OpenTest(const QString& fileName)
{
    OpenTestEnvironment environment;
    environment.TempBase = Services.platform.TempVariable();
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
        Prompter.LoadError(this, Q(result.Message));
        Info.FileCrc = result.FileCrc;
        return;
    case OpenOutcome::Loaded:
        break;
    }

    // A check test opened over another keeps no stale picture folder.
    const std::string oldTempDir = Info.TempDir;
    if (!oldTempDir.empty() && oldTempDir != result.TempDir) {
        std::error_code ec;
        std::filesystem::remove_all(oldTempDir, ec);
    }
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
    return JournalCloseQuery();
}

void TMainForm::FormDestroy()
{
    if (Destroyed)
        return;
    Destroyed = true;
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
    return RunnerState == TRunnerState::TestOpen && Info.Locked == 0;
}

void TMainForm::MFileClick()
{
    const bool none = RunnerState == TRunnerState::NoTest;
    Action("MFOpen")->setEnabled(none);
    Action("MFSaveAs")->setEnabled(CanSaveAs());
    Action("MFClose")->setEnabled(RunnerState == TRunnerState::TestOpen);
    Action("MFExit")->setEnabled(none);
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
    Action("MTInfo")->setEnabled(RunnerState != TRunnerState::NoTest);
    // A session needs at least one task to show.
    Action("MTBegin")->setEnabled(RunnerState == TRunnerState::TestOpen && !TaskList.empty());
    Action("MTEnd")->setEnabled(RunnerState == TRunnerState::TestRunning);
}

void TMainForm::MTInfoClick()
{
    if (RunnerState == TRunnerState::NoTest)
        return;
    TestInfoWindow->Fill(Info, ModeConfig);
    Prompter.ShowModal(*TestInfoWindow);
}

void TMainForm::MTBeginClick() {}

void TMainForm::DiscardSession() {}

void TMainForm::SendTestMessage(const std::string& text)
{
    if (ModeConfig.SendResult == 0)
        return;
    Platform& platform = Services.platform;
    SendToJournal(journal::MessageLines(LastUserName, platform.ComputerName(), platform.AccountName(), text));
}

void TMainForm::SendTestResult()
{
    if (ModeConfig.SendResult == 0)
        return;
    SendToJournal(journal::ResultLines(RunnerResult));
}

void TMainForm::MTEndClick() {}

bool TMainForm::SettingsItemEnabled(bool enabledWhileRunning) const
{
    if (Info.Locked == 1)
        return false;
    return enabledWhileRunning || RunnerState != TRunnerState::TestRunning;
}

void TMainForm::MConfigClick()
{
    Action("MCFont")->setEnabled(true);
    for (const char* name : {"MCOrderTask", "MCOrderVariant", "MCModeTimeLimit"})
        Menu(name)->setEnabled(SettingsItemEnabled(false));
    for (const char* name : {"MCModeEducation", "MCSaveResult", "MCAdditionConfig",
                             "MCSaveConfigNow", "MCLoadConfigNow"})
        Action(name)->setEnabled(SettingsItemEnabled(false));
    Action("MCSaveConfig")->setEnabled(SettingsItemEnabled(true));

    Action(ModeConfig.OrderTaskNormal == 1 ? "MCOTNormal" : "MCOTRandom")->setChecked(true);
    Action(ModeConfig.OrderVariantNormal == 1 ? "MCOVNormal" : "MCOVRandom")->setChecked(true);
    Action("MCModeEducation")->setChecked(ModeConfig.ModeEducation == 1);
    Action("MCSaveResult")->setChecked(ModeConfig.SaveResult == 1);
    Action("MCSaveConfig")->setChecked(ModeConfig.SaveConfig == 1);
    static const char* const limits[3] = {"MCMTLimitNot", "MCMTLimitTest", "MCMTLimitTask"};
    for (int tag = 0; tag < 3; ++tag)
        Action(limits[tag])->setChecked(ModeConfig.ModeTimeLimit == tag);
}

void TMainForm::MCFontClick()
{
    if (const auto font = Prompter.Font(this, QuestionText->font()))
        ApplyQuestionFont(*font);
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
    const int32_t entered = StrToIntDef(S(*text), 0);
    if (entered >= 1 && entered <= maximum) {
        value = entered;
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
             ModeConfig.TimeLimitTest, 43199);
}

void TMainForm::MCMTLSetupTaskClick()
{
    if (!SettingsItemEnabled(false))
        return;
    AskLimit(Prompter, this,
             QStringLiteral("Задайте максимальное время (в секундах) обдумывания вопроса:"),
             ModeConfig.TimeLimitTask, 3599);
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

void TMainForm::MCAdditionConfigClick() {}

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
    // The port counts from the next opening; an open journal only comes forward.
    ServerWindow->SetPort(Configuration.LocalPort);
    ServerWindow->show();
    ServerWindow->raise();
    ServerWindow->activateWindow();
}

void TMainForm::MMEncryptClick() {}

void TMainForm::MMEditorClick() {}

void TMainForm::MHShowHelpClick()
{
    // Failing to open the help is not reported.
    Services.desktop.OpenUrl(QUrl::fromLocalFile(Q(Services.ExeDir) + QStringLiteral("Help.html")));
}

void TMainForm::MHShowAboutBoxClick() {}

void TMainForm::FormKeyDown(int key)
{
    if (key == Qt::Key_F7)
        ModulesMenuAction->setVisible(!ModulesMenuAction->isVisible());
}

// ---------------------------------------------------------------- the task view

void TMainForm::ClearTaskView(int type)
{
    setUpdatesEnabled(false);
    QuestionText->clear();
    for (QPlainTextEdit* text : VariantText)
        text->clear();
    QuestionText->setToolTip(QStringLiteral("Подсказка к заданию..."));
    for (int c = 0; c < 3; ++c) {
        SelectorColumns[c]->setEnabled(false);
        SelectorColumns[c]->setVisible(c == type - 1);
    }
    RadioGroup->setExclusive(false);  // an exclusive group cannot uncheck its last button
    for (int r = 0; r < 5; ++r) {
        RadioButtonVariant[r]->setChecked(false);
        RadioButtonVariant[r]->setEnabled(false);
        CheckBoxVariant[r]->setChecked(false);
        CheckBoxVariant[r]->setEnabled(false);
        ComboBoxVariant[r]->clear();
        ComboBoxVariant[r]->setCurrentIndex(-1);
        ComboBoxVariant[r]->setEnabled(false);
    }
    RadioGroup->setExclusive(true);
    BitBtnGoCheck->setEnabled(false);
    setUpdatesEnabled(true);
    update();
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
        const bool first = widget == QApplication::focusWidget() ||
                           (QApplication::focusWidget() == nullptr && widget == this);
        if (first && widget->window() == this)
            FormKeyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- results journal

void TMainForm::SendToJournal(const std::vector<std::string>& values)
{
    // The connection is made on this thread, as a runner always has; the wait
    // cursor shows why the window does not answer meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool sent = journal::SendLines(Configuration.RemoteHost, Configuration.RemotePort,
                                         journal::EncodeLines(values));
    QApplication::restoreOverrideCursor();
    if (!sent)
        Prompter.Message(this, QStringLiteral("Error"), QStringLiteral("Сервер не найден!"),
                         PromptIcon::Error, PromptButtons::Ok);
}

bool TMainForm::JournalCloseQuery()
{
    if (ServerWindow->HasUnsaved() &&
        !Prompter.Ask(this, kCaptionAttention,
                      QStringLiteral("Вы желаете выйти из программы не сохранив результаты в модуле "
                                     "\"Журнала\"?")))
        return false;
    ServerWindow->CloseWithProgram();
    return true;
}

void TMainForm::SetJournalSessionForTest(const std::string& userName, const TTestResult& result)
{
    LastUserName = userName;
    RunnerResult = result;
}

}  // namespace quilmo
