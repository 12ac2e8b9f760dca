#pragma once
// The result window: the counts, the share, the mark and a small pie chart.

#include <QDialog>

#include "model/TestResult.h"

class QLabel;
class QPainter;
class QPushButton;

namespace quilmo {

class TShowResultForm : public QDialog {
    Q_OBJECT
public:
    explicit TShowResultForm(QWidget* parent = nullptr);

    // Sets the contents; with totalCount below 1 they stay as they were.
    void Fill(const TTestResult& result);

    // Draws the chart of the current counts into a 100 x 100 box.
    void PaintBoxPaint(QPainter& painter) const;

private:
    QLabel* CountTaskLabel;
    QLabel* CountAskTaskLabel;
    QLabel* CountCorrectTaskLabel;
    QLabel* ResultLabel;
    QLabel* MarkLabel;
    QWidget* PaintBox;
    QPushButton* OKButton;

    int32_t TotalCount = 0;
    int32_t AskedCount = 0;
    int32_t RightCount = 0;
};

}  // namespace quilmo
