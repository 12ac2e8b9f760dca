// The font dialog: preset with the font and colour in use, so that OK alone
// changes nothing, and the colour chosen beside the font.

#include <gtest/gtest.h>

#include <QFontDialog>
#include <QPushButton>

#include "app/QtFontColorDialog.h"
#include "app/QtStartup.h"

namespace quilmo::testing {
namespace {

FontColorDialog::ColorPicker Answer(std::optional<QColor> color, QColor* askedWith = nullptr)
{
    return [color, askedWith](QWidget*, const QColor& initial) {
        if (askedWith)
            *askedWith = initial;
        return color;
    };
}

TEST(QtFontColorDialogTest, OkAloneGivesBackTheFontAndColourInUse)
{
    ASSERT_TRUE(RegisterTahoma());
    const struct {
        const char* Family;
        int Size;
        bool Bold;
        bool Italic;
    } cases[] = {
        {"Tahoma", 8, false, false},
        {"Tahoma", 12, true, false},
        {"DejaVu Sans", 10, false, true},
        {"DejaVu Serif", 14, true, true},
    };
    for (const auto& c : cases) {
        QFont font(QString::fromLatin1(c.Family), c.Size);
        font.setBold(c.Bold);
        font.setItalic(c.Italic);
        const QColor color(200, 10, 30);
        FontColorDialog dialog({font, color}, Answer(std::nullopt));
        const FontChoice choice = dialog.Choice();
        EXPECT_EQ(choice.Font.family(), font.family()) << c.Family << " " << c.Size;
        EXPECT_EQ(choice.Font.pointSize(), c.Size) << c.Family;
        EXPECT_EQ(choice.Font.bold(), c.Bold) << c.Family << " " << c.Size;
        EXPECT_EQ(choice.Font.italic(), c.Italic) << c.Family << " " << c.Size;
        EXPECT_EQ(choice.Color, color);
    }
}

TEST(QtFontColorDialogTest, AFamilyTheSystemLacksOpensOnTheOneDrawnInstead)
{
    const QFont missing(QStringLiteral("Quilmo No Such Family"), 11);
    FontColorDialog dialog({missing, QColor(Qt::black)}, Answer(std::nullopt));
    EXPECT_EQ(dialog.Choice().Font.family(), QFontInfo(missing).family());
    EXPECT_EQ(dialog.Choice().Font.pointSize(), 11);
    EXPECT_FALSE(dialog.Choice().Font.bold());
    EXPECT_FALSE(dialog.Choice().Font.italic());
}

TEST(QtFontColorDialogTest, TheColourButtonAsksFromTheColourShownAndKeepsTheAnswer)
{
    QColor askedWith;
    const QColor initial(Qt::darkBlue);
    FontColorDialog dialog({QFont(QStringLiteral("Tahoma"), 8), initial},
                           Answer(QColor(Qt::red), &askedWith));
    ASSERT_NE(dialog.ColorButton(), nullptr);
    dialog.ColorButton()->click();
    EXPECT_EQ(askedWith, initial);
    EXPECT_EQ(dialog.Choice().Color, QColor(Qt::red));

    // A cancelled colour dialog keeps the colour.
    FontColorDialog cancelled({QFont(QStringLiteral("Tahoma"), 8), initial}, Answer(std::nullopt));
    cancelled.ColorButton()->click();
    EXPECT_EQ(cancelled.Choice().Color, initial);
}

TEST(QtFontColorDialogTest, TheFontChosenComesBackWithoutAStyleName)
{
    FontColorDialog dialog({QFont(QStringLiteral("Tahoma"), 8), QColor(Qt::black)},
                           Answer(std::nullopt));
    QFont chosen(QStringLiteral("DejaVu Serif"), 13);
    chosen.setItalic(true);
    dialog.FontPart()->setCurrentFont(chosen);
    const QFont font = dialog.Choice().Font;
    EXPECT_EQ(font.family(), "DejaVu Serif");
    EXPECT_EQ(font.pointSize(), 13);
    EXPECT_TRUE(font.italic());
    // The settings add bold by a flag; a style name would override it.
    EXPECT_TRUE(font.styleName().isEmpty());
}

TEST(QtFontColorDialogTest, NoColourRowWithoutAColour)
{
    FontColorDialog dialog({QFont(QStringLiteral("Tahoma"), 8), QColor()}, Answer(std::nullopt));
    EXPECT_EQ(dialog.ColorButton(), nullptr);
}

}  // namespace
}  // namespace quilmo::testing
