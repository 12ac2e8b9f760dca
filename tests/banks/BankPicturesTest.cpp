// Pictures of a bank: base64, kinds, PNG into JPEG, names, writing them out.

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

#include <jpeglib.h>
#include <png.h>

#include "banks/BankPictures.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::TempFolder;

const std::string kGif = *DecodeBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");

// A PNG of w x h pixels, RGBA, made with libpng's own writer.
std::string MakePng(uint32_t w, uint32_t h, const std::vector<uint8_t>& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr));
    out.resize(size);
    return out;
}

struct Decoded {
    uint32_t Width = 0;
    uint32_t Height = 0;
    std::vector<uint8_t> Rgb;
};

struct JpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

// The JPEG decoded with libjpeg, to look at its pixels.
Decoded DecodeJpeg(const std::string& jpeg)
{
    auto* state = new JpegErrors{};
    auto* info = new jpeg_decompress_struct{};
    Decoded out;
    info->err = jpeg_std_error(&state->Manager);
    state->Manager.error_exit = [](j_common_ptr c) { std::longjmp(static_cast<JpegErrors*>(c->client_data)->Jump, 1); };
    info->client_data = state;
    if (setjmp(state->Jump) == 0) {
        jpeg_create_decompress(info);
        jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
        jpeg_read_header(info, TRUE);
        info->out_color_space = JCS_RGB;
        jpeg_start_decompress(info);
        out.Width = info->output_width;
        out.Height = info->output_height;
        out.Rgb.resize(size_t(out.Width) * out.Height * 3);
        while (info->output_scanline < info->output_height) {
            JSAMPROW row = out.Rgb.data() + size_t(info->output_scanline) * out.Width * 3;
            jpeg_read_scanlines(info, &row, 1);
        }
        jpeg_finish_decompress(info);
    } else {
        ADD_FAILURE() << "not a JPEG";
    }
    jpeg_destroy_decompress(info);
    delete info;
    delete state;
    return out;
}

TEST(BankPicturesTest, Base64RoundTripsEveryLength)
{
    std::string bytes;
    for (int n = 0; n < 40; ++n) {
        EXPECT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes) << n;
        bytes += char(n * 37);
    }
    EXPECT_EQ(EncodeBase64("Man"), "TWFu");
    EXPECT_EQ(EncodeBase64("Ma"), "TWE=");
    EXPECT_EQ(DecodeBase64("TW\r\n Fu"), "Man");
    EXPECT_EQ(DecodeBase64("TWE"), "Ma");  // padding may be left out
}

TEST(BankPicturesTest, BrokenBase64IsRefused)
{
    for (const char* bad : {"TWF!", "T", "TWFu=", "TW=u", "TWE==", "TWF=x", "TWF==="})
        EXPECT_FALSE(DecodeBase64(bad).has_value()) << bad;
}

TEST(BankPicturesTest, KindsAreToldByTheirBytes)
{
    EXPECT_EQ(SniffPicture("\xFF\xD8\xFF\xE0rest"), PictureFormat::Jpeg);
    EXPECT_EQ(SniffPicture(kGif), PictureFormat::Gif);
    EXPECT_EQ(SniffPicture(MakePng(1, 1, {0, 0, 0, 255})), PictureFormat::Png);
    EXPECT_EQ(SniffPicture("BM" + std::string(40, '\0')), PictureFormat::Bmp);
    EXPECT_EQ(SniffPicture(std::string("\0\0\1\0\1\0", 6)), PictureFormat::Ico);
    EXPECT_EQ(SniffPicture("\xD7\xCD\xC6\x9A" + std::string(20, '\0')), PictureFormat::Wmf);
    EXPECT_EQ(SniffPicture(std::string("\1\0\0\0", 4) + std::string(36, '\0') + " EMF"), PictureFormat::Emf);
    EXPECT_EQ(SniffPicture("<svg></svg>"), PictureFormat::Unknown);
    EXPECT_EQ(SniffPicture(""), PictureFormat::Unknown);
}

TEST(BankPicturesTest, PngBecomesJpegWithTransparencyOnWhite)
{
    // Left pixel opaque red, right pixel fully transparent.
    const std::string png = MakePng(2, 1, {255, 0, 0, 255, 0, 0, 0, 0});
    const auto jpeg = PngToJpeg(png, 100);
    ASSERT_TRUE(jpeg) << jpeg.error().Message;
    EXPECT_EQ(SniffPicture(*jpeg), PictureFormat::Jpeg);
    const Decoded d = DecodeJpeg(*jpeg);
    ASSERT_EQ(d.Width, 2u);
    ASSERT_EQ(d.Height, 1u);
    EXPECT_GT(d.Rgb[0], 150);  // red stays red...
    EXPECT_LT(d.Rgb[1], 110);
    EXPECT_GT(d.Rgb[3], 200);  // ...the transparent pixel is white
    EXPECT_GT(d.Rgb[4], 200);
    EXPECT_GT(d.Rgb[5], 200);
}

