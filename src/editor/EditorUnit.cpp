#include "editor/EditorUnit.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDrag>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/QtConvert.h"
#include "app/QtFormParts.h"
#include "app/QtHelpDocument.h"
#include "app/QtMenus.h"
#include "app/QtPictureBox.h"
#include "app/QtTaskView.h"
#include "app/ShowQuestionImageUnit.h"
#include "editor/BankTransfer.h"
#include "editor/ClipboardTask.h"
#include "editor/EditTitleAndDescriptionUnit.h"
#include "editor/HtmlExport.h"
#include "editor/MarkLevelUnit.h"
#include "editor/QtEditorArt.h"
#include "editor/SelectTypeTaskUnit.h"
#include "editor/TaskCheck.h"
#include "editor/TaskImport.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/PictureKind.h"
#include "model/PicturePath.h"
#include "tools/AboutUnit.h"

namespace quilmo {

namespace {

const QString kCaptionAttention = QStringLiteral("Внимание!");
const QString kTestFilter = QStringLiteral(
    "Все текстовые файлы тестов (*.TXT, *.TST)|*.TXT;*.TST|Текстовый файл (*.TXT)|*.TXT|"
    "Файл с тестом(*.TST)|*.TST");
// The import also takes question banks; a .txt is told apart by its content.
const QString kImportFilter = kTestFilter + QStringLiteral(
    "|Moodle XML (*.XML)|*.XML|GIFT (*.GIFT;*.TXT)|*.GIFT;*.TXT|Aiken (*.TXT)|*.TXT");
const QString kSaveFilter = QStringLiteral("Текстовый файл (*.TXT)|*.TXT|Файл с тестом(*.TST)|*.TST");
constexpr int kEditButtonWidth = 120;
constexpr int kEditButtonHeight = 25;

// The row of the two edit buttons, placed either side of its middle.
class ButtonRow : public QWidget {
public:
    ButtonRow(QPushButton* save, QPushButton* reset, QWidget* parent)
        : QWidget(parent), Save(save), Reset(reset)
    {
        Save->setParent(this);
        Reset->setParent(this);
        setFixedHeight(kEditButtonHeight + 6);
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        // 120 pixels, or what the caption needs in a font wider than Tahoma.
        const int buttonWidth = std::max({kEditButtonWidth, Save->sizeHint().width(),
                                          Reset->sizeHint().width()});
        const EditButtonsLayout layout = LayOutEditButtons(width(), buttonWidth);
        Save->setGeometry(layout.SaveLeft, 3, buttonWidth, kEditButtonHeight);
        Reset->setGeometry(layout.ResetLeft, 3, buttonWidth, kEditButtonHeight);
    }

private:
    QPushButton* Save;
    QPushButton* Reset;
};

}  // namespace

// ---------------------------------------------------------------- the window

TEditorForm::TEditorForm(AppServices& services, QWidget* parent)
    : QDialog(parent), Services(services), Prompter(services.prompts)
{
    setObjectName(QStringLiteral("EditorForm"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    BuildLayout();
    qApp->installEventFilter(this);  // keys of every control, before the control

    // Ctrl+Up and Ctrl+Down move the variant texts.
    for (QPlainTextEdit* text : TaskView->VariantText)
        text->installEventFilter(this);

    TaskTree->BeforeCurrentChange = [this] { BeforeSelectionChange(); };
    TaskTree->RightPressSelects = [this] { return !TaskSave->isEnabled(); };
    TaskTree->DragStarted = [this] { DragStartPosition = SelectedPosition(); };
    TaskTree->Dropped = [this](std::optional<size_t> target) { TreeDragDrop(target); };
    // The tree's own current-item signal follows the selection model it was
    // built with; the guarded one replaces that.
    connect(TaskTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TEditorForm::SelectionChanged);

    SetIconSize(24, 27);
    ResetDocument(Doc);
    ShowTask(nullptr);
    SetModifiedFlag(0);
    RefreshCaption();
    RefreshStatusBar();
    resize(619, 624);
}

TEditorForm::~TEditorForm()
{
    qApp->removeEventFilter(this);
    // Nothing may call back into the window while its controls are destroyed:
    // the nodes go first, and the tree and the clipboard forget the window.
    TreeBusy = true;
    disconnect(TaskTree->selectionModel(), nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    TaskTree->BeforeCurrentChange = nullptr;
    TaskTree->RightPressSelects = nullptr;
    TaskTree->DragStarted = nullptr;
    TaskTree->Dropped = nullptr;
    TaskTree->clear();
}

void TEditorForm::BuildLayout()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu"));
    layout->setMenuBar(bar);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(QSize(20, 20));
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    layout->addWidget(ToolBar);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    TaskTree = new TTaskTree(Splitter);
    TaskTree->setObjectName(QStringLiteral("TaskTree"));
    TaskTree->setMinimumSize(100, 100);
    Splitter->addWidget(TaskTree);

    auto* right = new QWidget(Splitter);
    right->setObjectName(QStringLiteral("RightPane"));
    right->setMinimumWidth(300);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 2, 2, 2);
    InstructionLabel = new QLabel(
        QStringLiteral("Создайте задания и выберите для редактирования любое из них. Для выбора "
                       "задания щелкните по нему. Для сохранения задания щелкните кнопку "
                       "\"сохранить изменения\"."),
        right);
    InstructionLabel->setObjectName(QStringLiteral("InstructionLabel"));
    InstructionLabel->setWordWrap(true);
    InstructionLabel->setAlignment(Qt::AlignCenter);
    InstructionLabel->setMargin(20);
    rightLayout->addWidget(InstructionLabel, 1);
    TaskPanel = BuildTaskPanel(right);
    rightLayout->addWidget(TaskPanel, 1);
    Splitter->addWidget(right);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({161, 458});
    layout->addWidget(Splitter, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    const int widths[3] = {110, 150, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(status);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setIndent(3);
        // The last panel takes the rest of the bar, as status bars do.
        if (i < 2)
            StatusPanels[i]->setFixedWidth(widths[i]);
        else
            StatusPanels[i]->setMinimumWidth(widths[i]);
        status->addWidget(StatusPanels[i], i < 2 ? 0 : 1);
    }
    layout->addWidget(status);

    BuildMenus(bar);
    BuildToolBar();
    BuildTreePopup();
}

QWidget* TEditorForm::BuildTaskPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("TaskPanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    // The question with its picture, and the variants with the mark column of the task's type.
    TaskView = new TTaskView(TaskViewMode::Editable, panel);
    QuestionText = TaskView->QuestionText;
    connect(TaskView->QuestionImage, &TPictureBox::clicked, this, &TEditorForm::QuestionImageClick);
    connect(TaskView, &TTaskView::Edited, this, &TEditorForm::TaskEdited);
    layout->addWidget(TaskView, 1);

    // The picture file.
    auto* pictureRow = new QHBoxLayout;
    auto* pictureLabel = new QLabel(QStringLiteral("Файл рисунка:  "), panel);
    ImageFileEdit = new QLineEdit(panel);
    ImageFileEdit->setObjectName(QStringLiteral("ImageFileEdit"));
    ImageFileEdit->setToolTip(QStringLiteral("Имя файла с рисунком к заданию..."));
    ButtonSelectImage = new QPushButton(QStringLiteral("Выбрать"), panel);
    ButtonSelectImage->setObjectName(QStringLiteral("ButtonSelectImage"));
    ButtonShowImage = new QPushButton(QStringLiteral("Показать"), panel);
    ButtonShowImage->setObjectName(QStringLiteral("ButtonShowImage"));
    pictureRow->addWidget(pictureLabel);
    pictureRow->addWidget(ImageFileEdit, 1);
    pictureRow->addWidget(ButtonSelectImage);
    pictureRow->addWidget(ButtonShowImage);
    layout->addLayout(pictureRow);
    connect(ImageFileEdit, &QLineEdit::textChanged, this, &TEditorForm::TaskEdited);
    connect(ButtonSelectImage, &QPushButton::clicked, this, &TEditorForm::ButtonSelectImageClick);
    connect(ButtonShowImage, &QPushButton::clicked, this, &TEditorForm::ButtonShowImageClick);

    // The prompt.
    auto* promptRow = new QHBoxLayout;
    auto* promptLabel = new QLabel(QStringLiteral("Подсказка: "), panel);
    pictureLabel->setMinimumWidth(promptLabel->sizeHint().width());
    promptLabel->setMinimumWidth(pictureLabel->sizeHint().width());
    PromptEdit = new QLineEdit(panel);
    PromptEdit->setObjectName(QStringLiteral("PromptEdit"));
    PromptEdit->setToolTip(QStringLiteral(
        "Подсказка к заданию. Отображается при наведении тестируемым на текст вопроса..."));
    promptRow->addWidget(promptLabel);
    promptRow->addWidget(PromptEdit, 1);
    layout->addLayout(promptRow);
    connect(PromptEdit, &QLineEdit::textChanged, this, &TEditorForm::TaskEdited);

    // "Сохранить изменения" and "Сбросить".
    TaskSave = new QPushButton(QStringLiteral("Сохранить изменения"));
    TaskSave->setObjectName(QStringLiteral("TaskSave"));
    TastReset = new QPushButton(QStringLiteral("Сбросить"));
    TastReset->setObjectName(QStringLiteral("TastReset"));
    auto* buttons = new ButtonRow(TaskSave, TastReset, panel);
    buttons->setObjectName(QStringLiteral("ButtonRow"));
    layout->addWidget(buttons);
    // Enter in a field must not press a button, as it would in a dialog.
    for (QPushButton* button : {ButtonSelectImage, ButtonShowImage, TaskSave, TastReset})
        button->setAutoDefault(false);
    connect(TaskSave, &QPushButton::clicked, this, &TEditorForm::TaskSaveClick);
    connect(TastReset, &QPushButton::clicked, this, &TEditorForm::TastResetClick);
    return panel;
}

void TEditorForm::BuildMenus(QMenuBar* bar)
{
    TMenus& m = MenuItems;
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler,
                       QKeySequence shortcut = {}) {
        return AddMenuItem(this, menu, name, caption, handler, shortcut);
    };

    m.MFile = AddMenu(bar, "MFile", "Файл");
    m.MFNew = item(m.MFile, "MFNew", "Создать", &TEditorForm::MFNewClick);
    m.MFOpen = item(m.MFile, "MFOpen", "Открыть...", &TEditorForm::MFOpenClick, QKeySequence(Qt::CTRL | Qt::Key_O));
    m.MFSaveFile = item(m.MFile, "MFSaveFile", "Сохранить", &TEditorForm::MFSaveFileClick,
                        QKeySequence(Qt::SHIFT | Qt::Key_F12));
    m.MFSaveFileAs = item(m.MFile, "MFSaveFileAs", "Сохранить как...", &TEditorForm::MFSaveFileAsClick);
    m.MFile->addSeparator();
    m.MFImport = AddMenu(m.MFile, "MFImport", "Импорт");
    m.MFImportFromOthr =
        item(m.MFImport, "MFImportFromOthr", "Задания из другого теста...", &TEditorForm::MFImportFromOthrClick);
    m.MFExport = AddMenu(m.MFile, "MFExport", "Экспорт");
    m.MTExportToHTML = item(m.MFExport, "MTExportToHTML", "Тест в HTML...", &TEditorForm::MTExportToHTMLClick);
    m.MFExportMoodleXml = item(m.MFExport, "MFExportMoodleXml", "Moodle XML...", [this] { ExportBank(BankKind::MoodleXml); });
    m.MFExportGift = item(m.MFExport, "MFExportGift", "GIFT...", [this] { ExportBank(BankKind::Gift); });
    m.MFExportAiken = item(m.MFExport, "MFExportAiken", "Aiken...", [this] { ExportBank(BankKind::Aiken); });
    m.MFile->addSeparator();
    m.MFClose = item(m.MFile, "MFClose", "Закр&ыть", &TEditorForm::MFCloseClick);

    m.MTask = AddMenu(bar, "MTask", "Задание");
    connect(m.MTask, &QMenu::aboutToShow, this, &TEditorForm::MTaskClick);
    m.MTAdd = item(m.MTask, "MTAdd", "Добавить...", &TEditorForm::MTAddClick, QKeySequence(Qt::CTRL | Qt::Key_Insert));
    m.MTAdd->setIcon(EditorToolIcon(EditorTool::Add));
    m.MTAdd->setToolTip(QStringLiteral("Добавить задание"));
    m.MTAdd2 = AddMenu(m.MTask, "MTAdd2", "Добавить");
    for (int tag = 1; tag <= 3; ++tag) {
        const QByteArray name = "MTAdd2Sub" + QByteArray::number(tag);
        QAction* a = item(m.MTAdd2, name.constData(), kTaskTypeNames[tag - 1], [this, tag] { MTAdd2Sub_Click(tag); },
                          tag == 1 ? QKeySequence(Qt::SHIFT | Qt::Key_Insert) : QKeySequence());
        a->setIcon(TaskTypeIcon(tag, 16));
        if (tag == 1)
            m.MTAdd2->setDefaultAction(a);
        m.MTAdd2Sub[tag - 1] = a;
    }
    m.MTask->addSeparator();
    m.MTDelete = item(m.MTask, "MTDelete", "Удалить", &TEditorForm::MTDeleteClick, QKeySequence(Qt::CTRL | Qt::Key_Delete));
    m.MTDelete->setIcon(EditorToolIcon(EditorTool::Delete));
    m.MTDelete->setToolTip(QStringLiteral("Удалить задание"));
    m.MTask->addSeparator();
    const struct {
        QAction* TMenus::*Item;
        const char* Name;
        const char* Caption;
        const char* Hint;
        void (TEditorForm::*Handler)();
        EditorTool Tool;
    } moves[4] = {
        {&TMenus::MTMoveToUp, "MTMoveToUp", "Переместить выше", "Перестить выше", &TEditorForm::MTMoveToUpClick,
         EditorTool::MoveUp},
        {&TMenus::MTMoveToDown, "MTMoveToDown", "Переместить ниже", "Перестить ниже",
         &TEditorForm::MTMoveToDownClick, EditorTool::MoveDown},
        {&TMenus::MTMoveToFirst, "MTMoveToFirst", "Переместить вверх", "Перестить в начало",
         &TEditorForm::MTMoveToFirstClick, EditorTool::MoveFirst},
        {&TMenus::MTMoveToLast, "MTMoveToLast", "Переместить вниз", "Перестить в конец",
         &TEditorForm::MTMoveToLastClick, EditorTool::MoveLast},
    };
    for (const auto& move : moves) {
        QAction* a = item(m.MTask, move.Name, move.Caption, move.Handler);
        a->setIcon(EditorToolIcon(move.Tool));
        a->setToolTip(QString::fromUtf8(move.Hint));
        m.*move.Item = a;
    }
    m.MTask->addSeparator();
    m.MTAddCopy = item(m.MTask, "MTAddCopy", "Дублировать", &TEditorForm::MTAddCopyClick);
    m.MTAddCopy->setIcon(EditorToolIcon(EditorTool::Duplicate));
    m.MTAddCopy->setToolTip(QStringLiteral("Дублировать (копировать) задание"));
    m.MTCopyToClipboard =
        item(m.MTask, "MTCopyToClipboard", "Копировать в буфер обмена", &TEditorForm::MTCopyToClipboardClick);
    m.MTCopyToClipboard->setIcon(EditorToolIcon(EditorTool::CopyToClipboard));
    m.MTCopyToClipboard->setToolTip(QStringLiteral("Копировать задание в буфер обмена как текст"));
    m.MTPasteFromClipboard = item(m.MTask, "MTPasteFromClipboard", "Вставить из буфера обмена",
                                  &TEditorForm::MTPasteFromClipboardClick);
    m.MTPasteFromClipboard->setIcon(EditorToolIcon(EditorTool::PasteFromClipboard));
    m.MTPasteFromClipboard->setToolTip(QStringLiteral("Вставить задание из буфера обмена"));
    m.MTask->addSeparator();
    m.MTChangeType = item(m.MTask, "MTChangeType", "Изменить тип...", &TEditorForm::MTChangeTypeClick);

    m.MParams = AddMenu(bar, "MParams", "Параметры теста");
    m.MPTitleAndDescription = item(m.MParams, "MPTitleAndDescription", "Заголовок и описание...",
                                   &TEditorForm::MPTitleAndDescriptionClick);
    m.MFMarks = item(m.MParams, "MFMarks", "Оценивание...", &TEditorForm::MFMarksClick);

    m.MView = AddMenu(bar, "MView", "Вид");
    connect(m.MView, &QMenu::aboutToShow, this, &TEditorForm::MViewClick);
    m.MVFont = item(m.MView, "MVFont", "Шрифт...", &TEditorForm::MVFontClick);
    m.MVIcons = AddMenu(m.MView, "MVIcons", "Иконки");
    auto* iconGroup = new QActionGroup(this);
    m.MVIcon16 = item(m.MVIcons, "MVIcon16", "Маленькие", &TEditorForm::MVIcon16Click);
    m.MVIcon24 = item(m.MVIcons, "MVIcon24", "Большие", &TEditorForm::MVIcon24Click);
    for (QAction* a : {m.MVIcon16, m.MVIcon24}) {
        a->setCheckable(true);
        iconGroup->addAction(a);
    }

    m.MHelp = AddMenu(bar, "MHelp", "Справка");
    m.MHShowHelp = item(m.MHelp, "MHShowHelp", "Просмотр справки", &TEditorForm::MHShowHelpClick,
                        QKeySequence(Qt::Key_F1));
    m.MHelp->addSeparator();
    // The about box comes with its own window.
    m.MHShowAboutBox = item(m.MHelp, "MHShowAboutBox", "О программе", &TEditorForm::MHShowAboutBoxClick);
}

void TEditorForm::BuildToolBar()
{
    const TMenus& m = MenuItems;
    for (QAction* a : {m.MTAdd, m.MTDelete, static_cast<QAction*>(nullptr), m.MTMoveToUp, m.MTMoveToDown,
                       m.MTMoveToFirst, m.MTMoveToLast, m.MTAddCopy, static_cast<QAction*>(nullptr),
                       m.MTCopyToClipboard, m.MTPasteFromClipboard}) {
        if (a)
            ToolBar->addAction(a);
        else
            ToolBar->addSeparator();
    }
}

void TEditorForm::BuildTreePopup()
{
    TMenus& m = MenuItems;
    m.TreePopup = new QMenu(this);
    m.TreePopup->setObjectName(QStringLiteral("TreePopup"));
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        return AddMenuItem(this, menu, name, caption, handler);
    };
    m.PMAdd = AddMenu(m.TreePopup, "PMAdd", "Добавить");
    for (int tag = 1; tag <= 3; ++tag) {
        const QByteArray name = "PMAddSub" + QByteArray::number(tag);
        QAction* a = item(m.PMAdd, name.constData(), kTaskTypeNames[tag - 1], [this, tag] { MTAdd2Sub_Click(tag); });
        a->setIcon(TaskTypeIcon(tag, 16));
        if (tag == 1)
            m.PMAdd->setDefaultAction(a);
        m.PMAddSub[tag - 1] = a;
    }
    m.PMDelete = item(m.TreePopup, "PMDelete", "Удалить", &TEditorForm::MTDeleteClick);
    m.PMDelete->setIcon(EditorToolIcon(EditorTool::Delete));
    m.PMAddCopy = item(m.TreePopup, "PMAddCopy", "Дублировать", &TEditorForm::MTAddCopyClick);
    m.PMAddCopy->setIcon(EditorToolIcon(EditorTool::Duplicate));
    m.PMChangeType = item(m.TreePopup, "PMChangeType", "Изменить тип...", &TEditorForm::MTChangeTypeClick);
    connect(m.TreePopup, &QMenu::aboutToShow, this, &TEditorForm::TreePopupPopup);
    connect(TaskTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        MenuItems.TreePopup->popup(TaskTree->viewport()->mapToGlobal(pos));
    });
}

