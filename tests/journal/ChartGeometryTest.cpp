// The bar chart's layout, worked out by hand for a drawing area of 484 x 211
// (the chart window's client area less its title and bottom strips).

#include <gtest/gtest.h>

#include "journal/Analyses.h"
#include "journal/ChartGeometry.h"

namespace quilmo::journal {
namespace {

constexpr int kTextHeight = 13;

std::vector<ChartRect> Rects(const ChartLayout& c)
{
    std::vector<ChartRect> rects;
    for (const ChartBar& b : c.Bars)
        rects.push_back(b.Rect);
    return rects;
}

std::vector<std::string> Labels(const ChartLayout& c)
{
    std::vector<std::string> labels;
    for (const ChartBar& b : c.Bars)
        labels.push_back(b.Label);
    return labels;
}

TEST(ChartGeometryTest, OneResultsTasks)
{
    // Four bars 1, 0, 0, 1 on one step: no remainder, a step of 200.
    const ChartLayout c = LayOutChart(484, 211, {1, 0, 0, 1}, 1, 0, kTextHeight);
    EXPECT_EQ(c.BarWidth, 113);
    EXPECT_EQ(c.StepHeight, 200);
    EXPECT_EQ(c.ScaleLines, (std::vector<int64_t>{10}));
    EXPECT_EQ(c.LineLeft, 10);
    EXPECT_EQ(c.LineRight, 474);
    EXPECT_EQ(Rects(c), (std::vector<ChartRect>{
                            {12, 10, 125, 210}, {127, 210, 240, 210}, {242, 210, 355, 210}, {357, 10, 470, 210}}));
    EXPECT_EQ(Labels(c), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(c.Bars[2].LabelX, 244);
    EXPECT_EQ(c.Bars[2].LabelY, 197);
}

TEST(ChartGeometryTest, GroupOfThreeMovesTheRemaindersToTheMargins)
{
    // Bars 2, 2, 0 on three steps: one pixel of bar width left over goes to
    // the right margin, and 2 pixels of height to the top one.
    const ChartLayout c = LayOutChart(484, 211, {2, 2, 0}, 3, 0, kTextHeight);
    EXPECT_EQ(c.Left, 10);
    EXPECT_EQ(c.Right, 11);
    EXPECT_EQ(c.Top, 12);
    EXPECT_EQ(c.BarWidth, 151);
    EXPECT_EQ(c.StepHeight, 66);
    EXPECT_EQ(c.ScaleLines, (std::vector<int64_t>{12, 78, 144}));
    EXPECT_EQ(c.LineRight, 473);
    EXPECT_EQ(Rects(c), (std::vector<ChartRect>{{12, 78, 163, 210}, {165, 78, 316, 210}, {318, 210, 469, 210}}));
}

TEST(ChartGeometryTest, PercentagesAreLabelledWithTheirValues)
{
    const ChartLayout c = LayOutChart(484, 211, {62, 12}, 100, 1, kTextHeight);
    EXPECT_EQ(c.StepHeight, 2);
    ASSERT_EQ(c.ScaleLines.size(), 100u);
    EXPECT_EQ(c.ScaleLines.front(), 10);
    EXPECT_EQ(c.ScaleLines.back(), 208);
    EXPECT_EQ(Rects(c), (std::vector<ChartRect>{{12, 86, 240, 210}, {242, 186, 470, 210}}));
    EXPECT_EQ(Labels(c), (std::vector<std::string>{"62", "12"}));
    EXPECT_EQ(c.Bars[1].LabelX, 244);

    // Any other label mode draws no labels; a value above the scale rises
    // above the top margin.
    const ChartLayout over = LayOutChart(484, 211, {150}, 100, 2, kTextHeight);
    EXPECT_EQ(over.Bars[0].Label, "");
    EXPECT_EQ(over.Bars[0].Rect.Top, 10 - 50 * 2);
}

TEST(ChartGeometryTest, NarrowWindowsDegenerateTheBarsOnly)
{
    // Ten bars in 40 pixels: a free width of -4, bars of width 0, and the
    // negative remainder taken off the margins.
    const ChartLayout zero = LayOutChart(40, 50, std::vector<int32_t>(10, 1), 1, 0, kTextHeight);
    EXPECT_EQ(zero.BarWidth, 0);
    EXPECT_EQ(zero.Left, 8);
    EXPECT_EQ(zero.Right, 8);
    EXPECT_EQ(zero.LineRight, 32);
    EXPECT_EQ(zero.Bars[9].Rect, (ChartRect{28, 10, 28, 49}));

    // Three bars in 25 pixels: -5 / 3 rounds toward zero to -1, leaving -2.
    const ChartLayout negative = LayOutChart(25, 50, {1, 1, 1}, 1, 0, kTextHeight);
    EXPECT_EQ(negative.BarWidth, -1);
    EXPECT_EQ(negative.Left, 9);
    EXPECT_EQ(negative.Right, 9);
    EXPECT_EQ(Rects(negative), (std::vector<ChartRect>{{11, 10, 10, 49}, {12, 10, 11, 49}, {13, 10, 12, 49}}));

    // A drawing area lower than its margins: the step height -6 / 4 rounds to -1.
    const ChartLayout flat = LayOutChart(484, 5, {1}, 4, 0, kTextHeight);
    EXPECT_EQ(flat.StepHeight, -1);
    EXPECT_EQ(flat.Top, 8);
    EXPECT_EQ(flat.ScaleLines, (std::vector<int64_t>{8, 7, 6, 5}));
    EXPECT_EQ(flat.Bars[0].Rect, (ChartRect{12, 5, 470, 4}));
}

TEST(ChartGeometryTest, NothingButTheFrameWithoutAScaleOrBars)
{
    for (const int32_t maxValue : {0, -1, -100}) {
        const ChartLayout c = LayOutChart(484, 211, {1, 2}, maxValue, 0, kTextHeight);
        EXPECT_TRUE(c.Bars.empty()) << maxValue;
        EXPECT_TRUE(c.ScaleLines.empty()) << maxValue;
    }
    EXPECT_TRUE(LayOutChart(484, 211, {}, 5, 0, kTextHeight).Bars.empty());
}

// ---------------------------------------------------------------- the analyses

TTestResult Entry(const std::string& user, uint32_t crc, TIntDynArray mask, int right = 0, int total = 0)
{
    TTestResult r;
    r.UserName = user;
    r.FileCrc = crc;
    r.MaskValues = std::move(mask);
    r.RightCount = right;
    r.TotalCount = total;
    return r;
}

TEST(AnalysesTest, OneShowsTheSelectedEntrysRightAnswers)
{
    const std::vector<TTestResult> list = {Entry("A", 1, {0}), Entry("Петров", 1, {1, 0, -1, 1})};
    EXPECT_EQ(AnalysisOne(list, 1),
              (ChartData{{1, 0, 0, 1}, 1, 0, "Результаты выбранного теста для: \"Петров\""}));
    EXPECT_FALSE(AnalysisOne(list, -1));  // the header row
    EXPECT_FALSE(AnalysisOne(list, 2));
    EXPECT_FALSE(AnalysisOne({}, 0));
}

TEST(AnalysesTest, GroupCountsTheEntriesOfTheSameFile)
{
    const std::vector<TTestResult> list = {
        Entry("A", 7, {1, 1, 0}), Entry("other file", 8, {1, 1, 1}), Entry("B", 7, {1, 0, 0}),
        Entry("C", 7, {0, 1, -1}),
        // Another file with the same checksum and a longer mask counts over
        // the selected entry's three tasks only.
        Entry("D", 7, {0, 0, 1, 1, 1}),
    };
    EXPECT_EQ(AnalysisGroup(list, 2),
              (ChartData{{2, 2, 1}, 4, 0, "Результаты тестов для группы с выбранным тестом"}));
    // From the shorter side: the longer entry's extra tasks do not exist here.
    EXPECT_EQ(AnalysisGroup(list, 4)->Values, (std::vector<int32_t>{2, 2, 1, 1, 1}));
    EXPECT_FALSE(AnalysisGroup(list, 5));
}

TEST(AnalysesTest, PercentOfAllTasksRoundsHalvesToEven)
{
    const std::vector<TTestResult> list = {Entry("A", 1, {}, 5, 8), Entry("B", 1, {}, 1, 8),
                                           Entry("C", 1, {}, 3, 8), Entry("none", 1, {}, 4, 0),
                                           Entry("huge", 1, {}, 2000000000, 1)};
    EXPECT_EQ(AnalysisPercent(list),
              (ChartData{{62, 12, 38, 0, 2147483647}, 100, 1, "Результаты в % тестов для всей группы"}));
    EXPECT_FALSE(AnalysisPercent({}));
}

}  // namespace
}  // namespace quilmo::journal
