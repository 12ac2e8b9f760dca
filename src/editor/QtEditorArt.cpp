#include "editor/QtEditorArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quilmo {

namespace {

// Everything is drawn on a 24-unit grid and scaled to the pixel size.
QPixmap Canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void Prepare(QPainter& p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
}

const QColor kInk(45, 70, 110);
const QColor kPaper(252, 252, 247);
const QColor kPaperShade(214, 224, 238);

// A sheet of paper with a folded corner in the rectangle.
void Sheet(QPainter& p, const QRectF& r)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.setBrush(kPaperShade);
    p.drawPolygon(QPolygonF({QPointF(r.right() - fold, r.top()),
                             QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)}));
}

// Text lines on a sheet.
void SheetLines(QPainter& p, qreal left, qreal right, qreal top, int count)
{
    p.setPen(QPen(QColor(150, 162, 180), 1.3));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * 3.2), QPointF(right - (i % 2) * 2.5, top + i * 3.2));
}

// The rounded backing of a tree icon: pale when normal, a warm highlight when
// the node is selected, so that the selected node reads at a glance.
void Badge(QPainter& p, bool selected, const QColor& tint)
{
    const QRectF r(1.5, 1.5, 21, 21);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    if (selected) {
        g.setColorAt(0, QColor(255, 236, 160));
        g.setColorAt(1, QColor(246, 190, 70));
        p.setPen(QPen(QColor(190, 120, 20), 1.2));
    } else {
        g.setColorAt(0, tint.lighter(180));
        g.setColorAt(1, tint.lighter(135));
        p.setPen(QPen(tint.darker(140), 1.2));
    }
    p.setBrush(g);
    p.drawRoundedRect(r, 4.5, 4.5);
}

void SingleChoicePicture(QPainter& p, bool selected)
{
    const QColor tint(70, 130, 210);
    Badge(p, selected, tint);
    // Two radio buttons, the upper one chosen.
    for (int row = 0; row < 2; ++row) {
        const QPointF c(7.5, 8 + row * 8);
        p.setPen(QPen(kInk, 1.3));
        p.setBrush(Qt::white);
        p.drawEllipse(c, 3.4, 3.4);
        if (row == 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(selected ? QColor(170, 60, 10) : QColor(25, 85, 180));
            p.drawEllipse(c, 1.8, 1.8);
        }
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, c.y()), QPointF(row == 0 ? 19.5 : 17.5, c.y()));
    }
}

void MultipleChoicePicture(QPainter& p, bool selected)
{
    const QColor tint(70, 165, 90);
    Badge(p, selected, tint);
    // Two ticked boxes.
    for (int row = 0; row < 2; ++row) {
        const QRectF box(4.5, 4.8 + row * 8, 6.4, 6.4);
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(QPen(selected ? QColor(170, 60, 10) : QColor(20, 130, 45), 1.8, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath tick;
        tick.moveTo(box.left() + 1.2, box.center().y());
        tick.lineTo(box.left() + 2.9, box.bottom() - 1.2);
        tick.lineTo(box.right() + 0.6, box.top() - 0.8);
        p.drawPath(tick);
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13.5, box.center().y()), QPointF(row == 0 ? 19.5 : 17.5, box.center().y()));
    }
}

void OrderingPicture(QPainter& p, bool selected)
{
    const QColor tint(200, 120, 50);
    Badge(p, selected, tint);
    // Three numbered steps of a staircase: the order of the answers.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(6);
    font.setBold(true);
    p.setFont(font);
    const QColor step = selected ? QColor(170, 60, 10) : QColor(170, 80, 20);
    for (int i = 0; i < 3; ++i) {
        const QRectF r(4 + i * 5.4, 14.5 - i * 4.6, 5.2, 5.4 + i * 4.6);
        p.setPen(QPen(step.darker(130), 0.8));
        p.setBrush(i == 0 ? step.lighter(150) : i == 1 ? step.lighter(125) : step);
        p.drawRect(r);
        p.setPen(Qt::white);
        p.drawText(QRectF(r.left(), r.top() + 0.2, r.width(), 5.4), Qt::AlignCenter,
                   QString::number(i + 1));
    }
}

QPixmap TaskTypePixmap(int taskType, int size, bool selected)
{
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    Prepare(p, size);
    switch (taskType) {
    case 2: MultipleChoicePicture(p, selected); break;
    case 3: OrderingPicture(p, selected); break;
    default: SingleChoicePicture(p, selected); break;
    }
    return pixmap;
}

