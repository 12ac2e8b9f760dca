// Item analysis: facility, item-rest correlation, KR-20 and the error of
// measurement against figures worked out by hand, and against textbook
// formulas computed here independently over many random mask sets.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "journal/ItemStatistics.h"
#include "model/Cp1251.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

using testing::TempFolder;

TTestResult Result(const std::string& mask, uint32_t crc = 7, int mark = 0, const std::string& times = "")
{
    TTestResult r;
    r.UserName = "u";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/Дроби.tst";
    r.ResultMask = mask;
    r.MaskValues = MaskValuesFromResultMask(mask);
    r.TimeMask = times;
    r.Mark = mark;
    r.FileCrc = crc;
    return r;
}

std::vector<TTestResult> Results(const std::vector<std::string>& masks)
{
    std::vector<TTestResult> list;
    for (const std::string& m : masks)
        list.push_back(Result(m));
    return list;
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

void ExpectFigure(const std::optional<double>& actual, double expected, const std::string& what)
{
    if (std::isnan(expected)) {
        EXPECT_FALSE(actual.has_value()) << what << " = " << actual.value_or(0);
    } else {
        ASSERT_TRUE(actual.has_value()) << what;
        EXPECT_NEAR(*actual, expected, 1e-7) << what;
    }
}

struct TaskFigures {
    int Asked, Right;
    double Correlation;
    const char* Remark;
};

struct MaskSetCase {
    const char* Name;
    std::vector<std::string> Masks;
    std::vector<TaskFigures> Tasks;
    double Mean, StdDev, Median;
    int Minimum, Maximum, Complete;
    double Alpha, Sem;
};

// Worked by hand (deviations from the means; see the comments for the sums).
const MaskSetCase kMaskSets[] = {
    {
        // Task 1 everybody right, task 2 nobody; scores 4 3 2 2 1.
        // Task 3: x 1 1 1 0 0, rest 3 2 1 2 1: Sxy 0.6, Sxx 1.2, Syy 2.8 -> 0.6 / sqrt(3.36).
        // Task 4: rest 3 2 2 1 1: the same sums. Task 5: x 1 0 0 0 0, rest 3 3 2 2 1:
        // Sxy 0.8, Sxx 0.8, Syy 2.8 -> 0.8 / sqrt(2.24); 20 % is not below 20 %.
        // Scores: mean 2.4, variance 5.2 / 5 = 1.04. KR-20: pq 0 + 0 + .24 + .24 + .16 = .64,
        // 5/4 (1 - .64 / 1.04) = 0.4807692; SEM sqrt(1.04 * (1 - alpha)) = sqrt(0.54).
        "EasyAndImpossibleTasks",
        {"+-+++", "+-++-", "+-+--", "+--+-", "+----"},
        {{5, 5, kNone, "слишком легкое"},
         {5, 0, kNone, "слишком трудное"},
         {5, 3, 0.6 / std::sqrt(3.36), ""},
         {5, 3, 0.6 / std::sqrt(3.36), ""},
         {5, 1, 0.8 / std::sqrt(2.24), ""}},
        2.4, std::sqrt(1.04), 2, 1, 4, 5,
        1.25 * (1 - 0.64 / 1.04), std::sqrt(0.54),
    },
    {
        // One result: no correlation, no reliability, no spread.
        "GroupOfOne",
        {"+-+"},
        {{1, 1, kNone, "слишком легкое"}, {1, 0, kNone, "слишком трудное"}, {1, 1, kNone, "слишком легкое"}},
        2, 0, 2, 2, 2, 1, kNone, kNone,
    },
    {
        // Scores 3 2 1 2 3 (mean 2.2, variance 2.8 / 5 = 0.56).
        // Task 1 over results 1, 2, 3, 5: x 1 1 0 0, rest 2 1 1 3: Sxy -0.5, Sxx 1, Syy 2.75.
        // Task 2 over all: x 1 0 1 0 1, rest 2 2 0 2 2: Sxy -0.8, Sxx 1.2, Syy 3.2.
        // Task 3 over results 2 to 5: x 1 0 1 1, rest 1 1 1 2: Sxy .25, Sxx .75, Syy .75.
        // Task 4 over all: x 1 0 0 1 1, rest 2 2 1 1 2: Sxy .2, Sxx 1.2, Syy 1.2.
        // Complete results 2, 3, 5 with scores 2 1 3 (variance 2/3); p 1/3 2/3 2/3 1/3,
        // pq 8/9 in all: alpha 4/3 (1 - (8/9) / (2/3)) = -4/9; SEM sqrt(0.56 * 13/9).
        "MasksWithTasksNotAsked",
        {"++*+", "+-+-", "-+--", "*-++", "-+++"},
        {{4, 2, -0.5 / std::sqrt(2.75), "плохо различает"},
         {5, 3, -0.8 / std::sqrt(3.84), "плохо различает"},
         {4, 3, 0.25 / 0.75, ""},
         {5, 3, 0.2 / 1.2, "плохо различает"}},
        2.2, std::sqrt(0.56), 2, 1, 3, 3,
        -4.0 / 9, std::sqrt(0.56 * 13 / 9),
    },
    {
        // Complete results that all score the same: no reliability; the
        // results with "*" still count in the summary.
        "CompleteScoresDoNotVary",
        {"+-", "-+", "+*", "**"},
        // Task 1 over results 1 to 3: x 1 0 1, rest 0 1 0; task 2 over 1 and 2: x 0 1,
        // rest 1 0. Both perfectly reversed.
        {{3, 2, -1, "плохо различает"}, {2, 1, -1, "плохо различает"}},
        0.75, std::sqrt(0.1875), 1, 0, 1, 2, kNone, kNone,
    },
};

class MaskSetTest : public ::testing::TestWithParam<MaskSetCase> {};

TEST_P(MaskSetTest, FiguresAgreeWithTheHandComputation)
{
    const MaskSetCase& c = GetParam();
    const auto list = Results(c.Masks);
    const ItemStatistics stats = ComputeItemStatistics(list, GroupOf(list, 0));
    ASSERT_EQ(stats.Tasks.size(), c.Tasks.size());
    for (size_t t = 0; t < c.Tasks.size(); ++t) {
        const std::string task = "task " + std::to_string(t + 1);
        EXPECT_EQ(stats.Tasks[t].Asked, c.Tasks[t].Asked) << task;
        EXPECT_EQ(stats.Tasks[t].Right, c.Tasks[t].Right) << task;
        ExpectFigure(stats.Tasks[t].Discrimination, c.Tasks[t].Correlation, task);
        EXPECT_EQ(stats.Tasks[t].Remark, c.Tasks[t].Remark) << task;
    }
    const GroupSummary& s = stats.Summary;
    EXPECT_EQ(s.Results, static_cast<int>(c.Masks.size()));
    EXPECT_NEAR(s.Mean, c.Mean, 1e-9);
    EXPECT_NEAR(s.StdDev, c.StdDev, 1e-9);
    EXPECT_DOUBLE_EQ(s.Median, c.Median);
    EXPECT_EQ(s.Minimum, c.Minimum);
    EXPECT_EQ(s.Maximum, c.Maximum);
    EXPECT_EQ(s.Complete, c.Complete);
    ExpectFigure(s.Alpha, c.Alpha, "alpha");
    ExpectFigure(s.Sem, c.Sem, "SEM");
}

INSTANTIATE_TEST_SUITE_P(ItemStatisticsTest, MaskSetTest, ::testing::ValuesIn(kMaskSets),
                         [](const auto& info) { return std::string(info.param.Name); });

// The textbook formulas, written out independently: Pearson's r from raw
// sums, and Cronbach's alpha from the item and total variances (which is
// KR-20 for 0/1 items).
std::optional<double> RawPearson(const std::vector<int>& x, const std::vector<int>& y)
{
    const double n = static_cast<double>(x.size());
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        syy += y[i] * y[i];
        sxy += x[i] * y[i];
    }
    const double vx = n * sxx - sx * sx, vy = n * syy - sy * sy;
    if (x.size() < 2 || vx == 0 || vy == 0)
        return std::nullopt;
    return (n * sxy - sx * sy) / std::sqrt(vx * vy);
}

