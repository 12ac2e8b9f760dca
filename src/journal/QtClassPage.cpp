#include "journal/QtClassPage.h"

#include <algorithm>

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/QtConvert.h"

namespace quilmo {

namespace {

constexpr int kRowHeight = 18;
// Each column is as wide as its header or a typical entry, whichever is
// wider; names and titles get a fixed share.
const char* const kWidestEntries[journal::kClassColumnCount] = {
    "CLASS-PC-07", "192.168.100.100", "", "", "00:00:00", "тестируется 00:00:00", "", "100,0%",
};
constexpr int kNameWidth = 120, kTitleWidth = 100;

}  // namespace

TClassPage::TClassPage(Platform& platform, QWidget* parent) : QWidget(parent), Clock(platform)
{
    setObjectName(QStringLiteral("TabSheetClass"));
    ClassGrid = new QTableWidget(0, static_cast<int>(journal::kClassColumnCount), this);
    ClassGrid->setObjectName(QStringLiteral("ClassGrid"));
    QStringList labels;
    for (const std::string_view text : journal::kClassColumnHeaders)
        labels << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    ClassGrid->setHorizontalHeaderLabels(labels);
    ClassGrid->horizontalHeader()->setFixedHeight(kRowHeight);
    ClassGrid->horizontalHeader()->setHighlightSections(false);
    ClassGrid->verticalHeader()->hide();
    ClassGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    ClassGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ClassGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ClassGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ClassGrid->setWordWrap(false);
    const QFontMetrics metrics(ClassGrid->font());
    for (int c = 0; c < static_cast<int>(journal::kClassColumnCount); ++c)
        ClassGrid->setColumnWidth(c, std::max(metrics.horizontalAdvance(labels[c]),
                                              metrics.horizontalAdvance(QString::fromUtf8(kWidestEntries[c]))) +
                                         12);
    ClassGrid->setColumnWidth(2, kNameWidth);
    ClassGrid->setColumnWidth(3, kTitleWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ClassGrid);

    TimerClass = new QTimer(this);
    TimerClass->setObjectName(QStringLiteral("TimerClass"));
    TimerClass->setInterval(1000);
    connect(TimerClass, &QTimer::timeout, this, &TClassPage::TimerClassTimer);
}

void TClassPage::TestStarted(const std::string& compName, const std::string& address,
                             const std::string& userName, const TDateTime& at)
{
    WriteRow(Rows.Start(compName, address, userName, at));
}

void TClassPage::ResultArrived(const journal::TTestResult& result)
{
    WriteRow(Rows.Finish(result));
}

void TClassPage::BeginUpdate()
{
    Deferring = true;
}

void TClassPage::EndUpdate()
{
    Deferring = false;
    if (PendingRows.empty())
        return;
    std::sort(PendingRows.begin(), PendingRows.end());
    PendingRows.erase(std::unique(PendingRows.begin(), PendingRows.end()), PendingRows.end());
    const int rows = static_cast<int>(PendingRows.back()) + 1;
    if (ClassGrid->rowCount() < rows)
        ClassGrid->setRowCount(rows);
    for (size_t index : PendingRows)
        WriteCells(index);
    PendingRows.clear();
}

void TClassPage::WriteRow(size_t index)
{
    if (Deferring) {
        PendingRows.push_back(index);
        return;
    }
    const int row = static_cast<int>(index);
    if (ClassGrid->rowCount() < row + 1)
        ClassGrid->setRowCount(row + 1);
    WriteCells(index);
}

void TClassPage::WriteCells(size_t index)
{
    const int row = static_cast<int>(index);
    const journal::ClassRowTexts texts = journal::ClassRowTextsOf(Rows.Entries()[index], Clock.Now());
    for (int c = 0; c < static_cast<int>(journal::kClassColumnCount); ++c) {
        QTableWidgetItem* cell = ClassGrid->item(row, c);
        if (!cell) {
            cell = new QTableWidgetItem;
            cell->setTextAlignment(c == 2 || c == 3 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            ClassGrid->setItem(row, c, cell);
        }
        cell->setText(Q(texts[static_cast<size_t>(c)]));
    }
}

void TClassPage::TimerClassTimer()
{
    const TDateTime now = Clock.Now();
    const auto& entries = Rows.Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Finished)
            continue;
        if (QTableWidgetItem* cell = ClassGrid->item(static_cast<int>(i), journal::kClassStateColumn))
            cell->setText(Q(journal::ClassStateText(entries[i], now)));
    }
}

int TClassPage::RowCount() const
{
    return ClassGrid->rowCount() + 1;
}

QString TClassPage::Cell(int column, int row) const
{
    if (row == 0)
        return ClassGrid->horizontalHeaderItem(column)->text();
    const QTableWidgetItem* cell = ClassGrid->item(row - 1, column);
    return cell ? cell->text() : QString();
}

void TClassPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    TimerClassTimer();
    TimerClass->start();
}

void TClassPage::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    TimerClass->stop();
}

}  // namespace quilmo
