#pragma once
// The journal window: while shown it listens for the runners' messages, logs
// each one and lists each result in its table.

#include <QMainWindow>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/AppServices.h"
#include "journal/Analyses.h"
#include "journal/JournalRecorder.h"
#include "journal/JournalStore.h"
#include "journal/JournalTexts.h"
#include "journal/Listener.h"
#include "journal/ReceivedInbox.h"
#include "journal/ResultProtocol.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace quilmo {

class TClassPage;

class TServerForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TServerForm(AppServices& services, QWidget* parent = nullptr);
    ~TServerForm() override;

    // The port text the listener takes the next time the window is opened.
    void SetPort(const std::string& port) { Port = port; }
    const std::string& ListenPort() const { return Port; }
    // The port bound while listening; 0 when not listening.
    uint16_t BoundPort() const;
    // Shown and listening: false while shown when the port could not be bound.
    bool Listening() const;

    const std::vector<journal::TTestResult>& Results() const { return ResultList; }
    bool HasUnsaved() const { return Unsaved; }

    // What connections delivered, in order of arrival: stored, then shown.
    // Runs on the window's thread.
    void ReceiveEvents(std::vector<journal::ReceivedEvent> events);
    void ReceiveEvent(journal::ReceivedEvent event);
    // Events the store has (or could not keep), in the order stored.
    void ReceiveStored(std::vector<journal::StoredEvent> batch);

    // The store's row of each ResultList entry (0: not in the store).
    const std::vector<int64_t>& ResultIds() const { return StoreIds; }
    // The store, opened on first use; null when it cannot be opened.
    journal::JournalStore* Store();

    // Lifecycle.
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    // The program is ending: the window closes without asking.
    void CloseWithProgram();

    // Writes entry index of ResultList into table row index + 1.
    void AddResultRow(int index);
    // The same for entries first to end - 1, the rows added in one step.
    void AddResultRows(int first, int end);

    // Menu handlers.
    void MFileClick();
    void MFaleSaveAsClick();
    void MFImportResultsClick();
    void MOptimizeWidthColGridClick();
    void MDeleteClick();
    void MAD1Click();
    void MAD2Click();
    void MAD3Click();
    void MAItemStatsClick();

    // The table as the user sees it: row 0 is the header.
    std::vector<journal::RowTexts> GridTexts() const;
    int GridRowCount() const;
    QString Cell(int column, int row) const;
    // Makes grid row `row` the current one; 0 selects the header (no entry).
    void SelectRow(int row);
    int ColumnWidth(int column) const;

    // The menus, the grid's popup and their items, made once; each keeps its object name.
    struct TMenus {
        QMenu* MFile = nullptr;
        QAction* MFaleSaveAs = nullptr;
        QAction* MFImportResults = nullptr;
        QMenu* MView = nullptr;
        QAction* MOptimizeWidthColGrid = nullptr;
        QAction* MDelete = nullptr;
        QMenu* MAnalysis = nullptr;
        QAction* MAD1 = nullptr;
        QAction* MAD2 = nullptr;
        QAction* MAD3 = nullptr;
        QAction* MAItemStats = nullptr;
        QMenu* PopupMenuGrid = nullptr;
        QAction* PMOptimizeWidthColGrid = nullptr;
        QAction* PMDelete = nullptr;
        QAction* PMAD1 = nullptr;
        QAction* PMAD2 = nullptr;
        QAction* PMItemStats = nullptr;
    };
    const TMenus& Menus() const { return MenuItems; }
    TClassPage* ClassPage() const { return TabSheetClass; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void BuildMenus();
    // One line, or several joined by line ends, appended as one block.
    void AppendLog(const std::string& lines);
    // The malformed-result box, one at a time; count came at once.
    void ShowMalformed(int count);
    // The window's thread: takes what the inbox holds.
    void TakeReceived();
    // The entry of the current row, or -1 when the header or the empty row is current.
    int SelectedIndex() const;
    // Shows an analysis in a chart window of its own, modally.
    void ShowChart(const std::optional<journal::ChartData>& chart);
    void ShowError(const std::string& text);
    // Starts the journal session of this opening unless one is open; on the
    // first, offers what an earlier run left unexported.
    void BeginJournalSession();
    void EndJournalSession();
    void OfferRestore();
    // Appends a result to ResultList and the table unless the same result is
    // there; false when it was.
    bool AppendResult(journal::TTestResult result, int64_t storeId, bool storeHadIt);
    void LogStoreError(const std::string& reason);

    AppServices& Services;
    Prompts& Prompter;

    std::vector<journal::TTestResult> ResultList;
    std::vector<int64_t> StoreIds;  // beside ResultList
    std::unordered_set<std::string> ShownKeys;  // ResultKey of each ResultList entry
    bool Unsaved = false;
    std::string Port = "5105";
    bool Shown = false;           // shown (listening, unless the port was not available)
    bool ClosingWithProgram = false;
    bool ShowingError = false;    // one malformed-result box at a time
    int ErrorsWhileShowing = 0;   // malformed results that came while it was open
    QString SaveDialogFileName;   // the export dialog's preset name
    // Destroyed in reverse: the listener's workers first, then the recorder
    // they use, then the store.
    std::unique_ptr<journal::JournalStore> JournalStoreFile;
    bool StoreOpenTried = false;
    std::string StoreUnavailable;   // why the store could not be opened
    std::string LastStoreError;     // logged once until the store works again
    std::unique_ptr<journal::JournalRecorder> Recorder;
    std::optional<journal::StoredSession> Session;  // while shown
    int64_t Run = 0;                // the first session of this program run
    bool RestoreOffered = false;
    // What the recorder committed, taken in batches, one per turn of the
    // event loop; outlives the recorder and every listener.
    journal::BatchInbox<journal::StoredEvent> Inbox;
    std::deque<journal::StoredEvent> Waiting;  // taken from Inbox, not shown yet
    static constexpr size_t kShownPerTurn = 500;
    QTimer* ShowRestTimer = nullptr;  // shows the next slice of Waiting
    std::unique_ptr<journal::Listener> Server;
    // Listeners of closed runs that still finish reading their connections;
    // what they read is still shown.
    std::vector<std::unique_ptr<journal::Listener>> Draining;

    QTabWidget* PageControl = nullptr;
    QWidget* TabSheetMessages = nullptr;
    QWidget* TabSheetResults = nullptr;
    QPlainTextEdit* Messages = nullptr;
    QTableWidget* ResultGrid = nullptr;
    TClassPage* TabSheetClass = nullptr;
    TMenus MenuItems;
};

}  // namespace quilmo
