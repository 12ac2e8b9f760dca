#pragma once
// One task as the ten-line text the editor puts on the clipboard and takes back.

#include <string>
#include <string_view>

#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

inline constexpr const char* kPasteError =
    "Ошибка вставки задания из буфера обмена! Возможно не верный формат данных.";

// Ten lines, each ended by CR LF: a line of 19 hyphens, the question, the
// prompt, the picture as held, the answer line and the five variants, line
// breaks inside a field written as _CRLF_. UTF-8; the form passes it through
// Windows-1251 on its way to the clipboard.
std::string BuildClipboardText(const TTask& task);

// True when the text splits into exactly ten lines: only then is Paste offered.
bool IsClipboardTaskText(std::string_view text);

// A task from such a text (lines after the tenth are ignored); fails with
// kPasteError on fewer than ten lines.
Expected<TTask> ParseClipboardText(std::string_view text);

}  // namespace quilmo
