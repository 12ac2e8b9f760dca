#pragma once
// The journal's bar chart, painted on any drawing area: a grey frame, the
// scale lines, one green bar per value and its label. The chart window and
// the item statistics window both show it.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

namespace quilmo {

void PaintBarChart(QPainter& painter, int width, int height, const std::vector<int32_t>& values,
                   int32_t maxValue, int labelMode);

// A drawing area that paints a chart given by the owner on every repaint.
class TBarChartBox : public QWidget {
public:
    using Painter = std::function<void(QPainter&, int width, int height)>;
    TBarChartBox(Painter paint, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Painter Paint;
};

}  // namespace quilmo
