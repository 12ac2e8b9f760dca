#include "app/QtFontColorDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

namespace quilmo {

QFont PresetFont(const QFont& font)
{
    QFont preset = font;
    // Qt's dialog opens on the first family of its list when the font's own
    // family is not in it.
    if (!QFontDatabase::families().contains(font.family(), Qt::CaseInsensitive))
        preset.setFamily(QFontInfo(font).family());
    // The dialog finds the style by its name, and names the font's style in
    // the program's language ("Жирный"), which the family's own style names
    // ("Bold") never match: name it by the family's list instead, the closest
    // weight of the same slant, the plainest name of equals.
    QString best;
    int bestDistance = 0;
    for (const QString& style : QFontDatabase::styles(preset.family())) {
        if (QFontDatabase::italic(preset.family(), style) != font.italic())
            continue;
        const int distance = std::abs(QFontDatabase::weight(preset.family(), style) - font.weight());
        if (best.isEmpty() || distance < bestDistance ||
            (distance == bestDistance && style.size() < best.size())) {
            best = style;
            bestDistance = distance;
        }
    }
    if (!best.isEmpty())
        preset.setStyleName(best);
    return preset;
}

FontColorDialog::FontColorDialog(const FontChoice& initial, ColorPicker pickColor, QWidget* parent)
    : QDialog(parent), pickColor_(std::move(pickColor)), color_(initial.Color)
{
    setWindowTitle(QStringLiteral("Шрифт"));
    auto* layout = new QVBoxLayout(this);

    // Qt's font dialog as a part of this one: its own buttons give way to ours.
    fontPart_ = new QFontDialog(this);
    fontPart_->setWindowFlags(Qt::Widget);
    fontPart_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog |
                          QFontDialog::ScalableFonts);
    fontPart_->setCurrentFont(PresetFont(initial.Font));
    layout->addWidget(fontPart_);

    if (initial.Color.isValid()) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(QStringLiteral("Цвет текста:"), this);
        colorButton_ = new QPushButton(QStringLiteral("Изменить..."), this);
        colorButton_->setObjectName(QStringLiteral("ColorButton"));
        label->setBuddy(colorButton_);
        row->addWidget(label);
        row->addWidget(colorButton_);
        row->addStretch();
        layout->addLayout(row);
        ShowColor(color_);
        connect(colorButton_, &QPushButton::clicked, this, [this] { ColorButtonClick(); });
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

FontChoice FontColorDialog::Choice() const
{
    const QFont shown = fontPart_->currentFont();
    QFont font(shown.family());
    font.setPointSizeF(shown.pointSizeF());
    font.setBold(shown.bold());
    font.setItalic(shown.italic());
    font.setUnderline(shown.underline());
    font.setStrikeOut(shown.strikeOut());
    return {font, color_};
}

void FontColorDialog::ColorButtonClick()
{
    if (!pickColor_)
        return;
    if (const auto chosen = pickColor_(this, color_))
        ShowColor(*chosen);
}

void FontColorDialog::ShowColor(const QColor& color)
{
    color_ = color;
    QPixmap swatch(24, 12);
    swatch.fill(color);
    colorButton_->setIcon(QIcon(swatch));
    colorButton_->setIconSize(swatch.size());
    colorButton_->setToolTip(color.name());
}

}  // namespace quilmo
