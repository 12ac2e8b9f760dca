#pragma once
// Windows metafiles (WMF): the vector pictures of old Windows documents,
// drawn into pixels by libwmf.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Expected.h"

namespace quilmo {

struct RgbaPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // 0xAARRGGBB, row after row from the top
};

// The largest metafile read and the largest picture drawn: a question's
// picture comes from elsewhere and must not exhaust the memory.
constexpr size_t kMaxMetafileBytes = 16u << 20;
constexpr int kMaxMetafileSide = 4096;

// Draws a metafile at its own size (96 dots per inch when it names none);
// an error for bytes that are not a metafile, or that would draw larger than
// kMaxMetafileSide on a side.
Expected<RgbaPicture> DrawWindowsMetafile(std::string_view bytes);
// The same for a file; a larger file than kMaxMetafileBytes is not read.
Expected<RgbaPicture> ReadWindowsMetafile(const std::string& path);

}  // namespace quilmo
