#include "journal/DateSerial.h"

namespace quilmo::journal {

namespace {

// Days since 1 March of year 0 in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

int64_t SecondOfDay(const TDateTime& t)
{
    return int64_t(t.Hour) * 3600 + int64_t(t.Minute) * 60 + t.Second;
}

}  // namespace

int64_t SecondsBetween(const TDateTime& from, const TDateTime& to)
{
    return (DaysFromCivil(to.Year, to.Month, to.Day) - DaysFromCivil(from.Year, from.Month, from.Day)) * 86400 +
           SecondOfDay(to) - SecondOfDay(from);
}

std::optional<double> SpreadsheetSerial(const TDateTime& dt)
{
    if (dt.Year > 9999 || dt.Year < 1900 || (dt.Year == 1900 && dt.Month < 3))
        return std::nullopt;
    const int64_t days = DaysFromCivil(dt.Year, dt.Month, dt.Day) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (static_cast<double>(SecondOfDay(dt)) + dt.Millisecond / 1000.0) / 86400.0;
}

}  // namespace quilmo::journal
