#include <gtest/gtest.h>

#include "model/Regional.h"

namespace quilmo {
namespace {

TEST(RegionalTest, FormatShareRoundsHalvesAwayFromZero)
{
    struct Case {
        int64_t num, den;
        const char* text;
    };
    const Case cases[] = {
        {100, 16, "6,3"},    // 6.25
        {200, 3, "66,7"},
        {100, 3, "33,3"},
        {100, 8, "12,5"},
        {300, 8, "37,5"},
        {25, 100, "0,3"},    // 0.25
        {1, 20, "0,1"},      // 0.05
        {1, 21, "0,0"},
        {0, 7, "0,0"},
        {700, 7, "100,0"},
        {-100, 16, "-6,3"},
        {100, -16, "-6,3"},
        {-1, 21, "0,0"},
        {5, 0, "0,0"},
        {INT64_MAX, 1, "9223372036854775807,0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatShare(c.num, c.den), c.text) << c.num << "/" << c.den;
}

TEST(RegionalTest, FormatFixed1RoundsTheExactValue)
{
    const std::pair<double, const char*> cases[] = {
        {6.25, "6,3"},      // exactly a half: away from zero, unlike printf
        {12.5, "12,5"},
        {0.25, "0,3"},
        {-6.25, "-6,3"},
        {0.15, "0,1"},      // stored as 0.1499999...
        {0.05, "0,1"},      // stored as 0.0500000...03
        {99.95, "100,0"},   // stored as 99.950000...03, carries into the integer part
        {9.95, "9,9"},      // stored as 9.9499999...
        {66.66666, "66,7"},
        {0.0, "0,0"},
        {-0.04, "0,0"},
        {1e20, "100000000000000000000,0"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatFixed1(value), text) << value;
}

TEST(RegionalTest, RoundHalfEven)
{
    EXPECT_EQ(RoundHalfEven(25, 2), 12);
    EXPECT_EQ(RoundHalfEven(75, 2), 38);
    EXPECT_EQ(RoundHalfEven(7, 2), 4);
    EXPECT_EQ(RoundHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundHalfEven(5, -2), -2);
    EXPECT_EQ(RoundHalfEven(10, 3), 3);
    EXPECT_EQ(RoundHalfEven(20, 3), 7);
    EXPECT_EQ(RoundHalfEven(-20, 3), -7);
    EXPECT_EQ(RoundHalfEven(9, 0), 0);
}

TEST(RegionalTest, SecondsAsTimeOfDay)
{
    const std::tuple<int64_t, const char*, const char*> cases[] = {
        {0, "00:00:00", "00:00"},
        {59, "00:00:59", "00:59"},
        {3599, "00:59:59", "59:59"},
        {3725, "01:02:05", "02:05"},       // nn:ss drops the hours
        {43199, "11:59:59", "59:59"},
        {86399, "23:59:59", "59:59"},
        {86400, "00:00:00", "00:00"},      // wraps at a day
        {90061, "01:01:01", "01:01"},
        {-5, "-00:00:05", "-00:05"},
        {-3725, "-01:02:05", "-02:05"},
    };
    for (const auto& [s, hms, ms] : cases) {
        EXPECT_EQ(FormatHhNnSs(s), hms) << s;
        EXPECT_EQ(FormatNnSs(s), ms) << s;
    }
    EXPECT_EQ(FormatHhNnSs(INT64_MIN).front(), '-');
}

TEST(RegionalTest, FormatDateTimeTokens)
{
    const TDateTime dt{2024, 3, 5, 7, 8, 9, 0};
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss", dt), "05.03.2024 07:08:09");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss ", dt), "05.03.2024 07:08:09 ");
    EXPECT_EQ(FormatDateTime("yyyy_mm_dd hh_nn", dt), "2024_03_05 07_08");
    EXPECT_EQ(FormatDateTime("dd-mm hh-nn-ss", dt), "05-03 07-08-09");
    EXPECT_EQ(FormatDateTime("Дата: d/ddd", dt), "Дата: d/05d");
    EXPECT_EQ(FormatDateTime("yyyy", TDateTime{987, 1, 1}), "0987");
}

TEST(RegionalTest, ParseDateTimeIsLenientButChecksTheDate)
{
    const std::pair<const char*, std::optional<TDateTime>> cases[] = {
        {"05.03.2024 07:08:09", TDateTime{2024, 3, 5, 7, 8, 9, 0}},
        {"5.3.2024 7:8:9", TDateTime{2024, 3, 5, 7, 8, 9, 0}},
        {"5.3.2024", TDateTime{2024, 3, 5, 0, 0, 0, 0}},
        {" 5.3.2024 ", TDateTime{2024, 3, 5, 0, 0, 0, 0}},
        {"31.12.1999 23:59", TDateTime{1999, 12, 31, 23, 59, 0, 0}},
        {"29.02.2024 12:00:00", TDateTime{2024, 2, 29, 12, 0, 0, 0}},
        {"29.02.2023", std::nullopt},
        {"29.02.1900", std::nullopt},
        {"29.02.2000", TDateTime{2000, 2, 29, 0, 0, 0, 0}},
        {"31.04.2024", std::nullopt},
        {"0.1.2024", std::nullopt},
        {"1.13.2024", std::nullopt},
        {"1.1.2024 24:00:00", std::nullopt},
        {"1.1.2024 12:60:00", std::nullopt},
        {"1.1.2024 12:00:60", std::nullopt},
        {"123.1.2024", std::nullopt},
        {"1.1.24", std::nullopt},
        {"1.1.2024x", std::nullopt},
        {"1.1.2024 10", std::nullopt},
        {"1.1.2024 10:00:00 x", std::nullopt},
        {"2024-01-01", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, dt] : cases)
        EXPECT_EQ(ParseDateTime(text), dt) << text;
}

TEST(RegionalTest, FormatThenParseRoundTrips)
{
    const TDateTime dt{2031, 11, 9, 23, 5, 0, 0};
    EXPECT_EQ(ParseDateTime(FormatDateTime("dd.mm.yyyy hh:nn:ss", dt)), dt);

    const TDateTime now = LocalNow();
    EXPECT_GE(now.Year, 2020);
    EXPECT_TRUE(ParseDateTime(FormatDateTime("dd.mm.yyyy hh:nn:ss", now)).has_value());
}

}  // namespace
}  // namespace quilmo
