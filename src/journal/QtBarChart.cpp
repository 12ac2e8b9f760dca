#include "journal/QtBarChart.h"

#include <QPainter>
#include <algorithm>

#include "journal/ChartGeometry.h"

namespace quilmo {

namespace {

// Bars far above the scale are clipped anyway; the painter gets coordinates
// it can handle.
int Px(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, -100000, 100000));
}

// A rectangle as the chart's drawing calls mean it: outline in the pen,
// inside in the brush, the right and bottom edges outside it.
void DrawRectangle(QPainter& p, int64_t left, int64_t top, int64_t right, int64_t bottom,
                   const QColor& pen, const QColor* brush)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1)
        return;
    const int l = Px(left), t = Px(top), r = Px(right) - 1, b = Px(bottom) - 1;
    if (brush && r - l > 1 && b - t > 1)
        p.fillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 1, b - 1)), *brush);
    p.setPen(pen);
    p.drawLine(l, t, r, t);
    p.drawLine(l, b, r, b);
    p.drawLine(l, t, l, b);
    p.drawLine(r, t, r, b);
}

}  // namespace

void PaintBarChart(QPainter& painter, int width, int height, const std::vector<int32_t>& values,
                   int32_t maxValue, int labelMode)
{
    const QColor white(255, 255, 255);
    DrawRectangle(painter, 0, 0, width, height, QColor(150, 150, 150), &white);

    const QFontMetrics metrics(painter.font());
    const journal::ChartLayout chart =
        journal::LayOutChart(width, height, values, maxValue, labelMode, metrics.height());
    if (chart.Bars.empty())
        return;

    // A line ends one pixel short of its end point.
    painter.setPen(QColor(200, 200, 200));
    if (chart.LineRight > chart.LineLeft)
        for (const int64_t y : chart.ScaleLines)
            painter.drawLine(Px(chart.LineLeft), Px(y), Px(chart.LineRight - 1), Px(y));

    const QColor barPen(150, 180, 150), barBrush(150, 200, 150), labelPen(120, 100, 100);
    for (const journal::ChartBar& bar : chart.Bars) {
        DrawRectangle(painter, bar.Rect.Left, bar.Rect.Top, bar.Rect.Right, bar.Rect.Bottom, barPen,
                      &barBrush);
        if (!bar.Label.empty()) {
            painter.setPen(labelPen);
            painter.drawText(QPoint(Px(bar.LabelX), Px(bar.LabelY) + metrics.ascent()),
                             QString::fromStdString(bar.Label));
        }
    }
}

TBarChartBox::TBarChartBox(Painter paint, QWidget* parent) : QWidget(parent), Paint(std::move(paint))
{
    setObjectName(QStringLiteral("PaintBox"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBarChartBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, width(), height());
}

}  // namespace quilmo
