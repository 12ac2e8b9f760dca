// quilmo-tool, run as the built program.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/CheckTestContainer.h"
#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
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

// Two tasks with pictures, one without; a pass/fail scheme.
const std::vector<std::string> kTest = {
    "Контрольная", "Две_CRLF_строки", "3", "--------", "2", "--------", "2", "0",
    "----1----", "Что на рисунке?", "Посмотрите внимательно", "a.jpg", "2", "Кот", "Собака", "", "", "",
    "----2----", "Выберите два", "", "б.gif", "1,3", "Один", "Два", "Три", "", "",
    "----3----", "Упорядочьте", "", "", "3-1-2", "Б", "В", "А", "", "",
    "----------конец---------",
};

constexpr int kUsageExit = 2;  // quilmo-tool with no command

struct ToolRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

// Appends s in single quotes (test paths hold none). Appending rather than
// operator+ keeps GCC 12's false -Wrestrict quiet.
void AppendQuoted(std::string& command, const std::string& s)
{
    command += " '";
    command += s;
    command += '\'';
}

class QuilmoToolTest : public ::testing::Test {
protected:
    QuilmoToolTest() { fs::create_directory(temp); }

    // Runs quilmo-tool with args; with tool false, args are the whole command.
    ToolRun Tool(const std::vector<std::string>& args, bool tool = true)
    {
        std::string command = "env";
        AppendQuoted(command, "temp=" + temp);
        if (tool)
            AppendQuoted(command, QUILMO_TOOL);
        for (const std::string& a : args)
            AppendQuoted(command, a);
        command += " >";
        AppendQuoted(command, folder / "stdout");
        command += " 2>";
        AppendQuoted(command, folder / "stderr");
        const int status = std::system(command.c_str());
        ToolRun run;
        run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = folder.Read("stdout");
        run.Err = folder.Read("stderr");
        return run;
    }
    std::string WriteTest(const std::string& name, const std::vector<std::string>& lines)
    {
        return folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines)));
    }
    std::vector<std::string> TextLines(const std::string& path) { return SplitLines(Cp1251ToUtf8(Read(path))); }
    std::string Read(const std::string& path) { return folder.Read(path.substr(folder.Path().size())); }

    testing::TempFolder folder;
    std::string temp = folder / "temp";
};

TEST_F(QuilmoToolTest, RoundTripsThroughEveryPairOfFormsKeepTheTextAndThePictures)
{
    const std::string source = WriteTest("src/test.tst", kTest);
    folder.Write("src/a.jpg", "picture a");
    folder.Write("src/б.gif", std::string("GIF89a\0\x01\x02", 9));
    const char* const forms[] = {"tst", "txt", "stst", "est"};

    for (const char* x : forms) {
        const std::string first = folder / (std::string("via-") + x + "/test." + x);
        fs::create_directories(FolderOf(first));
        ASSERT_EQ(Tool({"convert", source, first}).Code, 0) << x;
        for (const char* y : forms) {
            SCOPED_TRACE(std::string(x) + " -> " + y);
            const std::string dir = folder / (std::string("pair-") + x + "-" + y + "/");
            fs::create_directory(dir);
            const std::string second = dir + "test." + y;
            const ToolRun run = Tool({"convert", first, second});
            ASSERT_EQ(run.Code, 0) << run.Err;
            EXPECT_EQ(run.Err, "");
            // Back to plain text, which unpacks a check test's pictures beside it.
            ASSERT_EQ(Tool({"convert", second, dir + "final.txt"}).Code, 0);
            EXPECT_EQ(TextLines(dir + "final.txt"), kTest);
            EXPECT_EQ(Read(dir + "a.jpg"), "picture a");
            EXPECT_EQ(Read(dir + "б.gif"), std::string("GIF89a\0\x01\x02", 9));
        }
    }
    EXPECT_TRUE(fs::is_empty(temp));  // no check-test folder is left behind
}

