#pragma once
// The test editor: a window of its own in which a teacher builds a text test.

#include <QDialog>
#include <QIcon>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "banks/BankFile.h"
#include "editor/EditorDocument.h"
#include "editor/QtTaskTree.h"
#include "editor/TaskOperations.h"
#include "model/TestModel.h"

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QToolBar;

namespace quilmo {

class TTaskView;

class TEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditorForm(AppServices& services, QWidget* parent = nullptr);
    ~TEditorForm() override;

    // The main window's question font for the question and the five variant fields.
    void SetQuestionFont(const QFont& font);

    // The document and the tree, as the window holds them.
    const TEditorDocument& Document() const { return Doc; }
    int TaskCount() const;
    TTask& TaskAt(int position);
    QString NodeLabel(int position) const;
    // Position of the selected node, -1 when none.
    int SelectedPosition() const;
    // Selects a node as a click on it does (-1: none).
    void SelectTask(int position);
    bool TaskPanelShown() const;
    bool EditButtonsEnabled() const;
    TTaskTree* Tree() const { return TaskTree; }
    // The menus, the tree's popup and their items, made once; each keeps its object name.
    struct TMenus {
        QMenu* MFile = nullptr;
        QAction* MFNew = nullptr;
        QAction* MFOpen = nullptr;
        QAction* MFSaveFile = nullptr;
        QAction* MFSaveFileAs = nullptr;
        QMenu* MFImport = nullptr;
        QAction* MFImportFromOthr = nullptr;
        QMenu* MFExport = nullptr;
        QAction* MTExportToHTML = nullptr;
        QAction* MFExportMoodleXml = nullptr;
        QAction* MFExportGift = nullptr;
        QAction* MFExportAiken = nullptr;
        QAction* MFClose = nullptr;
        QMenu* MTask = nullptr;
        QAction* MTAdd = nullptr;
        QMenu* MTAdd2 = nullptr;
        QAction* MTAdd2Sub[3] = {};  // by task type, 1 to 3
        QAction* MTDelete = nullptr;
        QAction* MTMoveToUp = nullptr;
        QAction* MTMoveToDown = nullptr;
        QAction* MTMoveToFirst = nullptr;
        QAction* MTMoveToLast = nullptr;
        QAction* MTAddCopy = nullptr;
        QAction* MTCopyToClipboard = nullptr;
        QAction* MTPasteFromClipboard = nullptr;
        QAction* MTChangeType = nullptr;
        QMenu* MParams = nullptr;
        QAction* MPTitleAndDescription = nullptr;
        QAction* MFMarks = nullptr;
        QMenu* MView = nullptr;
        QAction* MVFont = nullptr;
        QMenu* MVIcons = nullptr;
        QAction* MVIcon16 = nullptr;
        QAction* MVIcon24 = nullptr;
        QMenu* MHelp = nullptr;
        QAction* MHShowHelp = nullptr;
        QAction* MHShowAboutBox = nullptr;
        QMenu* TreePopup = nullptr;
        QMenu* PMAdd = nullptr;
        QAction* PMAddSub[3] = {};  // by task type, 1 to 3
        QAction* PMDelete = nullptr;
        QAction* PMAddCopy = nullptr;
        QAction* PMChangeType = nullptr;
    };
    const TMenus& Menus() const { return MenuItems; }
    QString StatusText(int panel) const;

    // Menu handlers, named after their items.
    void MFNewClick();
    void MFOpenClick();
    void MFSaveFileClick();
    void MFSaveFileAsClick();
    void MFImportFromOthrClick();
    // File > Export > Moodle XML, GIFT or Aiken.
    void ExportBank(BankKind kind);
    void MTExportToHTMLClick();
    void MFCloseClick();
    void MTaskClick();
    void MTAddClick();
    void MTAdd2Sub_Click(int tag);
    void MTDeleteClick();
    void MTMoveToUpClick();
    void MTMoveToDownClick();
    void MTMoveToFirstClick();
    void MTMoveToLastClick();
    void MTAddCopyClick();
    void MTCopyToClipboardClick();
    void MTPasteFromClipboardClick();
    void MTChangeTypeClick();
    void MPTitleAndDescriptionClick();
    void MFMarksClick();
    void MViewClick();
    void MVFontClick();
    void MVIcon16Click();
    void MVIcon24Click();
    void MHShowHelpClick();
    void MHShowAboutBoxClick();
    // The tree's popup menu opening.
    void TreePopupPopup();

