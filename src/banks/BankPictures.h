#pragma once
// The pictures of a bank: base64, what kind of picture a file holds, PNG made
// into JPEG for the runner, safe and distinct names, and writing them beside
// a test.

#include <optional>
#include <string>
#include <string_view>

#include "banks/QuestionBank.h"
#include "model/Expected.h"

namespace quilmo {

// Strict base64: white space is skipped, any other stray character or a
// wrong padding gives nullopt.
std::optional<std::string> DecodeBase64(std::string_view text);
std::string EncodeBase64(std::string_view bytes);

enum class PictureFormat { Jpeg, Gif, Bmp, Ico, Wmf, Emf, Png, Unknown };

// By the bytes, not by the name.
PictureFormat SniffPicture(std::string_view bytes);

// A PNG as a JPEG (quality 90), transparency laid on white. Fails with a
// short reason when the PNG is damaged or bigger than maxPixels.
Expected<std::string> PngToJpeg(std::string_view png, uint64_t maxPixels);

// A picture found in a bank, made ready for the runner: the name reduced to
// its bare file name (refused when nothing safe is left), the extension made
// to fit the content, PNG converted to JPEG. Fails with the reason the
// question is skipped.
Expected<BankPicture> PrepareBankPicture(std::string_view name, std::string bytes, const BankLimits& limits);

// Writes the bank's pictures into folder (ending in '/'), each under its name
// or, when a file of that name (ignoring case) is there already, under a
// "~2" name; no existing file is ever replaced. The tasks' ImageFile then
// holds the full path. On a failure the pictures written so far are removed,
// nothing in bank changes and the error is the system's text.
Status WriteBankPictures(BankImport& bank, const std::string& folder);

}  // namespace quilmo
