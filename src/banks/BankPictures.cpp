#include "banks/BankPictures.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "model/CheckTestContainer.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"
#include "model/UniquePictureNames.h"

namespace quilmo {

namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    uint32_t buffer = 0;
    int bits = 0;
    size_t digits = 0;
    size_t padding = 0;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int v = Base64Value(c);
        if (v < 0 || padding > 0)
            return std::nullopt;  // a stray character, or data after the padding
        buffer = (buffer << 6) | uint32_t(v);
        bits += 6;
        ++digits;
        if (bits >= 8) {
            bits -= 8;
            out += char((buffer >> bits) & 0xFF);
        }
    }
    const size_t rest = digits % 4;
    if (rest == 1 || padding > 2 || (padding > 0 && (rest + padding) % 4 != 0))
        return std::nullopt;
    // The bits left over must be zero, or the text was cut or altered.
    if (bits > 0 && (buffer & ((1u << bits) - 1)) != 0)
        return std::nullopt;
    return out;
}

std::string EncodeBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t v = (uint32_t(uint8_t(bytes[i])) << 16) | (uint32_t(uint8_t(bytes[i + 1])) << 8) |
                           uint32_t(uint8_t(bytes[i + 2]));
        out += kBase64Alphabet[(v >> 18) & 63];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += kBase64Alphabet[(v >> 6) & 63];
        out += kBase64Alphabet[v & 63];
    }
    if (i < bytes.size()) {
        uint32_t v = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            v |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        out += kBase64Alphabet[(v >> 18) & 63];
        out += kBase64Alphabet[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kBase64Alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

PictureFormat SniffPicture(std::string_view b)
{
    auto starts = [&](std::string_view prefix) { return b.substr(0, prefix.size()) == prefix; };
    if (starts("\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (starts("GIF87a") || starts("GIF89a"))
        return PictureFormat::Gif;
    if (starts("\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    if (starts("BM") && b.size() >= 26)
        return PictureFormat::Bmp;
    if (starts(std::string_view("\0\0\1\0", 4)) && b.size() >= 6)
        return PictureFormat::Ico;
    if (starts("\xD7\xCD\xC6\x9A") || starts(std::string_view("\1\0\x09\0", 4)) ||
        starts(std::string_view("\2\0\x09\0", 4)))
        return PictureFormat::Wmf;
    if (starts(std::string_view("\1\0\0\0", 4)) && b.size() >= 44 && b.substr(40, 4) == " EMF")
        return PictureFormat::Emf;
    return PictureFormat::Unknown;
}

namespace {

// libpng and libjpeg report errors by a jump back to the call; everything
// they fill lives in these records, not in locals of the jumping frame.
struct PngState {
    std::string_view Data;
    size_t Pos = 0;
    std::string Error;
    uint64_t MaxPixels = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<unsigned char> Rgb;
    std::vector<png_bytep> Rows;
};

void PngRead(png_structp png, png_bytep out, png_size_t n)
{
    auto* st = static_cast<PngState*>(png_get_io_ptr(png));
    if (n > st->Data.size() - st->Pos)
        png_error(png, "truncated");
    std::memcpy(out, st->Data.data() + st->Pos, n);
    st->Pos += n;
}

void PngFail(png_structp png, png_const_charp message)
{
    auto* st = static_cast<PngState*>(png_get_error_ptr(png));
    st->Error = message ? message : "";
    png_longjmp(png, 1);
}

void PngWarn(png_structp, png_const_charp) {}

// Decodes into st.Rgb (8-bit RGB rows); false on any error.
bool DecodePng(PngState& st)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &st, PngFail, PngWarn);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &st, PngRead);
    png_set_user_limits(png, 65535, 65535);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    // A deflate stream expands at most about a thousandfold, so a picture
    // bigger than that against its file is a lie that must not cost memory.
    const uint64_t rawBytes = uint64_t(height) * (uint64_t(png_get_rowbytes(png, info)) + 1);
    if (uint64_t(width) * height > st.MaxPixels || rawBytes > 1100 * uint64_t(st.Data.size()) + 65536)
        png_error(png, "too big");
    const int colorType = png_get_color_type(png, info);
    png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_color_16 white{};
    white.red = white.green = white.blue = white.gray = 255;
    png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 3 || png_get_bit_depth(png, info) != 8)
        png_error(png, "unexpected pixel format");
    st.Width = width;
    st.Height = height;
    st.Rgb.resize(size_t(width) * height * 3);
    st.Rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        st.Rows[y] = st.Rgb.data() + size_t(y) * width * 3;
    png_read_image(png, st.Rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct JpegState {
    jpeg_compress_struct Info{};
    jpeg_error_mgr Errors{};
    std::jmp_buf Jump;
    unsigned char* Out = nullptr;
    unsigned long OutSize = 0;
};

void JpegFail(j_common_ptr cinfo)
{
    auto* st = static_cast<JpegState*>(cinfo->client_data);
    std::longjmp(st->Jump, 1);
}

void JpegMessage(j_common_ptr) {}

// st.Out holds the JPEG (allocated by libjpeg) on success.
bool EncodeJpeg(const PngState& image, JpegState& st)
{
    jpeg_compress_struct& cinfo = st.Info;
    cinfo.err = jpeg_std_error(&st.Errors);
    st.Errors.error_exit = JpegFail;
    st.Errors.output_message = JpegMessage;
    cinfo.client_data = &st;
    if (setjmp(st.Jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &st.Out, &st.OutSize);
    cinfo.image_width = image.Width;
    cinfo.image_height = image.Height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.Rows[cinfo.next_scanline]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

Expected<std::string> PngToJpeg(std::string_view png, uint64_t maxPixels)
{
    auto image = std::make_unique<PngState>();
    image->Data = png;
    image->MaxPixels = maxPixels;
    if (!DecodePng(*image))
        return Error{image->Error == "too big" ? "too big" : "damaged"};
    auto jpeg = std::make_unique<JpegState>();
    const bool encoded = EncodeJpeg(*image, *jpeg);
    std::string out;
    if (encoded && jpeg->Out)
        out.assign(reinterpret_cast<const char*>(jpeg->Out), jpeg->OutSize);
    std::free(jpeg->Out);
    if (!encoded)
        return Error{"damaged"};
    return out;
}

namespace {

std::string LowerExtension(std::string_view name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : ToLowerUtf8(name.substr(dot));
}

std::string Stem(std::string_view name)
{
    const size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

// The extensions the runner takes each kind by; the first is the one given.
std::vector<const char*> ExtensionsOf(PictureFormat kind)
{
    switch (kind) {
    case PictureFormat::Jpeg: return {".jpg", ".jpeg", ".jpe", ".jfif"};
    case PictureFormat::Gif: return {".gif"};
    case PictureFormat::Bmp: return {".bmp", ".dib"};
    case PictureFormat::Ico: return {".ico"};
    case PictureFormat::Wmf: return {".wmf"};
    case PictureFormat::Emf: return {".emf"};
    case PictureFormat::Png:
    case PictureFormat::Unknown: break;
    }
    return {};
}

}  // namespace

Expected<BankPicture> PrepareBankPicture(std::string_view name, std::string bytes, const BankLimits& limits)
{
    const std::string bare = BareFileName(std::string(name));
    if (!IsSafeEmbeddedName(bare) || bare.size() > 200 || Trim(bare).empty())
        return Error{"недопустимое имя картинки «" + std::string(name) + "»"};
    if (bytes.size() > limits.MaxPictureBytes)
        return Error{"картинка «" + bare + "» слишком велика"};
    PictureFormat kind = SniffPicture(bytes);
    std::string finalName = bare;
    if (kind == PictureFormat::Png) {
        auto jpeg = PngToJpeg(bytes, limits.MaxPicturePixels);
        if (!jpeg)
            return Error{jpeg.error().Message == "too big" ? "картинка «" + bare + "» слишком велика"
                                                           : "картинка «" + bare + "» повреждена"};
        bytes = std::move(*jpeg);
        kind = PictureFormat::Jpeg;
        finalName = Stem(bare) + ".jpg";
    }
    const std::vector<const char*> extensions = ExtensionsOf(kind);
    if (extensions.empty())
        return Error{"картинка «" + bare + "» в формате, который Quilmo не показывает"};
    const std::string ext = LowerExtension(finalName);
    bool fits = false;
    for (const char* e : extensions)
        fits = fits || ext == e;
    if (!fits)
        finalName = Stem(finalName) + extensions.front();
    return BankPicture{finalName, std::move(bytes)};
}

namespace {

// Every name already in folder is taken.
UniquePictureNames NamesIn(const std::string& folder)
{
    UniquePictureNames names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(dir))
            names.Reserve(e->d_name);
        ::closedir(dir);
    }
    return names;
}

// Creates path afresh (never over an existing file) with the bytes.
Status WriteNewFile(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return Error{SystemErrorText(errno)};
    const bool ok = WriteAll(fd, bytes.data(), bytes.size());
    const int err = errno;
    if (::close(fd) != 0 || !ok) {
        ::unlink(path.c_str());
        return Error{SystemErrorText(ok ? errno : err)};
    }
    return Ok();
}

}  // namespace

Status WriteBankPictures(BankImport& bank, const std::string& folder)
{
    UniquePictureNames taken = NamesIn(folder);
    std::map<std::string, std::string> pathOf;  // bank name -> full path written
    std::vector<std::string> written;
    for (const BankPicture& picture : bank.Pictures) {
        const std::string path = folder + taken.Claim(picture.Name);
        if (Status done = WriteNewFile(path, picture.Bytes); !done) {
            for (const std::string& w : written)
                ::unlink(w.c_str());
            return done;
        }
        written.push_back(path);
        pathOf[picture.Name] = path;
    }
    for (TTask& task : bank.Tasks)
        if (!task.ImageFile.empty()) {
            const auto it = pathOf.find(task.ImageFile);
            task.ImageFile = it == pathOf.end() ? std::string() : it->second;
        }
    return Ok();
}

}  // namespace quilmo
