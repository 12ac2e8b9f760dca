#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "tools/Encryptor.h"

namespace quilmo {
namespace {

TEST(EncryptorTest, LoneCrAndLoneLfBecomeCrLfAndNothingElseChanges)
{
    struct Case {
        std::string In;
        std::string Out;
    } cases[] = {
        {"", ""},
        {"a", "a"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb", "a\r\nb"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb"},        // LF then CR: two line breaks
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        {std::string("x\0y\n", 4), std::string("x\0y\r\n", 5)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizeLineBreaks(c.In), c.Out);
}

TEST(EncryptorTest, LoadingASourceNormalisesItsLineBreaksAndRefusesWhatItCannotRead)
{
    testing::TempFolder folder;
    const auto loaded = LoadEncryptorSource(folder.Write("t.tst", "one\ntwo"), kMaxPlainSourceBytes);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, "one\r\ntwo");
    EXPECT_FALSE(LoadEncryptorSource(folder / "missing.tst", kMaxPlainSourceBytes));
    EXPECT_FALSE(LoadEncryptorSource(folder.Write("big.tst", std::string(100, 'x')), 99));
}

}  // namespace
}  // namespace quilmo
