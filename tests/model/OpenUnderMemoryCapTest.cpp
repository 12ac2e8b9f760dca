// Opening hostile test files costs memory in proportion to the file, not to
// its number of lines; running out of memory is a load error. Each open runs
// in a child process under a cap, so a regression fails here rather than
// exhausting the machine or aborting the suite.

#include <gtest/gtest.h>

#include <filesystem>

#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"
#include "support/CheckTestBytes.h"
#include "support/HostileTexts.h"
#include "support/MemoryCap.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

namespace fs = std::filesystem;
using testing::HandBody;
using testing::HandContainer;

constexpr uint64_t kMiB = uint64_t(1) << 20;

enum class Form { Text, Legacy, CheckTest };

struct Case {
    const char* Name;
    Form Kind;
    std::string (*Tail)();
};

std::string EmptyLines() { return std::string(4'000'000, '\n'); }
std::string OneEnormousLine() { return std::string(4'000'000, 'x'); }
std::string OneByteLines()
{
    std::string s;
    s.reserve(4'000'000);
    while (s.size() < 4'000'000)
        s += "x\n";
    return s;
}

std::string FileBytes(Form kind, const std::string& text)
{
    switch (kind) {
    case Form::Text:
        return text;
    case Form::Legacy:
        return TCrypt::Encipher(text, kLegacyKey);
    case Form::CheckTest: {
        const std::string digits = TCrypt::Encipher(text, kCheckTestKey);
        HandBody body;
        body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 600, 60).U8(0).I32(int32_t(digits.size())).Raw(digits).I32(0);
        return HandContainer(body);
    }
    }
    return {};
}

const char* Extension(Form kind)
{
    return kind == Form::Text ? "txt" : kind == Form::Legacy ? "stst" : "est";
}

OpenTestEnvironment Environment(const std::string& temp)
{
    OpenTestEnvironment environment;
    environment.TempBase = temp;
    environment.NewGuid = [] { return std::string("{CAPPED}"); };
    return environment;
}

class OpenUnderMemoryCapTest : public ::testing::TestWithParam<Case> {};

TEST_P(OpenUnderMemoryCapTest, OpensTheOneTaskWithinASmallMultipleOfTheFile)
{
    if (!testing::kMemoryCapWorks)
        GTEST_SKIP() << "no cap on the address space under AddressSanitizer";
    const Case& c = GetParam();
    testing::TempFolder folder;
    const std::string temp = folder / "temp";
    fs::create_directory(temp);
    const std::string text = testing::OneTaskHead() + c.Tail();
    const std::string path = folder.Write(std::string("hostile.") + Extension(c.Kind), FileBytes(c.Kind, text));

    // Before, every line cost a string of its own: 4 million lines came to
    // well over 100 MiB, far beyond this.
    const uint64_t cap = 2 * (fs::file_size(path) + text.size()) + 24 * kMiB;
    const auto run = testing::RunUnderMemoryCap(cap, [&] {
        TRandom random;
        const OpenTestResult result = OpenTestFile(path, random, Environment(temp));
        if (result.Outcome != OpenOutcome::Loaded)
            return 1;
        const auto& tasks = result.Test.Tasks;
        if (tasks.size() != 1 || tasks[0].Question != "Вопрос" || tasks[0].Variants[1] != "Нет" ||
            tasks[0].VariantCount != 2 || tasks[0].Answers[1] != 1)
            return 2;
        return 0;
    });
    EXPECT_TRUE(run.Exited) << "killed by signal " << run.Code;
    EXPECT_EQ(run.Code, 0) << "1: not loaded, 2: loaded wrongly, 125: an exception";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenUnderMemoryCapTest,
    ::testing::Values(Case{"TextEmptyLines", Form::Text, EmptyLines},
                      Case{"TextEnormousLine", Form::Text, OneEnormousLine},
                      Case{"TextOneByteLines", Form::Text, OneByteLines},
                      Case{"LegacyEmptyLines", Form::Legacy, EmptyLines},
                      Case{"LegacyEnormousLine", Form::Legacy, OneEnormousLine},
                      Case{"LegacyOneByteLines", Form::Legacy, OneByteLines},
                      Case{"CheckTestEmptyLines", Form::CheckTest, EmptyLines},
                      Case{"CheckTestEnormousLine", Form::CheckTest, OneEnormousLine},
                      Case{"CheckTestOneByteLines", Form::CheckTest, OneByteLines}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.Name); });

TEST(OpenUnderMemoryCapTest, RunningOutOfMemoryIsALoadErrorAndRemovesThePictureFolder)
{
    if (!testing::kMemoryCapWorks)
        GTEST_SKIP() << "no cap on the address space under AddressSanitizer";
    testing::TempFolder folder;
    const std::string temp = folder / "temp";
    fs::create_directory(temp);
    // Half a million tasks in 14 MB of text need some 150 MB for the model, far
    // beyond the cap (and beyond any room the heap may hold free already):
    // the picture folder is made and filled before that runs out.
    const std::string text = testing::ManySmallTasks(500'000);
    const std::string digits = TCrypt::Encipher(text, kCheckTestKey);
    HandBody body;
    body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 600, 60).U8(0).I32(int32_t(digits.size())).Raw(digits);
    body.I32(1).File("p.jpg", std::string(100000, 'p'));
    // Level 1 packs these digits fast enough.
    const std::string path = folder.Write("many.est", testing::kHandSignature + testing::HandCompress(body.Bytes(), 1));

    const auto run = testing::RunUnderMemoryCap(2 * text.size() + 16 * kMiB, [&] {
        bool folderMade = false;
        OpenTestEnvironment environment = Environment(temp);
        environment.NewGuid = [&] {
            folderMade = true;
            return std::string("{CAPPED}");
        };
        TRandom random;
        const OpenTestResult result = OpenTestFile(path, random, environment);
        if (!folderMade)
            return 1;
        if (result.Outcome != OpenOutcome::LoadFailed || result.Message != kLoadError)
            return 2;
        if (!result.Test.Tasks.empty() || !result.TempDir.empty() || !fs::is_empty(temp))
            return 3;
        return 0;
    });
    EXPECT_TRUE(run.Exited) << "killed by signal " << run.Code;
    EXPECT_EQ(run.Code, 0) << "1: the folder was never made, 2: not a load error, 3: something left";
}

}  // namespace
}  // namespace quilmo
