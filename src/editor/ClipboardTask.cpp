#include "editor/ClipboardTask.h"

#include "model/TextTestReader.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr size_t kTaskLines = 10;

// The picture path is one line as it is held; only a break inside it is dropped.
std::string OneLine(std::string_view s)
{
    std::string out;
    for (char c : s)
        if (c != '\r' && c != '\n' && c != '\0')
            out += c;
    return out;
}

// Walks the lines by the reader's rules (CR LF, lone CR, lone LF; a NUL ends
// the text) and stops after `limit` + 1 of them, so a huge clipboard text
// costs no more than its first lines. Returns the count and the offset where
// the line after the first `limit` ones begins.
struct LineScan {
    size_t Lines = 0;
    size_t PrefixEnd = 0;
};

LineScan ScanLines(std::string_view text, size_t limit)
{
    LineScan scan;
    const size_t end = std::min(text.find('\0'), text.size());
    size_t i = 0;
    while (i < end && scan.Lines <= limit) {
        const size_t cut = text.find_first_of("\r\n", i);
        ++scan.Lines;
        if (cut == std::string_view::npos || cut >= end) {
            i = end;
        } else {
            i = cut + 1;
            if (text[cut] == '\r' && i < end && text[i] == '\n')
                ++i;
        }
        if (scan.Lines == limit)
            scan.PrefixEnd = i;
    }
    return scan;
}

}  // namespace

std::string BuildClipboardText(const TTask& task)
{
    std::string text = std::string(19, '-') + "\r\n";
    text += MultiLineField(task.Question) + "\r\n";
    text += MultiLineField(task.Prompt) + "\r\n";
    text += OneLine(task.ImageFile) + "\r\n";
    text += BuildAnswerLine(task) + "\r\n";
    for (const std::string& variant : task.Variants)
        text += MultiLineField(variant) + "\r\n";
    return text;
}

bool IsClipboardTaskText(std::string_view text)
{
    return ScanLines(text, kTaskLines).Lines == kTaskLines;
}

Expected<TTask> ParseClipboardText(std::string_view text)
{
    const LineScan scan = ScanLines(text, kTaskLines);
    if (scan.Lines < kTaskLines)
        return Error{kPasteError};
    // Only the first ten lines are split off; the rest is ignored.
    std::vector<std::string> lines = SplitLines(text.substr(0, scan.PrefixEnd));
    auto task = ReadTaskBlock(lines, 1, std::string());
    if (!task)
        return Error{kPasteError};
    return task;
}

}  // namespace quilmo
