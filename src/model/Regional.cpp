#include "model/Regional.h"

#include <cstdio>
#include <ctime>

namespace quilmo {

namespace {

using Wide = __int128;

Wide Abs(Wide v) { return v < 0 ? -v : v; }

std::string Digits(Wide v)
{
    if (v == 0)
        return "0";
    std::string s;
    while (v > 0) {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    }
    return s;
}

// tenths: the value times ten, already rounded.
std::string TenthsText(bool negative, Wide tenths)
{
    std::string s = (negative && tenths != 0) ? "-" : "";
    s += Digits(tenths / 10);
    s += ',';
    s += static_cast<char>('0' + static_cast<int>(tenths % 10));
    return s;
}

void Append2(std::string& s, int64_t v)
{
    s += static_cast<char>('0' + v / 10 % 10);
    s += static_cast<char>('0' + v % 10);
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Reads between minDigits and maxDigits decimal digits at text[pos].
bool ReadNumber(std::string_view text, size_t& pos, int minDigits, int maxDigits, int& value)
{
    int count = 0;
    value = 0;
    while (pos < text.size() && count < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++count;
    }
    return count >= minDigits && (pos == text.size() || text[pos] < '0' || text[pos] > '9');
}

bool Expect(std::string_view text, size_t& pos, char c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

}  // namespace

std::string FormatShare(int64_t numerator, int64_t denominator)
{
    if (denominator == 0)
        return "0,0";
    const Wide num = Abs(Wide(numerator)) * 10;
    const Wide den = Abs(Wide(denominator));
    // floor(num / den + 1/2): halves go up in magnitude, i.e. away from zero.
    const Wide tenths = (2 * num + den) / (2 * den);
    return TenthsText((numerator < 0) != (denominator < 0), tenths);
}

std::string FormatFixed1(double value)
{
    // The exact decimal expansion, cut (not rounded) after the second decimal:
    // the digit after the first decides, which is half-away-from-zero rounding
    // of the exact value. Thirty decimals are far more than a double near a
    // tie can hide behind, so the printed digits are not carried into.
    char buf[400];
    const int len = std::snprintf(buf, sizeof buf, "%.30f", value);
    if (len <= 0 || len >= static_cast<int>(sizeof buf))
        return "0,0";
    std::string_view s(buf, static_cast<size_t>(len));
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    const size_t dot = s.find('.');
    if (dot == std::string_view::npos)  // inf, nan
        return std::string(buf, static_cast<size_t>(len));
    std::string digits(s.substr(0, dot));
    digits += s[dot + 1];
    const bool up = s[dot + 2] >= '5';
    // Add one to the digit string by hand: it may be longer than any integer.
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i];
    }
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero) ? "-" : "";
    out.append(digits, 0, digits.size() - 1);
    out += ',';
    out += digits.back();
    return out;
}

int64_t RoundHalfEven(int64_t numerator, int64_t denominator)
{
    if (denominator == 0)
        return 0;
    Wide n = numerator, d = denominator;
    if (d < 0) {
        n = -n;
        d = -d;
    }
    Wide q = n / d;
    Wide r = n % d;  // same sign as n
    const Wide twice = 2 * Abs(r);
    if (twice > d || (twice == d && q % 2 != 0))
        q += n < 0 ? -1 : 1;
    return static_cast<int64_t>(q);
}

std::string FormatHhNnSs(int64_t seconds)
{
    std::string s = seconds < 0 ? "-" : "";
    const uint64_t magnitude = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : uint64_t(seconds);
    const auto t = static_cast<int64_t>(magnitude % 86400);
    Append2(s, t / 3600);
    s += ':';
    Append2(s, t / 60 % 60);
    s += ':';
    Append2(s, t % 60);
    return s;
}

std::string FormatNnSs(int64_t seconds)
{
    std::string s = seconds < 0 ? "-" : "";
    const uint64_t magnitude = seconds < 0 ? 0 - static_cast<uint64_t>(seconds) : uint64_t(seconds);
    const auto t = static_cast<int64_t>(magnitude % 86400);
    Append2(s, t / 60 % 60);
    s += ':';
    Append2(s, t % 60);
    return s;
}

TDateTime LocalNow()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    TDateTime dt;
    dt.Year = local.tm_year + 1900;
    dt.Month = local.tm_mon + 1;
    dt.Day = local.tm_mday;
    dt.Hour = local.tm_hour;
    dt.Minute = local.tm_min;
    dt.Second = local.tm_sec > 59 ? 59 : local.tm_sec;  // no leap second in a time of day
    dt.Millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return dt;
}

std::string FormatDateTime(std::string_view pattern, const TDateTime& dt)
{
    std::string out;
    out.reserve(pattern.size() + 4);
    size_t i = 0;
    while (i < pattern.size()) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("yyyy")) {
            const int y = dt.Year;
            out += static_cast<char>('0' + y / 1000 % 10);
            out += static_cast<char>('0' + y / 100 % 10);
            Append2(out, y % 100);
            i += 4;
            continue;
        }
        int value = -1;
        if (rest.starts_with("dd"))
            value = dt.Day;
        else if (rest.starts_with("mm"))
            value = dt.Month;
        else if (rest.starts_with("hh"))
            value = dt.Hour;
        else if (rest.starts_with("nn"))
            value = dt.Minute;
        else if (rest.starts_with("ss"))
            value = dt.Second;
        if (value >= 0) {
            Append2(out, value);
            i += 2;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

std::optional<TDateTime> ParseDateTime(std::string_view text)
{
    // Surrounding blanks are tolerated; everything else must fit the pattern.
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);

    TDateTime dt;
    size_t pos = 0;
    if (!ReadNumber(text, pos, 1, 2, dt.Day) || !Expect(text, pos, '.') ||
        !ReadNumber(text, pos, 1, 2, dt.Month) || !Expect(text, pos, '.') ||
        !ReadNumber(text, pos, 4, 4, dt.Year))
        return std::nullopt;
    dt.Hour = dt.Minute = dt.Second = dt.Millisecond = 0;
    if (pos < text.size()) {
        if (!Expect(text, pos, ' '))
            return std::nullopt;
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        if (!ReadNumber(text, pos, 1, 2, dt.Hour) || !Expect(text, pos, ':') ||
            !ReadNumber(text, pos, 1, 2, dt.Minute))
            return std::nullopt;
        if (pos < text.size() && (!Expect(text, pos, ':') || !ReadNumber(text, pos, 1, 2, dt.Second)))
            return std::nullopt;
        if (pos != text.size())
            return std::nullopt;
    }
    if (dt.Year < 1 || dt.Month < 1 || dt.Month > 12 || dt.Day < 1 ||
        dt.Day > DaysInMonth(dt.Year, dt.Month) || dt.Hour > 23 || dt.Minute > 59 || dt.Second > 59)
        return std::nullopt;
    return dt;
}

}  // namespace quilmo
