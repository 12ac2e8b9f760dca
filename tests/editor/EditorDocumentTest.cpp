#include <gtest/gtest.h>

#include <filesystem>

#include "editor/EditorDocument.h"
#include "editor/TaskImport.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "support/HostileTexts.h"
#include "support/MemoryCap.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;
using testing::TempFolder;

std::string Cp1251Text(const Lines& lines) { return Utf8ToCp1251(JoinLinesCrLf(lines)); }

// Answers the rule's questions from a list and records them.
struct ScriptedAnswers {
    std::vector<bool> Answers;
    Lines Asked;
    AskYesNo Ask()
    {
        return [this](const std::string& text) {
            Asked.push_back(text);
            if (Asked.size() > Answers.size()) {
                ADD_FAILURE() << "unexpected question: " << text;
                return false;
            }
            return bool(Answers[Asked.size() - 1]);
        };
    }
};

const Lines kSubsetTest = {
    "Заголовок", "", "2 (1)", "--------", "0", "--------",
    "----1----", "В1", "", "", "1", "а", "", "", "", "",
    "----2----", "В2", "", "", "1", "а", "", "", "", "",
    "----------конец---------",
};

TEST(EditorDocumentTest, ReadsAnyExtensionAsTextAndACountWithASubsetAsNoTasks)
{
    TempFolder dir;
    const auto read = ReadEditorTest(dir.Write("subset.est", Cp1251Text(kSubsetTest)));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Title, "Заголовок");
    EXPECT_TRUE(read->Tasks.empty());
    EXPECT_EQ(read->SubsetCount, 0);
}

TEST(EditorDocumentTest, PicturesAreJoinedToTheTestsFolderEvenWhenMissing)
{
    TempFolder dir;
    Lines lines = kSubsetTest;
    lines[2] = "2";
    lines[9] = "есть.jpg";
    lines[19] = "нет.jpg";
    dir.Write("есть.jpg", "jpeg");
    const auto read = ReadEditorTest(dir.Write("test.txt", Cp1251Text(lines)));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Tasks.size(), 2u);
    EXPECT_EQ(read->Tasks[0].ImageFile, dir / "есть.jpg");
    EXPECT_EQ(read->Tasks[1].ImageFile, dir / "нет.jpg");
}

TEST(EditorDocumentTest, ReadingFailsOnMissingLinesANegativeMarkCountOrAnUnreadableFile)
{
    TempFolder dir;
    Lines shortFile = kSubsetTest;
    shortFile[2] = "2";
    shortFile.resize(20);
    Lines negative = kSubsetTest;
    negative[4] = "-1";
    for (const std::string& path : {dir.Write("short.txt", Cp1251Text(shortFile)),
                                    dir.Write("negative.txt", Cp1251Text(negative)),
                                    dir / "missing.txt", dir.Path()}) {
        const auto read = ReadEditorTest(path);
        ASSERT_FALSE(read) << path;
        EXPECT_EQ(read.error().Message, kLoadError);
    }
}

TEST(EditorDocumentTest, CaptionNamesTheFileWithoutItsFolder)
{
    EXPECT_EQ(EditorCaption(""), "Quilmo (Редактор тестов)");
    EXPECT_EQ(EditorCaption("/home/t/Тесты/физика.tst"), "физика.tst - Quilmo (Редактор тестов)");
}

// The picture rule's cases: a picture inside the test's folder is written
// relative to it; one elsewhere is offered for copying and written by its bare
// name whatever the answer; a missing one is offered for clearing.
TEST(EditorDocumentTest, PictureRule)
{
    TempFolder root;
    const std::string testDir = root / "test/";
    root.Write("test/sub/inside.jpg", "inside");
    root.Write("elsewhere/outside.jpg", "outside");
    root.Write("elsewhere/taken.jpg", "new");
    root.Write("test/taken.jpg", "old");

    struct Case {
        const char* Name;
        std::string ImageFile;
        std::vector<bool> Answers;
        std::string Line;
        bool Changes;
        std::string NewImageFile;
        size_t Questions;
    };
    const Case cases[] = {
        {"empty", "  ", {}, "", false, "", 0},
        {"subfolder", "  " + testDir + "sub/inside.jpg ", {}, "sub/inside.jpg", false, "", 0},
        {"copy declined", root / "elsewhere/outside.jpg", {false}, "outside.jpg", false, "", 1},
        {"copied", root / "elsewhere/outside.jpg", {true}, "outside.jpg", true,
         testDir + "outside.jpg", 1},
        {"replace declined", root / "elsewhere/taken.jpg", {true, false}, "taken.jpg", true,
         testDir + "taken.jpg", 2},
        {"missing kept", root / "gone.jpg", {false}, root / "gone.jpg", false, "", 1},
        {"missing cleared", root / "gone.jpg", {true}, "", true, "", 1},
    };
    for (const Case& c : cases) {
        ScriptedAnswers answers{c.Answers, {}};
        const auto decision = EditorPictureLine(c.ImageFile, testDir, answers.Ask());
        ASSERT_TRUE(decision) << c.Name;
        EXPECT_EQ(decision->Line, c.Line) << c.Name;
        EXPECT_EQ(decision->ChangesImageFile, c.Changes) << c.Name;
        EXPECT_EQ(decision->NewImageFile, c.NewImageFile) << c.Name;
        EXPECT_EQ(answers.Asked.size(), c.Questions) << c.Name;
    }
    EXPECT_EQ(root.Read("test/outside.jpg"), "outside");
    EXPECT_EQ(root.Read("test/taken.jpg"), "old");  // replacing was declined
}

