#include "tools/QtToolArt.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>

#include "app/QtArt.h"

namespace quilmo {

namespace {

const QColor kInk(60, 80, 110);

// A painter on a transparent square in a 64-unit coordinate system.
class Canvas {
public:
    explicit Canvas(int size) : pixmap_(size, size)
    {
        pixmap_.fill(Qt::transparent);
        painter_.begin(&pixmap_);
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setRenderHint(QPainter::TextAntialiasing);
        painter_.scale(size / 64.0, size / 64.0);
    }
    QPainter& p() { return painter_; }
    QPixmap Done()
    {
        painter_.end();
        return pixmap_;
    }

private:
    QPixmap pixmap_;
    QPainter painter_;
};

struct TypeLook {
    const char* Label;
    QColor Band;
};

TypeLook LookOf(int iconIndex)
{
    switch (iconIndex) {
    case 1: return {"TST", QColor(40, 110, 200)};
    case 2: return {"STST", QColor(200, 120, 30)};
    default: return {"EST", QColor(40, 150, 70)};
    }
}

// A test sheet with a coloured band naming its type.
QPixmap FileTypePicture(int iconIndex, int size)
{
    const TypeLook look = LookOf(iconIndex);
    Canvas canvas(size);
    QPainter& p = canvas.p();
    p.drawPixmap(QRectF(0, 0, 64, 64), ProgramPicture(size), QRectF(0, 0, size, size));
    const QRectF band(6, 40, 52, 18);
    p.setPen(QPen(look.Band.darker(140), 1.5));
    p.setBrush(look.Band);
    p.drawRoundedRect(band, 3, 3);
    if (size >= 32) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(look.Label[3] ? 12 : 14);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(band, Qt::AlignCenter, QString::fromLatin1(look.Label));
    }
    return canvas.Done();
}

void Monitor(QPainter& p, const QRectF& screen)
{
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(225, 235, 248));
    p.drawRoundedRect(screen, 2, 2);
    p.setBrush(kInk);
    const double cx = screen.center().x();
    p.drawRect(QRectF(cx - 2, screen.bottom(), 4, 5));
    p.drawRect(QRectF(cx - 8, screen.bottom() + 5, 16, 2.5));
}

QPixmap NetworkPicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    // Learner's computer at the left, the teacher's at the right, joined.
    p.setPen(QPen(QColor(40, 150, 70), 3, Qt::DashLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 40), QPointF(44, 24));
    Monitor(p, QRectF(3, 30, 28, 20));
    Monitor(p, QRectF(33, 8, 28, 20));
    return canvas.Done();
}

QPixmap FolderPicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    p.setPen(QPen(QColor(150, 110, 20), 2));
    p.setBrush(QColor(240, 190, 70));
    QPainterPath back;
    back.moveTo(4, 14);
    back.lineTo(24, 14);
    back.lineTo(29, 20);
    back.lineTo(60, 20);
    back.lineTo(60, 54);
    back.lineTo(4, 54);
    back.closeSubpath();
    p.drawPath(back);
    p.drawPixmap(QRectF(22, 8, 34, 34), ProgramPicture(size), QRectF(0, 0, size, size));
    p.setBrush(QColor(250, 210, 100));
    p.drawPolygon(QPolygonF({QPointF(4, 28), QPointF(60, 28), QPointF(60, 54), QPointF(4, 54)}));
    return canvas.Done();
}

QPixmap ColoursPicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    // A palette with the right-answer and wrong-answer colours on it.
    QPainterPath palette;
    palette.addEllipse(QRectF(4, 8, 56, 48));
    QPainterPath hole;
    hole.addEllipse(QRectF(38, 36, 10, 10));
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(235, 215, 180));
    p.drawPath(palette.subtracted(hole));
    const QColor blobs[] = {QColor(220, 245, 216), QColor(255, 230, 204), QColor(40, 150, 70),
                            QColor(210, 60, 50)};
    const QPointF at[] = {QPointF(18, 22), QPointF(33, 17), QPointF(16, 38), QPointF(27, 46)};
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(blobs[i]);
        p.drawEllipse(at[i], 6, 6);
    }
    return canvas.Done();
}

QPixmap TypesPicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    // The three file types fanned out.
    const QPointF offsets[] = {QPointF(-10, 2), QPointF(0, -2), QPointF(10, 2)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(32 + offsets[i].x(), 32 + offsets[i].y());
        p.rotate((i - 1) * 12.0);
        p.drawPixmap(QRectF(-20, -20, 40, 40), FileTypePicture(i + 1, size), QRectF(0, 0, size, size));
        p.restore();
    }
    return canvas.Done();
}

}  // namespace

QPixmap IconPicture(int iconIndex, int size)
{
    return iconIndex == 0 ? ProgramPicture(size) : FileTypePicture(iconIndex, size);
}

std::string IconPng(int iconIndex, int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!IconPicture(iconIndex, size).save(&buffer, "PNG"))
        return {};
    return bytes.toStdString();
}

QPixmap PagePicture(int page, int size)
{
    switch (page) {
    case 0: return TypesPicture(size);
    case 1: return NetworkPicture(size);
    case 2: return FolderPicture(size);
    default: return ColoursPicture(size);
    }
}

QPixmap GlobePicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    const QRectF ball(6, 6, 52, 52);
    QRadialGradient sea(QPointF(24, 22), 40);
    sea.setColorAt(0, QColor(140, 190, 240));
    sea.setColorAt(1, QColor(40, 100, 180));
    p.setPen(QPen(QColor(30, 70, 130), 2));
    p.setBrush(sea);
    p.drawEllipse(ball);
    p.setPen(QPen(QColor(235, 245, 255, 200), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(20, 6, 24, 52));
    p.drawLine(QPointF(32, 6), QPointF(32, 58));
    p.drawLine(QPointF(6, 32), QPointF(58, 32));
    p.drawArc(QRectF(9, 14, 46, 12), 0, 180 * 16);
    p.drawArc(QRectF(9, 38, 46, 12), 180 * 16, 180 * 16);
    return canvas.Done();
}

QPixmap RosettePicture(int size)
{
    Canvas canvas(size);
    QPainter& p = canvas.p();
    // Ribbons, then a round badge with a tick.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 50, 50));
    p.drawPolygon(QPolygonF({QPointF(20, 34), QPointF(30, 38), QPointF(22, 62), QPointF(16, 54),
                             QPointF(8, 56)}));
    p.drawPolygon(QPolygonF({QPointF(44, 34), QPointF(34, 38), QPointF(42, 62), QPointF(48, 54),
                             QPointF(56, 56)}));
    p.setPen(QPen(QColor(170, 120, 20), 2));
    p.setBrush(QColor(245, 200, 60));
    p.drawEllipse(QPointF(32, 26), 20, 20);
    p.setPen(QPen(QColor(30, 150, 60), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(23, 26);
    tick.lineTo(30, 33);
    tick.lineTo(42, 18);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    return canvas.Done();
}

}  // namespace quilmo