QString TEditorForm::StatusText(int panel) const
{
    return StatusPanels.at(static_cast<size_t>(panel))->text();
}

void TEditorForm::SetQuestionFont(const QFont& font)
{
    TaskView->SetTextFont(font);
}

// ---------------------------------------------------------------- nodes

int TEditorForm::TaskCount() const
{
    return TaskTree->topLevelItemCount();
}

TTaskNode* TEditorForm::NodeAt(int position) const
{
    return static_cast<TTaskNode*>(TaskTree->topLevelItem(position));
}

TTask& TEditorForm::TaskAt(int position)
{
    return NodeAt(position)->Task;
}

QString TEditorForm::NodeLabel(int position) const
{
    return NodeAt(position)->text(0);
}

TTaskNode* TEditorForm::CurrentNode() const
{
    return static_cast<TTaskNode*>(TaskTree->currentItem());
}

int TEditorForm::PositionOf(const QTreeWidgetItem* node) const
{
    return node ? TaskTree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node)) : -1;
}

int TEditorForm::SelectedPosition() const
{
    return PositionOf(CurrentNode());
}

void TEditorForm::SelectTask(int position)
{
    TaskTree->setCurrentItem(position >= 0 ? NodeAt(position) : nullptr);
}

bool TEditorForm::TaskPanelShown() const
{
    return !TaskPanel->isHidden();
}

