#pragma once
// The marks dialog: how many marks the test has and how many right answers each needs.

#include <QDialog>
#include <vector>

#include "model/TestModel.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace quilmo {

class TMarkLevelForm : public QDialog {
    Q_OBJECT
public:
    explicit TMarkLevelForm(QWidget* parent = nullptr);

    // Set before showing: the number of tasks (only displayed) and a copy of the marks.
    void SetTaskCount(int taskCount);
    void SetMarks(const TIntDynArray& marks);
    // The grading system "Применить" made.
    const TIntDynArray& Marks() const { return MarkValues; }

    // Fills the grid as the dialog opens.
    void FormShow();
    // "OK" beside the count field.
    void ButtonOKClick();
    // "Применить": takes the grid's numbers and closes the dialog with OK.
    void ButtonApplyClick();

    QSpinBox* CountField() const { return EditCount; }
    QTableWidget* Grid() const { return MarkGrid; }
    QLabel* Hint() const { return LabelHint; }
    QPushButton* ApplyButton() const { return ButtonApply; }
    QPushButton* OkButton() const { return ButtonOK; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Column 1 of the mark rows, row 1 first.
    std::vector<std::string> AnswerCells() const;
    // Makes the grid n mark rows under the header, numbered n to 1.
    void SetRows(const std::vector<std::string>& answers);
    void FitColumns();

    int TaskCountValue = 0;
    TIntDynArray MarkValues;

    QSpinBox* EditCount = nullptr;
    QPushButton* ButtonOK = nullptr;
    QLabel* LabelTaskCount = nullptr;
    QTableWidget* MarkGrid = nullptr;
    QLabel* LabelHint = nullptr;
    QPushButton* ButtonApply = nullptr;
};

}  // namespace quilmo
