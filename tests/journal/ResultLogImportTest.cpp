// Reading runners' result.txt logs: a log written by hand from the layout of
// the report block, with start and close lines, a session across midnight, a
// block that does not read and stray lines.

#include <gtest/gtest.h>

#include "journal/ResultLogImport.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

const std::string kRule(48, '-');

// A report block as a runner writes it, line by line.
std::vector<std::string> Block(const std::string& stamp, const std::string& endLine, const std::string& user,
                               const std::string& mark, const std::string& mask, const std::string& start,
                               const std::string& end, const std::string& duration)
{
    return {
        kRule,
        "---------- " + stamp + " ----------",
        endLine,
        "Имя компьютера: \"CLASS-PC-07\"",
        "Имя пользователя компьютера: \"pupil\"",
        "Имя пользователя (тестируемого): \"" + user + "\"",
        "Название теста: \"Дроби \"вводный\"\"",
        "Файл с тестом: \"C:\\Tests\\Дроби.tst\"",
        "Всего заданий в тесте: 4.",
        "Выполнено заданий: 3.",
        "Из них правильно: 2 (66,7% выполненых заданий).",
        "Из них ошибок: 1 (33,3% выполненых заданий).",
        "Результат: 50,0%.",
        "Ваша оценка: \"" + mark + "\".",
        "Маска результата: \"" + mask + "\".",
        "Маска времени обдумывания (в секундах): \"12;40;3;0\".",
        "Время начала: " + start + ".",
        "Время завершения: " + end + ".",
        "Продолжительность: " + duration + ".",
        kRule,
    };
}

std::string Log(const std::vector<std::vector<std::string>>& parts)
{
    std::vector<std::string> lines;
    for (const auto& part : parts)
        lines.insert(lines.end(), part.begin(), part.end());
    return Utf8ToCp1251(JoinLinesCrLf(lines));
}

TEST(ResultLogImport, ReadsEveryBlockOfAHandWrittenLog)
{
    auto malformed = Block("05.03.2024 11:00:00", "Тест закончен...", "Сидоров", "3", "+-+*", "10:50:00",
                           "11:00:00", "00:10:00");
    malformed[8] = "Всего заданий в тесте: четыре.";
    const std::string log = Log({
        {"05.03.2024 09:15:02 Начат тест: \"Дроби \"вводный\"\""},
        Block("05.03.2024 09:20:07", "Тест остановлен...", "Иванов Пётр", "4", "+-+*", "09:15:02", "09:20:07",
              "00:05:05"),
        {"05.03.2024 10:00:00 Начат тест: \"Дроби\"", "05.03.2024 10:01:00 Закрыта программа во время теста: \"Дроби\""},
        malformed,
        {"", "какая-то строка", "ещё одна"},
        Block("06.03.2024 00:10:06", "Тест закончен - вышло время...", "Петрова", "зачет", "++-*", "23:50:10",
              "00:10:05", "00:19:55"),
    });

    const ResultLogContents contents = ReadResultLog(log);
    EXPECT_EQ(contents.Unreadable, 2);  // the block with a word for a count, the stray lines
    ASSERT_EQ(contents.Results.size(), 2u);

    TTestResult first;
    first.UserName = "Иванов Пётр";
    first.CompName = "CLASS-PC-07";
    first.CompUserName = "pupil";
    first.TestTitle = "Дроби \"вводный\"";
    first.TestFile = "C:\\Tests\\Дроби.tst";
    first.TotalCount = 4;
    first.AskedCount = 3;
    first.RightCount = 2;
    first.WrongCount = 1;
    first.NotAskedCount = 1;
    first.Mark = 4;
    first.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    first.EndTime = {2024, 3, 5, 9, 20, 7, 0};
    first.Duration = 305;
    first.EndMode = 2;
    first.ResultMask = "+-+*";
    first.MaskValues = {1, 0, 1, -1};
    first.TimeMask = "12;40;3;0";
    first.RemoteIP = "";
    first.ReceivedTime = {2024, 3, 5, 9, 20, 7, 0};
    first.FileCrc = 0;
    EXPECT_EQ(contents.Results[0], first);

    // Across midnight: the start belongs to the day before the stamp.
    const TTestResult& second = contents.Results[1];
    EXPECT_EQ(second.UserName, "Петрова");
    EXPECT_EQ(second.StartTime, (TDateTime{2024, 3, 5, 23, 50, 10, 0}));
    EXPECT_EQ(second.EndTime, (TDateTime{2024, 3, 6, 0, 10, 5, 0}));
    EXPECT_EQ(second.ReceivedTime, (TDateTime{2024, 3, 6, 0, 10, 6, 0}));
    EXPECT_EQ(second.Duration, 1195);
    EXPECT_EQ(second.EndMode, 3);
    EXPECT_EQ(second.Mark, 0);  // a mark in words has no number
}

