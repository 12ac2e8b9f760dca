#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "model/WindowsMetafile.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

// red-rectangle.wmf, 102 bytes written from the format's rules:
//   placeable header  D7CDC69A, handle 0, box 0,0 to 16,8, 96 units per inch,
//                     reserved 0, checksum 0x5769 (the XOR of its first ten words)
//   header            type 1, 9 words, version 0x0300, 40 words, 1 object,
//                     largest record 7 words, no parameters
//   SETWINDOWORG      0, 0
//   SETWINDOWEXT      8 high, 16 wide
//   CREATEBRUSHINDIRECT solid, red (FF 00 00)
//   SELECTOBJECT      0
//   RECTANGLE         bottom 8, right 8, top 0, left 0 (drawn with the default black pen)
//   EOF
std::string Fixture()
{
    std::ifstream in(std::string(QUILMO_FIXTURES) + "/pictures/red-rectangle.wmf", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

uint32_t At(const RgbaPicture& picture, int x, int y)
{
    return picture.Pixels.at(size_t(y) * size_t(picture.Width) + size_t(x));
}

TEST(WindowsMetafileTest, DrawsAHandMadeMetafileAtItsOwnSize)
{
    const std::string bytes = Fixture();
    ASSERT_EQ(bytes.size(), 102u);
    const auto picture = DrawWindowsMetafile(bytes);
    ASSERT_TRUE(picture) << picture.error().Message;
    // 16 × 8 units at 96 units per inch: 16 × 8 pixels at 96 dots per inch.
    EXPECT_EQ(picture->Width, 16);
    EXPECT_EQ(picture->Height, 8);
    ASSERT_EQ(picture->Pixels.size(), 16u * 8u);
    EXPECT_EQ(At(*picture, 8, 3), 0xFFFF0000u);  // the brush, opaque
    EXPECT_EQ(At(*picture, 0, 0) & 0x00FFFFFFu, 0u);  // the pen's black frame
}

TEST(WindowsMetafileTest, ReadsAFile)
{
    testing::TempFolder dir;
    const auto picture = ReadWindowsMetafile(dir.Write("рисунок.wmf", Fixture()));
    ASSERT_TRUE(picture) << picture.error().Message;
    EXPECT_EQ(picture->Width, 16);
    EXPECT_FALSE(ReadWindowsMetafile(dir / "нет.wmf"));
}

TEST(WindowsMetafileTest, RefusesWhatIsNoMetafileOrTooLarge)
{
    const std::string bytes = Fixture();
    std::string huge = bytes;
    // The placeable box made 32,000 units wide at one unit per inch.
    huge[10] = char(0x00);
    huge[11] = char(0x7D);
    huge[14] = char(0x01);
    huge[15] = char(0x00);
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= uint16_t(uint8_t(huge[size_t(2 * i)]) | uint8_t(huge[size_t(2 * i + 1)]) << 8);
    huge[20] = char(checksum & 0xff);
    huge[21] = char(checksum >> 8);
    // The largest record claimed as 0x75000000 words, far more than the file holds.
    std::string greedy = bytes;
    greedy[22 + 14] = char(0x00);
    greedy[22 + 15] = char(0x75);
    const std::string cases[] = {
        greedy,
        "",
        "not a picture at all, just some text",
        bytes.substr(0, 40),
        std::string(200, '\0'),
        std::string(200, '\xff'),
        huge,
    };
    for (const std::string& input : cases)
        EXPECT_FALSE(DrawWindowsMetafile(input)) << input.size();
    EXPECT_FALSE(DrawWindowsMetafile(std::string(kMaxMetafileBytes + 1, '\0')));
    const auto tooLarge = DrawWindowsMetafile(huge);
    ASSERT_FALSE(tooLarge);
    EXPECT_EQ(tooLarge.error().Message, "Изображение слишком велико.");
}

}  // namespace
}  // namespace quilmo