double Variance(const std::vector<int>& v)
{
    double s = 0, ss = 0;
    for (const int x : v) {
        s += x;
        ss += x * x;
    }
    const double n = static_cast<double>(v.size());
    return ss / n - (s / n) * (s / n);
}

TEST(ItemStatisticsTest, RandomMaskSetsAgreeWithTheTextbookFormulas)
{
    std::mt19937 random(20240305);
    for (int round = 0; round < 200; ++round) {
        const size_t tasks = 1 + random() % 8, results = 1 + random() % 12;
        std::vector<std::string> masks(results, std::string(tasks, '-'));
        for (std::string& m : masks)
            for (char& c : m)
                c = "+-*"[random() % (round % 2 ? 3 : 2)];  // every other round complete
        const auto list = Results(masks);
        const ItemStatistics stats = ComputeItemStatistics(list, GroupOf(list, 0));

        std::vector<int> scores;
        for (const std::string& m : masks)
            scores.push_back(static_cast<int>(std::count(m.begin(), m.end(), '+')));
        for (size_t t = 0; t < tasks; ++t) {
            std::vector<int> x, y;
            for (size_t r = 0; r < results; ++r) {
                if (masks[r][t] == '*')
                    continue;
                x.push_back(masks[r][t] == '+');
                y.push_back(scores[r] - x.back());
            }
            const auto expected = RawPearson(x, y);
            ASSERT_EQ(stats.Tasks[t].Discrimination.has_value(), expected.has_value()) << round;
            if (expected) {
                EXPECT_NEAR(*stats.Tasks[t].Discrimination, *expected, 1e-9) << round;
            }
        }

        std::vector<int> complete;
        std::vector<std::vector<int>> items(tasks);
        for (size_t r = 0; r < results; ++r) {
            if (masks[r].find('*') != std::string::npos)
                continue;
            complete.push_back(scores[r]);
            for (size_t t = 0; t < tasks; ++t)
                items[t].push_back(masks[r][t] == '+');
        }
        if (complete.size() < 2 || tasks < 2 || Variance(complete) < 1e-12) {
            EXPECT_FALSE(stats.Summary.Alpha.has_value()) << round;
            continue;
        }
        double itemVariances = 0;
        for (const auto& item : items)
            itemVariances += Variance(item);
        const double k = static_cast<double>(tasks);
        const double alpha = k / (k - 1) * (1 - itemVariances / Variance(complete));
        ASSERT_TRUE(stats.Summary.Alpha.has_value()) << round;
        EXPECT_NEAR(*stats.Summary.Alpha, alpha, 1e-9) << round;
        EXPECT_NEAR(*stats.Summary.Sem, std::sqrt(Variance(scores)) * std::sqrt(1 - alpha), 1e-9) << round;
    }
}

