#include "editor/TaskOperations.h"

#include <algorithm>

#include "model/TextUtil.h"

namespace quilmo {

std::string AddedTaskLabel(size_t tasksBefore)
{
    return "Задание №" + std::to_string(tasksBefore + 1);
}

std::string DuplicateTaskLabel(size_t sourcePosition)
{
    return "Копия №" + std::to_string(sourcePosition + 1);
}

std::string PastedTaskLabel(const std::string& question)
{
    return "Вставка: " + question;
}

std::string ImportedTaskLabel(size_t numberInImport)
{
    return "Import №" + std::to_string(numberInImport);
}

std::string SavedTaskLabel(const TTask& task, size_t position)
{
    if (task.Question.empty())
        return "Задание #" + std::to_string(position + 1);
    return task.Question;
}

std::optional<size_t> MoveDestination(TaskMove move, size_t position, size_t count)
{
    if (position >= count)
        return std::nullopt;
    const bool last = position + 1 == count;
    switch (move) {
    case TaskMove::Up:
        return position >= 1 ? std::optional<size_t>(position - 1) : std::nullopt;
    case TaskMove::First:
        return position >= 1 ? std::optional<size_t>(0) : std::nullopt;
    case TaskMove::Down:
        return !last ? std::optional<size_t>(position + 1) : std::nullopt;
    case TaskMove::Last:
        return !last ? std::optional<size_t>(count - 1) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<size_t> DropDestination(size_t from, std::optional<size_t> target, size_t count)
{
    if (from >= count || target == from)
        return std::nullopt;
    if (!target || *target >= count)
        return count - 1;
    // Taking the task out first shifts the nodes after it up by one.
    return *target > from ? *target - 1 : *target;
}

std::optional<size_t> DragScrollTarget(int y, int clientHeight, std::optional<size_t> under,
                                       size_t count)
{
    constexpr int kEdge = 20;
    if (!under || *under >= count)
        return std::nullopt;
    if (y < kEdge)
        return *under >= 1 ? std::optional<size_t>(*under - 1) : std::nullopt;
    if (y > clientHeight - kEdge)
        return *under + 1 < count ? std::optional<size_t>(*under + 1) : std::nullopt;
    return std::nullopt;
}

void ChangeTaskType(TTask& task, uint8_t newType)
{
    const uint8_t oldType = task.TaskType;
    if (oldType == newType)
        return;
    if (oldType == Ordering || newType == Ordering) {
        task.Answers.fill(0);
    } else if (oldType == MultipleChoice && newType == SingleChoice) {
        bool kept = false;
        for (int32_t& answer : task.Answers) {
            if (kept)
                answer = 0;
            else if (answer > 0)
                kept = true;
        }
    }
    task.TaskType = newType;
}

void SaveTaskEdits(TTask& task, const TTaskEdits& edits)
{
    task.Question = std::string(Trim(edits.Question));
    for (size_t v = 0; v < 5; ++v)
        task.Variants[v] = std::string(Trim(edits.Variants[v]));
    task.Answers = edits.Answers;
    task.ImageFile = std::string(Trim(edits.ImageFile));
    task.Prompt = std::string(Trim(edits.Prompt));
    task.VariantCount = 0;
    for (int32_t v = 5; v >= 1; --v)
        if (!task.Variants[v - 1].empty() || task.Answers[v - 1] > 0) {
            task.VariantCount = v;
            break;
        }
}

EditButtonsLayout LayOutEditButtons(int rowWidth, int buttonWidth)
{
    constexpr int kGap = 30;
    EditButtonsLayout layout;
    layout.SaveLeft = std::max(0, rowWidth / 2 - buttonWidth - kGap);
    layout.ResetLeft = std::min(rowWidth / 2 + kGap, rowWidth - buttonWidth);
    return layout;
}

int32_t MarkFromCombo(int itemIndex)
{
    return itemIndex >= 1 && itemIndex <= 5 ? itemIndex : 0;
}

}  // namespace quilmo