TEST(ResultLogImport, MidnightAtTheTurnOfMonthAndYear)
{
    const struct {
        const char* stamp;
        TDateTime start;
    } cases[] = {
        {"01.01.2024 00:05:00", {2023, 12, 31, 23, 55, 0, 0}},
        {"01.03.2024 00:05:00", {2024, 2, 29, 23, 55, 0, 0}},
        {"01.03.2023 00:05:00", {2023, 2, 28, 23, 55, 0, 0}},
        {"1.5.2024 0:05:00", {2024, 4, 30, 23, 55, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto contents = ReadResultLog(
            Log({Block(c.stamp, "Тест закончен...", "A", "5", "+", "23:55:00", "00:04:59", "00:09:59")}));
        ASSERT_EQ(contents.Results.size(), 1u) << c.stamp;
        EXPECT_EQ(contents.Results[0].StartTime, c.start) << c.stamp;
    }
}

TEST(ResultLogImport, BlocksThatDoNotReadAreCountedOnce)
{
    const auto good = Block("05.03.2024 09:20:07", "Тест закончен...", "A", "5", "+", "09:15:02", "09:20:07",
                            "00:05:05");
    auto cut = good;
    cut.resize(12);  // the runner's disk filled up half-way
    auto badTime = good;
    badTime[16] = "Время начала: 25:00:00.";
    auto badEnd = good;
    badEnd[2] = "Тест прерван...";
    auto second = good;
    second[5] = "Имя пользователя (тестируемого): \"B\"";
    const std::string log = Log({cut, good, badTime, badEnd, second});
    const auto contents = ReadResultLog(log);
    EXPECT_EQ(contents.Unreadable, 3);
    ASSERT_EQ(contents.Results.size(), 2u);
    EXPECT_EQ(contents.Results[0].UserName, "A");
    EXPECT_EQ(contents.Results[1].UserName, "B");

    // A block without its closing rule still reads, and the next block with it.
    auto noRule = good;
    noRule.pop_back();
    const auto unclosed = ReadResultLog(Log({noRule, second, noRule}));
    EXPECT_EQ(unclosed.Unreadable, 0);
    ASSERT_EQ(unclosed.Results.size(), 3u);
    EXPECT_EQ(unclosed.Results[1].UserName, "B");

    // LF-only lines, as a log copied through a Unix tool may have.
    std::string lf = ReplaceAll(Log({good}), "\r\n", "\n");
    EXPECT_EQ(ReadResultLog(lf).Results.size(), 1u);
    EXPECT_EQ(ReadResultLog("").Unreadable, 0);
    EXPECT_EQ(ReadResultLog(Log({cut})).Unreadable, 1);
}

TEST(ResultLogImport, SameResultComparesTheIdentifyingFields)
{
    const auto contents = ReadResultLog(Log({Block("05.03.2024 09:20:07", "Тест закончен...", "A", "5", "+-",
                                                   "09:15:02", "09:20:07", "00:05:05")}));
    ASSERT_EQ(contents.Results.size(), 1u);
    const TTestResult a = contents.Results[0];
    TTestResult b = a;
    b.RemoteIP = "10.0.0.3";  // by the network: address, checksum, receipt time differ
    b.FileCrc = 77;
    b.ReceivedTime = {2024, 3, 5, 9, 20, 8, 0};
    b.Mark = 3;
    EXPECT_TRUE(SameResult(a, b));
    EXPECT_EQ(ResultKey(a), ResultKey(b));
    for (int field = 0; field < 8; ++field) {
        TTestResult c = a;
        switch (field) {
        case 0: c.UserName += "x"; break;
        case 1: c.CompName += "x"; break;
        case 2: c.TestFile += "x"; break;
        case 3: c.StartTime.Second += 1; break;
        case 4: c.EndTime.Day += 1; break;
        case 5: c.ResultMask = "++"; break;
        // A text moved from one field to the next is another result.
        case 6: c.UserName += c.CompName.substr(0, 1); c.CompName.erase(0, 1); break;
        case 7: c.EndTime.Millisecond += 5; break;  // the same second: the same result
        }
        EXPECT_EQ(SameResult(a, c), field == 7) << field;
        EXPECT_EQ(ResultKey(a) == ResultKey(c), field == 7) << field;
    }
}

TEST(ResultLogImport, FileErrorsComeBackAsMessages)
{
    testing::TempFolder dir;
    const auto missing = ReadResultLogFile(dir / "result.txt");
    ASSERT_FALSE(missing);
    EXPECT_FALSE(missing.error().Message.empty());
}

}  // namespace
}  // namespace quilmo::journal
