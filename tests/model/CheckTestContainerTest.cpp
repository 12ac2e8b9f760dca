#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "model/CheckTestContainer.h"
#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"
#include "support/CheckTestBytes.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

namespace fs = std::filesystem;
using testing::HandBody;
using testing::HandContainer;

// Two tasks, the first with a picture, the second with a Cyrillic-named one.
std::vector<std::string> TestLines()
{
    return {"Проверочный", "Описание", "2", "--------", "2", "--------", "2", "0",
            "----1----", "Вопрос 1", "", "a.jpg", "1", "Да", "Нет", "", "", "",
            "----2----", "Вопрос 2", "", "рис.gif", "1,2", "А", "Б", "", "", "",
            "----------конец---------"};
}

std::string Cp1251Text(const std::vector<std::string>& lines)
{
    return Utf8ToCp1251(JoinLinesCrLf(lines));
}

// The container the hostile cases start from: every field valid.
HandBody GoodBody()
{
    HandBody body;
    body.Mode(0, 1, 1, 0, 1, 0, 2, 0, 600, 40).U8(1).Text(Cp1251Text(TestLines()));
    body.I32(2).File("a.jpg", "JPEG").File(Utf8ToCp1251("рис.gif"), std::string("GIF\0\x01", 5));
    return body;
}

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CheckTestContainerTest : public ::testing::Test {
protected:
    CheckTestContainerTest() { fs::create_directory(temp); }

    OpenTestResult Open(const std::string& path)
    {
        OpenTestEnvironment environment;
        environment.TempBase = temp;
        environment.NewGuid = [this] { return "{GUID-" + std::to_string(++guids) + "}"; };
        TRandom random;
        return OpenTestFile(path, random, environment);
    }
    std::string Write(const std::string& bytes, const std::string& name = "test.est")
    {
        return folder.Write("tests/" + name, bytes);
    }

    testing::TempFolder folder;
    std::string temp = folder / "temp";
    int guids = 0;
};

TEST_F(CheckTestContainerTest, ReadsAContainerWrittenByHand)
{
    const std::string bytes = HandContainer(GoodBody());
    const std::string path = Write(bytes);
    const OpenTestResult result = Open(path);

    ASSERT_EQ(result.Outcome, OpenOutcome::Loaded) << result.Message;
    ASSERT_TRUE(result.Mode.has_value());
    const TModeConfig& mode = *result.Mode;
    EXPECT_EQ(mode.OrderTaskNormal, 0);
    EXPECT_EQ(mode.OrderVariantNormal, 1);
    EXPECT_EQ(mode.ModeEducation, 1);
    EXPECT_EQ(mode.SaveResult, 0);
    EXPECT_EQ(mode.SendResult, 1);
    EXPECT_EQ(mode.SaveConfig, 0);
    EXPECT_EQ(mode.ModeTimeLimit, 2);
    EXPECT_EQ(mode.TimeLimitTest, 600);
    EXPECT_EQ(mode.TimeLimitTask, 40);
    EXPECT_EQ(result.Locked, 1);

    EXPECT_EQ(result.TempDir, temp + "/{GUID-1}/");
    EXPECT_EQ(Entries(result.TempDir), (std::vector<std::string>{"a.jpg", "рис.gif"}));
    EXPECT_EQ(folder.Read("temp/{GUID-1}/a.jpg"), "JPEG");
    EXPECT_EQ(folder.Read("temp/{GUID-1}/рис.gif"), std::string("GIF\0\x01", 5));
    ASSERT_EQ(result.Test.Tasks.size(), 2u);
    EXPECT_EQ(result.Test.Tasks[0].ImageFile, result.TempDir + "a.jpg");
    EXPECT_EQ(result.Test.Tasks[1].ImageFile, result.TempDir + "рис.gif");
    EXPECT_EQ(result.Test.Tasks[1].TaskType, MultipleChoice);
    EXPECT_EQ(result.FileCrc, ChecksumBytes(bytes));
}