TEST(EditorDocumentTest, PictureQuestionsNameThePaths)
{
    TempFolder root;
    const std::string testDir = root / "test/";
    root.Write("test/p.jpg", "old");
    const std::string source = root.Write("other/p.jpg", "new");
    ScriptedAnswers answers{{true, true}, {}};
    ASSERT_TRUE(EditorPictureLine(source, testDir, answers.Ask()));
    ASSERT_EQ(answers.Asked.size(), 2u);
    EXPECT_EQ(answers.Asked[0], "Имя файла: \"" + source +
                                    "\" нельзя сделать относительным.\r\n"
                                    "Скопировать изображение в папку с тестом?");
    EXPECT_EQ(answers.Asked[1], "Файл: \"" + testDir + "p.jpg\" уже существует.\r\nЗаменить его?");
    EXPECT_EQ(root.Read("test/p.jpg"), "new");

    ScriptedAnswers missing{{false}, {}};
    ASSERT_TRUE(EditorPictureLine(root / "x.jpg", testDir, missing.Ask()));
    EXPECT_EQ(missing.Asked.at(0),
              "Файла: \"" + root / "x.jpg" + "\" не существует.\r\nОчистить запись о картинке?");
}

TTask PictureTask(const std::string& question, const std::string& imageFile)
{
    TTask task;
    task.Question = question;
    task.ImageFile = imageFile;
    task.Variants[0] = "да";
    task.Answers[0] = 1;
    task.VariantCount = 1;
    return task;
}

TEST(EditorDocumentTest, WritingGivesTheTextLayoutWithTheEditorsPictureLines)
{
    TempFolder root;
    root.Write("test/sub/a.jpg", "a");
    const std::string outside = root.Write("b.jpg", "b");
    std::vector<TTask> tasks = {PictureTask("Один", root / "test/sub/a.jpg"),
                                PictureTask("Два", outside)};
    TEditorDocument document;
    document.Title = "Т";
    document.Marks = {0, 1};
    document.Modified = 1;
    ScriptedAnswers answers{{true}, {}};
    const std::string path = root / "test/t.txt";
    ASSERT_TRUE(WriteEditorTest(path, document, {&tasks[0], &tasks[1]}, answers.Ask()));

    EXPECT_EQ(Cp1251ToUtf8(root.Read("test/t.txt")),
              "Т\r\n\r\n2\r\n--------\r\n2\r\n--------\r\n1\r\n0\r\n"
              "----1----\r\nОдин\r\n\r\nsub/a.jpg\r\n1\r\nда\r\n\r\n\r\n\r\n\r\n"
              "----2----\r\nДва\r\n\r\nb.jpg\r\n1\r\nда\r\n\r\n\r\n\r\n\r\n"
              "----------конец---------\r\n");
    EXPECT_EQ(document.FileName, path);
    EXPECT_EQ(document.Modified, 0);
    EXPECT_EQ(tasks[0].ImageFile, root / "test/sub/a.jpg");
    EXPECT_EQ(tasks[1].ImageFile, root / "test/b.jpg");
    EXPECT_EQ(root.Read("test/b.jpg"), "b");
}

// A picture that cannot be copied stops the write before the file is touched;
// a file that cannot be written is reported too. Either way the document and
// its tasks keep what they had.
TEST(EditorDocumentTest, FailedWritesChangeNothing)
{
    TempFolder root;
    const std::string old = root.Write("test/t.txt", "old contents");
    const std::string outside = root.Write("b.jpg", "b");
    std::filesystem::create_directories(root / "test/b.jpg");  // the copy cannot replace a folder
    std::vector<TTask> tasks = {PictureTask("Два", outside), PictureTask("Три", root / "gone.jpg")};
    TEditorDocument document;
    document.FileName = "/elsewhere/before.txt";
    document.Modified = 1;

    ScriptedAnswers answers{{true}, {}};
    const Status copy = WriteEditorTest(old, document, {&tasks[0], &tasks[1]}, answers.Ask());
    ASSERT_FALSE(copy);
    EXPECT_EQ(copy.error().Message,
              "Не удалось сохранить файл \"" + (root / "test/b.jpg") + "\". Это папка, а не файл.");
    EXPECT_EQ(answers.Asked.size(), 1u);  // stopped at the first task
    EXPECT_EQ(root.Read("test/t.txt"), "old contents");

    tasks[0].ImageFile.clear();
    ScriptedAnswers clear{{true}, {}};
    const Status write =
        WriteEditorTest(root / "no-such-folder/t.txt", document, {&tasks[0], &tasks[1]}, clear.Ask());
    ASSERT_FALSE(write);
    EXPECT_EQ(write.error().Message, "Не удалось сохранить файл \"" + (root / "no-such-folder/t.txt") +
                                         "\". Нет такого файла или папки.");

    EXPECT_EQ(document.FileName, "/elsewhere/before.txt");
    EXPECT_EQ(document.Modified, 1);
    EXPECT_EQ(tasks[0].ImageFile, "");
    EXPECT_EQ(tasks[1].ImageFile, root / "gone.jpg");  // the answer to clear it waits for a write
}

