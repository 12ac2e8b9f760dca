// The result chart's geometry: percentages, start points, the painter's angles.

#include <gtest/gtest.h>

#include "runner/PieChart.h"

namespace quilmo {
namespace {

TEST(PieChartTest, PercentagesRoundHalvesToEven)
{
    EXPECT_EQ(ChartPercent(1, 8), 12);  // 12.5
    EXPECT_EQ(ChartPercent(3, 8), 38);  // 37.5
    EXPECT_EQ(ChartPercent(2, 3), 67);
    EXPECT_EQ(ChartPercent(1, 4), 25);
    EXPECT_EQ(ChartPercent(8, 8), 100);
    EXPECT_EQ(ChartPercent(0, 5), 0);
    EXPECT_EQ(ChartPercent(3, 0), 0);  // a test without tasks draws no sector
}

TEST(PieChartTest, StartPointsRunClockwiseFromTwelve)
{
    struct Case {
        int Percent;
        TChartPoint Point;
    } cases[] = {
        {25, {100, 50}},  // 3 o'clock
        {50, {50, 100}},
        {75, {0, 50}},
        {100, {50, 0}},  // back at the top: the whole disc
        {1, {53, 0}},    // x = 50 + 50 sin 3.6°
        {12, {84, 14}},  // 43.2°: 50 + 34.23, 50 - 36.45
        {38, {84, 86}},  // 136.8°: 50 + 34.23, 50 + 36.45
    };
    for (const Case& c : cases)
        EXPECT_EQ(PieStartPoint(c.Percent), c.Point) << c.Percent;
}

TEST(PieChartTest, PainterAnglesGoThroughTheRoundedStartPoint)
{
    struct Case {
        int Percent;
        TPieAngles Angles;
    } cases[] = {
        {25, {0, 90 * 16}},
        {50, {270 * 16, 180 * 16}},
        {75, {180 * 16, 270 * 16}},
        {100, {90 * 16, 360 * 16}},
        // (84, 14): atan2(36, 34) = 46.64°, 746 sixteenths; the span reaches 90°.
        {12, {746, 1440 - 746}},
        // (84, 86): -46.64° = 313.36°, 5014 sixteenths; span 90° - 313.36° + 360°.
        {38, {5014, 1440 - 5014 + 5760}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PieAngles(c.Percent), c.Angles) << c.Percent;
}

}  // namespace
}  // namespace quilmo
