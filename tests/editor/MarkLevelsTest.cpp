#include <gtest/gtest.h>

#include "editor/MarkLevels.h"

namespace quilmo {
namespace {

using Rows = std::vector<std::string>;

TEST(MarkLevelsTest, DefaultsForANewGradingSystem)
{
    const std::tuple<int, Rows> cases[] = {
        {5, {"4", "4", "2", "0", "0"}},     // 4.25, 3.5 -> 4, 2.5 -> 2
        {10, {"8", "7", "5", "0", "0"}},    // 8.5 -> 8
        {20, {"17", "14", "10", "0", "0"}},
        {0, {"0", "0", "0", "0", "0"}},
    };
    for (const auto& [tasks, answers] : cases) {
        const MarkRows rows = InitialMarkRows(tasks, {});
        EXPECT_EQ(rows.Count, 5);
        EXPECT_EQ(rows.Answers, answers) << tasks;
        EXPECT_TRUE(rows.HintVisible);
    }
    // Applied as they stand, mark 1 first.
    EXPECT_EQ(MarksFromRows(InitialMarkRows(20, {}).Answers), (TIntDynArray{0, 0, 10, 14, 17}));
}

TEST(MarkLevelsTest, ExistingMarksShowTheHighestFirst)
{
    const MarkRows rows = InitialMarkRows(20, {0, 3, 9});
    EXPECT_EQ(rows.Count, 3);
    EXPECT_EQ(rows.Answers, (Rows{"9", "3", "0"}));
    EXPECT_FALSE(rows.HintVisible);
    EXPECT_EQ(MarksFromRows(rows.Answers), (TIntDynArray{0, 3, 9}));
}

// "OK" keeps the numbers of the rows that remain, adds empty rows and drops
// the rest; "Применить" reads an empty or non-numeric cell as 0.
TEST(MarkLevelsTest, OkRowRuleAndApply)
{
    Rows answers = {"17", "14", "10", "0", "0"};
    ResizeMarkRows(answers, MarkCountFromField("2"));
    EXPECT_EQ(answers, (Rows{"17", "14"}));
    EXPECT_EQ(MarksFromRows(answers), (TIntDynArray{14, 17}));  // a pass/fail scheme

    ResizeMarkRows(answers, MarkCountFromField("4"));
    EXPECT_EQ(answers, (Rows{"17", "14", "", ""}));
    answers[2] = " 7 ";
    answers[3] = "много";
    EXPECT_EQ(MarksFromRows(answers), (TIntDynArray{0, 7, 14, 17}));

    const std::tuple<const char*, int> fields[] = {
        {"3", 3}, {"0", 1}, {"-4", 1}, {"", 1}, {"x", 1}, {"100", 100}, {"100000", 100},
    };
    for (const auto& [field, count] : fields)
        EXPECT_EQ(MarkCountFromField(field), count) << field;
}

TEST(MarkLevelsTest, TextsAndCentring)
{
    EXPECT_EQ(TaskCountText(12), "Всего заданий в тесте: \"12\"");
    EXPECT_EQ(CentredTextLeft(10, 100, 20), 10 + 50 - 11);
    EXPECT_EQ(CentredTextLeft(0, 101, 21), 50 - 11);  // halves rounded toward zero
}

}  // namespace
}  // namespace quilmo