TEST_F(CheckTestContainerTest, WriterLaysOutTheBytesAsTheHandBuiltBody)
{
    TModeConfig mode;
    mode.OrderTaskNormal = 0;
    mode.ModeTimeLimit = 1;
    mode.Reserved = 9;
    mode.TimeLimitTest = 0x01020304;
    mode.TimeLimitTask = -2;
    const std::string a = folder.Write("pics/a.jpg", "JPEG");
    const std::string b = folder.Write("other/рис.gif", std::string(100000, 'x'));
    const auto lines = TestLines();

    const auto built = BuildCheckTest(mode, 1, lines, {{a, "a.jpg"}, {b, "рис.gif"}});
    ASSERT_TRUE(built) << built.error().Message;
    HandBody expected;
    expected.Mode(0, 1, 0, 1, 0, 0, 1, 9, 0x01020304, -2).U8(1).Text(Cp1251Text(lines));
    expected.I32(2).File("a.jpg", "JPEG").File(Utf8ToCp1251("рис.gif"), std::string(100000, 'x'));

    ASSERT_GT(built->size(), 39u);
    EXPECT_EQ(built->substr(0, 37), testing::kHandSignature);
    // zlib header of a level-9 stream: CMF 0x78, FLG 0xDA.
    EXPECT_EQ(uint8_t((*built)[37]), 0x78);
    EXPECT_EQ(uint8_t((*built)[38]), 0xDA);
    EXPECT_TRUE(testing::HandUncompress(std::string_view(*built).substr(37), expected.Bytes().size()) ==
                expected.Bytes());
}

TEST_F(CheckTestContainerTest, RoundTripKeepsEveryModeFieldTheLockAndThePictures)
{
    const std::string a = folder.Write("src/a.jpg", "first picture");
    const std::string b = folder.Write("src/рис.gif", std::string(300000, '\0') + "end");
    const auto set = [](auto member, auto value) {
        return [=](TModeConfig& m) { m.*member = value; };
    };
    const std::function<void(TModeConfig&)> changes[] = {
        set(&TModeConfig::OrderTaskNormal, uint8_t(0)),  set(&TModeConfig::OrderVariantNormal, uint8_t(0)),
        set(&TModeConfig::ModeEducation, uint8_t(1)),    set(&TModeConfig::SaveResult, uint8_t(0)),
        set(&TModeConfig::SendResult, uint8_t(1)),       set(&TModeConfig::SaveConfig, uint8_t(1)),
        set(&TModeConfig::ModeTimeLimit, uint8_t(2)),    set(&TModeConfig::Reserved, uint8_t(200)),
        set(&TModeConfig::TimeLimitTest, int32_t(43199)), set(&TModeConfig::TimeLimitTask, int32_t(3599)),
    };
    uint8_t locked = 0;
    for (const auto& change : changes) {
        TModeConfig mode;
        change(mode);
        locked ^= 1;
        const auto built = BuildCheckTest(mode, locked, TestLines(), {{a, "a.jpg"}, {b, "рис.gif"}});
        ASSERT_TRUE(built);
        const OpenTestResult result = Open(Write(*built));
        ASSERT_EQ(result.Outcome, OpenOutcome::Loaded);
        EXPECT_EQ(*result.Mode, mode);
        EXPECT_EQ(result.Locked, locked);
        ASSERT_EQ(result.Test.Tasks.size(), 2u);
        EXPECT_TRUE(folder.Read(result.Test.Tasks[1].ImageFile.substr(folder.Path().size())) ==
                    std::string(300000, '\0') + "end");
        EXPECT_EQ(DeleteFolderRecursively(result.TempDir).has_value(), true);
    }
}

TEST_F(CheckTestContainerTest, WriterFailsWithItsMessageWhenAPictureCannotBeRead)
{
    const auto built = BuildCheckTest({}, 0, TestLines(), {{folder / "gone.jpg", "gone.jpg"}});
    ASSERT_FALSE(built);
    EXPECT_EQ(built.error().Message, "Произошла ошибка при сохранении файла...");
}