    // The task panel.
    void TaskSaveClick();
    void TastResetClick();
    void ButtonSelectImageClick();
    void ButtonShowImageClick();
    void QuestionImageClick();
    // Ctrl+Up (up) or Ctrl+Down on variant field `variant` (0 to 4); true when handled.
    bool VariantKeyDown(int variant, int key, Qt::KeyboardModifiers modifiers);

    // Brings the toolbar up to date, as the application's idle time does.
    void ApplicationIdle();
    // The close question; false keeps the window open.
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // A key that is the shortcut of one of the window's menu items.
    bool IsMenuShortcut(const QKeyEvent& key) const;
    void BuildLayout();
    QWidget* BuildTaskPanel(QWidget* parent);
    void BuildMenus(QMenuBar* bar);
    void BuildToolBar();
    void BuildTreePopup();
    // Appends the tasks of a bank read by the import, its pictures written first.
    void ImportBank(const std::string& path, BankImport bank);

    TTaskNode* CurrentNode() const;
    TTaskNode* NodeAt(int position) const;
    int PositionOf(const QTreeWidgetItem* node) const;
    TTaskNode* MakeNode(TTask task, const std::string& label) const;
    TTaskNode* AppendNode(const TTask& task, const std::string& label);
    // Appends many nodes in one step, with the tree's painting and sorting suspended.
    void AppendNodes(std::vector<TTaskNode*> nodes);
    void SetNodeLabel(TTaskNode* node, const std::string& label) const;
    void SetNodeIcon(TTaskNode* node) const;
    void ClearTree();
    // Moves a node, keeping the selection where it was and the panel as it is.
    void MoveNode(int from, int to);
    void MoveSelected(TaskMove move);
    void AddTask(int taskType);
    void TreeDragDrop(std::optional<size_t> target);

    // Show task: fills the panel from a task, or hides it.
    void ShowTask(TTaskNode* node);
    void ShowPicture(const QString& path);
    void EnableEditButtons(bool enabled);
    void TaskEdited();
    TTaskEdits ReadEdits(uint8_t taskType) const;
    void BeforeSelectionChange();
    void SelectionChanged();

    void SetModified();
    void SetModifiedFlag(uint8_t modified);
    void RefreshStatusBar();
    void RefreshCaption();
    void UpdateTaskActions();
    bool ClipboardHoldsTask() const;
    bool AskSaveChanges();
    bool WriteDocument(const QString& path);
    void SetIconSize(int size, int indentation);
    bool AskYesNoText(const std::string& text);

    AppServices& Services;
    Prompts& Prompter;

    TEditorDocument Doc;
    int DragStartPosition = 0;
    int IconSize = 24;
    // The three task-type icons at IconSize; every node shares one of them.
    std::array<QIcon, 3> TypeIcons;
    // Set while the window itself rearranges the tree: no question, no showing.
    bool TreeBusy = false;
    bool IdleInstalled = false;

    // Controls, named as the window names them.
    QToolBar* ToolBar = nullptr;
    TTaskTree* TaskTree = nullptr;
    QSplitter* Splitter = nullptr;
    QLabel* InstructionLabel = nullptr;
    QWidget* TaskPanel = nullptr;
    TTaskView* TaskView = nullptr;
    QPlainTextEdit* QuestionText = nullptr;  // the view's
    QLineEdit* ImageFileEdit = nullptr;
    QPushButton* ButtonSelectImage = nullptr;
    QPushButton* ButtonShowImage = nullptr;
    QLineEdit* PromptEdit = nullptr;
    QPushButton* TaskSave = nullptr;
    QPushButton* TastReset = nullptr;
    std::array<QLabel*, 3> StatusPanels{};
    TMenus MenuItems;
};

}  // namespace quilmo
