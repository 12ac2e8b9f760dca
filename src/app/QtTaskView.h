#pragma once
// The task view: a task's question, its picture and its five variant rows with
// the mark column of its type. The runner shows it read-only, for answering;
// the editor edits the task in it.

#include <QSplitter>
#include <array>
#include <string>

#include "model/TestModel.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace quilmo {

class TPictureBox;

enum class TaskViewMode {
    ReadOnly,  // the runner: caption strips above both areas, texts read-only
    Editable,  // the editor: a fixed list of places in every number box
};

// A vertical splitter of the question area and the variants area.
class TTaskView : public QSplitter {
    Q_OBJECT
public:
    TTaskView(TaskViewMode mode, QWidget* parent);

    TaskViewMode Mode() const { return ViewMode; }

    // The controls, named as both windows name them. The caption strips
    // exist in the read-only view only.
    QLabel* QuestionLabel = nullptr;
    QLabel* VariantLabel = nullptr;
    QPlainTextEdit* QuestionText = nullptr;
    TPictureBox* QuestionImage = nullptr;
    QButtonGroup* RadioGroup = nullptr;
    std::array<QPlainTextEdit*, 5> VariantText{};
    std::array<QRadioButton*, 5> RadioButtonVariant{};
    std::array<QCheckBox*, 5> CheckBoxVariant{};
    std::array<QComboBox*, 5> ComboBoxVariant{};
    std::array<QWidget*, 3> MarkColumns{};  // in type order

    // Only the mark column of `type` (1 to 3) is visible; it is enabled as given,
    // the other two disabled.
    void ShowMarkColumn(int type, bool enabled);
    // Every mark off and every mark control disabled; a number box of the
    // read-only view loses its list, one of the editable view shows its empty item.
    void ClearMarks();
    // The runner's empty view: no texts, no marks, only the column of type shown.
    void Clear(int type);

    // The task to be answered: the question and its prompt as the tooltip, the
    // variants in `order` (row -> variant index) on the first rows, the mark
    // controls of its type enabled on those rows, nothing marked.
    void ShowForAnswer(const TTask& task, const TIntDynArray& order);
    // The task to be edited: the question, the five variants, its key marked,
    // every mark control of its type enabled.
    void ShowForEditing(const TTask& task);

    // The mark of row `row` for type: 1 or 0 for a choice, the place (0 for none).
    int32_t Mark(int type, int row) const;

    // Loads the picture into the picture box, or hides the box; the message
    // to show when the file is missing or does not load, empty otherwise.
    QString ShowPicture(const std::string& path);

    void SetTextFont(const QFont& font);
    void SetTextColor(const QColor& colour);
    void SetRowBackground(int row, const QColor& colour);

signals:
    // Editable view: any change of a text or a mark.
    void Edited();

private:
    QWidget* BuildQuestionArea(QWidget* parent);
    QWidget* BuildVariantsArea(QWidget* parent);

    TaskViewMode ViewMode;
};

}  // namespace quilmo
