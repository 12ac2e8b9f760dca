#include <gtest/gtest.h>

#include "editor/TaskOperations.h"
#include "model/TextTestReader.h"
#include "model/TextTestWriter.h"

namespace quilmo {
namespace {

using Key = std::array<int32_t, 5>;
using List = std::vector<int>;

TEST(TaskOperationsTest, MovesAtTheEndsChangeNothing)
{
    const std::tuple<TaskMove, size_t, size_t, std::optional<size_t>> cases[] = {
        {TaskMove::Up, 0, 3, std::nullopt},   {TaskMove::Up, 2, 3, 1},
        {TaskMove::First, 0, 3, std::nullopt}, {TaskMove::First, 2, 3, 0},
        {TaskMove::Down, 2, 3, std::nullopt},  {TaskMove::Down, 0, 3, 1},
        {TaskMove::Last, 2, 3, std::nullopt},  {TaskMove::Last, 0, 3, 2},
        {TaskMove::Up, 0, 1, std::nullopt},   {TaskMove::Last, 0, 1, std::nullopt},
        {TaskMove::Down, 0, 0, std::nullopt},
    };
    for (const auto& [move, position, count, expected] : cases)
        EXPECT_EQ(MoveDestination(move, position, count), expected)
            << int(move) << " " << position << "/" << count;
}

// A dropped task goes just before the node it was dropped on, or last when
// dropped below the nodes; dropped on itself it stays and nothing changes.
TEST(TaskOperationsTest, DropPlacement)
{
    const std::tuple<size_t, std::optional<size_t>, std::optional<size_t>, List> cases[] = {
        {0, 0, std::nullopt, {0, 1, 2, 3}},
        {0, 2, 1, {1, 0, 2, 3}},
        {3, 1, 1, {0, 3, 1, 2}},
        {1, std::nullopt, 3, {0, 2, 3, 1}},
        {3, std::nullopt, 3, {0, 1, 2, 3}},  // already last: a drop that changes nothing
        {1, 2, 1, {0, 1, 2, 3}},             // just before its successor: the same place
        {2, 0, 0, {2, 0, 1, 3}},
    };
    for (const auto& [from, target, expected, order] : cases) {
        const auto to = DropDestination(from, target, 4);
        EXPECT_EQ(to, expected) << from;
        List list = {0, 1, 2, 3};
        if (to)
            MoveElement(list, from, *to);
        EXPECT_EQ(list, order) << from;
    }
}

TEST(TaskOperationsTest, DraggingNearAnEdgeScrollsToTheNeighbour)
{
    const std::tuple<int, std::optional<size_t>, std::optional<size_t>> cases[] = {
        {5, 3, 2},     {19, 3, 2},   {20, 3, std::nullopt}, {150, 3, std::nullopt},
        {181, 3, 4},   {195, 9, std::nullopt},  {5, 0, std::nullopt},
        {5, std::nullopt, std::nullopt},
    };
    for (const auto& [y, under, target] : cases)
        EXPECT_EQ(DragScrollTarget(y, 200, under, 10), target) << y;
}

TEST(TaskOperationsTest, EditButtonsSitEitherSideOfTheMiddle)
{
    const std::tuple<int, int, int> cases[] = {
        {600, 150, 330},  // 300 - 120 - 30, 300 + 30
        {200, 0, 80},     // the reset button kept inside the row
        {300, 0, 180},
    };
    for (const auto& [width, save, reset] : cases) {
        const EditButtonsLayout layout = LayOutEditButtons(width, 120);
        EXPECT_EQ(layout.SaveLeft, save) << width;
        EXPECT_EQ(layout.ResetLeft, reset) << width;
    }
}

TEST(TaskOperationsTest, ChangeOfTypeConvertsTheKey)
{
    const std::tuple<uint8_t, Key, uint8_t, Key> cases[] = {
        {MultipleChoice, {0, 1, 0, 1, 0}, SingleChoice, {0, 1, 0, 0, 0}},
        {SingleChoice, {0, 0, 1, 0, 0}, MultipleChoice, {0, 0, 1, 0, 0}},
        {SingleChoice, {0, 0, 1, 0, 0}, Ordering, {0, 0, 0, 0, 0}},
        {Ordering, {2, 1, 3, 0, 0}, MultipleChoice, {0, 0, 0, 0, 0}},
        {Ordering, {2, 1, 3, 0, 0}, Ordering, {2, 1, 3, 0, 0}},
        {MultipleChoice, {0, 0, 0, 0, 0}, SingleChoice, {0, 0, 0, 0, 0}},
    };
    for (const auto& [from, key, to, converted] : cases) {
        TTask task;
        task.TaskType = from;
        task.Answers = key;
        ChangeTaskType(task, to);
        EXPECT_EQ(task.TaskType, to);
        EXPECT_EQ(task.Answers, converted) << int(from) << "->" << int(to);
    }
}

// Saving trims the texts and counts a marked variant without text; the file
// reader counts only texts, so the same task read back from its lines has a
// smaller VariantCount.
TEST(TaskOperationsTest, SaveTrimsAndCountsMarkedEmptyVariants)
{
    TTaskEdits edits;
    edits.Question = "\r\n  Вопрос\r\nв две строки \t\r\n";
    edits.Variants = {" один ", "два\r\n", "три", "", ""};
    edits.Answers = {1, 0, 0, 0, 1};
    edits.ImageFile = "  /p/a.jpg ";
    edits.Prompt = " подсказка ";
    TTask task;
    task.TaskType = MultipleChoice;
    SaveTaskEdits(task, edits);
    EXPECT_EQ(task.Question, "Вопрос\r\nв две строки");
    EXPECT_EQ(task.Variants, (std::array<std::string, 5>{"один", "два", "три", "", ""}));
    EXPECT_EQ(task.ImageFile, "/p/a.jpg");
    EXPECT_EQ(task.Prompt, "подсказка");
    EXPECT_EQ(task.VariantCount, 5);

    std::vector<std::string> block = {task.Question, task.Prompt, "", BuildAnswerLine(task)};
    block.insert(block.end(), task.Variants.begin(), task.Variants.end());
    const auto read = ReadTaskBlock(block, 0, "");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->VariantCount, 3);
    EXPECT_EQ(read->Answers, (Key{1, 0, 0, 0, 1}));

    edits.Variants = {"", "", "", "", ""};
    edits.Answers = {};
    SaveTaskEdits(task, edits);
    EXPECT_EQ(task.VariantCount, 0);
}

TEST(TaskOperationsTest, Labels)
{
    TTask task;
    EXPECT_EQ(SavedTaskLabel(task, 4), "Задание #5");
    task.Question = "Сколько?";
    EXPECT_EQ(SavedTaskLabel(task, 4), "Сколько?");
    EXPECT_EQ(AddedTaskLabel(3), "Задание №4");
    EXPECT_EQ(DuplicateTaskLabel(0), "Копия №1");
    EXPECT_EQ(PastedTaskLabel("Сколько?"), "Вставка: Сколько?");
    EXPECT_EQ(ImportedTaskLabel(2), "Import №2");
}

}  // namespace
}  // namespace quilmo
