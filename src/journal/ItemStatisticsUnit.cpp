#include "journal/ItemStatisticsUnit.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QAbstractTableModel>
#include <QTableView>
#include <QVBoxLayout>
#include <climits>

#include "app/QtConvert.h"
#include "journal/JournalTexts.h"
#include "journal/QtBarChart.h"

namespace quilmo {

namespace {

constexpr int kRowHeight = 18;
constexpr int kRemarkColumn = 6;

// The task table, one row per task, its texts made as the view asks for
// them: a test of very many tasks costs no widget per cell.
class TItemTableModel : public QAbstractTableModel {
public:
    TItemTableModel(const journal::ItemStatistics& stats, QObject* parent)
        : QAbstractTableModel(parent), Stats(stats)
    {
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(std::min<size_t>(Stats.Tasks.size(), INT_MAX));
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(journal::kItemColumnCount);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::TextAlignmentRole)
            return static_cast<int>(index.column() == kRemarkColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                                    : Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return {};
        const auto row = journal::ItemRowTextsOf(Stats, static_cast<size_t>(index.row()));
        return Q(row[static_cast<size_t>(index.column())]);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= static_cast<int>(journal::kItemColumnCount))
            return {};
        return Q(journal::kItemColumnHeaders[static_cast<size_t>(section)]);
    }

private:
    const journal::ItemStatistics& Stats;
};

}  // namespace

TItemStatisticsForm::TItemStatisticsForm(AppServices& services, journal::ItemStatistics stats,
                                         QWidget* parent)
    : QDialog(parent), Services(services), Stats(std::move(stats)), MarkChart(journal::MarksChart(Stats))
{
    setObjectName(QStringLiteral("ItemStatisticsForm"));
    setWindowTitle(QStringLiteral("Статистика заданий"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);

    auto* heading = new QLabel(this);
    heading->setObjectName(QStringLiteral("LabelTest"));
    heading->setText(Q("Тест: \"" + Stats.TestTitle + "\"   Файл: " + Stats.TestFile + "   CRC: " +
                       journal::CrcText(Stats.FileCrc)));
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ItemGrid = new QTableView(this);
    ItemGrid->setObjectName(QStringLiteral("ItemGrid"));
    ItemGrid->setModel(new TItemTableModel(Stats, ItemGrid));
    ItemGrid->verticalHeader()->hide();
    ItemGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    ItemGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ItemGrid->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    ItemGrid->horizontalHeader()->setHighlightSections(false);
    ItemGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ItemGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ItemGrid->setWordWrap(false);
    ItemGrid->resizeColumnsToContents();
    ItemGrid->horizontalHeader()->setStretchLastSection(true);

    auto* summaryBox = new QGroupBox(QStringLiteral("Итоги"), this);
    summaryBox->setObjectName(QStringLiteral("GroupSummary"));
    auto* summaryLayout = new QGridLayout(summaryBox);
    int line = 0;
    for (const auto& [label, value] : journal::SummaryTexts(Stats.Summary)) {
        auto* name = new QLabel(Q(label + ":"), summaryBox);
        auto* figure = new QLabel(Q(value), summaryBox);
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        summaryLayout->addWidget(name, line, 0);
        summaryLayout->addWidget(figure, line, 1);
        SummaryLabels.emplace_back(name, figure);
        ++line;
    }
    summaryLayout->setRowStretch(line, 1);

    auto* chartBox = new QGroupBox(Q(MarkChart.Title), this);
    chartBox->setObjectName(QStringLiteral("GroupMarks"));
    auto* chart = new TBarChartBox(
        [this](QPainter& painter, int width, int height) {
            PaintBarChart(painter, width, height, MarkChart.Values, MarkChart.MaxValue, MarkChart.LabelMode);
        },
        chartBox);
    chart->setMinimumSize(260, 150);
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->addWidget(chart);

    auto* lower = new QHBoxLayout;
    lower->addWidget(summaryBox);
    lower->addWidget(chartBox, 1);

    auto* copy = new QPushButton(QStringLiteral("Копировать"), this);
    copy->setObjectName(QStringLiteral("ButtonCopy"));
    connect(copy, &QPushButton::clicked, this, &TItemStatisticsForm::ButtonCopyClick);
    auto* saveAs = new QPushButton(QStringLiteral("Сохранить как..."), this);
    saveAs->setObjectName(QStringLiteral("ButtonSaveAs"));
    connect(saveAs, &QPushButton::clicked, this, &TItemStatisticsForm::ButtonSaveAsClick);
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setObjectName(QStringLiteral("ButtonClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(saveAs);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(ItemGrid, 1);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    resize(720, 560);
}

QString TItemStatisticsForm::SummaryValue(const QString& label) const
{
    for (const auto& [name, figure] : SummaryLabels)
        if (name->text() == label + ':')
            return figure->text();
    return {};
}

QString TItemStatisticsForm::Cell(int column, int row) const
{
    const QAbstractItemModel* model = ItemGrid->model();
    if (row == 0)
        return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return model->data(model->index(row - 1, column), Qt::DisplayRole).toString();
}

int TItemStatisticsForm::RowCount() const
{
    return ItemGrid->model()->rowCount() + 1;
}

void TItemStatisticsForm::ButtonCopyClick()
{
    QGuiApplication::clipboard()->setText(Q(journal::ItemTableText(Stats)));
}

void TItemStatisticsForm::ButtonSaveAsClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить как");
    spec.Filter = QStringLiteral("Текстовый файл (с разделителями табуляции) (*.TXT)|*.TXT");
    spec.DefaultExtension = QStringLiteral("TXT");
    spec.OverwritePrompt = true;
    const auto chosen = Services.prompts.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    const Status saved = journal::SaveItemTable(Stats, S(chosen->Path));
    if (!saved)
        Services.prompts.Message(this, QString::fromUtf8(kAppTitle), Q(saved.error().Message),
                                 PromptIcon::Error, PromptButtons::Ok);
}

}  // namespace quilmo
