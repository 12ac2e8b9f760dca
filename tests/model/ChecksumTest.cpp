#include <gtest/gtest.h>

#include <zlib.h>

#include <random>

#include "model/Checksum.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

uint32_t ZlibCrc(const std::string& bytes)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Random bytes without the end mark, with plenty of blanks and line ends.
std::string Noise(size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        auto c = static_cast<char>(gen() % 256);
        if (c == 0x1A)
            c = ' ';
        s += c;
    }
    return s;
}

std::string WithoutBlanks(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (static_cast<unsigned char>(c) > 0x20)
            out += c;
    return out;
}

TEST(ChecksumTest, StandardCrc32OverTheBytesAboveBlank)
{
    // The standard check value of CRC-32 is that of "123456789".
    EXPECT_EQ(ChecksumBytes("123456789"), 0xCBF43926u);
    EXPECT_EQ(ChecksumBytes(" 1 2\t3\r\n4\n5\r6\x01\x1F" "789\r\n"), 0xCBF43926u);
    EXPECT_EQ(ChecksumBytes(""), 0u);
    EXPECT_EQ(ChecksumBytes(" \r\n"), 0u);

    const std::string noise = Noise(100000, 1);
    EXPECT_EQ(ChecksumBytes(noise), ZlibCrc(WithoutBlanks(noise)));
}

TEST(ChecksumTest, StopsAtTheFirstEndMark)
{
    EXPECT_EQ(ChecksumBytes("123456789\x1A" "abc\x1A" "def"), 0xCBF43926u);
    EXPECT_EQ(ChecksumBytes("\x1A" "123"), 0u);

    ChecksumState state;
    EXPECT_TRUE(state.Update("1234"));
    EXPECT_FALSE(state.Update("56789\x1A" "abc"));
    EXPECT_FALSE(state.Update("more"));
    EXPECT_EQ(state.Value(), 0xCBF43926u);
}

TEST(ChecksumTest, ChunksGiveTheSameValue)
{
    const std::string noise = Noise(5000, 2);
    ChecksumState state;
    for (size_t i = 0; i < noise.size(); i += 7)
        state.Update(std::string_view(noise).substr(i, 7));
    EXPECT_EQ(state.Value(), ChecksumBytes(noise));
}

TEST(ChecksumTest, FileChecksumIgnoresBlanksAndLineEnds)
{
    testing::TempFolder dir;
    const std::string a = dir.Write("a.txt", "Тест\r\n5\r\n--------\r\n  1,2 \r\n");
    const std::string b = dir.Write("b.txt", "Тест\n5\n--------\n\t1,2\n");
    const std::string c = dir.Write("c.txt", "Тест\r\n5\r\n--------\r\n1,3\r\n");
    EXPECT_EQ(FileChecksum(a), FileChecksum(b));
    EXPECT_NE(FileChecksum(a), FileChecksum(c));
    EXPECT_EQ(FileChecksum(a), ZlibCrc("Тест5--------1,2"));

    // Larger than one read: the chunks join up, the end mark still stops it.
    const std::string big = Noise(300000, 3);
    EXPECT_EQ(FileChecksum(dir.Write("big.bin", big)), ZlibCrc(WithoutBlanks(big)));
    EXPECT_EQ(FileChecksum(dir.Write("end.bin", big + "\x1A" + big)), ZlibCrc(WithoutBlanks(big)));
}

TEST(ChecksumTest, UnreadableFileGivesZero)
{
    testing::TempFolder dir;
    EXPECT_EQ(FileChecksum(dir / "missing.txt"), 0u);
    EXPECT_EQ(FileChecksum(dir.Path()), 0u);  // a folder
}

}  // namespace
}  // namespace quilmo
