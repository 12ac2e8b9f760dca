// The learner text, the report block, the log lines and where the logs live.

#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "runner/ResultReport.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

TTestResult ThreeAskedTwoRight()
{
    TTestResult r;
    r.UserName = "Иванова Мария";
    r.CompName = "CLASS-PC-07";
    r.CompUserName = "pupil";
    r.TestTitle = "Природа";
    r.TestFile = "/home/teacher/Природа.tst";
    r.TotalCount = 5;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 2;
    r.Mark = 2;
    r.MarkText = "зачет";
    r.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    r.EndTime = {2024, 3, 5, 9, 16, 20, 0};
    r.Duration = 75;
    r.EndMode = EndStopped;
    r.ResultMask = "+-+**";
    r.TimeMask = "12;30;6;0;0";
    return r;
}

TEST(ResultReportTest, SharesPrintOneDecimalWithAComma)
{
    TTestResult r;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.TotalCount = 16;
    EXPECT_EQ(RightShare(r), "66,7");
    EXPECT_EQ(WrongShare(r), "33,3");
    r.RightCount = 1;
    EXPECT_EQ(ResultShare(r), "6,3");  // 6.25 rounds away from zero
    r.TotalCount = 8;
    EXPECT_EQ(ResultShare(r), "12,5");
    r.RightCount = 8;
    EXPECT_EQ(ResultShare(r), "100,0");
}

TEST(ResultReportTest, LearnerTextLines)
{
    const std::vector<std::string> expected = {
        "Тест остановлен...",
        "Название теста: \"Природа\"",
        "Всего заданий в тесте: 5.",
        "Вами выполнено заданий: 3.",
        "Из них правильно: 2 (66,7% выполненых заданий).",
        "Из них ошибок: 1 (33,3% выполненых заданий).",
        "Ваш результат: 40,0%.",
        "Ваша оценка: \"зачет\".",
        "Время начала: 09:15:02.",
        "Время завершения: 09:16:20.",
        "Продолжительность: 00:01:15.",
    };
    EXPECT_EQ(LearnerText(ThreeAskedTwoRight()), expected);
}

TEST(ResultReportTest, ReportBlockLines)
{
    TTestResult r = ThreeAskedTwoRight();
    r.MarkText.clear();
    r.Mark = 4;  // a five-mark test prints the number the same way
    r.EndMode = EndTimeout;
    const std::vector<std::string> expected = {
        "------------------------------------------------",
        "---------- 05.03.2024 09:16:21 ----------",
        "Тест закончен - вышло время...",
        "Имя компьютера: \"CLASS-PC-07\"",
        "Имя пользователя компьютера: \"pupil\"",
        "Имя пользователя (тестируемого): \"Иванова Мария\"",
        "Название теста: \"Природа\"",
        "Файл с тестом: \"/home/teacher/Природа.tst\"",
        "Всего заданий в тесте: 5.",
        "Выполнено заданий: 3.",
        "Из них правильно: 2 (66,7% выполненых заданий).",
        "Из них ошибок: 1 (33,3% выполненых заданий).",
        "Результат: 40,0%.",
        "Ваша оценка: \"4\".",
        "Маска результата: \"+-+**\".",
        "Маска времени обдумывания (в секундах): \"12;30;6;0;0\".",
        "Время начала: 09:15:02.",
        "Время завершения: 09:16:20.",
        "Продолжительность: 00:01:15.",
        "------------------------------------------------",
    };
    EXPECT_EQ(ReportBlock(r, {2024, 3, 5, 9, 16, 21, 0}), expected);
}

TEST(ResultReportTest, EndLinesAndMarkWords)
{
    EXPECT_EQ(EndLine(EndFinished), "Тест закончен...");
    EXPECT_EQ(EndLine(EndStopped), "Тест остановлен...");
    EXPECT_EQ(EndLine(EndTimeout), "Тест закончен - вышло время...");
    TTestResult r;
    r.Mark = 0;
    EXPECT_EQ(MarkWord(r), "0");
    r.MarkText = "незачет";
    EXPECT_EQ(MarkWord(r), "незачет");
}

TEST(ResultReportTest, LogLinesAndPaths)
{
    const TDateTime t{2024, 1, 9, 8, 5, 3, 0};
    EXPECT_EQ(StartLogLine(t, "Природа"), "09.01.2024 08:05:03 Начат тест: \"Природа\"");
    EXPECT_EQ(CloseLogLine(t, "Природа"),
              "09.01.2024 08:05:03 Закрыта программа во время теста: \"Природа\"");
    EXPECT_EQ(ReportLogPath("/opt/quilmo/", ""), "/opt/quilmo/result.txt");
    EXPECT_EQ(ReportLogPath("/opt/quilmo/", "/srv/results"), "/srv/results/result.txt");
    EXPECT_EQ(ReportLogPath("/opt/quilmo/", "/srv/results/"), "/srv/results//result.txt");
    EXPECT_EQ(LineLogPath("/opt/quilmo/"), "/opt/quilmo/result.txt");
}

TEST(ResultReportTest, AppendingWritesWindows1251WithCrLfAndNeverTruncates)
{
    testing::TempFolder folder;
    const std::string path = folder / "result.txt";
    ASSERT_TRUE(AppendLogLines(path, {"Начат тест: \"А\""}));
    ASSERT_TRUE(AppendLogLines(path, {"один", "два"}));
    EXPECT_EQ(folder.Read("result.txt"),
              "\xcd\xe0\xf7\xe0\xf2 \xf2\xe5\xf1\xf2: \"\xc0\"\r\n"
              "\xee\xe4\xe8\xed\r\n\xe4\xe2\xe0\r\n");

    const Status missing = AppendLogLines(folder / "no-such-folder/result.txt", {"x"});
    ASSERT_FALSE(missing);
    EXPECT_FALSE(missing.error().Message.empty());
}

}  // namespace
}  // namespace quilmo
