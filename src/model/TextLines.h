#pragma once
// A test's text addressed by line number. Only the lines a reader asks for are
// cut out and decoded, so a file of millions of lines costs its bytes and
// nothing per line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quilmo {

class TextLines {
public:
    // bytes: Windows-1251 text, kept as it is. A NUL ends the text; lines
    // split at CR LF, a lone CR and a lone LF; a final line without a
    // terminator counts, a final terminator adds no empty line.
    explicit TextLines(std::string bytes);

    // Whether line i (0-based) exists. Each byte is passed over once however
    // far ahead the lines asked for lie.
    bool Has(size_t i);
    // Line i as Windows-1251 bytes, and decoded to UTF-8; "" when it does not
    // exist. The view lasts as long as this object. Reading forward passes
    // over each byte once; going back starts again from the checkpoint kept
    // every kCheckpointStride lines.
    std::string_view Raw(size_t i);
    std::string Line(size_t i);

    static constexpr size_t kCheckpointStride = 4096;

private:
    struct Cursor {
        size_t Line = 0;  // line Line starts at Offset
        size_t Offset = 0;
    };
    // Moves c forward to the start of line i, or to the end of the text.
    void Advance(Cursor& c, size_t i);

    std::string bytes_;
    size_t end_ = 0;  // where the text ends (at the first NUL)
    Cursor read_;     // where the last line read starts
    Cursor far_;      // the furthest line known to exist, or the end
    // checkpoints_[k] is where line k * kCheckpointStride starts.
    std::vector<size_t> checkpoints_;
};

}  // namespace quilmo