TEST(ItemStatisticsTest, GroupsAreTheSameFileAndTheSameNumberOfTasks)
{
    const std::vector<TTestResult> list = {Result("+-", 7), Result("++", 9), Result("+-+", 7),
                                           Result("--", 7), Result("-+", 9)};
    EXPECT_EQ(GroupOf(list, 0), (ResultGroup{0, 3}));
    EXPECT_EQ(GroupOf(list, 4), (ResultGroup{1, 4}));
    EXPECT_EQ(GroupOf(list, 2), (ResultGroup{2}));
    EXPECT_TRUE(GroupOf(list, -1).empty());
    EXPECT_TRUE(GroupOf(list, 5).empty());
    EXPECT_EQ(AllGroups(list), (std::vector<ResultGroup>{{0, 3}, {1, 4}, {2}}));
    EXPECT_TRUE(AllGroups({}).empty());
}

TEST(ItemStatisticsTest, RemarkIsTheFirstThatApplies)
{
    struct Case {
        int asked, right;
        std::optional<double> r;
        const char* remark;
    } cases[] = {
        {10, 10, std::nullopt, "слишком легкое"},
        {100, 91, 0.1, "слишком легкое"},    // easy first, though it separates badly
        {10, 9, 0.5, ""},                    // 90 % is not above 90 %
        {10, 9, 0.1, "плохо различает"},
        {10, 2, 0.5, ""},                    // 20 % is not below 20 %
        {10, 1, 0.1, "слишком трудное"},
        {10, 5, 0.2, ""},                    // 0.2 is not below 0.2
        {10, 5, -0.3, "плохо различает"},
        {10, 5, std::nullopt, ""},           // no correlation, no judgement
        {0, 0, std::nullopt, ""},            // never asked
    };
    for (const Case& c : cases)
        EXPECT_EQ(TaskRemark(c.asked, c.right, c.r), c.remark) << c.asked << " " << c.right;
}

TEST(ItemStatisticsTest, TableTextsWithMeanTimes)
{
    // Task 1: asked thrice, x 1 0 1 against rest 1 2 2 (r = -0.5), (10 + 20 + 31) / 3 = 20.3 s. Task 2: asked twice,
    // (30 + 5) / 2 = 17.5 s, shown rounded up; the "abc" entry counts for
    // nothing. Task 3: 125 s. Task 4: never asked.
    const std::vector<TTestResult> list = {
        Result("+**+*", 7, 4, "10;0;0;0;0"), Result("-+-+*", 7, 3, "20;30;abc;0;0"),
        Result("++-+*", 7, 5, "31;5;125;3;0"),
    };
    const ItemStatistics stats = ComputeItemStatistics(list, GroupOf(list, 0));
    const auto rows = ItemTableTexts(stats);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (ItemRowTexts{"1", "3", "2", "66,7%", "-0,50", "00:20", "плохо различает"}));
    EXPECT_EQ(rows[1], (ItemRowTexts{"2", "2", "2", "100,0%", "", "00:18", "слишком легкое"}));
    EXPECT_EQ(rows[2], (ItemRowTexts{"3", "2", "0", "0,0%", "", "02:05", "слишком трудное"}));
    EXPECT_EQ(rows[4], (ItemRowTexts{"5", "0", "0", "", "", "", ""}));
    EXPECT_EQ(stats.TestTitle, "Дроби");
    EXPECT_EQ(stats.FileCrc, 7u);

    const std::string text = ItemTableText(stats);
    EXPECT_EQ(text.substr(0, text.find("\r\n")),
              "№\tЗадано\tВерно\tВерно, %\tРазличение\tСреднее время\tЗамечание");
    EXPECT_NE(text.find("\r\n2\t2\t2\t100,0%\t\t00:18\tслишком легкое\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n5\t0\t0\t\t\t\t\r\n"));

    TempFolder folder;
    ASSERT_TRUE(SaveItemTable(stats, folder / "items.txt"));
    EXPECT_EQ(folder.Read("items.txt"), Utf8ToCp1251(text));
    EXPECT_EQ(folder.Read("items.txt").substr(0, 2), "\xB9\t");  // "№" in Windows-1251
}

