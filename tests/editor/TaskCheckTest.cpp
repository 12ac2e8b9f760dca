#include <gtest/gtest.h>

#include "editor/TaskCheck.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Key = std::array<int32_t, 5>;
using Texts = std::array<std::string, 5>;
using Findings = std::vector<std::string>;

TTask Task(uint8_t type, const char* question, Texts variants, Key key, int32_t count)
{
    TTask task;
    task.TaskType = type;
    task.Question = question;
    task.Variants = variants;
    task.Answers = key;
    task.VariantCount = count;
    return task;
}

TEST(TaskCheckTest, FindingsInOrder)
{
    const std::tuple<const char*, TTask, Findings> cases[] = {
        {"clean multiple choice",
         Task(MultipleChoice, "В", {"1", "2", "3", "4", "5"}, {0, 1, 0, 1, 0}, 5), {}},
        {"nothing at all", Task(SingleChoice, "", {}, {}, 0),
         {"Нет текста вопроса;", "Не выбран ни один вариант ответа;",
          "Нет ни одного текста варианта ответа на задание;"}},
        {"gap", Task(SingleChoice, "В", {"1", "", "3", "", ""}, {1, 0, 0, 0, 0}, 3),
         {"Есть пропущенные (пустые) варианты тексты ответов (№2)"}},
        {"marked empty variant",
         Task(MultipleChoice, "В", {"1", "2", "3", "", ""}, {1, 0, 0, 0, 1}, 5),
         {"Есть пропущенные (пустые) варианты тексты ответов (№4)",
          "Есть выбранные ответы с пустым текстом (№5)"}},
        {"single choice of an empty variant",
         Task(SingleChoice, "В", {"1", "2", "", "", ""}, {0, 0, 1, 0, 0}, 3),
         {"Есть пропущенные (пустые) варианты тексты ответов (№3)",
          "Есть выбранные ответы с пустым текстом (№3)"}},
        {"order 1 1 2", Task(Ordering, "В", {"1", "2", "3", "", ""}, {1, 1, 2, 0, 0}, 3),
         {"Есть одинаковые номера при указании верного порядка"}},
        {"order 1 2 4", Task(Ordering, "В", {"1", "2", "3", "", ""}, {1, 2, 4, 0, 0}, 3),
         {"Не верный (больше чем вариантов) номер ответа (№3)"}},
        {"order 1 0 2", Task(Ordering, "В", {"1", "2", "3", "", ""}, {1, 0, 2, 0, 0}, 3),
         {"Не выбран номер для всех вариантов ответа (№2)"}},
        {"order 1 0 0", Task(Ordering, "В", {"1", "2", "3", "", ""}, {1, 0, 0, 0, 0}, 3),
         {"Не выбран номер для всех вариантов ответа (№2)",
          "Есть одинаковые номера при указании верного порядка"}},
        {"ordering is not checked for marked empty texts",
         Task(Ordering, "В", {"1", "2", "", "", ""}, {2, 1, 0, 0, 0}, 2), {}},
        {"clean order", Task(Ordering, "В", {"a", "b", "c", "d", "e"}, {5, 4, 3, 2, 1}, 5), {}},
    };
    for (const auto& [name, task, findings] : cases)
        EXPECT_EQ(CheckTask(task), findings) << name;
}

TEST(TaskCheckTest, MissingPictureIsTheSecondFinding)
{
    testing::TempFolder dir;
    TTask task = Task(SingleChoice, "", {"1", "", "", "", ""}, {1, 0, 0, 0, 0}, 1);
    task.ImageFile = dir / "нет.jpg";
    EXPECT_EQ(CheckTask(task), (Findings{"Нет текста вопроса;", "Файл с изображением не существует;"}));
    task.ImageFile = dir.Write("есть.jpg", "jpeg");
    EXPECT_EQ(CheckTask(task), (Findings{"Нет текста вопроса;"}));
}

TEST(TaskCheckTest, PictureOfAKindTheRunnerDoesNotShowIsAFinding)
{
    testing::TempFolder dir;
    TTask task = Task(SingleChoice, "В", {"1", "", "", "", ""}, {1, 0, 0, 0, 0}, 1);
    for (const char* name : {"рисунок.png", "рисунок.PNG", "рисунок.tiff", "рисунок"}) {
        task.ImageFile = dir.Write(name, "picture");
        EXPECT_EQ(CheckTask(task), (Findings{"Изображение такого типа не будет показано при тестировании;"}))
            << name;
    }
    for (const char* name : {"рисунок.bmp", "рисунок.ICO", "рисунок.jpeg", "рисунок.gif"}) {
        task.ImageFile = dir.Write(name, "picture");
        EXPECT_EQ(CheckTask(task), Findings{}) << name;
    }
    // A missing file is reported as missing, whatever its kind.
    task.ImageFile = dir / "нет.png";
    EXPECT_EQ(CheckTask(task), (Findings{"Файл с изображением не существует;"}));
}

TEST(TaskCheckTest, MessageNumbersTheFindings)
{
    EXPECT_EQ(CheckTaskMessage({}), "");
    EXPECT_EQ(CheckTaskMessage({"Нет текста вопроса;", "Не выбран ни один вариант ответа;"}),
              "Задание сохранено, но были обнаружены возможные проблемы:\r\n\r\n"
              "1) Нет текста вопроса;\r\n"
              "2) Не выбран ни один вариант ответа;\r\n");
}

}  // namespace
}  // namespace quilmo
