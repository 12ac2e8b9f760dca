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

bool TextLines::Seek(size_t i)
{
    if (i < line_) {
        const size_t k = i / kCheckpointStride;
        line_ = k * kCheckpointStride;
        offset_ = checkpoints_[k];
    }
    const char* const begin = bytes_.data();
    const char* const end = begin + end_;
    while (line_ < i && offset_ < end_) {
        const char* q = FindLineEnd(begin + offset_, end);
        if (q < end && *q++ == '\r' && q < end && *q == '\n')
            ++q;
        offset_ = static_cast<size_t>(q - begin);
        ++line_;
        if (line_ % kCheckpointStride == 0 && line_ / kCheckpointStride == checkpoints_.size())
            checkpoints_.push_back(offset_);
    }
    return line_ == i && offset_ < end_;
}

bool TextLines::Has(size_t i) { return Seek(i); }

std::string_view TextLines::Raw(size_t i)
{
    if (!Seek(i))
        return {};
    const char* const start = bytes_.data() + offset_;
    return std::string_view(start, static_cast<size_t>(FindLineEnd(start, bytes_.data() + end_) - start));
}

std::string TextLines::Line(size_t i) { return Cp1251ToUtf8(Raw(i)); }

}  // namespace quilmo
