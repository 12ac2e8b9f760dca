#include "journal/Diagram1Unit.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cerrno>

#include "app/QtConvert.h"
#include "journal/ChartGeometry.h"
#include "journal/Exports.h"
#include "model/FileIO.h"

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

class TPaintBox : public QWidget {
public:
    explicit TPaintBox(const TDiagram1Form& form, QWidget* parent) : QWidget(parent), Form(form)
    {
        setObjectName(QStringLiteral("PaintBox"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        Form.PaintBoxPaint(painter, width(), height());
    }

private:
    const TDiagram1Form& Form;
};

}  // namespace

TDiagram1Form::TDiagram1Form(AppServices& services, QWidget* parent)
    : QDialog(parent), Services(services)
{
    setObjectName(QStringLiteral("Diagram1Form"));
    setWindowTitle(QStringLiteral("Диаграмма результатов"));

    auto* bar = new QMenuBar(this);
    QMenu* menu = bar->addMenu(QStringLiteral("Диаграмма"));
    menu->setObjectName(QStringLiteral("MDiagram"));
    auto* saveAs = menu->addAction(QStringLiteral("Сохранить как..."));
    saveAs->setObjectName(QStringLiteral("MDSaveAs"));
    connect(saveAs, &QAction::triggered, this, &TDiagram1Form::MDSaveAsClick);
    auto* copy = menu->addAction(QStringLiteral("Копировать как рисунок"));
    copy->setObjectName(QStringLiteral("MDCopy"));
    connect(copy, &QAction::triggered, this, &TDiagram1Form::MDCopyClick);

    LabelTitle = new QLabel(this);
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    LabelTitle->setFixedHeight(29);
    LabelTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    LabelTitle->setFont(titleFont);
    QPalette pal = LabelTitle->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    LabelTitle->setPalette(pal);

    Box = new TPaintBox(*this, this);
    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(17);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(LabelTitle);
    layout->addWidget(Box, 1);
    layout->addWidget(bottom);
    resize(484, 257 + bar->sizeHint().height());
}

void TDiagram1Form::SetTitle(const QString& title)
{
    LabelTitle->setText(title);
}

QString TDiagram1Form::Title() const
{
    return LabelTitle->text();
}

QAction* TDiagram1Form::Action(const char* objectName) const
{
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

void TDiagram1Form::PaintBoxPaint(QPainter& painter, int width, int height) const
{
    const QColor white(255, 255, 255);
    DrawRectangle(painter, 0, 0, width, height, QColor(150, 150, 150), &white);

    const QFontMetrics metrics(painter.font());
    const journal::ChartLayout chart =
        journal::LayOutChart(width, height, Values, MaxValue, LabelMode, metrics.height());
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

QImage TDiagram1Form::DrawingImage() const
{
    QImage image(Box->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(Box->font());
    PaintBoxPaint(painter, image.width(), image.height());
    return image;
}

void TDiagram1Form::CopyToClipBoard()
{
    QGuiApplication::clipboard()->setImage(DrawingImage());
}

Status TDiagram1Form::SaveToFile(const std::string& path) const
{
    const QImage image = DrawingImage().convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        rgb.insert(rgb.end(), line, line + image.width() * 3);
    }
    const std::string bmp = journal::EncodeBmp24(image.width(), image.height(), rgb);
    if (bmp.empty())
        return Error{SystemErrorText(EINVAL)};  // a drawing area of no size
    return WriteFileAtomically(path, bmp);
}

void TDiagram1Form::MDCopyClick()
{
    CopyToClipBoard();
}

void TDiagram1Form::MDSaveAsClick()
{
    FileDialogSpec spec;
    spec.Title = QStringLiteral("Сохранить как");
    spec.Filter = QStringLiteral("Точечный рисунок (*.BMP)|*.BMP");
    spec.DefaultExtension = QStringLiteral("BMP");
    spec.OverwritePrompt = false;
    const auto chosen = Services.prompts.SaveFile(this, spec);
    if (!chosen || chosen->Path.isEmpty())
        return;
    const Status saved = SaveToFile(S(chosen->Path));
    if (!saved)
        Services.prompts.Message(this, QString::fromUtf8(kAppTitle), Q(saved.error().Message),
                                 PromptIcon::Error, PromptButtons::Ok);
}

}  // namespace quilmo