bool TEditorForm::EditButtonsEnabled() const
{
    return TaskSave->isEnabled();
}

TTaskNode* TEditorForm::MakeNode(TTask task, const std::string& label) const
{
    auto* node = new TTaskNode(std::move(task));
    node->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
                   Qt::ItemNeverHasChildren);
    SetNodeLabel(node, label);
    SetNodeIcon(node);
    return node;
}

TTaskNode* TEditorForm::AppendNode(const TTask& task, const std::string& label)
{
    TTaskNode* node = MakeNode(task, label);
    TaskTree->addTopLevelItem(node);
    return node;
}

void TEditorForm::AppendNodes(std::vector<TTaskNode*> nodes)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(nodes.size()));
    for (TTaskNode* node : nodes)
        items.append(node);
    PaintFreeze freeze(TaskTree);
    const bool sorting = TaskTree->isSortingEnabled();
    TaskTree->setSortingEnabled(false);
    TaskTree->addTopLevelItems(items);
    TaskTree->setSortingEnabled(sorting);
}

void TEditorForm::SetNodeLabel(TTaskNode* node, const std::string& label) const
{
    // A question of several lines shows on one line of the tree.
    QString text = Q(label);
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    node->setText(0, text);
}

void TEditorForm::SetNodeIcon(TTaskNode* node) const
{
    node->setIcon(0, TypeIcons[static_cast<size_t>(std::clamp<int>(node->Task.TaskType, 1, 3) - 1)]);
}

