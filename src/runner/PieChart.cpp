#include "runner/PieChart.h"

#include <cmath>
#include <numbers>

#include "model/Regional.h"

namespace quilmo {

namespace {

// Halves to even: the default rounding mode of nearbyint.
int RoundEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

const TChartPoint kEnd{50, 0};

}  // namespace

int ChartPercent(int64_t count, int64_t total)
{
    if (total < 1)
        return 0;
    return static_cast<int>(RoundHalfEven(count * 100, total));
}

TChartPoint PieStartPoint(int percent)
{
    const double theta = (percent / 50.0 + 0.5) * std::numbers::pi;
    return {RoundEven((1 - std::cos(theta)) * 50), RoundEven((1 - std::sin(theta)) * 50)};
}

TPieAngles PieAngles(int percent)
{
    const TChartPoint start = PieStartPoint(percent);
    if (start == kEnd)
        return {90 * 16, 360 * 16};
    // Screen y grows downwards; the painter's angles grow counter-clockwise.
    double degrees = std::atan2(50.0 - start.Y, start.X - 50.0) * 180 / std::numbers::pi;
    if (degrees < 0)
        degrees += 360;
    const int start16 = RoundEven(degrees * 16);
    int span16 = 90 * 16 - start16;
    if (span16 <= 0)
        span16 += 360 * 16;
    return {start16, span16};
}

}  // namespace quilmo