TEST(ItemStatisticsTest, SummaryTextsAndDecimals)
{
    const auto list = Results({"+-+++", "+-++-", "+-+--", "+--+-", "+----"});
    const auto texts = SummaryTexts(ComputeItemStatistics(list, GroupOf(list, 0)).Summary);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Результатов", "5"},          {"Среднее число верных", "2,40"},
        {"Стандартное отклонение", "1,02"}, {"Медиана", "2,0"},
        {"Минимум", "1"},              {"Максимум", "4"},
        {"Полных результатов", "5"},   {"Альфа Кронбаха (KR-20)", "0,48"},
        {"Ошибка измерения", "0,73"},
    };
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(FormatDecimal(-4.0 / 9, 4, '.'), "-0.4444");
    EXPECT_EQ(FormatDecimal(-0.00001, 2), "0,00");
    EXPECT_EQ(FormatDecimal(std::nullopt, 2), "");
}

TEST(ItemStatisticsTest, MarksChartCountsEachMarkFromOne)
{
    std::vector<TTestResult> list;
    for (const int mark : {5, 3, 5, 4, 5, 0, 2000000000, -3})
        list.push_back(Result("+", 7, mark));
    const ChartData chart = MarksChart(ComputeItemStatistics(list, GroupOf(list, 0)));
    EXPECT_EQ(chart.Values, (std::vector<int32_t>{0, 0, 1, 1, 3}));
    EXPECT_EQ(chart.MaxValue, 3);
    EXPECT_EQ(chart.LabelMode, 0);

    const ChartData none = MarksChart(ComputeItemStatistics(Results({"+"}), {0}));
    EXPECT_TRUE(none.Values.empty());
    EXPECT_EQ(none.MaxValue, 0);
}

TEST(ItemStatisticsTest, TabSeparatedStatisticsForOtherPrograms)
{
    // The first group is the hand-worked "EasyAndImpossibleTasks" set:
    // mean 2.4, sd sqrt(1.04) = 1.01980, alpha 0.480769, SEM sqrt(0.54) = 0.734847,
    // correlations 0.6 / sqrt(3.36) = 0.327327 and 0.8 / sqrt(2.24) = 0.534522.
    std::vector<TTestResult> list = Results({"+-+++", "+-++-", "+-+--", "+--+-", "+----"});
    list[0].TimeMask = "10;20;30;40;50";
    list.push_back(Result("+*", 9, 3, "7;0"));
    list.back().TestTitle = "Tab\there";
    EXPECT_EQ(StatisticsTsv(list),
              "test\tДроби\t/srv/Дроби.tst\t00000007\t5\t2.4000\t1.0198\t2.0\t1\t4\t5\t0.4808\t0.7348\r\n"
              "task\t1\t5\t5\t100.0\t\t10.0\tслишком легкое\r\n"
              "task\t2\t5\t0\t0.0\t\t20.0\tслишком трудное\r\n"
              "task\t3\t5\t3\t60.0\t0.3273\t30.0\t\r\n"
              "task\t4\t5\t3\t60.0\t0.3273\t40.0\t\r\n"
              "task\t5\t5\t1\t20.0\t0.5345\t50.0\t\r\n"
              "test\tTab here\t/srv/Дроби.tst\t00000009\t1\t1.0000\t0.0000\t1.0\t1\t1\t0\t\t\r\n"
              "task\t1\t1\t1\t100.0\t\t7.0\tслишком легкое\r\n"
              "task\t2\t0\t0\t\t\t\t\r\n");
    EXPECT_EQ(StatisticsTsv({}), "");

    TempFolder folder;
    ASSERT_TRUE(SaveStatisticsTsv(list, folder / "stats.tsv"));
    EXPECT_EQ(folder.Read("stats.tsv"), Utf8ToCp1251(StatisticsTsv(list)));
}

}  // namespace
}  // namespace quilmo::journal
