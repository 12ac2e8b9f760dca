#include "journal/ItemStatisticsUnit.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "journal/JournalTexts.h"
#include "journal/QtBarChart.h"

namespace quilmo {

namespace {

constexpr int kRowHeight = 18;
constexpr int kRemarkColumn = 6;

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

    const auto rows = journal::ItemTableTexts(Stats);
    ItemGrid = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(journal::kItemColumnCount), this);
    ItemGrid->setObjectName(QStringLiteral("ItemGrid"));
    QStringList labels;
    for (const std::string& text : journal::kItemColumnHeaders)
        labels << Q(text);
    ItemGrid->setHorizontalHeaderLabels(labels);
    ItemGrid->verticalHeader()->hide();
    ItemGrid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    ItemGrid->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    ItemGrid->horizontalHeader()->setHighlightSections(false);
    ItemGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ItemGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ItemGrid->setWordWrap(false);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(journal::kItemColumnCount); ++c) {
            auto* cell = new QTableWidgetItem(Q(rows[static_cast<size_t>(r)][static_cast<size_t>(c)]));
            cell->setTextAlignment(c == kRemarkColumn ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            ItemGrid->setItem(r, c, cell);
        }
    }
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
    if (row == 0)
        return ItemGrid->horizontalHeaderItem(column)->text();
    const QTableWidgetItem* cell = ItemGrid->item(row - 1, column);
    return cell ? cell->text() : QString();
}

int TItemStatisticsForm::RowCount() const
{
    return ItemGrid->rowCount() + 1;
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
