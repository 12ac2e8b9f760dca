#include "app/QtFormParts.h"

#include <QGridLayout>

namespace quilmo {

void SetTextColor(QWidget* field, const QColor& color)
{
    QPalette pal = field->palette();
    pal.setColor(QPalette::Text, color);
    field->setPalette(pal);
}

QWidget* MakeColumn(const QString& name, int width, QWidget* parent)
{
    auto* column = new QWidget(parent);
    column->setObjectName(name);
    if (width > 0)
        column->setFixedWidth(width);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int r = 0; r < 5; ++r)
        layout->setRowStretch(r, 1);
    return column;
}

void AddToColumn(QWidget* column, int row, QWidget* widget, Qt::Alignment align)
{
    static_cast<QGridLayout*>(column->layout())->addWidget(widget, row, 0, align);
}

PaintFreeze::PaintFreeze(QWidget* window) : window_(window), owner_(window->updatesEnabled())
{
    if (owner_)
        window_->setUpdatesEnabled(false);
}

PaintFreeze::~PaintFreeze()
{
    if (owner_) {
        window_->setUpdatesEnabled(true);
        window_->update();
    }
}

}  // namespace quilmo
