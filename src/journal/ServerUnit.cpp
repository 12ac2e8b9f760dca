#include "journal/ServerUnit.h"

#include <algorithm>

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "app/QtFormParts.h"
#include "app/QtMenus.h"
#include "journal/Diagram1Unit.h"
#include "journal/Exports.h"
#include "journal/ItemStatisticsUnit.h"
#include "journal/JournalTexts.h"
#include "journal/ResultLogImport.h"
#include "journal/QtClassPage.h"

namespace quilmo {

namespace {

const QString kCaptionAttention = QStringLiteral("Внимание!");
constexpr int kRowHeight = 18;

// Text at (x, top + 2), clipped to the cell.
void DrawCellText(QPainter* painter, const QRect& cell, int x, const QString& text)
{
    const QFontMetrics metrics(painter->font());
    painter->save();
    painter->setClipRect(cell);
    painter->drawText(QPoint(x, cell.top() + 2 + metrics.ascent()), text);
    painter->restore();
}

int TextX(const QRect& cell, bool centred, const QFontMetrics& metrics, const QString& text)
{
    return centred ? journal::CentredTextX(cell.left(), cell.left() + cell.width(),
                                           metrics.horizontalAdvance(text))
                   : cell.left() + 2;
}

// The header row: the header colour and the text centred.
class TGridHeader : public QHeaderView {
public:
    explicit TGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        const QString text = model()->headerData(logicalIndex, Qt::Horizontal).toString();
        painter->setPen(palette().color(QPalette::ButtonText));
        DrawCellText(painter, rect, TextX(rect, true, fontMetrics(), text), text);
    }
};

// Data cells: pale cream unless selected, and each column's alignment.
class TResultCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, selected ? option.palette.highlight() : QBrush(QColor(255, 251, 240)));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        DrawCellText(painter, option.rect,
                     TextX(option.rect, journal::ColumnCentred(index.column()),
                           QFontMetrics(option.font), text),
                     text);
    }
};

}  // namespace

