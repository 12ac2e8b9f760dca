#include <gtest/gtest.h>

#include "model/InfoText.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;

TTestInfo Info(TIntDynArray marks, std::string description = "")
{
    TTestInfo info;
    info.Title = "  Физика ";
    info.Description = std::move(description);
    info.TaskCount = 12;
    info.Marks = std::move(marks);
    return info;
}

TEST(InfoTextTest, MarkLines)
{
    EXPECT_EQ(MarkLines({0, 3}), Lines{" \"зачет\" не менее 3 ответов правильно;"});
    // Two entries are pass/fail whatever the thresholds.
    EXPECT_EQ(MarkLines({0, 0}), Lines{" \"зачет\" не менее 0 ответов правильно;"});
    EXPECT_EQ(MarkLines({0, 0, 5, 7, 9}), (Lines{" \"5\" не менее 9 ответов правильно;",
                                                 " \"4\" не менее 7 ответов правильно;",
                                                 " \"3\" не менее 5 ответов правильно;"}));
    EXPECT_EQ(MarkLines({4}), Lines{" \"1\" не менее 4 ответов правильно;"});
    EXPECT_EQ(MarkLines({}), Lines{});
}

TEST(InfoTextTest, InformationText)
{
    EXPECT_EQ(InformationText(Info({0, 0, 2, 4, -1})),
              (Lines{"Открыт тест: \"  Физика \"", "Всего заданий в тесте: 12.", "Критерии оценивания:",
                     " \"4\" не менее 4 ответов правильно;", " \"3\" не менее 2 ответов правильно;",
                     "Желаем выполнить все задания..."}));
}

TEST(InfoTextTest, InformationWindow)
{
    TModeConfig mode;
    mode.OrderTaskNormal = 0;
    mode.ModeTimeLimit = 1;
    mode.TimeLimitTest = 3725;
    EXPECT_EQ(TestInfoWindowText(Info({0, 3}, "Первая строка\r\nвторая"), mode),
              (Lines{"Открыт тест: \"  Физика \"", "Всего заданий в тесте: 12.", "Критерии оценивания:",
                     " \"зачет\" не менее 3 ответов правильно;", "Описание теста:", "Первая строка", "вторая",
                     "Порядок следования заданий: случайный.", "Порядок следования вариантов: нормальный.",
                     "Ограничение по времени для всего теста: 01:02:05."}));

    mode.OrderTaskNormal = 1;
    mode.OrderVariantNormal = 0;
    mode.ModeTimeLimit = 2;
    mode.TimeLimitTask = 90;
    const Lines perTask = TestInfoWindowText(Info({0, 3}), mode);
    EXPECT_EQ(Lines(perTask.begin() + 4, perTask.end()),
              (Lines{"Порядок следования заданий: нормальный.", "Порядок следования вариантов: случайный.",
                     "Ограничение по времени для каждого задания: 00:01:30."}));

    mode.ModeTimeLimit = 0;
    EXPECT_EQ(TestInfoWindowText(Info({0, 3}), mode).back(), "Ограничение по времени отключено.");
}

}  // namespace
}  // namespace quilmo
