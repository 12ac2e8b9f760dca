#pragma once
// The geometry of the result window's chart: a 100 x 100 circle, sectors that
// start at 12 o'clock and run clockwise over a share of the turn.

#include <cstdint>

namespace quilmo {

struct TChartPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TChartPoint&) const = default;
};

// count * 100 / total rounded to the nearest integer, halves to even; 0 when
// total is below 1.
int ChartPercent(int64_t count, int64_t total);

// The start point of a p-percent sector in the box (0, 0)-(100, 100): with
// θ = (p / 50 + 1/2) π, x = round((1 − cos θ) · 50), y = round((1 − sin θ) · 50),
// halves to even. The sector runs from it counter-clockwise to (50, 0).
TChartPoint PieStartPoint(int percent);

// The same slice in the painter's terms: angles in 1/16 degree, counter-
// clockwise from 3 o'clock, taken through the rounded start point. A start
// point on (50, 0) is the whole disc.
struct TPieAngles {
    int Start16 = 0;
    int Span16 = 0;
    bool operator==(const TPieAngles&) const = default;
};
TPieAngles PieAngles(int percent);

}  // namespace quilmo