void TEditorForm::ClearTree()
{
    TreeBusy = true;
    TaskTree->clear();
    TreeBusy = false;
}

void TEditorForm::MoveNode(int from, int to)
{
    TTaskNode* current = CurrentNode();
    TreeBusy = true;
    QTreeWidgetItem* node = TaskTree->takeTopLevelItem(from);
    TaskTree->insertTopLevelItem(to, node);
    TaskTree->setCurrentItem(current);
    TreeBusy = false;
}

// ---------------------------------------------------------------- status

void TEditorForm::SetModified()
{
    SetModifiedFlag(1);
}

void TEditorForm::SetModifiedFlag(uint8_t modified)
{
    Doc.Modified = modified;
    StatusPanels[2]->setText(modified ? QStringLiteral("Тест изменен") : QString());
}

void TEditorForm::RefreshStatusBar()
{
    StatusPanels[0]->setText(QStringLiteral("Всего заданий: %1").arg(TaskCount()));
    const int selected = SelectedPosition();
    StatusPanels[1]->setText(selected >= 0 ? QStringLiteral("Выбрано задание №%1").arg(selected + 1)
                                           : QString());
    UpdateTaskActions();
}

void TEditorForm::RefreshCaption()
{
    setWindowTitle(Q(EditorCaption(Doc.FileName)));
}

bool TEditorForm::ClipboardHoldsTask() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard && IsClipboardTaskText(S(clipboard->text()));
}

