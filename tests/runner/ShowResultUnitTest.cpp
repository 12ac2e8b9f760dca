// The result window: its labels and the chart as drawn.

#include <QLabel>
#include <QPixmap>
#include <gtest/gtest.h>

#include "runner/ShowResultUnit.h"

namespace quilmo::testing {
namespace {

TTestResult Counts(int32_t total, int32_t asked, int32_t right)
{
    TTestResult r;
    r.UserName = "Оля";
    r.TotalCount = total;
    r.AskedCount = asked;
    r.RightCount = right;
    r.Mark = 4;
    return r;
}

enum class Ink { White, Red, Green, Other };

Ink InkAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    if (c == QColor(255, 255, 255))
        return Ink::White;
    if (c == QColor(220, 0, 0))
        return Ink::Red;
    if (c == QColor(0, 220, 0))
        return Ink::Green;
    return Ink::Other;
}

QImage Chart(TShowResultForm& form)
{
    return form.findChild<QWidget*>("PaintBox")->grab().toImage();
}

// Points 30 pixels from the centre, by the clock: 1:30, 4:30, 7:30, 10:30.
const QPoint kHalfPastOne(71, 29), kHalfPastFour(71, 71), kHalfPastSeven(29, 71),
    kHalfPastTen(29, 29);

TEST(ShowResultUnitTest, ChartShowsAskedInRedAndRightInGreenFromTwelveClockwise)
{
    TShowResultForm form;
    EXPECT_EQ(InkAt(Chart(form), 50, 50), Ink::White);  // nothing yet: the empty circle

    // 8 tasks, all asked, 3 right: green to about 4:30 (38 percent), the rest red.
    form.Fill(Counts(8, 8, 3));
    QImage chart = Chart(form);
    EXPECT_EQ(chart.size(), QSize(100, 100));
    EXPECT_EQ(InkAt(chart, kHalfPastOne.x(), kHalfPastOne.y()), Ink::Green);
    EXPECT_EQ(InkAt(chart, 80, 50), Ink::Green);          // 3 o'clock
    EXPECT_EQ(InkAt(chart, 50, 80), Ink::Red);            // 6 o'clock
    EXPECT_EQ(InkAt(chart, kHalfPastSeven.x(), kHalfPastSeven.y()), Ink::Red);
    EXPECT_EQ(InkAt(chart, kHalfPastTen.x(), kHalfPastTen.y()), Ink::Red);
    EXPECT_NE(InkAt(chart, 1, 1), Ink::Red);              // outside the circle

    // One of four asked and right: red and green cover the same quarter.
    form.Fill(Counts(4, 1, 1));
    chart = Chart(form);
    EXPECT_EQ(InkAt(chart, kHalfPastOne.x(), kHalfPastOne.y()), Ink::Green);
    EXPECT_EQ(InkAt(chart, kHalfPastFour.x(), kHalfPastFour.y()), Ink::White);
    EXPECT_EQ(InkAt(chart, kHalfPastTen.x(), kHalfPastTen.y()), Ink::White);

    // Half asked, none right: the right half red.
    form.Fill(Counts(4, 2, 0));
    chart = Chart(form);
    EXPECT_EQ(InkAt(chart, kHalfPastFour.x(), kHalfPastFour.y()), Ink::Red);
    EXPECT_EQ(InkAt(chart, kHalfPastSeven.x(), kHalfPastSeven.y()), Ink::White);
}

TEST(ShowResultUnitTest, LabelsAreSetOnlyForATestWithTasks)
{
    TShowResultForm form;
    TTestResult r = Counts(16, 10, 1);
    r.MarkText = "незачет";
    form.Fill(r);
    EXPECT_EQ(form.windowTitle(), "Результаты тестирования (Оля)");
    EXPECT_EQ(form.findChild<QLabel*>("ResultLabel")->text(), "6,3%.");
    EXPECT_EQ(form.findChild<QLabel*>("MarkLabel")->text(), "незачет");
    EXPECT_EQ(form.findChild<QLabel*>("CountAskTaskLabel")->text(), "10");

    TTestResult none = Counts(0, 1, 0);
    none.UserName = "Другой";
    form.Fill(none);
    EXPECT_EQ(form.windowTitle(), "Результаты тестирования (Оля)");
    EXPECT_EQ(form.findChild<QLabel*>("CountTaskLabel")->text(), "16");
    EXPECT_EQ(InkAt(Chart(form), kHalfPastOne.x(), kHalfPastOne.y()), Ink::Red);  // kept

    form.Fill(Counts(5, 5, 0));
    EXPECT_EQ(form.findChild<QLabel*>("MarkLabel")->text(), "4");
}

}  // namespace
}  // namespace quilmo::testing