TEST_F(QuilmoToolTest, ConvertingKeepsATestThatDrawsASubset)
{
    std::vector<std::string> lines = kTest;
    lines[2] = "3 (2)";
    lines[11] = lines[21] = "";
    const std::string source = WriteTest("subset.txt", lines);
    ASSERT_EQ(Tool({"convert", source, folder / "subset.est"}).Code, 0);
    ASSERT_EQ(Tool({"convert", folder / "subset.est", folder / "back.tst"}).Code, 0);
    EXPECT_EQ(TextLines(folder / "back.tst"), lines);
}

TEST_F(QuilmoToolTest, InfoPrintsTheRunnersTextTheChecksumAndACheckTestsModeAndLock)
{
    const std::string text = WriteTest("info.tst", kTest);
    const ToolRun plain = Tool({"info", text});
    ASSERT_EQ(plain.Code, 0) << plain.Err;
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", ChecksumBytes(folder.Read("info.tst")));
    EXPECT_EQ(plain.Out, "Открыт тест: \"Контрольная\"\n"
                         "Всего заданий в тесте: 3.\n"
                         "Критерии оценивания:\n"
                         " \"зачет\" не менее 2 ответов правильно;\n"
                         "Желаем выполнить все задания...\n"
                         "FileCrc: " + std::string(crc) + "\n");

    HandBody body;
    body.Mode(0, 1, 1, 0, 1, 0, 2, 0, 600, 45).U8(1).Text(Utf8ToCp1251(JoinLinesCrLf(kTest)));
    body.I32(2).File("a.jpg", "A").File(Utf8ToCp1251("б.gif"), "B");
    const std::string bytes = HandContainer(body);
    const std::string check = folder.Write("info.est", bytes);
    const ToolRun container = Tool({"info", check});
    ASSERT_EQ(container.Code, 0) << container.Err;
    std::snprintf(crc, sizeof crc, "%08X", ChecksumBytes(bytes));
    EXPECT_EQ(container.Out, "Открыт тест: \"Контрольная\"\n"
                             "Всего заданий в тесте: 3.\n"
                             "Критерии оценивания:\n"
                             " \"зачет\" не менее 2 ответов правильно;\n"
                             "Желаем выполнить все задания...\n"
                             "FileCrc: " + std::string(crc) + "\n"
                             "OrderTaskNormal=0\nOrderVariantNormal=1\nModeEducation=1\nSaveResult=0\n"
                             "SendResult=1\nSaveConfig=0\nModeTimeLimit=2\nReserved=0\n"
                             "TimeLimitTest=600\nTimeLimitTask=45\nLocked=1\n");
    EXPECT_TRUE(fs::is_empty(temp));
}

TEST_F(QuilmoToolTest, ConvertSetsTheLockAndTheModeOfACheckTest)
{
    const std::string source = WriteTest("plain.tst", kTest);
    folder.Write("a.jpg", "A");
    folder.Write("б.gif", "B");
    const std::string out = folder / "locked.est";
    ASSERT_EQ(Tool({"convert", source, out, "--lock", "--mode", "ModeEducation=1", "TimeLimitTask=90",
                    "--mode", "ModeTimeLimit=2"}).Code, 0);
    OpenTestEnvironment environment;
    environment.TempBase = temp;
    environment.NewGuid = [] { return std::string("{T}"); };
    TRandom random;
    OpenTestResult opened = OpenTestFile(out, random, environment);
    ASSERT_EQ(opened.Outcome, OpenOutcome::Loaded);
    TModeConfig expected;
    expected.ModeEducation = 1;
    expected.TimeLimitTask = 90;
    expected.ModeTimeLimit = 2;
    EXPECT_EQ(*opened.Mode, expected);
    EXPECT_EQ(opened.Locked, 1);
    EXPECT_EQ(folder.Read("temp/{T}/б.gif"), "B");

    // Without --lock a check test keeps the lock it had, and its settings with it.
    ASSERT_EQ(Tool({"convert", out, folder / "again.est"}).Code, 0);
    opened = OpenTestFile(folder / "again.est", random, environment);
    EXPECT_EQ(*opened.Mode, expected);
    EXPECT_EQ(opened.Locked, 1);

    // The settings of a locked check test cannot be changed: that is what the lock is for.
    const ToolRun refused = Tool({"convert", out, folder / "changed.est", "--mode", "ModeEducation=0"});
    EXPECT_EQ(refused.Code, 2);
    EXPECT_EQ(refused.Err,
              "Проверочный тест заблокирован (Locked=1): его параметры (--mode) изменить нельзя.\n");
    EXPECT_FALSE(fs::exists(folder / "changed.est"));

    // An unlocked check test stays unlocked; --mode changes only what it names.
    const std::string open = folder / "open.est";
    ASSERT_EQ(Tool({"convert", source, open, "--mode", "ModeEducation=1"}).Code, 0);
    ASSERT_EQ(Tool({"convert", open, folder / "open2.est", "--mode", "SaveResult=0"}).Code, 0);
    opened = OpenTestFile(folder / "open2.est", random, environment);
    TModeConfig unlocked;
    unlocked.ModeEducation = 1;
    unlocked.SaveResult = 0;
    EXPECT_EQ(*opened.Mode, unlocked);
    EXPECT_EQ(opened.Locked, 0);
}

