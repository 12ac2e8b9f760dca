#include "model/WindowsMetafile.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>

#include <cstdlib>

#include "model/FileIO.h"

namespace quilmo {

namespace {

const Error kNotAMetafile{"Файл не является метафайлом Windows."};

// libwmf leaves the image it drew to the caller, with no call to free it:
// its drawing library is built in and hidden. The image is the public
// gdImage of <libwmf/gd/gd.h>, allocated with malloc.
void FreeDrawnImage(void* image)
{
    auto* im = static_cast<gdImage*>(image);
    if (!im)
        return;
    if (im->clip) {
        std::free(im->clip->list);
        std::free(im->clip);
    }
    std::free(im->polyInts);
    std::free(im->style);
    if (im->pixels && !im->trueColor) {
        for (int y = 0; y < im->sy; ++y)
            std::free(im->pixels[y]);
        std::free(im->pixels);
    }
    std::free(im->tpixels);
    std::free(im->_tpixels);
    std::free(im);
}

struct Player {
    wmfAPI* Api = nullptr;
    bool Open = false;
    ~Player()
    {
        if (!Api)
            return;
        FreeDrawnImage(WMF_GD_GetData(Api)->gd_image);
        if (Open)
            wmf_mem_close(Api);
        wmf_api_destroy(Api);
    }
};

uint32_t Word(std::string_view bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

// The library sizes its record buffer by the header's largest record before
// it reads a record: a header claiming more than the file holds is refused
// here, before it can ask for gigabytes.
bool HeaderFits(std::string_view bytes)
{
    size_t at = 0;
    if (bytes.size() >= 22 && Word(bytes, 0) == 0xCDD7 && Word(bytes, 2) == 0x9AC6)
        at = 22;  // the placeable header before the metafile's own
    if (bytes.size() < at + 18)
        return false;
    const uint64_t words = (bytes.size() - at) / 2;
    const uint64_t largestRecord = Word(bytes, at + 12) | uint64_t(Word(bytes, at + 14)) << 16;
    return Word(bytes, at + 2) == 9 && largestRecord <= words;
}

// gd keeps 7 bits of transparency (0 opaque, 127 clear) above the colour.
uint32_t ToArgb(int gdPixel)
{
    const auto pixel = static_cast<uint32_t>(gdPixel);
    const uint32_t clear = (pixel >> 24) & 0x7f;
    const uint32_t alpha = 255 - (clear * 255 + 63) / 127;
    return (alpha << 24) | (pixel & 0xffffff);
}

}  // namespace

Expected<RgbaPicture> DrawWindowsMetafile(std::string_view bytes)
{
    if (bytes.size() > kMaxMetafileBytes || !HeaderFits(bytes))
        return kNotAMetafile;

    Player player;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    // The library prints nothing and goes past records it does not know.
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&player.Api, flags, &options) != wmf_E_None || !player.Api)
        return kNotAMetafile;
    wmf_gd_t* device = WMF_GD_GetData(player.Api);
    device->type = wmf_gd_image;

    // The library reads and never writes its input.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data()));
    if (wmf_mem_open(player.Api, data, static_cast<long>(bytes.size())) != wmf_E_None)
        return kNotAMetafile;
    player.Open = true;
    wmfD_Rect box{};
    if (wmf_scan(player.Api, 0, &box) != wmf_E_None)
        return kNotAMetafile;
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(player.Api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0)
        return kNotAMetafile;
    if (width > static_cast<unsigned>(kMaxMetafileSide) || height > static_cast<unsigned>(kMaxMetafileSide))
        return Error{"Изображение слишком велико."};
    device->bbox = box;
    device->width = width;
    device->height = height;
    if (wmf_play(player.Api, 0, &box) != wmf_E_None || !device->gd_image)
        return kNotAMetafile;
    const auto* image = static_cast<const gdImage*>(device->gd_image);
    const int* pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels || image->sx <= 0 || image->sy <= 0 || image->sx > kMaxMetafileSide ||
        image->sy > kMaxMetafileSide)
        return kNotAMetafile;

    RgbaPicture picture;
    picture.Width = image->sx;
    picture.Height = image->sy;
    const size_t count = size_t(image->sx) * size_t(image->sy);
    picture.Pixels.reserve(count);
    for (size_t i = 0; i < count; ++i)
        picture.Pixels.push_back(ToArgb(pixels[i]));
    return picture;
}

Expected<RgbaPicture> ReadWindowsMetafile(const std::string& path)
{
    const auto bytes = ReadWholeFile(path, kMaxMetafileBytes);
    if (!bytes)
        return bytes.error();
    return DrawWindowsMetafile(*bytes);
}

}  // namespace quilmo