TServerForm::TServerForm(AppServices& services, QWidget* parent)
    : QMainWindow(parent), Services(services), Prompter(services.prompts)
{
    setObjectName(QStringLiteral("ServerForm"));
    setWindowTitle(QStringLiteral("Журнал (Сервер)"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    BuildLayout();
    BuildMenus();
    ShowRestTimer = new QTimer(this);
    ShowRestTimer->setSingleShot(true);
    ShowRestTimer->setInterval(0);
    connect(ShowRestTimer, &QTimer::timeout, this, &TServerForm::TakeReceived);
    resize(609, 468 + menuBar()->sizeHint().height());

    // FormCreate: an empty list, the header texts, nothing unsaved.
    ResultList.clear();
    ShownKeys.clear();
    Unsaved = false;
}

TServerForm::~TServerForm()
{
    // Every worker is joined here, before anything a queued call could reach
    // is destroyed; calls still queued die with this object.
    Server.reset();
    Draining.clear();
    // Stores what is still queued; its hand-overs die with this object.
    Recorder.reset();
}

void TServerForm::BuildLayout()
{
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    setCentralWidget(PageControl);

    TabSheetMessages = new QWidget(PageControl);
    TabSheetMessages->setObjectName(QStringLiteral("TabSheetMessages"));
    Messages = new QPlainTextEdit(TabSheetMessages);
    Messages->setObjectName(QStringLiteral("Messages"));
    Messages->setReadOnly(true);
    Messages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Messages->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* messagesLayout = new QVBoxLayout(TabSheetMessages);
    messagesLayout->setContentsMargins(0, 0, 0, 0);
    messagesLayout->addWidget(Messages);

    TabSheetResults = new QWidget(PageControl);
    TabSheetResults->setObjectName(QStringLiteral("TabSheetResults"));
    ResultGrid = new QTableWidget(1, journal::kColumnCount, TabSheetResults);
    ResultGrid->setObjectName(QStringLiteral("ResultGrid"));
    auto* header = new TGridHeader(ResultGrid);
    ResultGrid->setHorizontalHeader(header);
    QStringList labels;
    for (const std::string_view text : journal::kColumnHeaders)
        labels << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    ResultGrid->setHorizontalHeaderLabels(labels);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(0);
    header->setFixedHeight(kRowHeight);
    ResultGrid->verticalHeader()->hide();
    ResultGrid->verticalHeader()->setMinimumSectionSize(1);
    ResultGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    ResultGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ResultGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ResultGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    ResultGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ResultGrid->setShowGrid(true);
    ResultGrid->setWordWrap(false);
    ResultGrid->setItemDelegate(new TResultCellDelegate(ResultGrid));
    for (int c = 0; c < journal::kColumnCount; ++c)
        ResultGrid->setColumnWidth(c, journal::kColumnWidths[static_cast<size_t>(c)]);
    auto* resultsLayout = new QVBoxLayout(TabSheetResults);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->addWidget(ResultGrid);

    PageControl->addTab(TabSheetMessages, QStringLiteral("Сообщения"));
    PageControl->addTab(TabSheetResults, QStringLiteral("Результаты"));
    TabSheetClass = new TClassPage(Services.platform, PageControl);
    PageControl->addTab(TabSheetClass, QStringLiteral("Класс"));
    PageControl->setCurrentWidget(TabSheetResults);
}

void TServerForm::BuildMenus()
{
    TMenus& m = MenuItems;
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const char* caption, void (TServerForm::*handler)()) {
        return AddMenuItem(this, menu, name, caption, handler);
    };

    m.MFile = AddMenu(bar, "MFile", "Файл");
    connect(m.MFile, &QMenu::aboutToShow, this, &TServerForm::MFileClick);
    m.MFaleSaveAs = item(m.MFile, "MFaleSaveAs", "Сохранить как...", &TServerForm::MFaleSaveAsClick);
    m.MFImportResults = item(m.MFile, "MFImportResults", "Импорт result.txt...", &TServerForm::MFImportResultsClick);

    m.MView = AddMenu(bar, "MView", "Вид");
    m.MOptimizeWidthColGrid = item(m.MView, "MOptimizeWidthColGrid", "Подобрать ширину столбцов",
                                   &TServerForm::MOptimizeWidthColGridClick);
    m.MDelete = item(m.MView, "MDelete", "Удалить строку", &TServerForm::MDeleteClick);

    m.MAnalysis = AddMenu(bar, "MAnalysis", "Анализ");
    m.MAD1 = item(m.MAnalysis, "MAD1", "Диаграмма 1", &TServerForm::MAD1Click);
    m.MAD2 = item(m.MAnalysis, "MAD2", "Диаграмма N", &TServerForm::MAD2Click);
    m.MAD3 = item(m.MAnalysis, "MAD3", "Диаграмма %", &TServerForm::MAD3Click);
    m.MAItemStats = item(m.MAnalysis, "MAItemStats", "Статистика заданий", &TServerForm::MAItemStatsClick);

    m.PopupMenuGrid = new QMenu(this);
    m.PopupMenuGrid->setObjectName(QStringLiteral("PopupMenuGrid"));
    m.PMOptimizeWidthColGrid = item(m.PopupMenuGrid, "PMOptimizeWidthColGrid", "Подобрать ширину столбцов",
                                    &TServerForm::MOptimizeWidthColGridClick);
    m.PMDelete = item(m.PopupMenuGrid, "PMDelete", "Удалить строку", &TServerForm::MDeleteClick);
    m.PMAD1 = item(m.PopupMenuGrid, "PMAD1", "Диаграмма 1", &TServerForm::MAD1Click);
    m.PMAD2 = item(m.PopupMenuGrid, "PMAD2", "Диаграмма N", &TServerForm::MAD2Click);
    m.PMItemStats = item(m.PopupMenuGrid, "PMItemStats", "Статистика заданий", &TServerForm::MAItemStatsClick);
    ResultGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ResultGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        MenuItems.PopupMenuGrid->popup(ResultGrid->viewport()->mapToGlobal(at));
    });
}

