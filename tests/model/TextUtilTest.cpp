#include <gtest/gtest.h>

#include "model/TextUtil.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;

TEST(TextUtilTest, TrimRemovesBlanksAndControlBytesOnly)
{
    EXPECT_EQ(Trim(std::string_view(" \t\x01\r\n a b \x1f\x20", 12)), "a b");
    EXPECT_EQ(Trim("  "), "");
    EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");  // a no-break space is not a blank byte
    EXPECT_EQ(TrimLeft("  x  "), "x  ");
    EXPECT_EQ(TrimRight("  x  "), "  x");
}

TEST(TextUtilTest, SplitLinesTable)
{
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
        {"a\r\r\nb", {"a", "", "b"}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {std::string("\0a", 2), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << '"' << c.text << '"';
}

TEST(TextUtilTest, JoinEndsEveryLineWithCrLf)
{
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLinesCrLf({}), "");
}

TEST(TextUtilTest, CrLfEscaping)
{
    EXPECT_EQ(EscapeCrLf("a\r\nb\r\n"), "a_CRLF_b_CRLF_");
    EXPECT_EQ(EscapeCrLf("a\rb\nc"), "a\rb\nc");  // only the pair is escaped
    EXPECT_EQ(UnescapeCrLf("_CRLF_a_CRLF__CRLF_"), "\r\na\r\n\r\n");
    EXPECT_EQ(UnescapeCrLf("_crlf_ _CRLF"), "_crlf_ _CRLF");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
}

TEST(TextUtilTest, ParseIntIsStrictDecimal)
{
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"0", 0},
        {"42", 42},
        {"-17", -17},
        {"+5", 5},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"+", std::nullopt},
        {"+-1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.0", std::nullopt},
        {"0x10", std::nullopt},
        {"$10", std::nullopt},
        {"3-2", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseInt32(text), value) << text;
    EXPECT_EQ(ParseInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(ParseInt64("9223372036854775808"), std::nullopt);
    EXPECT_EQ(StrToIntDef("x", -1), -1);
    EXPECT_EQ(StrToIntDef("12", -1), 12);
}

TEST(TextUtilTest, CaseInsensitiveForAsciiAndCyrillic)
{
    EXPECT_TRUE(EqualsIgnoreCase("Photo.JPG", "photo.jpg"));
    EXPECT_TRUE(EqualsIgnoreCase("РИСУНОК Ёлка.bmp", "рисунок ёлка.BMP"));
    EXPECT_TRUE(EqualsIgnoreCase("ЇЄІЎҐ", "їєіўґ"));
    EXPECT_FALSE(EqualsIgnoreCase("ёлка", "елка"));
    EXPECT_FALSE(EqualsIgnoreCase("photo", "photo1"));
    EXPECT_FALSE(EqualsIgnoreCase("a", ""));
    EXPECT_TRUE(EqualsIgnoreCase("", ""));
    EXPECT_FALSE(EqualsIgnoreCase("\xD0", "\xD1"));  // malformed bytes compare as bytes
    EXPECT_EQ(ToLowerUtf8("AБВГДЕЁЖЯ-Zz\xFF"), "aбвгдеёжя-zz\xFF");
}

}  // namespace
}  // namespace quilmo