TEST_F(CheckTestContainerTest, WrongSignatureStopsBeforeAnythingIsRead)
{
    const std::string stream = testing::HandCompress(GoodBody().Bytes());
    std::string lastByte = testing::kHandSignature;
    lastByte.back() = 'F';
    std::string lengthByte = testing::kHandSignature;
    lengthByte[0] = 35;
    for (const std::string& bytes : {std::string(), testing::kHandSignature.substr(0, 20),
                                     lastByte + stream, lengthByte + stream, std::string("plain text test\r\n")}) {
        const OpenTestResult result = Open(Write(bytes));
        EXPECT_EQ(result.Outcome, OpenOutcome::WrongSignature);
        EXPECT_EQ(result.Message, "Неверный тип проверочного теста!");
        EXPECT_FALSE(result.Mode.has_value());
        EXPECT_EQ(result.FileCrc, 0u);  // nothing more, not even the checksum
    }
    EXPECT_TRUE(Entries(temp).empty());
}

// Hostile bodies: each fails with the load error, leaves no folder behind and
// writes nothing outside the temporary folder.
TEST_F(CheckTestContainerTest, HostileBodiesFailCleanly)
{
    const std::string text = Cp1251Text(TestLines());
    const auto head = [] { return HandBody().Mode(1, 1, 0, 1, 0, 0, 1, 0, 77, 30); };
    const std::string picture(1000, 'p');
    enum ModeRead { No, Yes, Either };
    struct Case {
        const char* Name;
        std::string Bytes;
        ModeRead Mode;
    };
    const std::string good = HandContainer(GoodBody());
    std::string flipped = good;
    flipped[60] = char(flipped[60] ^ 0x55);
    std::vector<Case> cases = {
        {"signature only", testing::kHandSignature, No},
        {"not a zlib stream", testing::kHandSignature + "garbage that is not deflate data", No},
        {"corrupt deflate data", flipped, Either},
        {"Adler-32 missing", good.substr(0, good.size() - 4), Yes},
        {"mode block cut", HandContainer(HandBody().Raw("\x01\x01\x00")), No},
        {"lock flag missing", HandContainer(head()), Yes},
        {"L beyond the data", HandContainer(head().U8(0).I32(0x7FFFFFFF).Raw("000")), Yes},
        {"L negative", HandContainer(head().U8(0).I32(-3)), Yes},
        {"text cut", HandContainer(head().U8(0).I32(300).Raw("000111")), Yes},
        {"P missing", HandContainer(head().U8(0).Text(text)), Yes},
        {"P beyond the data", HandContainer(head().U8(0).Text(text).I32(3).File("a.jpg", picture)), Yes},
        {"P huge", HandContainer(head().U8(0).Text(text).I32(0x7FFFFFFF)), Yes},
        {"P negative", HandContainer(head().U8(0).Text(text).I32(-1)), Yes},
        {"n beyond the data", HandContainer(head().U8(0).Text(text).I32(1).I32(900).Raw("a.jpg")), Yes},
        {"n beyond the name limit", HandContainer(head().U8(0).Text(text).I32(1).File(std::string(5000, 'n'), "x")),
         Yes},
        {"n negative", HandContainer(head().U8(0).Text(text).I32(1).I32(-5).Raw("a.jpg")), Yes},
        {"s beyond the data",
         HandContainer(head().U8(0).Text(text).I32(1).I32(5).Raw("a.jpg").I32(0x7FFFFFFF).Raw(picture)), Yes},
        {"s negative", HandContainer(head().U8(0).Text(text).I32(1).I32(5).Raw("a.jpg").I32(-1)), Yes},
        {"s one byte short",
         HandContainer(head().U8(0).Text(text).I32(1).I32(5).Raw("a.jpg").I32(1001).Raw(picture)), Yes},
        {"name too long for a file", HandContainer(head().U8(0).Text(text).I32(1).File(std::string(300, 'n'), "x")),
         Yes},
    };
    // Every cut of a good container is a truncated stream.
    for (size_t cut = 38; cut < good.size(); cut += 7)
        cases.push_back({"truncated", good.substr(0, cut), Either});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const OpenTestResult result = Open(Write(c.Bytes));
        EXPECT_EQ(result.Outcome, OpenOutcome::LoadFailed);
        EXPECT_EQ(result.Message, "Ошибка загрузки теста!");
        EXPECT_TRUE(result.Test.Tasks.empty());
        EXPECT_EQ(result.TempDir, "");
        if (c.Mode != Either) {
            EXPECT_EQ(result.Mode.has_value(), c.Mode == Yes);
        }
        EXPECT_NE(result.FileCrc, 0u);  // the checksum is still taken
        EXPECT_TRUE(Entries(temp).empty());
    }
    EXPECT_EQ(Entries(folder / "tests"), std::vector<std::string>{"test.est"});
}

