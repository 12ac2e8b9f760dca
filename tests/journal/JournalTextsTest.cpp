// The results table's cells and the message log's lines.

#include <gtest/gtest.h>

#include "journal/JournalTexts.h"

namespace quilmo::journal {
namespace {

TTestResult SampleResult()
{
    TTestResult r;
    r.UserName = "Иванов Пётр";
    r.CompName = "CLASS-PC-07";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/home/teacher/Дроби.tst";
    r.TotalCount = 10;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 7;
    r.Mark = 4;
    r.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    r.EndTime = {2024, 3, 5, 10, 17, 7, 0};
    r.Duration = 3725;
    r.EndMode = 2;
    r.ResultMask = "++-*******";
    r.TimeMask = "12;40;3;0;0;0;0;0;0;0";
    r.RemoteIP = "192.168.1.17";
    r.ReceivedTime = {2024, 3, 5, 10, 17, 9, 0};
    r.FileCrc = 255;
    return r;
}

TEST(JournalTextsTest, RowShowsEveryColumn)
{
    const RowTexts expected = {
        "10:17:09", "CLASS-PC-07", "Иванов Пётр", "4", "66,7%", "10", "3", "2", "1", "7",
        "++-*******", "12;40;3;0;0;0;0;0;0;0", "09:15:02", "10:17:07", "01:02:05", "Дроби",
        "/home/teacher/Дроби.tst", "000000FF", "pupil", "192.168.1.17", "ABORT",
    };
    EXPECT_EQ(ResultRowTexts(SampleResult()), expected);
}

TEST(JournalTextsTest, CellTextsOfTheEdgeValues)
{
    EXPECT_EQ(EndModeText(1), "END");
    EXPECT_EQ(EndModeText(3), "TIMEOUT");
    EXPECT_EQ(EndModeText(0), "");
    EXPECT_EQ(EndModeText(5), "");
    EXPECT_EQ(CrcText(0), "00000000");
    EXPECT_EQ(CrcText(0xDEADBEEF), "DEADBEEF");

    TTestResult r = SampleResult();
    r.Duration = 86400 + 61;  // a day or more wraps round
    EXPECT_EQ(ResultRowTexts(r)[14], "00:01:01");

    const struct {
        int32_t right, asked;
        const char* text;
    } shares[] = {
        {1, 16, "6,3%"}, {5, 8, "62,5%"}, {3, 3, "100,0%"}, {0, 5, "0,0%"},
        {0, 0, "0,0%"}, {4, 0, "0,0%"},  // nothing shown: no division
    };
    for (const auto& s : shares) {
        r.RightCount = s.right;
        r.AskedCount = s.asked;
        EXPECT_EQ(ResultShareText(r), s.text) << s.right << "/" << s.asked;
    }
}

TEST(JournalTextsTest, HeadersAndAlignment)
{
    EXPECT_EQ(kColumnHeaders[0], "");
    EXPECT_EQ(kColumnHeaders[4], "Результат");
    EXPECT_EQ(kColumnHeaders[20], "Реж. ок.");
    std::string left;
    for (int c = 0; c < kColumnCount; ++c)
        if (!ColumnCentred(c))
            left += std::to_string(c) + " ";
    EXPECT_EQ(left, "2 10 11 15 16 ");
}

TEST(JournalTextsTest, LogLines)
{
    const TDateTime now{2024, 3, 5, 9, 15, 2, 0};
    EXPECT_EQ(StartLogLine(now, "TEACHER", "192.168.1.5"),
              "05.03.2024 09:15:02  TEACHER(192.168.1.5): Сервер запущен...");
    EXPECT_EQ(StopLogLine(now), "05.03.2024 09:15:02  Сервер остановлен...");
    EXPECT_EQ(ResultLogLine(SampleResult()),
              "05.03.2024 10:17:09  CLASS-PC-07(192.168.1.17) [Иванов Пётр] "
              "Получены результаты тестирования.");
    EXPECT_EQ(MessageLogLine(now, "PC-3", "10.0.0.3", "Петров", "Начат тест"),
              "05.03.2024 09:15:02  PC-3(10.0.0.3) [Петров] Начат тест.");
}

TEST(JournalTextsTest, CentredTextPosition)
{
    const struct {
        int left, right, width, x;
    } cases[] = {
        {0, 50, 20, 14},    // 25 - 11
        {50, 114, 21, 71},  // 50 + 32 - 11
        {0, 10, 40, -16},   // wider than the cell: starts left of it
        {0, 0, 0, -1},
        {3, 4, 1, 2},       // 3 + 0 - 1
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredTextX(c.left, c.right, c.width), c.x) << c.left << "," << c.right << "," << c.width;
}

TEST(JournalTextsTest, TableTextsKeepTheEmptyDataRowUntilAResultArrives)
{
    const auto empty = TableTexts({});
    ASSERT_EQ(empty.size(), 2u);
    EXPECT_EQ(empty[0][2], "Имя");
    EXPECT_EQ(empty[1], RowTexts{});
    const auto two = TableTexts({SampleResult(), SampleResult()});
    ASSERT_EQ(two.size(), 3u);
    EXPECT_EQ(two[2][17], "000000FF");
}

}  // namespace
}  // namespace quilmo::journal
