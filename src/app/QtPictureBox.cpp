#include "app/QtPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace quilmo {

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TPictureBox::SetPicture(const QPixmap& pixmap)
{
    picture_ = pixmap;
    update();
}

void TPictureBox::ClearPicture()
{
    picture_ = QPixmap();
    update();
}

void TPictureBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawPixmap(target, picture_);
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

}  // namespace quilmo