// ---------------------------------------------------------------- lifecycle

uint16_t TServerForm::BoundPort() const
{
    return Server ? Server->BoundPort() : 0;
}

journal::JournalStore* TServerForm::Store()
{
    if (!StoreOpenTried) {
        StoreOpenTried = true;
        auto opened = journal::JournalStore::Open(Services.ProgramDir + journal::kStoreFileName);
        if (opened)
            JournalStoreFile = std::move(*opened);
        else
            StoreUnavailable = opened.error().Message;
        // The recorder's thread hands each stored event over and touches
        // nothing else.
        Recorder = std::make_unique<journal::JournalRecorder>(
            JournalStoreFile.get(),
            [this](journal::StoredEvent&& stored) {
                if (Inbox.Put(std::move(stored)))
                    QMetaObject::invokeMethod(this, &TServerForm::TakeReceived, Qt::QueuedConnection);
            },
            StoreUnavailable);
    }
    return JournalStoreFile.get();
}

void TServerForm::BeginJournalSession()
{
    if (Session)
        return;
    journal::JournalStore* store = Store();
    if (!store) {
        LogStoreError(StoreUnavailable);
        return;
    }
    auto session = store->BeginSession(Services.platform.Now(), Run ? std::optional<int64_t>(Run) : std::nullopt);
    if (!session) {
        LogStoreError(session.error().Message);
        return;
    }
    Session = *session;
    Run = session->Run;
    Recorder->SetSession(session->Id, Run);
    if (!RestoreOffered) {
        RestoreOffered = true;
        OfferRestore();
    }
}

void TServerForm::EndJournalSession()
{
    if (!Session)
        return;
    if (auto s = JournalStoreFile->EndSession(Session->Id, Services.platform.Now()); !s)
        LogStoreError(s.error().Message);
    Session.reset();
}

void TServerForm::OfferRestore()
{
    auto offer = JournalStoreFile->PendingRestore(Run);
    if (!offer) {
        LogStoreError(offer.error().Message);
        return;
    }
    if (!*offer)
        return;
    std::vector<int64_t> ids;
    for (const journal::StoredResult& r : (*offer)->Results)
        ids.push_back(r.Id);
    const bool restore =
        Prompter.Ask(this, kCaptionAttention, Q(journal::RestoreQuestion(ids.size(), (*offer)->Started)));
    // Restored, they are this run's to export; declined, they stay in the store only.
    if (auto s = JournalStoreFile->SetShownIn(ids, restore ? std::optional<int64_t>(Run) : std::nullopt); !s)
        LogStoreError(s.error().Message);
    if (!restore)
        return;
    const int firstNew = static_cast<int>(ResultList.size());
    for (journal::StoredResult& r : (*offer)->Results)
        AppendResult(std::move(r.Result), r.Id, false);
    AddResultRows(firstNew, static_cast<int>(ResultList.size()));
    if (!ResultList.empty())
        Unsaved = true;
}

void TServerForm::LogStoreError(const std::string& reason)
{
    if (reason == LastStoreError)
        return;
    LastStoreError = reason;
    AppendLog(journal::StoreErrorLogLine(Services.platform.Now(), reason));
}

bool TServerForm::Listening() const
{
    return Server && Server->Active();
}

