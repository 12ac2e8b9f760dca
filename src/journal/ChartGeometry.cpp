#include "journal/ChartGeometry.h"

namespace quilmo::journal {

ChartLayout LayOutChart(int64_t width, int64_t height, const std::vector<int32_t>& values,
                        int32_t maxValue, int labelMode, int64_t textHeight)
{
    ChartLayout c;
    const auto n = static_cast<int64_t>(values.size());
    if (maxValue < 1 || n < 1)
        return c;

    int64_t plot = width - c.Left - c.Right;
    const int64_t free = plot - (n + 2) * kChartGap;
    c.BarWidth = free / n;
    const int64_t remainder = free - c.BarWidth * n;
    c.Left += remainder / 2;
    c.Right += remainder - remainder / 2;
    plot = width - c.Left - c.Right;

    const int64_t span = height - c.Top - c.Bottom;
    c.StepHeight = span / maxValue;
    c.Top += span - c.StepHeight * maxValue;

    c.LineLeft = c.Left;
    c.LineRight = c.Left + plot;
    c.ScaleLines.reserve(static_cast<size_t>(maxValue));
    for (int64_t k = 0; k < maxValue; ++k)
        c.ScaleLines.push_back(c.Top + k * c.StepHeight);

    const int64_t base = height - c.Bottom;
    c.Bars.reserve(values.size());
    for (int64_t i = 0; i < n; ++i) {
        const int64_t value = values[static_cast<size_t>(i)];
        ChartBar bar;
        const int64_t x = c.Left + kChartGap + i * (c.BarWidth + kChartGap);
        bar.Rect = {x, c.Top + (maxValue - value) * c.StepHeight, x + c.BarWidth, base};
        bar.LabelX = x + 2;
        bar.LabelY = base - textHeight;
        if (labelMode == 0)
            bar.Label = std::to_string(i + 1);
        else if (labelMode == 1)
            bar.Label = std::to_string(value);
        c.Bars.push_back(std::move(bar));
    }
    return c;
}

}  // namespace quilmo::journal
