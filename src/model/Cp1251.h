#pragma once
// The one Windows-1251 codec: every byte stream the program exchanges passes here.

#include <string>
#include <string_view>

namespace quilmo {

// Every byte maps to a code point (0x98, unassigned in Windows-1251, maps to
// U+0098), so decoding and encoding again returns the bytes unchanged.
std::string Cp1251ToUtf8(std::string_view bytes);
// A character without a Windows-1251 byte, or malformed UTF-8, becomes '?'.
std::string Utf8ToCp1251(std::string_view text);

}  // namespace quilmo