void TEditorForm::UpdateTaskActions()
{
    const int position = SelectedPosition();
    const bool selected = position >= 0;
    const TMenus& m = MenuItems;
    for (QAction* a : {m.MTDelete, m.MTCopyToClipboard, m.MTChangeType, m.MTAddCopy})
        a->setEnabled(selected);
    for (QAction* a : {m.MTMoveToUp, m.MTMoveToFirst})
        a->setEnabled(selected && position >= 1);
    for (QAction* a : {m.MTMoveToDown, m.MTMoveToLast})
        a->setEnabled(selected && position < TaskCount() - 1);
    m.MTPasteFromClipboard->setEnabled(ClipboardHoldsTask());
    m.MTAdd->setEnabled(true);
    m.MTAdd2->setEnabled(true);
}

void TEditorForm::ApplicationIdle()
{
    UpdateTaskActions();
}

void TEditorForm::MTaskClick()
{
    UpdateTaskActions();
}

void TEditorForm::TreePopupPopup()
{
    if (TaskSave->isEnabled()) {
        const bool selected = CurrentNode() != nullptr;
        MenuItems.PMDelete->setEnabled(selected);
        MenuItems.PMChangeType->setEnabled(selected);
    }
}

// ---------------------------------------------------------------- file

bool TEditorForm::AskSaveChanges()
{
    if (Doc.Modified != 1)
        return false;
    if (!Prompter.Ask(this, kCaptionAttention, QStringLiteral("Вы желаете сохранить изменения?")))
        return false;
    MFSaveFileClick();
    return true;
}

void TEditorForm::MFNewClick()
{
    AskSaveChanges();
    ClearTree();
    ShowTask(nullptr);
    ResetDocument(Doc);
    SetModifiedFlag(0);
    RefreshCaption();
    RefreshStatusBar();
}

void TEditorForm::MFOpenClick()
{
    AskSaveChanges();
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Открыть");
    spec.Filter = kTestFilter;
    const auto chosen = Prompter.OpenFile(this, spec);
    if (!chosen)
        return;

    ShowTask(nullptr);
    const std::string path = S(chosen->Path);
    if (!path.empty() && FileExists(path)) {
        Doc.FileName = path;
        Doc.FileDir = FolderOf(path);
        ClearTree();
        auto read = ReadEditorTest(path);
        if (read) {
            Doc.Title = read->Title;
            Doc.Description = read->Description;
            Doc.TaskCount = read->TaskCount;
            Doc.Marks = read->Marks;
            std::vector<TTaskNode*> nodes;
            nodes.reserve(read->Tasks.size());
            for (TTask& task : read->Tasks) {
                const std::string label = task.Question;
                nodes.push_back(MakeNode(std::move(task), label));
            }
            read->Tasks.clear();
            TreeBusy = true;
            AppendNodes(std::move(nodes));
            TreeBusy = false;
            SetModifiedFlag(0);
        } else {
            ClearTree();
            ResetDocument(Doc);
            SetModifiedFlag(0);
            Prompter.LoadError(this, Q(read.error().Message));
        }
    }
    RefreshCaption();
    ShowTask(nullptr);
    RefreshStatusBar();
}

void TEditorForm::MFSaveFileClick()
{
    if (Doc.FileName.empty())
        MFSaveFileAsClick();
    else
        WriteDocument(Q(Doc.FileName));
    RefreshCaption();
}

void TEditorForm::MFSaveFileAsClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить как");
    spec.Filter = kSaveFilter;
    spec.DefaultExtension = QStringLiteral("TXT");
    spec.OverwritePrompt = true;
    spec.FileName = Q(Doc.FileName);
    const auto chosen = Prompter.SaveFile(this, spec);
    if (chosen && !chosen->Path.isEmpty())
        WriteDocument(chosen->Path);
    RefreshCaption();
}

bool TEditorForm::AskYesNoText(const std::string& text)
{
    return Prompter.Ask(this, kCaptionAttention, Q(text));
}

bool TEditorForm::WriteDocument(const QString& path)
{
    if (TaskCount() == 0 &&
        !Prompter.Ask(this, kCaptionAttention,
                      QStringLiteral("В тесте нет заданий. Вы желаете сохранить тест?")))
        return false;
    const QString warning = QStringLiteral("Предупреждение!");
    if (Doc.Title.empty())
        Prompter.Message(this, warning, QStringLiteral("Для теста не был задан заголовок."),
                         PromptIcon::None, PromptButtons::Ok);
    if (Doc.Marks.empty())
        Prompter.Message(this, warning, QStringLiteral("Для теста не была задана система оценки."),
                         PromptIcon::None, PromptButtons::Ok);

    std::vector<TTask*> tasks;
    for (int i = 0; i < TaskCount(); ++i)
        tasks.push_back(&TaskAt(i));
    TTaskNode* current = CurrentNode();
    const std::string shownPicture = current ? current->Task.ImageFile : std::string();
    const Status written = WriteEditorTest(S(path), Doc, tasks,
                                           [this](const std::string& text) { return AskYesNoText(text); });
    if (!written) {
        Prompter.LoadError(this, Q(written.error().Message));
        return false;
    }
    SetModifiedFlag(0);
    // The picture rule may have moved the shown task's picture; a clean panel shows where.
    if (current && current->Task.ImageFile != shownPicture && !TaskSave->isEnabled())
        ShowTask(current);
    return true;
}

void TEditorForm::MFImportFromOthrClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Импорт заданий");
    spec.Filter = kImportFilter;
    const auto chosen = Prompter.OpenFile(this, spec);
    if (!chosen)
        return;
    const std::string path = S(chosen->Path);
    if (path.empty() || !FileExists(path))
        return;
    auto bank = ReadImportBank(path);
    if (!bank) {
        Prompter.LoadError(this, Q(bank.error().Message));
        RefreshStatusBar();
        return;
    }
    if (*bank) {
        ImportBank(path, std::move(**bank));
        return;
    }
    auto imported = ReadImportFile(path);
    if (!imported) {
        Prompter.LoadError(this, Q(imported.error().Message));
        RefreshStatusBar();
        return;
    }
    std::vector<TTaskNode*> nodes;
    nodes.reserve(imported->Tasks.size());
    for (size_t k = 0; k < imported->Tasks.size(); ++k)
        nodes.push_back(MakeNode(std::move(imported->Tasks[k]), ImportedTaskLabel(k + 1)));
    AppendNodes(std::move(nodes));
    Prompter.Message(this, QStringLiteral("Импорт заданий завершен"),
                     Q(ImportDoneText(imported->Tasks.size(), path, imported->Title)),
                     PromptIcon::Information, PromptButtons::Ok);
    SetModified();
    RefreshStatusBar();
}

