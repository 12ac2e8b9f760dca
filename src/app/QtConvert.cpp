#include "app/QtConvert.h"

#include <QApplication>
#include <QPalette>

namespace quilmo {

QString JoinForDisplay(const std::vector<std::string>& lines)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        list << FieldToWidget(line);
    return list.join('\n');
}

QString FieldToWidget(const std::string& field)
{
    QString text = Q(field);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string WidgetToField(const QString& text)
{
    QString t = text;
    t.replace(QChar(0x2029), QLatin1Char('\n'));  // paragraph separators of rich text widgets
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return S(t);
}

QColor WinColorToQColor(int32_t color)
{
    if (color >= 0)
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const QPalette pal = QApplication::palette();
    switch (color & 0xFF) {
    case 5: return pal.color(QPalette::Base);             // window background
    case 8: return pal.color(QPalette::WindowText);       // window text
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);          // button face
    case 16: return pal.color(QPalette::Mid);             // button shadow
    case 17: return pal.color(QPalette::PlaceholderText); // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 26: return pal.color(QPalette::Link);            // hot light
    default: return pal.color(QPalette::WindowText);
    }
}

int32_t QColorToWinColor(const QColor& color)
{
    return static_cast<int32_t>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

QFont FontSpecToQFont(const TFontSpec& spec)
{
    QFont font(Q(spec.Name));
    if (spec.Size > 0)
        font.setPointSize(spec.Size);
    font.setBold(spec.Bold);
    font.setItalic(spec.Italic);
    font.setUnderline(spec.Underline);
    font.setStrikeOut(spec.StrikeOut);
    return font;
}

TFontSpec QFontToFontSpec(const QFont& font, int32_t color)
{
    TFontSpec spec;
    spec.Name = S(font.family());
    spec.Size = font.pointSize() > 0 ? font.pointSize() : 8;
    spec.Color = color;
    spec.Bold = font.bold();
    spec.Italic = font.italic();
    spec.Underline = font.underline();
    spec.StrikeOut = font.strikeOut();
    return spec;
}

QStringList ConvertFilter(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return result;
}

QString FilterExtension(const QString& filter, int index)
{
    const QStringList parts = filter.split('|');
    const qsizetype at = 2 * (index - 1) + 1;
    if (index < 1 || at >= parts.size())
        return {};
    const QStringList patterns = parts[at].split(';', Qt::SkipEmptyParts);
    if (patterns.size() != 1 || !patterns[0].startsWith(QLatin1String("*.")))
        return {};
    const QString ext = patterns[0].mid(2);
    if (ext.contains('*') || ext.contains('?'))
        return {};
    return ext;
}

}  // namespace quilmo
