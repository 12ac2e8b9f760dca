#include "model/TextLines.h"

#include <cstring>

#include "model/Cp1251.h"
#include "model/TextUtil.h"

namespace quilmo {

TextLines::TextLines(std::string bytes) : bytes_(std::move(bytes))
{
    const void* nul = std::memchr(bytes_.data(), '\0', bytes_.size());
    end_ = nul ? static_cast<size_t>(static_cast<const char*>(nul) - bytes_.data()) : bytes_.size();
    checkpoints_.push_back(0);
}

void TextLines::Advance(Cursor& c, size_t i)
{
    const char* const begin = bytes_.data();
    const char* const end = begin + end_;
    while (c.Line < i && c.Offset < end_) {
        const char* q = FindLineEnd(begin + c.Offset, end);
        if (q < end && *q++ == '\r' && q < end && *q == '\n')
            ++q;
        c.Offset = static_cast<size_t>(q - begin);
        ++c.Line;
        if (c.Line % kCheckpointStride == 0 && c.Line / kCheckpointStride == checkpoints_.size())
            checkpoints_.push_back(c.Offset);
    }
}

bool TextLines::Has(size_t i)
{
    Advance(far_, i);
    return i < far_.Line || (i == far_.Line && far_.Offset < end_);
}

std::string_view TextLines::Raw(size_t i)
{
    if (!Has(i))
        return {};
    // Start from the nearest known point before line i.
    const size_t k = i / kCheckpointStride;
    if (read_.Line > i || (k < checkpoints_.size() && k * kCheckpointStride > read_.Line))
        read_ = Cursor{k * kCheckpointStride, checkpoints_[k]};
    Advance(read_, i);
    const char* const start = bytes_.data() + read_.Offset;
    return std::string_view(start, static_cast<size_t>(FindLineEnd(start, bytes_.data() + end_) - start));
}

std::string TextLines::Line(size_t i) { return Cp1251ToUtf8(Raw(i)); }

}  // namespace quilmo