void TEditorForm::ImportBank(const std::string& path, BankImport bank)
{
    // The pictures first: when one cannot be written, no task comes in.
    if (const Status written = WriteImportPictures(bank, Doc.FileName, path); !written) {
        Prompter.LoadError(this, Q(written.error().Message));
        RefreshStatusBar();
        return;
    }
    const size_t added = bank.Tasks.size();
    std::vector<TTaskNode*> nodes;
    nodes.reserve(added);
    for (size_t k = 0; k < added; ++k)
        nodes.push_back(MakeNode(std::move(bank.Tasks[k]), ImportedTaskLabel(k + 1)));
    if (!nodes.empty())
        AppendNodes(std::move(nodes));
    Prompter.Message(this, QStringLiteral("Импорт заданий завершен"),
                     Q(BankImportDoneText(added, path, bank.Skipped)), PromptIcon::Information,
                     PromptButtons::Ok);
    if (added > 0)
        SetModified();
    RefreshStatusBar();
}

void TEditorForm::ExportBank(BankKind kind)
{
    if (TaskCount() == 0) {
        Prompter.Notice(this, QStringLiteral("В тесте нет заданий для экспорта."));
        return;
    }
    FileDialogSpec spec;
    switch (kind) {
    case BankKind::MoodleXml:
        spec.Title = QStringLiteral("Экспорт в Moodle XML");
        spec.Filter = QStringLiteral("Moodle XML (*.XML)|*.XML");
        spec.DefaultExtension = QStringLiteral("XML");
        break;
    case BankKind::Gift:
        spec.Title = QStringLiteral("Экспорт в GIFT");
        spec.Filter = QStringLiteral("GIFT (*.GIFT)|*.GIFT");
        spec.DefaultExtension = QStringLiteral("GIFT");
        break;
    default:
        spec.Title = QStringLiteral("Экспорт в Aiken");
        spec.Filter = QStringLiteral("Aiken (*.TXT)|*.TXT");
        spec.DefaultExtension = QStringLiteral("TXT");
        break;
    }
    spec.OverwritePrompt = true;
    const auto chosen = Prompter.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    std::vector<TTask> tasks;
    tasks.reserve(static_cast<size_t>(TaskCount()));
    for (int i = 0; i < TaskCount(); ++i)
        tasks.push_back(TaskAt(i));
    const BankWriteResult written = WriteBank(kind, tasks, Doc.Title);
    const std::string path = S(chosen->Path);
    // A file that would hold no question is not written at all.
    if (written.Written > 0) {
        if (const Status saved = WriteFileAtomically(path, written.Bytes); !saved) {
            Prompter.LoadError(this, Q(saved.error().Message));
            return;
        }
    }
    Prompter.Message(this, QStringLiteral("Экспорт заданий завершен"), Q(BankExportDoneText(path, written)),
                     written.Written > 0 ? PromptIcon::Information : PromptIcon::Warning, PromptButtons::Ok);
}

void TEditorForm::MTExportToHTMLClick()
{
    if (TaskCount() == 0 &&
        !Prompter.Ask(this, kCaptionAttention,
                      QStringLiteral("В тесте нет заданий. Вы желаете экспортировать тест в HTML?")))
        return;
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Экспорт в HTML");
    spec.Filter = QStringLiteral("Веб-страница (*.HTML)|*.HTML");
    spec.DefaultExtension = QStringLiteral("HTML");
    spec.OverwritePrompt = true;
    const auto chosen = Prompter.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    HtmlPageInput input;
    input.Title = Doc.Title;
    input.Description = Doc.Description;
    for (int i = 0; i < TaskCount(); ++i)
        input.Tasks.push_back(&TaskAt(i));
    input.WithAnswers = Prompter.Ask(this, kCaptionAttention,
                                     QStringLiteral("Выводить в файл правильные ответы?"));
    const Status exported = ExportHtmlPage(S(chosen->Path), input,
                                           [this](const std::string& text) { return AskYesNoText(text); });
    if (!exported)
        Prompter.LoadError(this, Q(exported.error().Message));
}

void TEditorForm::MFCloseClick()
{
    close();
}

bool TEditorForm::FormCloseQuery()
{
    if (Doc.Modified != 1)
        return true;
    return Prompter.Ask(this, QStringLiteral("Внимание! Тест не сохранен..."),
                        QStringLiteral("Вы желаете выйти из редактора не сохранив тест?"));
}

// ---------------------------------------------------------------- tasks

void TEditorForm::AddTask(int taskType)
{
    if (taskType == 0) {
        TSelectTypeTaskForm dialog(this);
        dialog.SetItemIndex(0);
        if (Prompter.ShowModal(dialog) != QDialog::Accepted)
            return;
        taskType = dialog.ItemIndex() + 1;
    }
    TTask task;
    task.TaskType = static_cast<uint8_t>(taskType);
    TTaskNode* node = AppendNode(task, AddedTaskLabel(static_cast<size_t>(TaskCount())));
    TaskTree->setCurrentItem(node);
    RefreshStatusBar();
    SetModified();
}

void TEditorForm::MTAddClick()
{
    AddTask(0);
}

void TEditorForm::MTAdd2Sub_Click(int tag)
{
    if (tag >= 1 && tag <= 3)
        AddTask(tag);
}

void TEditorForm::MTAddCopyClick()
{
    TTaskNode* node = CurrentNode();
    if (!node)
        return;
    const int position = PositionOf(node);
    AppendNode(node->Task, DuplicateTaskLabel(static_cast<size_t>(position)));
    RefreshStatusBar();
    SetModified();
}

