#pragma once
// The font dialog: Qt's font choice preset with the font in use, and below it
// the text colour, which the Windows font dialog carries among its effects.

#include <QDialog>
#include <functional>
#include <optional>

#include "app/Prompts.h"

class QFontDialog;
class QPushButton;

namespace quilmo {

class FontColorDialog : public QDialog {
public:
    // Asks for a colour, starting from the given one; nullopt when cancelled.
    using ColorPicker = std::function<std::optional<QColor>(QWidget* owner, const QColor& initial)>;

    // An invalid initial.Color leaves the colour row out.
    FontColorDialog(const FontChoice& initial, ColorPicker pickColor, QWidget* parent = nullptr);

    // What the dialog shows now: the family, style and size chosen, with the
    // style as bold and italic flags (the settings keep no style names).
    FontChoice Choice() const;

    QFontDialog* FontPart() const { return fontPart_; }
    QPushButton* ColorButton() const { return colorButton_; }
    // The colour button's action: asks the picker and shows its answer.
    void ColorButtonClick();

private:
    void ShowColor(const QColor& color);

    QFontDialog* fontPart_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    ColorPicker pickColor_;
    QColor color_;
};

// The font Qt's dialog can show for font: a family the system lacks is
// replaced by the one the text is actually drawn in.
QFont PresetFont(const QFont& font);

}  // namespace quilmo