// A thick arrow pointing up (or down) with an optional bar at its tip.
void Arrow(QPainter& p, bool up, bool bar)
{
    p.save();
    if (!up) {
        p.translate(0, 24);
        p.scale(1, -1);
    }
    const qreal top = bar ? 7.5 : 3.5;
    QPainterPath arrow;
    arrow.moveTo(12, top);
    arrow.lineTo(20, top + 8.5);
    arrow.lineTo(15, top + 8.5);
    arrow.lineTo(15, 21);
    arrow.lineTo(9, 21);
    arrow.lineTo(9, top + 8.5);
    arrow.lineTo(4, top + 8.5);
    arrow.closeSubpath();
    QLinearGradient g(0, top, 0, 21);
    g.setColorAt(0, QColor(90, 160, 240));
    g.setColorAt(1, QColor(30, 90, 190));
    p.setPen(QPen(QColor(20, 60, 130), 1.1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(arrow);
    if (bar) {
        p.setBrush(QColor(40, 60, 90));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(4, 2.5, 16, 3), 1, 1);
    }
    p.restore();
}

void Plus(QPainter& p, const QPointF& c)
{
    p.setPen(QPen(QColor(20, 110, 30), 1));
    p.setBrush(QColor(60, 175, 70));
    p.drawEllipse(c, 5.6, 5.6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c.x() - 3.2, c.y()), QPointF(c.x() + 3.2, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 3.2), QPointF(c.x(), c.y() + 3.2));
}

void Cross(QPainter& p, const QPointF& c)
{
    p.setPen(QPen(QColor(140, 20, 20), 1));
    p.setBrush(QColor(215, 50, 45));
    p.drawEllipse(c, 5.6, 5.6);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 2.4, c.y() - 2.4), QPointF(c.x() + 2.4, c.y() + 2.4));
    p.drawLine(QPointF(c.x() - 2.4, c.y() + 2.4), QPointF(c.x() + 2.4, c.y() - 2.4));
}

void Clipboard(QPainter& p)
{
    p.setPen(QPen(QColor(110, 70, 30), 1.2));
    p.setBrush(QColor(200, 150, 90));
    p.drawRoundedRect(QRectF(3, 3.5, 14, 18.5), 1.8, 1.8);
    p.setBrush(QColor(250, 250, 250));
    p.setPen(QPen(QColor(150, 150, 150), 0.8));
    p.drawRect(QRectF(5, 6.5, 10, 13.5));
    p.setPen(QPen(QColor(80, 80, 90), 1));
    p.setBrush(QColor(175, 180, 190));
    p.drawRoundedRect(QRectF(7, 1.8, 6, 3.6), 1, 1);
}

void ToolPicture(QPainter& p, EditorTool tool)
{
    switch (tool) {
    case EditorTool::Add:
        Sheet(p, QRectF(3, 2, 14, 19));
        SheetLines(p, 5.5, 13.5, 8, 3);
        Plus(p, QPointF(16.5, 16.5));
        break;
    case EditorTool::Delete:
        Sheet(p, QRectF(3, 2, 14, 19));
        SheetLines(p, 5.5, 13.5, 8, 3);
        Cross(p, QPointF(16.5, 16.5));
        break;
    case EditorTool::MoveUp: Arrow(p, true, false); break;
    case EditorTool::MoveDown: Arrow(p, false, false); break;
    case EditorTool::MoveFirst: Arrow(p, true, true); break;
    case EditorTool::MoveLast: Arrow(p, false, true); break;
    case EditorTool::Duplicate:
        Sheet(p, QRectF(2.5, 2, 12.5, 16));
        SheetLines(p, 4.5, 11.5, 7, 3);
        Sheet(p, QRectF(9, 6.5, 12.5, 16));
        SheetLines(p, 11, 18, 12, 3);
        break;
    case EditorTool::CopyToClipboard:
        Clipboard(p);
        p.setPen(QPen(QColor(120, 130, 150), 1.2));
        p.drawLine(QPointF(7, 10), QPointF(13, 10));
        p.drawLine(QPointF(7, 13), QPointF(12, 13));
        // A small sheet going onto the board.
        Sheet(p, QRectF(12.5, 10.5, 9, 11.5));
        p.setPen(QPen(QColor(30, 120, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(17, 20), QPointF(17, 14.5));
        p.drawLine(QPointF(14.8, 16.7), QPointF(17, 14.5));
        p.drawLine(QPointF(19.2, 16.7), QPointF(17, 14.5));
        break;
    case EditorTool::PasteFromClipboard:
        Clipboard(p);
        Sheet(p, QRectF(11, 9.5, 10.5, 13));
        SheetLines(p, 13, 18.5, 14.5, 3);
        break;
    }
}

QPixmap ToolPixmap(EditorTool tool, int size)
{
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    Prepare(p, size);
    ToolPicture(p, tool);
    return pixmap;
}

// The disabled form: grey, faded.
QPixmap Greyed(const QPixmap& source)
{
    QImage image = source.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            const int light = 120 + grey * 110 / 255;
            line[x] = qRgba(light, light, light, qAlpha(line[x]) * 6 / 10);
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace

QIcon TaskTypeIcon(int taskType, int size)
{
    QIcon icon;
    icon.addPixmap(TaskTypePixmap(taskType, size, false), QIcon::Normal);
    icon.addPixmap(TaskTypePixmap(taskType, size, true), QIcon::Selected);
    return icon;
}

QIcon EditorToolIcon(EditorTool tool)
{
    QIcon icon;
    for (int size : {16, 20, 24}) {
        const QPixmap pixmap = ToolPixmap(tool, size);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(Greyed(pixmap), QIcon::Disabled);
    }
    return icon;
}

}  // namespace quilmo
