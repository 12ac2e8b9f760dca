#pragma once
// What the editor does to tasks and to the order of its list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/TestModel.h"

namespace quilmo {

// Node labels, by how the node came into being.
std::string AddedTaskLabel(size_t tasksBefore);         // "Задание №n"
std::string DuplicateTaskLabel(size_t sourcePosition);  // "Копия №n"
std::string PastedTaskLabel(const std::string& question);
std::string ImportedTaskLabel(size_t numberInImport);   // "Import №n", from 1
// After "Сохранить изменения": the question, or "Задание #n" when it is empty.
std::string SavedTaskLabel(const TTask& task, size_t position);

// The three type names, in type order.
inline constexpr const char* kTaskTypeNames[3] = {"Одиночный выбор", "Множественный выбор",
                                                  "Указание порядка"};

enum class TaskMove { Up, Down, First, Last };

// Where the task at position goes in a list of count tasks; nullopt when it
// stays where it is (the first moved up, the last moved down).
std::optional<size_t> MoveDestination(TaskMove move, size_t position, size_t count);

// A task dragged from `from` and dropped on the node at `target` goes just
// before that node; dropped below the last node (no target) it goes last.
// Returns its final position, nullopt when dropped on itself.
std::optional<size_t> DropDestination(size_t from, std::optional<size_t> target, size_t count);

// While a node is dragged at height y over a tree of the given client height:
// near the top edge the node before the one under the pointer is scrolled into
// view, near the bottom edge the node after it.
std::optional<size_t> DragScrollTarget(int y, int clientHeight, std::optional<size_t> under,
                                       size_t count);

// Moves list[from] so that it ends up at position `to`, the others keeping
// their order.
template <class T>
void MoveElement(std::vector<T>& list, size_t from, size_t to)
{
    if (from == to || from >= list.size() || to >= list.size())
        return;
    T item = std::move(list[from]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(from));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(to), std::move(item));
}

// Gives the task its new type and converts its key: to or from ordering the
// key is cleared; from multiple to single choice only the first right
// variant stays right; from single to multiple it stays as it is.
void ChangeTaskType(TTask& task, uint8_t newType);

// What the task panel holds when "Сохранить изменения" is pressed. Answers are
// read from the mark controls of the task's type.
struct TTaskEdits {
    std::string Question;
    std::array<std::string, 5> Variants;
    std::array<int32_t, 5> Answers{};
    std::string ImageFile;
    std::string Prompt;
};

// Stores the edits, trimmed of blanks and control characters at both ends.
// VariantCount counts a marked variant whose text is empty too, unlike the
// file reader.
void SaveTaskEdits(TTask& task, const TTaskEdits& edits);

// The answer key as the task panel's controls read it: a radio button or
// check box on gives 1, a drop-down list its item 1 to 5, else 0.
int32_t MarkFromCombo(int itemIndex);

// The left edges of "Сохранить изменения" and "Сбросить" in the button row:
// either side of the middle, 30 pixels from it, within the row.
struct EditButtonsLayout {
    int SaveLeft = 0;
    int ResetLeft = 0;
};
EditButtonsLayout LayOutEditButtons(int rowWidth, int buttonWidth);

}  // namespace quilmo
