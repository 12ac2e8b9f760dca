#pragma once
// The chart window of the journal's analyses: a title strip over a bar chart.

#include <QDialog>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "app/AppServices.h"
#include "model/Expected.h"

class QLabel;
class QAction;
class QMenu;
class QMenuBar;

namespace quilmo {

class TDiagram1Form : public QDialog {
    Q_OBJECT
public:
    explicit TDiagram1Form(AppServices& services, QWidget* parent = nullptr);

    std::vector<int32_t> Values;  // one per bar
    int32_t MaxValue = 0;         // the top of the scale
    int LabelMode = 0;            // 0: bar numbers, 1: bar values

    void SetTitle(const QString& title);
    QString Title() const;

    // Paints the chart on a drawing area of width x height pixels.
    void PaintBoxPaint(QPainter& painter, int width, int height) const;
    // The drawing area's pixels, as shown.
    QImage DrawingImage() const;
    QWidget* PaintBox() const { return Box; }

    void MDSaveAsClick();
    void MDCopyClick();
    // Puts the drawing area on the clipboard as a picture.
    void CopyToClipBoard();
    // Writes the drawing area as a Windows bitmap.
    Status SaveToFile(const std::string& path) const;

    // Its one menu and the menu's items, each keeping its object name.
    struct TMenus {
        QMenu* MDiagram = nullptr;
        QAction* MDSaveAs = nullptr;
        QAction* MDCopy = nullptr;
    };
    const TMenus& Menus() const { return MenuItems; }

private:
    AppServices& Services;
    TMenus MenuItems;
    QLabel* LabelTitle = nullptr;
    QWidget* Box = nullptr;
};

}  // namespace quilmo
