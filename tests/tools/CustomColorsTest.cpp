// The colour dialog's custom colour entries.

#include <gtest/gtest.h>

#include "tools/CustomColors.h"

namespace quilmo::testing {
namespace {

constexpr int32_t kRight = 0x00D8F5DC;  // red 220, green 245, blue 216
constexpr int32_t kWrong = 0x00CCE6FF;  // red 255, green 230, blue 204
constexpr size_t A = 0, B = 1, C = 2, I = 8, J = 9, P = 15;

TEST(CustomColorsTest, FirstPressFillsTheFirstTwoColumnsOfBothRows)
{
    CustomColorEntries entries;
    entries.AddPress(kRight, kWrong);
    EXPECT_EQ(entries.Entries(),
              (std::vector<std::string>{"ColorA=D8F5DC", "ColorB=CCE6FF", "ColorI=D8F5DC",
                                        "ColorJ=CCE6FF"}));
    const auto slots = entries.Slots();
    for (size_t s = 0; s < 16; ++s) {
        const int32_t expected = (s == A || s == I) ? kRight : (s == B || s == J) ? kWrong : kWhite;
        EXPECT_EQ(slots[s], expected) << "slot " << char('A' + s);
    }
}

TEST(CustomColorsTest, LaterPressesChangeNothingAndConfirmedSlotsStay)
{
    CustomColorEntries entries;
    entries.AddPress(kRight, kWrong);
    entries.AddPress(0x000000FF, 0x0000FF00);  // colours changed since: the first entries win
    EXPECT_EQ(entries.Entries().size(), 8u);
    EXPECT_EQ(entries.Slots()[A], kRight);
    EXPECT_EQ(entries.Slots()[J], kWrong);

    // The user edits slots A and C in the dialog and confirms.
    auto slots = entries.Slots();
    slots[A] = 0x00123456;
    slots[C] = 0x000000FF;
    entries.StoreSlots(slots);
    EXPECT_EQ(entries.Entries()[0], "ColorA=123456");
    EXPECT_EQ(entries.Entries()[4], "ColorA=0000FF");  // a later entry is left as it was
    EXPECT_EQ(entries.Entries().size(), 8u + 12u);    // C to H and K to P had no entry yet

    entries.AddPress(kRight, kWrong);
    EXPECT_EQ(entries.Slots()[A], 0x00123456);
    EXPECT_EQ(entries.Slots()[C], 0x000000FF);
    EXPECT_EQ(entries.Slots()[P], kWhite);
}

TEST(CustomColorsTest, EntryValueIsSixUpperCaseDigits)
{
    EXPECT_EQ(ColorEntryValue(0x00D8F5DC), "D8F5DC");
    EXPECT_EQ(ColorEntryValue(0x000000FF), "0000FF");
    EXPECT_EQ(ColorEntryValue(0), "000000");
}

}  // namespace
}  // namespace quilmo::testing