// Pictures copied into the test's folder never replace one another, nor a
// picture another task already has there: each is written under a name of
// its own, and the test reads back with every task showing its own picture.
TEST(EditorDocumentTest, CopiedPicturesWhoseNamesClashGetNamesOfTheirOwn)
{
    TempFolder root;
    const std::string inside = root.Write("test/p.jpg", "already there");
    const std::string a = root.Write("a/p.jpg", "from a");
    const std::string b = root.Write("b/P.JPG", "from b");
    const std::string pic = root.Write("c/Pic.jpg", "Pic");
    const std::string pic2 = root.Write("c/pic.jpg", "pic");
    std::vector<TTask> tasks = {PictureTask("1", a),   PictureTask("2", inside), PictureTask("3", b),
                                PictureTask("4", pic), PictureTask("5", pic2),   PictureTask("6", a)};
    std::vector<TTask*> pointers;
    for (TTask& task : tasks)
        pointers.push_back(&task);
    TEditorDocument document;
    document.Marks = {0, 1};
    // Copy every outside picture; the last task's is the first task's again,
    // whose copy it may replace with the same bytes.
    ScriptedAnswers answers{{true, true, true, true, true, true}, {}};
    const std::string path = root / "test/t.txt";
    ASSERT_TRUE(WriteEditorTest(path, document, pointers, answers.Ask()));
    ASSERT_EQ(answers.Asked.size(), 6u);
    EXPECT_EQ(answers.Asked[5], "Файл: \"" + root / "test/p~2.jpg" + "\" уже существует.\r\nЗаменить его?");

    const auto read = ReadEditorTest(path);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->Tasks.size(), 6u);
    const Lines names = {"p~2.jpg", "p.jpg", "P~3.JPG", "Pic.jpg", "pic~2.jpg", "p~2.jpg"};
    const Lines contents = {"from a", "already there", "from b", "Pic", "pic", "from a"};
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(read->Tasks[k].ImageFile, root / ("test/" + names[k])) << k;
        EXPECT_EQ(root.Read("test/" + names[k]), contents[k]) << k;
        EXPECT_EQ(tasks[k].ImageFile, root / ("test/" + names[k])) << k;
    }
}

// The editor's open and its import read a hostile file in memory bounded by
// the file, and fail with their own message when memory runs out.
TEST(EditorDocumentTest, OpenAndImportStayWithinTheFileAndFailWhenMemoryRunsOut)
{
    if (!testing::kMemoryCapWorks)
        GTEST_SKIP() << "no cap on the address space under AddressSanitizer";
    TempFolder root;
    const std::string empty = testing::OneTaskHead() + std::string(4'000'000, '\n');
    const std::string emptyPath = root.Write("empty.txt", empty);
    // Some 150 MB of model, beyond the cap and any room the heap holds free.
    const std::string many = testing::ManySmallTasks(500'000);
    const std::string manyPath = root.Write("many.txt", many);

    const uint64_t cap = 2 * many.size() + 16 * (uint64_t(1) << 20);
    const auto run = testing::RunUnderMemoryCap(cap, [&] {
        const auto opened = ReadEditorTest(emptyPath);
        const auto imported = ReadImportFile(emptyPath);
        if (!opened || opened->Tasks.size() != 1 || !imported || imported->Tasks.size() != 1)
            return 1;
        const auto tooMany = ReadEditorTest(manyPath);
        if (tooMany || tooMany.error().Message != kLoadError)
            return 2;
        const auto tooManyImported = ReadImportFile(manyPath);
        if (tooManyImported || tooManyImported.error().Message != kImportError)
            return 3;
        return 0;
    });
    EXPECT_TRUE(run.Exited) << "killed by signal " << run.Code;
    EXPECT_EQ(run.Code, 0) << "1: the one task not read, 2: open, 3: import did not fail as they should";
}

}  // namespace
}  // namespace quilmo