TEST_F(CheckTestContainerTest, PictureNamesThatLeaveTheFolderAreRefused)
{
    const std::string text = Cp1251Text(TestLines());
    for (const std::string& name : {std::string("../escape.jpg"), std::string("sub/x.jpg"),
                                    std::string("..\\escape.jpg"), std::string("C:x.jpg"),
                                    std::string("C:\\Windows\\x.jpg"), std::string("/tmp/x.jpg"),
                                    std::string(), std::string("."), std::string(".."),
                                    std::string("a\0b", 3)}) {
        SCOPED_TRACE(name);
        HandBody body;
        body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 300, 30).U8(0).Text(text).I32(2).File("a.jpg", "ok").File(name, "evil");
        const OpenTestResult result = Open(Write(HandContainer(body)));
        EXPECT_EQ(result.Outcome, OpenOutcome::LoadFailed);
        EXPECT_EQ(result.Message, "Ошибка загрузки теста!");
        EXPECT_TRUE(Entries(temp).empty());
    }
    EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"temp", "tests"}));
    EXPECT_EQ(Entries(folder / "tests"), std::vector<std::string>{"test.est"});
}

TEST_F(CheckTestContainerTest, ABodyThatInflatesBeyondTheLimitIsRefused)
{
    // Honest lengths, but more data than a container may hold: the reader
    // stops at the limit instead of inflating on.
    HandBody within;
    within.Mode(1, 1, 0, 1, 0, 0, 0, 0, 300, 30).U8(0).Text(Cp1251Text(TestLines()));
    HandBody bomb = within;
    bomb.I32(1).File("zeros.bmp", std::string(4 << 20, '\0'));
    HandBody tail = within;
    tail.I32(0).Raw(std::string(4 << 20, '\0'));  // after the last entry

    CheckTestLimits limits;
    limits.MaxBodyBytes = 1 << 20;
    for (const HandBody* body : {&bomb, &tail}) {
        const std::string path = Write(HandContainer(*body));
        ASSERT_LT(fs::file_size(path), 64u << 10);
        std::string made;
        const auto result = ReadCheckTest(path, [&]() -> Expected<std::string> {
            made = MakeCheckTestFolder(temp, "", "{BOMB}").value();
            return made;
        }, limits);
        EXPECT_EQ(result.Status, CheckTestStatus::Corrupt);
        if (!made.empty()) {
            // Nothing beyond the limit reached the disk.
            for (const auto& name : Entries(made))
                EXPECT_LE(fs::file_size(made + name), 1u << 20);
            EXPECT_TRUE(DeleteFolderRecursively(made));
        }
    }
    // With the limit raised the same containers are fine.
    limits.MaxBodyBytes = 8 << 20;
    const auto result = ReadCheckTest(Write(HandContainer(bomb)), [&]() -> Expected<std::string> {
        return MakeCheckTestFolder(temp, "", "{BIG}");
    }, limits);
    EXPECT_EQ(result.Status, CheckTestStatus::Read);
    EXPECT_EQ(fs::file_size(temp + "/{BIG}/zeros.bmp"), 4u << 20);
}

