#include "runner/ShowResultUnit.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtConvert.h"
#include "runner/PieChart.h"
#include "runner/ResultReport.h"

namespace quilmo {

namespace {

const QColor kOutline(70, 70, 70);
const QColor kAsked(220, 0, 0);
const QColor kRight(0, 220, 0);
const QColor kMarkGreen(0, 128, 0);

// The chart's box: it only asks its window to paint it.
class ChartBox : public QWidget {
public:
    ChartBox(const TShowResultForm& form, QWidget* parent) : QWidget(parent), form_(form)
    {
        setObjectName(QStringLiteral("PaintBox"));
        setFixedSize(100, 100);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        form_.PaintBoxPaint(painter);
    }

private:
    const TShowResultForm& form_;
};

QLabel* AddCount(QGridLayout* grid, int row, const char* caption, const char* name,
                 const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setFont(font);
    auto* value = new QLabel(QStringLiteral("0"), parent);
    value->setObjectName(QString::fromLatin1(name));
    value->setFont(font);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    return value;
}

}  // namespace

TShowResultForm::TShowResultForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ShowResultForm"));
    setWindowTitle(QStringLiteral("Результаты тестирования"));

    QFont countFont = font();
    countFont.setPixelSize(16);
    QFont markFont = font();
    markFont.setPixelSize(19);
    markFont.setBold(true);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(4);
    CountTaskLabel = AddCount(grid, 0, "Всего заданий в тесте:", "CountTaskLabel", countFont, this);
    CountAskTaskLabel = AddCount(grid, 1, "Всего заданий задано:", "CountAskTaskLabel", countFont, this);
    CountCorrectTaskLabel =
        AddCount(grid, 2, "Из них правильно:", "CountCorrectTaskLabel", countFont, this);
    ResultLabel = AddCount(grid, 3, "Ваш результат:", "ResultLabel", countFont, this);
    ResultLabel->setText(QStringLiteral("0,0%."));

    PaintBox = new ChartBox(*this, this);
    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addSpacing(16);
    top->addWidget(PaintBox, 0, Qt::AlignVCenter);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* markRow = new QHBoxLayout;
    auto* markCaption = new QLabel(QStringLiteral("Ваша оценка:"), this);
    MarkLabel = new QLabel(QStringLiteral("0"), this);
    MarkLabel->setObjectName(QStringLiteral("MarkLabel"));
    for (QLabel* label : {markCaption, MarkLabel}) {
        label->setFont(markFont);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, kMarkGreen);
        label->setPalette(pal);
    }
    MarkLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    markRow->addWidget(markCaption);
    markRow->addWidget(MarkLabel, 1);
    markRow->addSpacing(116);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(markRow);
    layout->addStretch(1);
    layout->addWidget(OKButton);
    setFixedSize(433, 224);
}

void TShowResultForm::Fill(const TTestResult& result)
{
    if (result.TotalCount < 1)
        return;
    setWindowTitle(QStringLiteral("Результаты тестирования (%1)").arg(Q(result.UserName)));
    CountTaskLabel->setText(QString::number(result.TotalCount));
    CountAskTaskLabel->setText(QString::number(result.AskedCount));
    CountCorrectTaskLabel->setText(QString::number(result.RightCount));
    ResultLabel->setText(Q(ResultShare(result)) + QStringLiteral("%."));
    MarkLabel->setText(Q(MarkWord(result)));
    TotalCount = result.TotalCount;
    AskedCount = result.AskedCount;
    RightCount = result.RightCount;
    PaintBox->update();
}

void TShowResultForm::PaintBoxPaint(QPainter& painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0.5, 0.5, 99, 99);  // the pen's half pixel inside the 100 x 100 box
    painter.setPen(kOutline);
    painter.setBrush(Qt::white);
    painter.drawEllipse(box);
    if (TotalCount < 1)
        return;
    const struct {
        int Percent;
        QColor Colour;
    } sectors[2] = {{ChartPercent(AskedCount, TotalCount), kAsked},
                    {ChartPercent(RightCount, TotalCount), kRight}};
    for (const auto& sector : sectors) {
        if (sector.Percent <= 0)
            continue;
        const TPieAngles angles = PieAngles(sector.Percent);
        painter.setBrush(sector.Colour);
        painter.drawPie(box, angles.Start16, angles.Span16);
    }
}

}  // namespace quilmo
