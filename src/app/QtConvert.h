#pragma once
// Conversions at the border between the logic (UTF-8, Windows colours) and Qt.

#include <QColor>
#include <QFont>
#include <QString>
#include <string>
#include <vector>

#include "app/Settings.h"

namespace quilmo {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

// Lines joined by '\n' for a text widget.
QString JoinForDisplay(const std::vector<std::string>& lines);
// CR LF inside a field becomes the widget's '\n', and back.
QString FieldToWidget(const std::string& field);
std::string WidgetToField(const QString& text);

// 0x00BBGGRR, or a negative system colour index.
QColor WinColorToQColor(int32_t color);
int32_t QColorToWinColor(const QColor& color);

QFont FontSpecToQFont(const TFontSpec& spec);
TFontSpec QFontToFontSpec(const QFont& font, int32_t color);

// "Caption|*.A;*.B|Caption|*.C" to Qt's name filters "Caption (*.A *.B)".
QStringList ConvertFilter(const QString& filter);
// The plain extension of filter number index (1-based): "*.EST" gives "EST";
// "" when the filter has several patterns or a wildcard extension.
QString FilterExtension(const QString& filter, int index);

}  // namespace quilmo
