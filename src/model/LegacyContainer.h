#pragma once
// The older enciphered test (.stst): the test text, every line followed by
// CR LF, enciphered with the legacy key as one string of digits.

#include <string>
#include <string_view>
#include <vector>

#include "model/Expected.h"

namespace quilmo {

// The text (Windows-1251) of a .stst file's bytes: the file's lines joined by
// CR LF and deciphered. Digits that do not decipher give kCipherError, which
// the test parser then rejects. Costs the text and a small piece, never a
// string per line.
std::string DecipherLegacyBytes(std::string_view fileBytes);
// The same text split into lines (UTF-8).
std::vector<std::string> DecipherLegacyText(std::string_view fileBytes);

// Reads a .stst file into its deciphered text (Windows-1251); fails with the
// system's text when it cannot be read.
Expected<std::string> ReadLegacyContainer(const std::string& path);

// The bytes of a .stst file holding lines (UTF-8): one line of digits, no line end.
std::string BuildLegacyContainer(const std::vector<std::string>& lines);

}  // namespace quilmo
