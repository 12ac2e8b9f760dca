#pragma once
// Where the bar chart's scale lines, bars and labels go in a drawing area of
// W by H pixels. Every division rounds toward zero.

#include <cstdint>
#include <string>
#include <vector>

namespace quilmo::journal {

// A rectangle as the drawing calls take it: from (Left, Top) to (Right,
// Bottom), the right and bottom edges outside. Coordinates of bars far above
// the scale do not fit an int, hence 64 bits.
struct ChartRect {
    int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const ChartRect&) const = default;
};

struct ChartBar {
    ChartRect Rect;
    int64_t LabelX = 0, LabelY = 0;  // top left of the label
    std::string Label;
    bool operator==(const ChartBar&) const = default;
};

struct ChartLayout {
    // Margins after the remainder of the bar widths went to them.
    int64_t Left = 10, Right = 10, Top = 10, Bottom = 1;
    int64_t BarWidth = 0;
    int64_t StepHeight = 0;
    // One horizontal line per step from the top, from LineLeft to LineRight;
    // the line of value 0 is not drawn.
    std::vector<int64_t> ScaleLines;
    int64_t LineLeft = 0, LineRight = 0;
    std::vector<ChartBar> Bars;
};

inline constexpr int kChartGap = 2;

// labelMode 0: bars numbered from 1; 1: their values; anything else: no
// labels. Nothing but the frame when maxValue < 1 or there are no values.
ChartLayout LayOutChart(int64_t width, int64_t height, const std::vector<int32_t>& values,
                        int32_t maxValue, int labelMode, int64_t textHeight);

}  // namespace quilmo::journal
