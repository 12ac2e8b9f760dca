#pragma once
// Small text helpers with the exact rules the file formats rely on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilmo {

// Removes every byte <= 0x20 (blanks and control characters) at the ends.
std::string_view Trim(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Splits at CR LF, a lone CR and a lone LF; a NUL ends the text; a final line
// without a terminator counts, a final terminator adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);
// The first CR or LF in [p, end), or end.
const char* FindLineEnd(const char* p, const char* end);
// Every line followed by CR LF, the last one included.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// CR LF <-> the six characters _CRLF_.
std::string EscapeCrLf(std::string_view s);
std::string UnescapeCrLf(std::string_view s);

// Decimal integer with an optional sign, nothing else (no blanks); nullopt when
// not a number or out of range.
std::optional<int32_t> ParseInt32(std::string_view s);
std::optional<int64_t> ParseInt64(std::string_view s);
// ParseInt32 or the fallback.
int32_t StrToIntDef(std::string_view s, int32_t fallback);

// Case-insensitive comparison for ASCII and Cyrillic letters of UTF-8 text.
std::string ToLowerUtf8(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// The letters of s as EqualsIgnoreCase compares them: two texts are equal
// ignoring case exactly when their keys are equal.
std::u32string CaseFoldKey(std::string_view s);

}  // namespace quilmo