TEST_F(CheckTestContainerTest, ALongTextIsDecipheredWholeAndOneBadGroupAnywhereSpoilsIt)
{
    // About 480 KB of digits: more than one piece of the reader.
    std::vector<std::string> lines = {"Длинный", "", "3000", "--------", "1", "--------", "1"};
    for (int k = 1; k <= 3000; ++k)
        lines.insert(lines.end(), {"----" + std::to_string(k) + "----", "Вопрос номер " + std::to_string(k),
                                   "", "", "1", "Да", "Нет", "", "", ""});
    lines.push_back("----------конец---------");
    const std::string text = Cp1251Text(lines);
    const std::string digits = testing::HandEncipher(text, testing::kHandCheckTestKey);
    ASSERT_GT(digits.size(), 400000u);
    const auto container = [](const std::string& d) {
        HandBody body;
        body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 300, 30).U8(0).I32(int32_t(d.size())).Raw(d).I32(0);
        return HandContainer(body);
    };

    const OpenTestResult good = Open(Write(container(digits)));
    ASSERT_EQ(good.Outcome, OpenOutcome::Loaded);
    ASSERT_EQ(good.Test.Tasks.size(), 3000u);
    EXPECT_EQ(good.Test.Tasks[2999].Question, "Вопрос номер 3000");

    std::string spoiled = digits;
    spoiled[digits.size() - 100] = 'x';
    const OpenTestResult bad = Open(Write(container(spoiled)));
    EXPECT_EQ(bad.Outcome, OpenOutcome::LoadFailed);
    EXPECT_TRUE(bad.Mode.has_value());
    EXPECT_TRUE(Entries(temp).size() == 1u);  // only the good one's folder
}

TEST_F(CheckTestContainerTest, ADuplicateNameReplacesTheEarlierFile)
{
    HandBody body;
    body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 300, 30).U8(0).Text(Cp1251Text(TestLines()));
    body.I32(2).File("a.jpg", "first, longer content").File("a.jpg", "second");
    const OpenTestResult result = Open(Write(HandContainer(body)));
    ASSERT_EQ(result.Outcome, OpenOutcome::Loaded);
    EXPECT_EQ(folder.Read("temp/{GUID-1}/a.jpg"), "second");
}

TEST_F(CheckTestContainerTest, AFailedParseStillBringsTheModeAndRemovesTheFolder)
{
    HandBody body;
    body.Mode(0, 0, 1, 1, 0, 1, 1, 0, 99, 9).U8(1).Text(Cp1251Text({"only a title"}));
    body.I32(1).File("a.jpg", "JPEG");
    const OpenTestResult result = Open(Write(HandContainer(body)));
    EXPECT_EQ(result.Outcome, OpenOutcome::LoadFailed);
    ASSERT_TRUE(result.Mode.has_value());
    EXPECT_EQ(result.Mode->TimeLimitTest, 99);
    EXPECT_EQ(result.Locked, 0);
    EXPECT_EQ(result.CleanupError, "");
    EXPECT_TRUE(Entries(temp).empty());
}

TEST_F(CheckTestContainerTest, TheFolderGoesToTempElseBesideTheTestWithANewGuidEachTime)
{
    const std::string path = Write(HandContainer(GoodBody()));
    const OpenTestResult first = Open(path);
    const OpenTestResult second = Open(path);
    ASSERT_EQ(second.Outcome, OpenOutcome::Loaded);
    EXPECT_NE(first.TempDir, second.TempDir);
    EXPECT_EQ(Entries(temp), (std::vector<std::string>{"{GUID-1}", "{GUID-2}"}));

    temp.clear();
    const OpenTestResult beside = Open(path);
    ASSERT_EQ(beside.Outcome, OpenOutcome::Loaded);
    EXPECT_EQ(beside.TempDir, folder / "tests/{GUID-3}/");
    EXPECT_TRUE(fs::exists(beside.TempDir + "a.jpg"));

    // One level only: a missing base folder fails the load.
    temp = folder / "no/such/folder";
    const OpenTestResult missing = Open(path);
    EXPECT_EQ(missing.Outcome, OpenOutcome::LoadFailed);
    EXPECT_FALSE(fs::exists(folder / "no"));
}

}  // namespace
}  // namespace quilmo
