#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "model/LegacyContainer.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"
#include "support/CheckTestBytes.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::HandEncipher;
using testing::kHandLegacyKey;

const std::vector<std::string> kTest = {
    "Старый тест", "Описание", "1", "--------", "1", "--------", "1",
    "----1----", "Вопрос", "Подсказка", "", "2", "Да", "Нет", "", "", "",
    "----------конец---------",
};

std::string HandStst(const std::vector<std::string>& lines)
{
    return HandEncipher(Utf8ToCp1251(JoinLinesCrLf(lines)), kHandLegacyKey);
}

OpenTestResult Open(const std::string& path)
{
    TRandom random;
    return OpenTestFile(path, random, {});
}

TEST(LegacyContainerTest, DigitsFollowedByLineBreaksDecipherAsIfTheyWereAbsent)
{
    const std::string digits = HandStst(kTest);
    EXPECT_EQ(DecipherLegacyText(digits), kTest);
    EXPECT_EQ(DecipherLegacyText(digits + "\r\n"), kTest);
    EXPECT_EQ(DecipherLegacyText(digits + "\n"), kTest);
}

TEST(LegacyContainerTest, BuildsOneLineOfDigitsThatTheHandCipherAgreesWith)
{
    EXPECT_EQ(BuildLegacyContainer(kTest), HandStst(kTest));
}

TEST(LegacyContainerTest, OpensAsATestWithItsPicturesBesideIt)
{
    testing::TempFolder folder;
    std::vector<std::string> lines = kTest;
    lines[10] = "Рисунок.JPG";
    folder.Write("рисунок.jpg", "picture");
    const std::string path = folder.Write("old.stst", HandStst(lines) + "\r\n");
    const OpenTestResult result = Open(path);
    ASSERT_EQ(result.Outcome, OpenOutcome::Loaded);
    EXPECT_EQ(result.Test.Title, "Старый тест");
    ASSERT_EQ(result.Test.Tasks.size(), 1u);
    EXPECT_EQ(result.Test.Tasks[0].ImageFile, folder / "рисунок.jpg");
    EXPECT_EQ(result.TempDir, "");
    EXPECT_FALSE(result.Mode.has_value());
}

TEST(LegacyContainerTest, DigitsThatAreNotNumbersGiveTheCipherErrorThenTheLoadError)
{
    std::string digits = HandStst(kTest);
    digits[4] = 'x';
    EXPECT_EQ(DecipherLegacyText(digits), std::vector<std::string>{"Произошла ошибка!"});

    testing::TempFolder folder;
    for (const std::string& bytes : {digits, HandStst(kTest).insert(30, "\r\n"), std::string()}) {
        const OpenTestResult result = Open(folder.Write("bad.stst", bytes));
        EXPECT_EQ(result.Outcome, OpenOutcome::LoadFailed);
        EXPECT_EQ(result.Message, "Ошибка загрузки теста!");
    }
}

}  // namespace
}  // namespace quilmo