void TEditorForm::MTDeleteClick()
{
    TTaskNode* node = CurrentNode();
    if (!node)
        return;
    if (Prompter.Ask(this, QStringLiteral("Внимание! Будет удалено задание..."),
                     QStringLiteral("Вы желаете удалить задание?"))) {
        // The node leaves the tree whole before it is destroyed: the tree's move
        // to a neighbour must neither meet a half-destroyed node nor offer to
        // save the edits of the task being deleted.
        TreeBusy = true;
        delete TaskTree->takeTopLevelItem(PositionOf(node));
        TreeBusy = false;
        SelectionChanged();  // shows the neighbour the tree selected, or hides the panel
    }
    SetModified();
    RefreshStatusBar();
}

void TEditorForm::MoveSelected(TaskMove move)
{
    const int position = SelectedPosition();
    if (position < 0)
        return;
    const auto to = MoveDestination(move, static_cast<size_t>(position), static_cast<size_t>(TaskCount()));
    if (!to)
        return;
    MoveNode(position, static_cast<int>(*to));
    RefreshStatusBar();
    SetModified();
}

void TEditorForm::MTMoveToUpClick()
{
    MoveSelected(TaskMove::Up);
}

void TEditorForm::MTMoveToDownClick()
{
    MoveSelected(TaskMove::Down);
}

void TEditorForm::MTMoveToFirstClick()
{
    MoveSelected(TaskMove::First);
}

void TEditorForm::MTMoveToLastClick()
{
    MoveSelected(TaskMove::Last);
}

void TEditorForm::TreeDragDrop(std::optional<size_t> target)
{
    const int from = DragStartPosition;
    DragStartPosition = 0;
    if (from < 0)
        return;
    const auto to = DropDestination(static_cast<size_t>(from), target, static_cast<size_t>(TaskCount()));
    if (!to)
        return;
    MoveNode(from, static_cast<int>(*to));
    RefreshStatusBar();
    SetModified();
}

void TEditorForm::MTCopyToClipboardClick()
{
    TTaskNode* node = CurrentNode();
    if (!node)
        return;
    // The clipboard is Unicode; the text is what Windows-1251 can carry.
    const std::string text = Cp1251ToUtf8(Utf8ToCp1251(BuildClipboardText(node->Task)));
    QGuiApplication::clipboard()->setText(Q(text));
    UpdateTaskActions();
}

void TEditorForm::MTPasteFromClipboardClick()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    auto task = ParseClipboardText(Cp1251ToUtf8(Utf8ToCp1251(S(text))));
    if (!task) {
        Prompter.LoadError(this, Q(task.error().Message));
        return;
    }
    TTaskNode* node = AppendNode(*task, PastedTaskLabel(task->Question));
    TaskTree->setCurrentItem(node);
    SetModified();
    RefreshStatusBar();
}

void TEditorForm::MTChangeTypeClick()
{
    TTaskNode* node = CurrentNode();
    if (!node)
        return;
    TSelectTypeTaskForm dialog(this);
    dialog.SetItemIndex(node->Task.TaskType - 1);
    if (Prompter.ShowModal(dialog) != QDialog::Accepted)
        return;
    const auto type = static_cast<uint8_t>(dialog.ItemIndex() + 1);
    if (type != node->Task.TaskType) {
        if (TaskSave->isEnabled() &&
            Prompter.Ask(this, kCaptionAttention,
                         QStringLiteral("Вы желаете сохранить изменения в текущем задании перед "
                                        "изменением типа задания?")))
            TaskSaveClick();
        ChangeTaskType(node->Task, type);
        SetNodeIcon(node);
        SetModified();
    }
    ShowTask(node);
}

void TEditorForm::MPTitleAndDescriptionClick()
{
    TEditTitleAndDescriptionForm dialog(this);
    dialog.SetTitle(Doc.Title);
    dialog.SetDescription(Doc.Description);
    if (Prompter.ShowModal(dialog) != QDialog::Accepted)
        return;
    Doc.Title = dialog.Title();
    Doc.Description = dialog.Description();
    SetModified();
}

void TEditorForm::MFMarksClick()
{
    TMarkLevelForm dialog(this);
    dialog.SetTaskCount(TaskCount());
    dialog.SetMarks(Doc.Marks);
    if (Prompter.ShowModal(dialog) != QDialog::Accepted)
        return;
    if (!dialog.Marks().empty())
        Doc.Marks = dialog.Marks();
    SetModified();
}

// ---------------------------------------------------------------- view and help

void TEditorForm::MViewClick()
{
    (IconSize == 16 ? MenuItems.MVIcon16 : MenuItems.MVIcon24)->setChecked(true);
}

void TEditorForm::MVFontClick()
{
    const auto chosen =
        Prompter.Font(this, {QuestionText->font(), QuestionText->palette().color(QPalette::Text)});
    if (!chosen)
        return;
    SetQuestionFont(chosen->Font);
    ImageFileEdit->setFont(chosen->Font);
    PromptEdit->setFont(chosen->Font);
    TaskView->SetTextColor(chosen->Color);
    SetTextColor(ImageFileEdit, chosen->Color);
    SetTextColor(PromptEdit, chosen->Color);
}

void TEditorForm::SetIconSize(int size, int indentation)
{
    IconSize = size;
    for (int type = 1; type <= 3; ++type)
        TypeIcons[static_cast<size_t>(type - 1)] = TaskTypeIcon(type, size);
    PaintFreeze freeze(TaskTree);
    TaskTree->setIconSize(QSize(size, size));
    TaskTree->setIndentation(indentation);
    for (int i = 0; i < TaskCount(); ++i)
        SetNodeIcon(NodeAt(i));
}

void TEditorForm::MVIcon16Click()
{
    SetIconSize(16, 10);
}

void TEditorForm::MVIcon24Click()
{
    SetIconSize(24, 20);
}

void TEditorForm::MHShowHelpClick()
{
    OpenHelpDocument(Services);
}

void TEditorForm::MHShowAboutBoxClick()
{
    TAboutForm about(Services, this);
    Prompter.ShowModal(about);
}

// ---------------------------------------------------------------- the task panel

