#pragma once
// Pieces that several windows build their forms from.

#include <QString>
#include <QWidget>

namespace quilmo {

// A column of five rows of equal height: the runner's and the editor's
// variant rows line up across their columns.
QWidget* MakeColumn(const QString& name, int width, QWidget* parent);
void AddToColumn(QWidget* column, int row, QWidget* widget, Qt::Alignment align = {});

// The colour a text field writes its text in.
void SetTextColor(QWidget* field, const QColor& color);

// Freezes a window's painting for a scope, so that nobody sees a half-built
// view; a nested freeze leaves the release to the outermost one.
class PaintFreeze {
public:
    explicit PaintFreeze(QWidget* window);
    ~PaintFreeze();
    PaintFreeze(const PaintFreeze&) = delete;
    PaintFreeze& operator=(const PaintFreeze&) = delete;

private:
    QWidget* window_;
    bool owner_;
};

}  // namespace quilmo
