#pragma once
// The task-type dialog: one of the three types, confirmed with "OK".

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

namespace quilmo {

class TSelectTypeTaskForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectTypeTaskForm(QWidget* parent = nullptr);

    // 0 to 2: the task type minus 1.
    int ItemIndex() const;
    void SetItemIndex(int index);

    QPushButton* OkButton() const { return ButtonOK; }

private:
    std::array<QRadioButton*, 3> Items{};
    QPushButton* ButtonOK = nullptr;
};

}  // namespace quilmo