void TServerForm::FormShow()
{
    if (Shown)
        return;
    Shown = true;
    // Before listening, so that restored results keep their place before new ones.
    BeginJournalSession();
    // Runs closed earlier that have read everything are let go.
    std::erase_if(Draining, [](const auto& listener) { return listener->Finished(); });
    journal::ListenerOptions options;
    options.Address = "0.0.0.0";
    options.Port = Port;
    Platform& platform = Services.platform;
    options.Now = [&platform] { return platform.Now(); };
    Store();
    journal::JournalRecorder* recorder = Recorder.get();
    // On a worker thread: the record goes to the store; its connection
    // closes once it is stored.
    Server = std::make_unique<journal::Listener>(
        options, [recorder](journal::ReceivedEvent&& event, journal::ConnectionHold&& hold) {
            recorder->Record(std::move(event), std::move(hold));
        });
    const Status started = Server->Start();
    if (!started) {
        // Said plainly, so that the teacher does not wait for results that
        // cannot come; the window stays open.
        Server.reset();
        AppendLog(journal::NotStartedLogLine(platform.Now(), Port, started.error().Message));
        ShowError(journal::NotStartedText(Port, started.error().Message));
        return;
    }
    AppendLog(journal::StartLogLine(platform.Now(), platform.ComputerName(), platform.LocalIPv4()));
}

bool TServerForm::FormCloseQuery()
{
    return Prompter.Ask(this, kCaptionAttention,
                        QStringLiteral("При закрытии окна \"журнала\" сообщения о результатах "
                                       "тестирования получатся не будут.\r\nЗакрыть окно?"));
}

void TServerForm::FormClose()
{
    if (!Shown)
        return;
    Shown = false;
    EndJournalSession();
    if (!Server)
        return;  // it never listened: nothing to stop
    // No new connection from now on; those already made are still read, for
    // a few seconds, and their results still arrive here.
    Server->StopAccepting();
    Draining.push_back(std::move(Server));
    AppendLog(journal::StopLogLine(Services.platform.Now()));
}

void TServerForm::CloseWithProgram()
{
    ClosingWithProgram = true;
    Server.reset();
    Draining.clear();
    EndJournalSession();
}

void TServerForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TServerForm::closeEvent(QCloseEvent* event)
{
    if (!ClosingWithProgram && Listening() && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

// ---------------------------------------------------------------- received messages

void TServerForm::TakeReceived()
{
    for (journal::StoredEvent& event : Inbox.Take())
        Waiting.push_back(std::move(event));
    // A backlog is shown a slice per turn of the event loop, so that clicks
    // and repaints wait for one slice at most, never for the whole backlog.
    std::vector<journal::StoredEvent> slice;
    while (!Waiting.empty() && slice.size() < kShownPerTurn) {
        slice.push_back(std::move(Waiting.front()));
        Waiting.pop_front();
    }
    // The rest on a timer of its own, not by a posted call: posted calls all
    // run before this thread's timers and input get their turn.
    if (!Waiting.empty())
        ShowRestTimer->start();
    ReceiveStored(std::move(slice));
}

void TServerForm::ReceiveEvent(journal::ReceivedEvent event)
{
    std::vector<journal::ReceivedEvent> events;
    events.push_back(std::move(event));
    ReceiveEvents(std::move(events));
}

void TServerForm::ReceiveEvents(std::vector<journal::ReceivedEvent> events)
{
    // Handed over directly, not by the listener (even with the window
    // closed): stored in a session all the same, before they are shown.
    BeginJournalSession();
    std::vector<journal::StoredEvent> stored;
    for (journal::ReceivedEvent& event : events)
        stored.push_back(Recorder->RecordNow(std::move(event)));
    ReceiveStored(std::move(stored));
}

bool TServerForm::AppendResult(journal::TTestResult result, int64_t storeId, bool storeHadIt)
{
    if (!ShownKeys.insert(journal::ResultKey(result)).second)
        return false;
    // A result the store kept from an earlier run is shown again: it is this
    // run's to export now.
    if (storeHadIt && JournalStoreFile)
        if (auto s = JournalStoreFile->SetShownIn({storeId}, Run); !s)
            LogStoreError(s.error().Message);
    ResultList.push_back(std::move(result));
    StoreIds.push_back(storeId);
    return true;
}

void TServerForm::ReceiveStored(std::vector<journal::StoredEvent> batch)
{
    if (batch.empty())
        return;
    using Kind = journal::ReceivedEvent::Kind;
    const int firstNew = static_cast<int>(ResultList.size());
    std::string log;
    int malformed = 0;
    auto logLine = [&log](const std::string& line) {
        if (!log.empty())
            log += '\n';
        log += line;
    };
    {
        // The whole batch is in the list, the table and the log before
        // anything is painted or any box can run another turn of the loop.
        PaintFreeze freeze(this);
        TabSheetClass->BeginUpdate();
        for (journal::StoredEvent& stored : batch) {
            if (!stored.Stored)
                LogStoreError(stored.StoreError);
            else
                LastStoreError.clear();
            journal::ReceivedEvent& event = stored.Event;
            switch (event.kind) {
            case Kind::Result: {
                logLine(journal::ResultLogLine(event.Result));
                // The learner's row on the class page closes, whether or not
                // the result was here already.
                TabSheetClass->ResultArrived(event.Result);
                // A result that came twice (by the network and from a log) is shown once.
                if (AppendResult(std::move(event.Result), stored.Receipt.Id,
                                 stored.Stored && !stored.Receipt.Added))
                    Unsaved = true;
                break;
            }
            case Kind::Message:
                logLine(journal::MessageLogLine(event.Time, event.CompName, event.PeerAddress,
                                                event.UserName, event.Text));
                if (event.Text == journal::kTestStarted)
                    TabSheetClass->TestStarted(event.CompName, event.PeerAddress, event.UserName, event.Time);
                break;
            case Kind::Malformed:
                logLine(journal::RejectedLogLine(event.Time, event.CompName, event.PeerAddress, event.Reason));
                ++malformed;
                break;
            }
        }
        TabSheetClass->EndUpdate();
        AddResultRows(firstNew, static_cast<int>(ResultList.size()));
        AppendLog(log);
    }
    if (malformed > 0)
        ShowMalformed(malformed);
}

void TServerForm::ShowMalformed(int count)
{
    // A peer that sends many bad results gets one box at a time, not a stack
    // of them; the next box says how many came meanwhile.
    if (ShowingError) {
        ErrorsWhileShowing += count;
        return;
    }
    ShowingError = true;
    ErrorsWhileShowing = count - 1;
    int more = 0;
    do {
        Prompter.Notice(this, Q(journal::MalformedResultText(more)));
        more = ErrorsWhileShowing;
        ErrorsWhileShowing = 0;
    } while (more > 0);
    ShowingError = false;
}

void TServerForm::AppendLog(const std::string& lines)
{
    Messages->appendPlainText(Q(lines));
}

// ---------------------------------------------------------------- the table

void TServerForm::AddResultRow(int index)
{
    AddResultRows(index, index + 1);
}

void TServerForm::AddResultRows(int first, int end)
{
    first = std::max(first, 0);
    end = std::min(end, static_cast<int>(ResultList.size()));
    if (first >= end)
        return;
    if (ResultGrid->rowCount() < end)
        ResultGrid->setRowCount(end);
    for (int index = first; index < end; ++index) {
        const journal::RowTexts texts = journal::ResultRowTexts(ResultList[static_cast<size_t>(index)]);
        for (int c = 0; c < journal::kColumnCount; ++c) {
            auto* cell = new QTableWidgetItem(Q(texts[static_cast<size_t>(c)]));
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            ResultGrid->setItem(index, c, cell);
        }
    }
}

int TServerForm::GridRowCount() const
{
    return ResultGrid->rowCount() + 1;
}

QString TServerForm::Cell(int column, int row) const
{
    if (row == 0)
        return ResultGrid->model()->headerData(column, Qt::Horizontal).toString();
    const QTableWidgetItem* cell = ResultGrid->item(row - 1, column);
    return cell ? cell->text() : QString();
}

void TServerForm::SelectRow(int row)
{
    if (row <= 0)
        ResultGrid->setCurrentCell(-1, -1);
    else
        ResultGrid->setCurrentCell(row - 1, 0);
}

int TServerForm::ColumnWidth(int column) const
{
    return ResultGrid->columnWidth(column);
}

int TServerForm::SelectedIndex() const
{
    const int index = ResultGrid->currentRow();
    return index >= 0 && index < static_cast<int>(ResultList.size()) ? index : -1;
}

void TServerForm::MFileClick()
{
    MenuItems.MFaleSaveAs->setEnabled(PageControl->currentWidget() == TabSheetResults);
}

void TServerForm::MFaleSaveAsClick()
{
    if (PageControl->currentWidget() != TabSheetResults)
        return;
    SaveDialogFileName = Q(journal::ExportFileName(Services.platform.Now()));
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить как");
    spec.Filter = QStringLiteral("Текстовый файл (с разделителями табуляции) (*.TXT)|*.TXT|"
                                 "Книга Excel (*.XLSX)|*.XLSX");
    spec.DefaultExtension = QStringLiteral("TXT");
    spec.FileName = SaveDialogFileName;
    spec.OverwritePrompt = true;
    const auto chosen = Prompter.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;

    const std::string path = S(chosen->Path);
    if (chosen->FilterIndex == 2) {
        // A workbook that was not written must not pass for saved.
        const Status saved = journal::SaveAsExcelFile(ResultList, path, Services.platform.Now());
        if (!saved) {
            ShowError(saved.error().Message);
            return;
        }
        Prompter.Message(this, kCaptionAttention, QStringLiteral("Сохранение в Excel выполнено успешно!"),
                         PromptIcon::Information, PromptButtons::Ok);
    } else {
        const Status saved = journal::SaveAsTextFile(GridTexts(), path);
        if (!saved) {
            ShowError(saved.error().Message);
            return;
        }
    }
    SaveDialogFileName.clear();
    Unsaved = false;
    if (JournalStoreFile) {
        std::vector<int64_t> exported;
        for (const int64_t id : StoreIds)
            if (id != 0)
                exported.push_back(id);
        if (auto s = JournalStoreFile->MarkExported(exported); !s)
            LogStoreError(s.error().Message);
    }
}

void TServerForm::MFImportResultsClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Импорт result.txt");
    spec.Filter = QStringLiteral("Журнал результатов (result.txt)|*.txt|Все файлы|*");
    spec.DefaultExtension = QStringLiteral("txt");
    spec.MultipleFiles = true;
    const auto chosen = Prompter.OpenFile(this, spec);
    if (!chosen || chosen->Paths.isEmpty())
        return;

    journal::ImportCounts counts;
    std::vector<journal::TTestResult> found;
    for (const QString& path : chosen->Paths) {
        auto contents = journal::ReadResultLogFile(S(path));
        if (!contents) {
            ShowError(contents.error().Message);
            continue;
        }
        counts.Unreadable += contents->Unreadable;
        for (journal::TTestResult& r : contents->Results)
            found.push_back(std::move(r));
    }
    // Only what the table does not show yet, and each result once.
    std::vector<journal::TTestResult> fresh;
    std::unordered_set<std::string> freshKeys;
    for (journal::TTestResult& r : found) {
        const std::string key = journal::ResultKey(r);
        if (ShownKeys.count(key) || !freshKeys.insert(key).second)
            ++counts.Already;
        else
            fresh.push_back(std::move(r));
    }
    // Stored before shown, as what arrives by the network is.
    std::vector<journal::StoreReceipt> receipts(fresh.size());
    BeginJournalSession();
    if (Session) {
        auto stored = JournalStoreFile->AddResults(Session->Id, fresh, journal::ResultSource::Import, Run);
        if (stored)
            receipts = std::move(*stored);
        else
            LogStoreError(stored.error().Message);
    }
    const int firstNew = static_cast<int>(ResultList.size());
    for (size_t i = 0; i < fresh.size(); ++i)
        if (AppendResult(std::move(fresh[i]), receipts[i].Id, receipts[i].Id != 0 && !receipts[i].Added))
            ++counts.Added;
    AddResultRows(firstNew, static_cast<int>(ResultList.size()));
    if (counts.Added > 0)
        Unsaved = true;
    QStringList summary;
    for (const std::string& line : journal::ImportSummaryLines(counts))
        summary << Q(line);
    Prompter.Message(this, kCaptionAttention, summary.join(QStringLiteral("\r\n")), PromptIcon::Information,
                     PromptButtons::Ok);
}

void TServerForm::ShowError(const std::string& text)
{
    Prompter.Message(this, QString::fromUtf8(kAppTitle), Q(text), PromptIcon::Error, PromptButtons::Ok);
}

std::vector<journal::RowTexts> TServerForm::GridTexts() const
{
    std::vector<journal::RowTexts> rows(static_cast<size_t>(GridRowCount()));
    for (int r = 0; r < GridRowCount(); ++r)
        for (int c = 0; c < journal::kColumnCount; ++c)
            rows[static_cast<size_t>(r)][static_cast<size_t>(c)] = S(Cell(c, r));
    return rows;
}

void TServerForm::MOptimizeWidthColGridClick()
{
    const QFontMetrics metrics(ResultGrid->font());
    for (int c = 0; c < journal::kColumnCount; ++c) {
        int widest = 0;
        for (int r = 0; r < GridRowCount(); ++r)
            widest = std::max(widest, metrics.horizontalAdvance(Cell(c, r)));
        ResultGrid->setColumnWidth(c, widest + 10);
    }
}

void TServerForm::MDeleteClick()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    if (JournalStoreFile && StoreIds[static_cast<size_t>(index)] != 0)
        if (auto s = JournalStoreFile->MarkRemoved(StoreIds[static_cast<size_t>(index)]); !s)
            LogStoreError(s.error().Message);
    ShownKeys.erase(journal::ResultKey(ResultList[static_cast<size_t>(index)]));
    ResultList.erase(ResultList.begin() + index);
    StoreIds.erase(StoreIds.begin() + index);
    // The table keeps its header and at least one data row, empty when the
    // list is.
    if (ResultGrid->rowCount() > 1) {
        ResultGrid->removeRow(index);
    } else {
        for (int c = 0; c < journal::kColumnCount; ++c)
            delete ResultGrid->takeItem(index, c);
    }
    if (ResultList.empty())
        Unsaved = false;
}

void TServerForm::ShowChart(const std::optional<journal::ChartData>& chart)
{
    if (!chart)
        return;
    TDiagram1Form form(Services, this);
    form.Values = chart->Values;
    form.MaxValue = chart->MaxValue;
    form.LabelMode = chart->LabelMode;
    form.SetTitle(Q(chart->Title));
    Prompter.ShowModal(form);
}

void TServerForm::MAD1Click()
{
    ShowChart(journal::AnalysisOne(ResultList, SelectedIndex()));
}

void TServerForm::MAD2Click()
{
    ShowChart(journal::AnalysisGroup(ResultList, SelectedIndex()));
}

void TServerForm::MAD3Click()
{
    ShowChart(journal::AnalysisPercent(ResultList));
}

void TServerForm::MAItemStatsClick()
{
    const journal::ResultGroup group = journal::GroupOf(ResultList, SelectedIndex());
    if (group.empty())
        return;
    TItemStatisticsForm form(Services, journal::ComputeItemStatistics(ResultList, group), this);
    Prompter.ShowModal(form);
}

}  // namespace quilmo
