#pragma once
// Date-time arithmetic the journal needs: elapsed seconds between two local
// date-times, and a date-time as a spreadsheet's day number.

#include <cstdint>
#include <optional>

#include "model/Regional.h"

namespace quilmo::journal {

// Whole seconds from `from` to `to` (negative when `to` is earlier).
int64_t SecondsBetween(const TDateTime& from, const TDateTime& to);

// Days since 30.12.1899 with the time as the fraction, as spreadsheets store
// a date-time. None before 01.03.1900 (where spreadsheets' day numbers stop
// meaning the calendar) and after the year 9999.
std::optional<double> SpreadsheetSerial(const TDateTime& dt);

}  // namespace quilmo::journal
