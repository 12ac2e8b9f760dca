#include "app/QtArt.h"

#include <QPainter>
#include <QPainterPath>

namespace quilmo {

QPixmap ProgramPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // A sheet of paper with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(12, 4);
    sheet.lineTo(42, 4);
    sheet.lineTo(54, 16);
    sheet.lineTo(54, 60);
    sheet.lineTo(12, 60);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(60, 80, 110), 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawPath(sheet);
    p.setBrush(QColor(210, 220, 235));
    p.drawPolygon(QPolygonF({QPointF(42, 4), QPointF(42, 16), QPointF(54, 16)}));

    // Answer lines with boxes, the first one ticked.
    for (int row = 0; row < 3; ++row) {
        const int y = 24 + row * 11;
        p.setPen(QPen(QColor(60, 80, 110), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(18, y, 7, 7));
        p.setPen(QPen(QColor(150, 160, 175), 2));
        p.drawLine(QPointF(30, y + 3.5), QPointF(row == 1 ? 42 : 48, y + 3.5));
    }
    p.setPen(QPen(QColor(30, 150, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(17, 26);
    tick.lineTo(22, 32);
    tick.lineTo(32, 18);
    p.drawPath(tick);
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ProgramPicture(size));
    return icon;
}

QIcon NextArrowIcon()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 110, 40), 1));
    p.setBrush(QColor(40, 160, 70));
    p.drawPolygon(QPolygonF({QPointF(3, 7), QPointF(10, 7), QPointF(10, 2), QPointF(18, 10),
                             QPointF(10, 18), QPointF(10, 13), QPointF(3, 13)}));
    return QIcon(pixmap);
}

}  // namespace quilmo
