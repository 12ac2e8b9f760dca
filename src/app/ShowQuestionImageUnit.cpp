#include "app/ShowQuestionImageUnit.h"

#include <QPainter>

namespace quilmo {

TShowQuestionImageForm::TShowQuestionImageForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ShowQuestionImageForm"));
    setWindowTitle(QStringLiteral("Просмотр изображения к вопросу"));
    setSizeGripEnabled(true);
    setMinimumSize(1, 1);
}

void TShowQuestionImageForm::SetPicture(const QPixmap& picture)
{
    Image = picture;
    resize(Image.isNull() ? QSize(160, 160) : Image.size());
}

void TShowQuestionImageForm::showEvent(QShowEvent* event)
{
    if (!Image.isNull())
        resize(Image.size());
    QDialog::showEvent(event);
}

void TShowQuestionImageForm::paintEvent(QPaintEvent*)
{
    // Stretched to the whole client area, proportions not kept.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!Image.isNull())
        painter.drawPixmap(rect(), Image);
}

}  // namespace quilmo