TEST(BankPicturesTest, DamagedOrOversizedPngIsRefused)
{
    const std::string png = MakePng(64, 64, std::vector<uint8_t>(64 * 64 * 4, 128));
    EXPECT_EQ(PngToJpeg(png.substr(0, png.size() / 2), 1 << 20).error().Message, "damaged");
    EXPECT_EQ(PngToJpeg(png, 64 * 63).error().Message, "too big");
    // A header claiming 60000 x 60000 pixels over a few bytes of data costs nothing.
    std::string liar = png;
    const unsigned char big[8] = {0, 0, 0xEA, 0x60, 0, 0, 0xEA, 0x60};
    liar.replace(16, 8, reinterpret_cast<const char*>(big), 8);
    EXPECT_FALSE(PngToJpeg(liar, uint64_t(1) << 40));
}

struct NameCase {
    const char* Given;
    const char* Kept;  // "" when refused
};

TEST(BankPicturesTest, NamesAreBareAndFitTheirContent)
{
    const NameCase cases[] = {
        {"pic.gif", "pic.gif"},
        {"../../etc/pic.gif", "pic.gif"},
        {"C:\\Users\\x\\pic.gif", "pic.gif"},
        {"/abs/pic.GIF", "pic.GIF"},
        {"pic.png", "pic.gif"},  // a GIF under a PNG's name
        {"noext", "noext.gif"},
        {"..", ""},
        {"a/", ""},
        {"a:b.gif", ""},
        {"", ""},
    };
    for (const NameCase& c : cases) {
        const auto picture = PrepareBankPicture(c.Given, kGif, {});
        if (std::string(c.Kept).empty()) {
            EXPECT_FALSE(picture) << c.Given;
            continue;
        }
        ASSERT_TRUE(picture) << c.Given << ": " << picture.error().Message;
        EXPECT_EQ(picture->Name, c.Kept);
        EXPECT_EQ(picture->Bytes, kGif);
    }
    const auto png = PrepareBankPicture("map.PNG", MakePng(1, 1, {1, 2, 3, 255}), {});
    ASSERT_TRUE(png);
    EXPECT_EQ(png->Name, "map.jpg");
    EXPECT_EQ(SniffPicture(png->Bytes), PictureFormat::Jpeg);
    EXPECT_FALSE(PrepareBankPicture("a.svg", "<svg/>", {}));
    BankLimits small;
    small.MaxPictureBytes = 10;
    EXPECT_FALSE(PrepareBankPicture("pic.gif", kGif, small));
}

TEST(BankPicturesTest, WritingNeverReplacesAFileAndNamesTheTasks)
{
    TempFolder folder;
    folder.Write("p.gif", "old");
    BankImport bank;
    bank.Pictures = {{"p.gif", kGif}, {"q.gif", kGif}};
    bank.Tasks.resize(3);
    bank.Tasks[0].ImageFile = "p.gif";
    bank.Tasks[2].ImageFile = "q.gif";
    ASSERT_TRUE(WriteBankPictures(bank, folder.Path()));
    EXPECT_EQ(folder.Read("p.gif"), "old");
    EXPECT_EQ(bank.Tasks[0].ImageFile, folder / "p~2.gif");
    EXPECT_EQ(folder.Read("p~2.gif"), kGif);
    EXPECT_EQ(bank.Tasks[1].ImageFile, "");
    EXPECT_EQ(bank.Tasks[2].ImageFile, folder / "q.gif");
}

TEST(BankPicturesTest, AFailedWriteLeavesNothingBehind)
{
    TempFolder folder;
    BankImport bank;
    // The second name is longer than any file system takes.
    bank.Pictures = {{"a.gif", kGif}, {std::string(300, 'b') + ".gif", kGif}};
    bank.Tasks.resize(2);
    bank.Tasks[0].ImageFile = "a.gif";
    bank.Tasks[1].ImageFile = bank.Pictures[1].Name;
    EXPECT_FALSE(WriteBankPictures(bank, folder.Path()));
    EXPECT_EQ(bank.Tasks[0].ImageFile, "a.gif");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(WriteBankPictures(bank, folder / "missing/"));
}

}  // namespace
}  // namespace quilmo
