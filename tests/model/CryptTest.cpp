#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "support/CheckTestBytes.h"

namespace quilmo {
namespace {

// 'L' = 76, 'a' = 97, 'n' = 110 are the first letters of the legacy key.
TEST(CryptTest, EnciphersByHandWrittenVectors)
{
    struct Case {
        std::string Text;
        std::string Digits;
    } cases[] = {
        {"", ""},
        {"L", "000"},                   // a byte equal to the key byte
        {"La", "000000"},
        {"M", "001"},                   // 77 ^ 76
        {"\xFF", "179"},                // 255 ^ 76
        {"\r\n", "065107"},             // 13 ^ 76, 10 ^ 97
        {"LanternMosaicL", std::string(42, '0')},  // the key starts again at byte 14
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCrypt::Encipher(c.Text, kLegacyKey), c.Digits) << c.Text;
}

TEST(CryptTest, DeciphersWholeGroupsAndIgnoresOneOrTwoLeftOverCharacters)
{
    struct Case {
        std::string Digits;
        std::string Text;
    } cases[] = {
        {"", ""},
        {"0", ""},
        {"00", ""},
        {"000", "L"},
        {"00000", "L"},
        {"00000017", "La"},
        {"999", "\xAB"},      // (999 ^ 76) mod 256 = 0x3AB mod 256
        {"-01", "\xB3"},      // a signed group is a number too: low byte of -1 ^ 76
        {"179", "\xFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TCrypt::Decipher(c.Digits, kLegacyKey), c.Text) << c.Digits;
}

TEST(CryptTest, AGroupThatIsNotANumberGivesTheErrorTextAlone)
{
    const std::string error = Utf8ToCp1251("Произошла ошибка!");
    for (const char* digits : {"00a", "000 12", "000\r\n000", "12x000", "000000,,,"})
        EXPECT_EQ(TCrypt::Decipher(digits, kLegacyKey), error) << digits;
    EXPECT_EQ(TCrypt::Decipher("00a", kCheckTestKey), error);
}

TEST(CryptTest, EveryByteSurvivesARoundTripWithBothKeys)
{
    std::string all;
    for (int i = 0; i < 3 * 256; ++i)
        all += char(i % 256);
    for (std::string_view key : {kLegacyKey, kCheckTestKey}) {
        const std::string digits = TCrypt::Encipher(all, key);
        EXPECT_EQ(digits, testing::HandEncipher(all, key));
        EXPECT_EQ(TCrypt::Decipher(digits, key), all);
    }
}

TEST(CryptTest, KeysAndSignatureAreTheFixedStrings)
{
    EXPECT_EQ(kLegacyKey, testing::kHandLegacyKey);
    EXPECT_EQ(kCheckTestKey, testing::kHandCheckTestKey);
    EXPECT_EQ(kCheckTestKey.size(), 110u);
    EXPECT_EQ(kCheckTestSignature, testing::kHandSignature);
    EXPECT_EQ(kCheckTestSignature.size(), 37u);
}

}  // namespace
}  // namespace quilmo