TEST_F(QuilmoToolTest, ErrorsGoToStandardErrorAndWriteNothing)
{
    const std::string good = WriteTest("good.tst", kTest);
    std::vector<std::string> cut(kTest.begin(), kTest.begin() + 12);
    const std::string truncated = WriteTest("cut.tst", cut);
    const std::string foreign = folder.Write("foreign.est", "not a check test at all, just text");
    HandBody body;
    body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 300, 30).U8(0).Text(Utf8ToCp1251(JoinLinesCrLf(kTest)));
    body.I32(1).File("../escape.jpg", "evil");
    const std::string hostile = folder.Write("hostile.est", HandContainer(body));
    const std::string existing = folder.Write("existing.est", "keep me");
    struct Case {
        std::vector<std::string> Args;
        int Code;
        std::string Err;
    } cases[] = {
        {{"convert", folder / "missing.tst", folder / "out.est"}, 1, "Ошибка открытия файла!\n"},
        {{"info", folder / "missing.tst"}, 1, "Ошибка открытия файла!\n"},
        {{"convert", good, folder / "out.doc"}, 1, "Не верный тип файла!\n"},
        {{"convert", foreign, folder / "out.txt"}, 1, "Неверный тип проверочного теста!\n"},
        {{"info", foreign}, 1, "Неверный тип проверочного теста!\n"},
        {{"convert", truncated, existing}, 1, "Ошибка загрузки теста!\n"},
        {{"convert", hostile, folder / "out.txt"}, 1, "Ошибка загрузки теста!\n"},
        {{"convert", good, existing, "--mode", "ModeTimeLimit=3"}, 2,
         "Недопустимое значение: ModeTimeLimit=3 (от 0 до 2)\n"},
        {{"convert", good, existing, "--mode", "Colour=1"}, 2, "Неизвестный параметр режима: Colour\n"},
        {{"convert", good, folder / "out.txt", "--lock"}, 2,
         "--lock и --mode относятся только к проверочному тесту (.est)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args[0] + " " + c.Args[1]);
        const ToolRun run = Tool(c.Args);
        EXPECT_EQ(run.Code, c.Code);
        EXPECT_EQ(run.Err, c.Err);
        EXPECT_EQ(run.Out, "");
    }
    EXPECT_EQ(folder.Read("existing.est"), "keep me");
    for (const char* name : {"out.est", "out.doc", "out.txt", "escape.jpg"})
        EXPECT_FALSE(fs::exists(folder / name)) << name;
    EXPECT_TRUE(fs::is_empty(temp));

    const ToolRun usage = Tool({"frobnicate"});
    EXPECT_EQ(usage.Code, 2);
    EXPECT_NE(usage.Err.find("quilmo-tool convert ВХОД ВЫХОД"), std::string::npos);
}

