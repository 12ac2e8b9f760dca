// The class page's rows: opened by a start message, closed by the result of
// the same workstation and learner, and their texts as time goes by.

#include <gtest/gtest.h>

#include "journal/ClassRoster.h"
#include "journal/DateSerial.h"

namespace quilmo::journal {
namespace {

TTestResult Result(const std::string& comp, const std::string& ip, const std::string& user, uint8_t endMode)
{
    TTestResult r;
    r.CompName = comp;
    r.RemoteIP = ip;
    r.UserName = user;
    r.TestTitle = "Дроби";
    r.Mark = 4;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.EndMode = endMode;
    r.StartTime = {2024, 3, 5, 8, 59, 58, 0};
    return r;
}

const TDateTime kNine = {2024, 3, 5, 9, 0, 0, 0};

TEST(ClassRosterTest, AResultClosesTheLatestOpenRowOfItsWorkstationAndLearner)
{
    ClassRoster roster;
    EXPECT_EQ(roster.Start("PC-1", "10.0.0.1", "Анна", kNine), 0u);
    EXPECT_EQ(roster.Start("PC-2", "10.0.0.2", "Борис", kNine), 1u);
    EXPECT_EQ(roster.Start("PC-1", "10.0.0.1", "Анна", {2024, 3, 5, 9, 5, 0, 0}), 2u);  // started again

    EXPECT_EQ(roster.Finish(Result("PC-1", "10.0.0.1", "Анна", 1)), 2u);
    EXPECT_FALSE(roster.Entries()[0].Finished);
    // Same name on another workstation, or another learner: rows of their own.
    EXPECT_EQ(roster.Finish(Result("PC-3", "10.0.0.2", "Борис", 2)), 3u);
    EXPECT_EQ(roster.Finish(Result("PC-2", "10.0.0.2", "Вера", 3)), 4u);
    EXPECT_EQ(roster.Finish(Result("PC-2", "10.0.0.2", "Борис", 2)), 1u);
    // The earlier row of the learner who restarted is still open and takes
    // the next result; a result after that opens a row of its own.
    EXPECT_EQ(roster.Finish(Result("PC-1", "10.0.0.1", "Анна", 1)), 0u);
    EXPECT_EQ(roster.Finish(Result("PC-1", "10.0.0.1", "Анна", 1)), 5u);

    const ClassEntry& own = roster.Entries()[3];
    EXPECT_EQ(own.Started, (TDateTime{2024, 3, 5, 8, 59, 58, 0}));  // the result's own start
    EXPECT_TRUE(own.Finished);
    EXPECT_EQ(roster.Entries().size(), 6u);
}

TEST(ClassRosterTest, RowTextsWhileTestingAndAfterwards)
{
    ClassRoster roster;
    roster.Start("PC-1", "10.0.0.1", "Анна", kNine);
    const ClassEntry& entry = roster.Entries()[0];
    EXPECT_EQ(ClassRowTextsOf(entry, {2024, 3, 5, 9, 12, 34, 0}),
              (ClassRowTexts{"PC-1", "10.0.0.1", "Анна", "", "09:00:00", "тестируется 00:12:34", "", ""}));
    // Over midnight, and a clock that went back.
    EXPECT_EQ(ClassStateText(entry, {2024, 3, 6, 0, 0, 1, 0}), "тестируется 15:00:01");
    EXPECT_EQ(ClassStateText(entry, {2024, 3, 5, 8, 0, 0, 0}), "тестируется 00:00:00");

    roster.Finish(Result("PC-1", "10.0.0.1", "Анна", 1));
    EXPECT_EQ(ClassRowTextsOf(roster.Entries()[0], {2024, 3, 5, 10, 0, 0, 0}),
              (ClassRowTexts{"PC-1", "10.0.0.1", "Анна", "Дроби", "09:00:00", "закончил", "4", "66,7%"}));

    struct Case {
        uint8_t mode;
        const char* text;
    } modes[] = {{1, "закончил"}, {2, "остановил"}, {3, "время вышло"}, {0, ""}, {5, ""}};
    for (const Case& c : modes) {
        ClassEntry done;
        done.Finished = true;
        done.EndMode = c.mode;
        EXPECT_EQ(ClassStateText(done, kNine), c.text) << int(c.mode);
    }
}

TEST(DateSerialTest, SecondsBetweenDatesAcrossMonthsAndLeapYears)
{
    EXPECT_EQ(SecondsBetween(kNine, kNine), 0);
    EXPECT_EQ(SecondsBetween({2024, 2, 28, 23, 59, 59, 0}, {2024, 3, 1, 0, 0, 0, 0}), 86400 + 1);
    EXPECT_EQ(SecondsBetween({2023, 2, 28, 0, 0, 0, 0}, {2023, 3, 1, 0, 0, 0, 0}), 86400);
    EXPECT_EQ(SecondsBetween({2023, 12, 31, 0, 0, 0, 0}, {2024, 12, 31, 0, 0, 0, 0}), 366 * 86400);
    EXPECT_EQ(SecondsBetween({2024, 3, 5, 9, 0, 10, 0}, kNine), -10);
}

TEST(DateSerialTest, SpreadsheetDayNumbers)
{
    // 1 January 1900 is day 1 in a spreadsheet, which also counts a 29
    // February 1900 that never was; from 1 March 1900 (day 61) on the numbers
    // are days since 30 December 1899. 5 March 2024 is day 45356.
    EXPECT_EQ(SpreadsheetSerial({1900, 3, 1, 0, 0, 0, 0}), 61.0);
    EXPECT_EQ(SpreadsheetSerial({2024, 3, 5, 0, 0, 0, 0}), 45356.0);
    EXPECT_EQ(SpreadsheetSerial({2024, 3, 5, 18, 0, 0, 0}), 45356.75);
    EXPECT_DOUBLE_EQ(*SpreadsheetSerial({2024, 3, 5, 9, 41, 7, 0}), 45356 + (9 * 3600 + 41 * 60 + 7) / 86400.0);
    EXPECT_EQ(SpreadsheetSerial({9999, 12, 31, 0, 0, 0, 0}), 2958465.0);
    EXPECT_FALSE(SpreadsheetSerial({1900, 2, 28, 0, 0, 0, 0}));
    EXPECT_FALSE(SpreadsheetSerial({1899, 12, 30, 0, 0, 0, 0}));  // the empty date-time
    EXPECT_FALSE(SpreadsheetSerial({10000, 1, 1, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace quilmo::journal
