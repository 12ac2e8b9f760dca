#pragma once
// The program's fixed Russian regional settings, in one place.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilmo {

// "%1.1f" of numerator / denominator, computed exactly: one decimal digit, a
// decimal comma, halves rounded away from zero (1/16 -> "6,3" of 100/16).
// A zero denominator gives "0,0".
std::string FormatShare(int64_t numerator, int64_t denominator);
// "%1.1f" of a double, same rounding on the decimal value.
std::string FormatFixed1(double value);

// numerator / denominator rounded to the nearest integer, halves to even
// (12.5 -> 12, 37.5 -> 38). 0 when the denominator is 0.
int64_t RoundHalfEven(int64_t numerator, int64_t denominator);

// Seconds as a time of day (wrapping at 24 hours): "hh:nn:ss" and "nn:ss".
// A negative count is shown with a leading '-'.
std::string FormatHhNnSs(int64_t seconds);
std::string FormatNnSs(int64_t seconds);

struct TDateTime {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    bool operator==(const TDateTime&) const = default;
};

TDateTime LocalNow();

// Patterns use dd, mm, yyyy, hh, nn, ss; every other character is copied
// (':' is the time separator, '.' the date separator of the fixed settings).
// E.g. "dd.mm.yyyy hh:nn:ss", "hh:nn:ss", "yyyy_mm_dd hh_nn", "dd-mm hh-nn-ss".
std::string FormatDateTime(std::string_view pattern, const TDateTime& dt);

// Lenient reading of "d.m.yyyy h:n:s" (one or two digits for day, month, hour,
// minute, second; a missing time part means midnight). Rejects invalid dates.
std::optional<TDateTime> ParseDateTime(std::string_view text);

}  // namespace quilmo