TEST_F(QuilmoToolTest, PicturesWhoseNamesClashAreConvertedUnderNamesOfTheirOwn)
{
    for (const std::string& picture : testing::kClashingPictures)
        folder.Write("src/" + picture, "bytes of " + picture);
    const std::string source = WriteTest("src/test.txt", testing::ClashingPicturesTest());
    for (const char* form : {"txt", "stst", "est"}) {
        SCOPED_TRACE(form);
        const std::string dir = folder / (std::string("out-") + form + "/");
        fs::create_directory(dir);
        const std::string out = dir + "test." + form;
        ASSERT_EQ(Tool({"convert", source, out}).Code, 0);
        // Opened again, picture by picture.
        OpenTestEnvironment environment;
        environment.TempBase = temp;
        environment.NewGuid = [] { return std::string("{C}"); };
        TRandom random;
        const OpenTestResult opened = OpenTestFile(out, random, environment);
        ASSERT_EQ(opened.Outcome, OpenOutcome::Loaded);
        ASSERT_EQ(opened.Test.Tasks.size(), 4u);
        for (size_t k = 0; k < 4; ++k)
            EXPECT_EQ(Read(opened.Test.Tasks[k].ImageFile), "bytes of " + testing::kClashingPictures[k]) << k;
        DeleteFolderRecursively(opened.TempDir);
        // And the text as written names them so.
        ASSERT_EQ(Tool({"convert", out, dir + "back.txt"}).Code, 0);
        EXPECT_EQ(TextLines(dir + "back.txt"), testing::ClashingPicturesTest(true));
    }
}

TEST_F(QuilmoToolTest, ALockedCheckTestStaysLocked)
{
    const std::string source = WriteTest("plain.tst", kTest);
    folder.Write("a.jpg", "A");
    folder.Write("б.gif", "B");
    const std::string locked = folder / "locked.est";
    ASSERT_EQ(Tool({"convert", source, locked, "--lock"}).Code, 0);
    const std::string kept = folder.Write("out/kept.txt", "keep me");

    const char* const kMessage =
        "Проверочный тест заблокирован (Locked=1): его нельзя сохранить как .txt, .tst или .stst "
        "и нельзя снять с него блокировку.\n";
    for (const std::string& out : {folder / "out/test.txt", folder / "out/test.tst", folder / "out/test.stst",
                                   folder / "out/TEST.TXT", kept}) {
        SCOPED_TRACE(out);
        const ToolRun run = Tool({"convert", locked, out});
        EXPECT_EQ(run.Code, 2);
        EXPECT_EQ(run.Err, kMessage);
        EXPECT_EQ(run.Out, "");
    }
    // Nothing written: no test, no picture beside it, the old file as it was.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder / "out"))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"kept.txt"});
    EXPECT_EQ(folder.Read("out/kept.txt"), "keep me");
    EXPECT_TRUE(fs::is_empty(temp));

    // A locked check test may become another locked check test.
    ASSERT_EQ(Tool({"convert", locked, folder / "out/again.est"}).Code, 0);
    const ToolRun info = Tool({"info", folder / "out/again.est"});
    ASSERT_EQ(info.Code, 0);
    EXPECT_NE(info.Out.find("Locked=1\n"), std::string::npos);
    // info tells its title, counts and settings, but nothing of its tasks.
    EXPECT_NE(info.Out.find("Открыт тест: \"Контрольная\"\nВсего заданий в тесте: 3.\n"), std::string::npos);
    for (const char* secret : {"Что на рисунке?", "Кот", "Собака", "Упорядочьте", "3-1-2", "a.jpg"})
        EXPECT_EQ(info.Out.find(secret), std::string::npos) << secret;
}

