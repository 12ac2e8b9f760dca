#pragma once
// The item statistics window: per task of one test how often it was asked and
// answered right, how well it separates, its mean time and a remark; the
// group's summary; a chart of the marks. The table can be copied and saved.

#include <QDialog>
#include <vector>

#include "app/AppServices.h"
#include "journal/ItemStatistics.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace quilmo {

class TItemStatisticsForm : public QDialog {
    Q_OBJECT
public:
    TItemStatisticsForm(AppServices& services, journal::ItemStatistics stats, QWidget* parent = nullptr);

    const journal::ItemStatistics& Statistics() const { return Stats; }
    // The chart's data: one bar per mark.
    const journal::ChartData& Chart() const { return MarkChart; }
    // The text shown beside a summary label ("Результатов", ...); empty when unknown.
    QString SummaryValue(const QString& label) const;
    QString Cell(int column, int row) const;  // row 0: the header
    int RowCount() const;                     // header included

    void ButtonCopyClick();
    void ButtonSaveAsClick();

private:
    AppServices& Services;
    journal::ItemStatistics Stats;
    journal::ChartData MarkChart;
    QTableWidget* ItemGrid = nullptr;
    std::vector<std::pair<QLabel*, QLabel*>> SummaryLabels;
};

}  // namespace quilmo
