#include "model/TextLines.h"

#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "model/LegacyContainer.h"
#include "model/Crypt.h"
#include "model/TextUtil.h"

namespace quilmo {
namespace {

// The lines as the text's line rules give them (SplitLines), against the
// lines TextLines cuts out one by one.
TEST(TextLinesTest, GivesTheLinesTheSplittingRulesGive)
{
    const std::string texts[] = {
        "",
        "one",
        "one\r\n",
        "one\r\ntwo",
        "\r\n\r\n",
        "\n\n\n",
        "\r\r\n\n\r",
        "a\rb\nc\r\nd",
        std::string("before\0after\r\nmore\r\n", 21),
        std::string("\0", 1),
        "\xC0\xE1\xE2\r\n\xFF",  // Windows-1251 letters, decoded to UTF-8
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(::testing::PrintToString(text));
        const std::vector<std::string> expected = SplitLines(Cp1251ToUtf8(text));
        TextLines lines(text);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(lines.Has(i)) << i;
            EXPECT_EQ(lines.Line(i), expected[i]) << i;
        }
        EXPECT_FALSE(lines.Has(expected.size()));
        EXPECT_FALSE(lines.Has(expected.size() + 1000));
        EXPECT_EQ(lines.Raw(expected.size()), "");
    }
}

TEST(TextLinesTest, ReadsInAnyOrderAcrossCheckpoints)
{
    const size_t count = 3 * TextLines::kCheckpointStride + 17;
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    TextLines lines(text);
    EXPECT_TRUE(lines.Has(count - 1));
    EXPECT_FALSE(lines.Has(count));
    const size_t order[] = {count - 1, 0, 2 * TextLines::kCheckpointStride + 5, 5,
                            TextLines::kCheckpointStride, TextLines::kCheckpointStride - 1, count - 2, 1};
    for (size_t i : order)
        EXPECT_EQ(lines.Raw(i), std::to_string(i)) << i;
}

// The .stst text is the file's lines joined by CR LF and deciphered; made a
// piece at a time it must be exactly that.
TEST(TextLinesTest, LegacyTextDeciphersAsTheJoinedLinesWould)
{
    const std::string text = "Тест\r\nline\r\n" + std::string(100000, 'x') + "\r\nend";
    const std::string digits = TCrypt::Encipher(Utf8ToCp1251(text), kLegacyKey);
    const std::string files[] = {
        digits,
        digits + "\r\n",
        digits + "\n\n",
        digits.substr(0, 40000) + "\r\n" + digits.substr(40000),  // a break inside the digits
        digits.substr(0, 3000) + "\n" + digits.substr(3000),
        std::string("123\0", 4) + digits,
        "12",
        "",
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(file.size());
        EXPECT_EQ(DecipherLegacyBytes(file), TCrypt::Decipher(JoinLinesCrLf(SplitLines(file)), kLegacyKey));
    }
}

}  // namespace
}  // namespace quilmo