TEST_F(QuilmoToolTest, AFileTooLargeForTheMemoryIsALoadErrorThatLeavesNoFolder)
{
    if (!testing::kMemoryCapWorks)
        GTEST_SKIP() << "no cap on the address space under AddressSanitizer";
    // 4 million empty lines after one task open in little memory; 150,000
    // small tasks make a model larger than the cap allows.
    const std::string empty = testing::OneTaskHead() + std::string(4'000'000, '\n');
    const std::string many = testing::ManySmallTasks(150'000);
    for (const auto& [name, text] : {std::pair{"empty", &empty}, std::pair{"many", &many}}) {
        folder.Write(std::string(name) + ".txt", *text);
        const std::string digits = TCrypt::Encipher(*text, kCheckTestKey);
        HandBody body;
        body.Mode(1, 1, 0, 1, 0, 0, 0, 0, 600, 60).U8(0).I32(int32_t(digits.size())).Raw(digits);
        body.I32(1).File("p.jpg", "picture");
        folder.Write(std::string(name) + ".est", HandContainer(body));
    }

    // The tool's cap is the address space it needs to start (its libraries
    // map tens of MiB they never touch, ICU's data under libxml2 among them)
    // and 24 MiB more for the work.
    const auto runs = [&](int kb) {
        return Tool({"sh", "-c", "ulimit -v " + std::to_string(kb) + " && exec \"$0\"", QUILMO_TOOL}, false).Code ==
               kUsageExit;
    };
    int low = 1024, high = 1024 * 1024;  // KiB: fails at low, starts at high
    ASSERT_TRUE(runs(high));
    while (high - low > 1024) {
        const int mid = low + (high - low) / 2;
        (runs(mid) ? high : low) = mid;
    }
    const std::string cap = std::to_string(high + 24 * 1024);
    const auto capped = [&](const std::string& path) {
        return Tool({"sh", "-c", "ulimit -v " + cap + " && exec \"$0\" info \"$1\"", QUILMO_TOOL, path}, false);
    };
    for (const char* name : {"empty.txt", "empty.est"}) {
        const ToolRun run = capped(folder / name);
        EXPECT_EQ(run.Code, 0) << name << ": " << run.Err;
        EXPECT_NE(run.Out.find("Всего заданий в тесте: 1."), std::string::npos) << name;
    }
    for (const char* name : {"many.txt", "many.est"}) {
        const ToolRun run = capped(folder / name);
        EXPECT_EQ(run.Code, 1) << name;
        EXPECT_EQ(run.Err, "Ошибка загрузки теста!\n") << name;
    }
}

TEST_F(QuilmoToolTest, ConvertReadsAQuestionBankAndNamesEverySkippedQuestion)
{
    const std::string bank = folder.Write("in/Банк.xml", testing::ReadFixture("banks/sample.xml"));
    const std::string out = folder / "out/test.tst";
    fs::create_directories(FolderOf(out));
    const ToolRun run = Tool({"convert", bank, out});
    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::vector<std::string> err = SplitLines(run.Err);
    ASSERT_EQ(err.size(), 10u) << run.Err;
    EXPECT_EQ(err[0], "Пропущено: Вопрос 7 «Сочинение»: тип вопроса «essay» не переносится в Quilmo");
    EXPECT_EQ(err[6], "Пропущено: Вопрос 13 «Битая картинка»: картинка «bad.gif» повреждена (неверный base64)");
    const std::vector<std::string> lines = TextLines(out);
    ASSERT_GT(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Банк");
    EXPECT_EQ(lines[2], "6");
    EXPECT_EQ(lines[7], "Какой город — столица Франции?_CRLF_Выберите один_CRLF_ответ.");
    EXPECT_EQ(lines[8], "Город на Сене");
    EXPECT_EQ(lines[9], "map one.jpg");
    EXPECT_EQ(Read(folder / "out/map one.jpg").substr(0, 3), "\xFF\xD8\xFF");  // the PNG became a JPEG
    EXPECT_EQ(Read(folder / "out/dot.gif").substr(0, 6), "GIF89a");
    EXPECT_EQ(Read(folder / "out/DOT~2.GIF").substr(0, 6), "GIF89a");
    EXPECT_TRUE(fs::is_empty(temp));  // the pictures' temporary folder is gone
}

TEST_F(QuilmoToolTest, ConvertWritesATestAsEachBankFormat)
{
    const std::string gif = std::string("GIF89a\1\0\1\0\0\0\0;", 13);
    const std::string source = WriteTest("src/test.tst", kTest);
    folder.Write("src/a.jpg", gif);
    folder.Write("src/б.gif", gif);

    const ToolRun xml = Tool({"convert", source, folder / "bank.xml"});
    ASSERT_EQ(xml.Code, 0) << xml.Err;
    EXPECT_EQ(xml.Err, "");
    // Back from Moodle XML: the same tasks (without marks, which a bank does
    // not have), the pictures beside the test, named for what their bytes are.
    fs::create_directory(folder / "back");
    ASSERT_EQ(Tool({"convert", folder / "bank.xml", folder / "back/test.txt"}).Code, 0);
    // The ordering task is listed in its right order, as Moodle keeps it.
    const std::vector<std::string> expected = {
        "bank", "", "3", "--------", "0", "--------",
        "----1----", "Что на рисунке?", "Посмотрите внимательно", "a.gif", "2", "Кот", "Собака", "", "", "",
        "----2----", "Выберите два", "", "б.gif", "1,3", "Один", "Два", "Три", "", "",
        "----3----", "Упорядочьте", "", "", "1-2-3", "А", "Б", "В", "", "",
        "----------конец---------",
    };
    EXPECT_EQ(TextLines(folder / "back/test.txt"), expected);
    EXPECT_EQ(Read(folder / "back/a.gif"), gif);
    EXPECT_EQ(Read(folder / "back/б.gif"), gif);

    const ToolRun giftRun = Tool({"convert", source, folder / "bank.gift"});
    ASSERT_EQ(giftRun.Code, 0);
    EXPECT_EQ(giftRun.Err, "Пропущено: Вопрос 3 «Упорядочьте»: в GIFT нет заданий на указание порядка\n"
                           "Замечание: Вопрос 1 «Что на рисунке?»: картинка в GIFT не переносится, вопрос записан без неё\n"
                           "Замечание: Вопрос 2 «Выберите два»: картинка в GIFT не переносится, вопрос записан без неё\n");
    EXPECT_EQ(Read(folder / "bank.gift"), "// Что на рисунке?\nЧто на рисунке? {\n\t~Кот\n\t=Собака\n"
                                          "\t####Посмотрите внимательно\n}\n\n"
                                          "// Выберите два\nВыберите два {\n\t~%50%Один\n\t~%-100%Два\n\t~%50%Три\n}\n\n");

    const ToolRun aiken = Tool({"convert", source, folder / "bank.aiken"});
    ASSERT_EQ(aiken.Code, 0);
    EXPECT_EQ(Read(folder / "bank.aiken"), "Что на рисунке?\nA. Кот\nB. Собака\nANSWER: B\n\n");
}

TEST_F(QuilmoToolTest, ConvertNeverWritesALockedCheckTestAsABankNorAnEmptyBank)
{
    const std::string source = WriteTest("test.tst", {"T", "", "1", "--------", "0", "----1----", "Q", "", "", "1",
                                                      "a", "b", "", "", "", "----------конец---------"});
    ASSERT_EQ(Tool({"convert", source, folder / "locked.est", "--lock"}).Code, 0);
    for (const char* out : {"out.xml", "out.gift", "out.aiken"}) {
        const ToolRun run = Tool({"convert", folder / "locked.est", folder / out});
        EXPECT_EQ(run.Code, 2) << out;
        EXPECT_EQ(run.Err, "Проверочный тест заблокирован (Locked=1): его нельзя выгрузить в банк вопросов.\n");
        EXPECT_FALSE(fs::exists(folder / out));
    }
    const std::string essays = folder.Write("essays.gift", "Опишите {}\n\nИ это {}\n");
    const ToolRun none = Tool({"convert", essays, folder / "none.txt"});
    EXPECT_EQ(none.Code, 1);
    EXPECT_NE(none.Err.find("Ни одного вопроса перенести нельзя"), std::string::npos) << none.Err;
    EXPECT_FALSE(fs::exists(folder / "none.txt"));
    const ToolRun ordering = Tool({"convert", WriteTest("o.tst", {"T", "", "1", "--------", "0", "----1----", "Q", "",
                                                                  "", "2-1", "a", "b", "", "", "",
                                                                  "----------конец---------"}),
                                   folder / "o.aiken"});
    EXPECT_EQ(ordering.Code, 1);
    EXPECT_FALSE(fs::exists(folder / "o.aiken"));
    EXPECT_TRUE(fs::is_empty(temp));
}

}  // namespace
}  // namespace quilmo
