#pragma once
// The journal's "Класс" page: the class roster as a table, its open rows'
// elapsed times updated each second while the page is on screen.

#include <QWidget>

#include "app/Platform.h"
#include "journal/ClassRoster.h"

class QTableWidget;
class QTimer;

namespace quilmo {

class TClassPage : public QWidget {
public:
    TClassPage(Platform& platform, QWidget* parent);

    // A learner started a test ("Начат тест" from that workstation).
    void TestStarted(const std::string& compName, const std::string& address, const std::string& userName,
                     const TDateTime& at);
    void ResultArrived(const journal::TTestResult& result);
    // Between these two, rows are only noted; the end writes each noted row
    // once, so a batch of arrivals costs one pass over the rows it touched.
    void BeginUpdate();
    void EndUpdate();
    // The one-second tick: the open rows' states.
    void TimerClassTimer();

    int RowCount() const;  // header included
    QString Cell(int column, int row) const;  // row 0: the header
    const journal::ClassRoster& Roster() const { return Rows; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void WriteRow(size_t index);
    void WriteCells(size_t index);

    Platform& Clock;
    journal::ClassRoster Rows;
    QTableWidget* ClassGrid = nullptr;
    QTimer* TimerClass = nullptr;
    bool Deferring = false;
    std::vector<size_t> PendingRows;
};

}  // namespace quilmo