void TEditorForm::ShowTask(TTaskNode* node)
{
    if (!node) {
        EnableEditButtons(false);
        TaskPanel->setEnabled(false);
        TaskPanel->hide();
        InstructionLabel->show();
        return;
    }
    const TTask& task = node->Task;
    {
        // The mark column changes with the redrawing suspended.
        PaintFreeze freeze(this);
        TaskView->ShowForEditing(task);
        ImageFileEdit->setText(Q(task.ImageFile));
        PromptEdit->setText(Q(task.Prompt));
    }

    ShowPicture(Q(task.ImageFile));
    EnableEditButtons(false);
}

void TEditorForm::ShowPicture(const QString& path)
{
    const QString message = TaskView->ShowPicture(S(path));
    if (!message.isEmpty())
        Prompter.Notice(this, message);
}

void TEditorForm::EnableEditButtons(bool enabled)
{
    TaskSave->setEnabled(enabled);
    TastReset->setEnabled(enabled);
}

void TEditorForm::TaskEdited()
{
    EnableEditButtons(true);
}

TTaskEdits TEditorForm::ReadEdits(uint8_t taskType) const
{
    TTaskEdits edits;
    edits.Question = WidgetToField(QuestionText->toPlainText());
    for (int r = 0; r < 5; ++r) {
        edits.Variants[r] = WidgetToField(TaskView->VariantText[r]->toPlainText());
        edits.Answers[r] = TaskView->Mark(taskType, r);
    }
    edits.ImageFile = S(ImageFileEdit->text());
    edits.Prompt = S(PromptEdit->text());
    return edits;
}

void TEditorForm::TaskSaveClick()
{
    TTaskNode* node = CurrentNode();
    if (!node)
        return;
    SaveTaskEdits(node->Task, ReadEdits(node->Task.TaskType));
    SetNodeLabel(node, SavedTaskLabel(node->Task, static_cast<size_t>(PositionOf(node))));
    TaskTree->setFocus();
    SetModified();
    EnableEditButtons(false);
    ShowTask(node);
    const std::string message = CheckTaskMessage(CheckTask(node->Task));
    if (!message.empty())
        Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(message), PromptIcon::Information,
                         PromptButtons::Ok);
}

void TEditorForm::TastResetClick()
{
    if (TTaskNode* node = CurrentNode())
        ShowTask(node);
}

void TEditorForm::BeforeSelectionChange()
{
    if (TreeBusy || !CurrentNode() || !TaskSave->isEnabled())
        return;
    if (Prompter.Ask(this, kCaptionAttention,
                     QStringLiteral("Вы желаете сохранить изменения в текущем задании перед "
                                    "переходом к другому?")))
        TaskSaveClick();
}

void TEditorForm::SelectionChanged()
{
    if (TreeBusy)
        return;
    TTaskNode* node = CurrentNode();
    if (node) {
        node->setSelected(true);  // a node made current by focus alone is shown selected
        InstructionLabel->hide();
        TaskPanel->setEnabled(true);
        TaskPanel->show();
    }
    ShowTask(node);
    RefreshStatusBar();
}

void TEditorForm::ButtonSelectImageClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Выбор рисунка");
    spec.Filter = Q(PictureFilter());
    const auto chosen = Prompter.OpenFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    ImageFileEdit->setText(chosen->Path);
    ShowPicture(chosen->Path);
    EnableEditButtons(true);
}

void TEditorForm::ButtonShowImageClick()
{
    ShowPicture(ImageFileEdit->text());
}

void TEditorForm::QuestionImageClick()
{
    if (!TaskView->QuestionImage->HasPicture())
        return;
    TShowQuestionImageForm viewer(this);
    viewer.SetPicture(TaskView->QuestionImage->Picture());
    Prompter.ShowModal(viewer);
}

bool TEditorForm::VariantKeyDown(int variant, int key, Qt::KeyboardModifiers modifiers)
{
    // Exactly Ctrl: no Shift, no Alt (the keypad's arrows carry a flag of their own).
    if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    const int other = key == Qt::Key_Up ? variant - 1 : variant + 1;
    if (variant < 0 || variant > 4 || other < 0 || other > 4)
        return true;  // nothing above the first or below the last
    const std::array<QPlainTextEdit*, 5>& texts = TaskView->VariantText;
    const QString mine = texts[variant]->toPlainText();
    texts[variant]->setPlainText(texts[other]->toPlainText());
    texts[other]->setPlainText(mine);
    texts[other]->setFocus();
    return true;
}

// ---------------------------------------------------------------- events

void TEditorForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The toolbar follows the clipboard while the window is up.
    if (!IdleInstalled) {
        IdleInstalled = true;
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                &TEditorForm::ApplicationIdle);
    }
    ApplicationIdle();
}

void TEditorForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    if (IdleInstalled) {
        IdleInstalled = false;
        disconnect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                   &TEditorForm::ApplicationIdle);
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void TEditorForm::reject()
{
    // The window manager and the like close through the close question.
    close();
}

void TEditorForm::keyPressEvent(QKeyEvent* event)
{
    // An editor window does not close on Escape as dialogs do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TEditorForm::event(QEvent* event)
{
    // Coming back to the window: another program may have changed the clipboard.
    if (event->type() == QEvent::WindowActivate)
        ApplicationIdle();
    return QDialog::event(event);
}

bool TEditorForm::IsMenuShortcut(const QKeyEvent& key) const
{
    // The keypad's Insert and Delete are the same keys to the menu.
    const QKeySequence pressed(QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    for (const QAction* item : actions())
        if (!item->shortcut().isEmpty() && item->shortcut() == pressed)
            return true;
    return false;
}

bool TEditorForm::eventFilter(QObject* watched, QEvent* event)
{
    // Keys reach the window before the control with the focus: a text field
    // must not take a menu item's key for its own editing (Ctrl+Ins copying,
    // Shift+Ins pasting, Ctrl+Del deleting a word), not even while the item is
    // off. Ctrl+C, Ctrl+V and Ctrl+X stay the fields' own.
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        watched != this && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this &&
        IsMenuShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 5; ++i)
            if (watched == TaskView->VariantText[i]) {
                auto* key = static_cast<QKeyEvent*>(event);
                if (VariantKeyDown(i, key->key(), key->modifiers()))
                    return true;
                break;
            }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quilmo
