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
#include "app/QtMenus.h"
#include "journal/Exports.h"
#include "journal/QtBarChart.h"
#include "model/FileIO.h"

namespace quilmo {

TDiagram1Form::TDiagram1Form(AppServices& services, QWidget* parent)
    : QDialog(parent), Services(services)
{
    setObjectName(QStringLiteral("Diagram1Form"));
    setWindowTitle(QStringLiteral("Диаграмма результатов"));

    auto* bar = new QMenuBar(this);
    MenuItems.MDiagram = AddMenu(bar, "MDiagram", "Диаграмма");
    MenuItems.MDSaveAs =
        AddMenuItem(this, MenuItems.MDiagram, "MDSaveAs", "Сохранить как...", &TDiagram1Form::MDSaveAsClick);
    MenuItems.MDCopy =
        AddMenuItem(this, MenuItems.MDiagram, "MDCopy", "Копировать как рисунок", &TDiagram1Form::MDCopyClick);

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

    Box = new TBarChartBox(
        [this](QPainter& painter, int width, int height) { PaintBoxPaint(painter, width, height); }, this);
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

void TDiagram1Form::PaintBoxPaint(QPainter& painter, int width, int height) const
{
    PaintBarChart(painter, width, height, Values, MaxValue, LabelMode);
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
