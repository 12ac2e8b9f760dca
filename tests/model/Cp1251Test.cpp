#include <gtest/gtest.h>

#include <iconv.h>

#include "model/Cp1251.h"

namespace quilmo {
namespace {

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

TEST(Cp1251Test, EveryByteRoundTrips)
{
    const std::string bytes = AllBytes();
    const std::string text = Cp1251ToUtf8(bytes);
    EXPECT_EQ(Utf8ToCp1251(text), bytes);
    // Byte by byte too: each decodes to exactly one character.
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << b;
    }
}

TEST(Cp1251Test, AgreesWithTheSystemCodecOnEveryAssignedByte)
{
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        GTEST_SKIP() << "no CP1251 converter on this system";
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;  // unassigned: we keep it as U+0098
        char in[1] = {static_cast<char>(b)};
        char out[8] = {};
        char* ip = in;
        char* op = out;
        size_t il = 1, ol = sizeof out;
        ASSERT_NE(iconv(cd, &ip, &il, &op, &ol), static_cast<size_t>(-1)) << b;
        EXPECT_EQ(Cp1251ToUtf8(std::string_view(in, 1)), std::string(out, op)) << b;
    }
    iconv_close(cd);
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xC2\x98");
}

TEST(Cp1251Test, KnownLetters)
{
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8 \xB9"), "Привет Ёё №");
    EXPECT_EQ(Utf8ToCp1251("----------конец---------").size(), 24u);
    EXPECT_EQ(Utf8ToCp1251("€—«»"), "\x88\x97\xAB\xBB");
}

TEST(Cp1251Test, UnmappableAndMalformedBecomeQuestionMarks)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a中b", "a?b"},                          // no Windows-1251 byte
        {"x\xF0\x9F\x98\x80y", "x?y"},            // outside the basic plane
        {"é", "?"},                               // Latin, not in the Cyrillic page
        {"a\x80z", "a?z"},                        // stray continuation byte
        {"a\xD0", "a?"},                          // cut off at the end
        {"a\xE2\x82z", "a?z"},                    // cut off before an ASCII byte
        {"\xC0\xAF", "??"},                       // overlong form of '/'
        {"\xF4\x90\x80\x80", "?"},                // beyond U+10FFFF
        {"\xFF", "?"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Utf8ToCp1251(in), out) << in;
}

}  // namespace
}  // namespace quilmo
