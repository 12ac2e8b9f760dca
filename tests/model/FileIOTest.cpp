#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "model/FileIO.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileIOTest, ReadWholeFile)
{
    testing::TempFolder dir;
    const std::string bytes("a\0b\r\n\x1A\xFF", 7);
    EXPECT_EQ(ReadWholeFile(dir.Write("a.bin", bytes)).value(), bytes);
    EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")).value(), "");

    const auto missing = ReadWholeFile(dir / "none");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().Message,
              "Не удалось прочитать файл \"" + (dir / "none") + "\". Нет такого файла или папки.");
    EXPECT_FALSE(ReadWholeFile(dir.Path()));

    const auto big = ReadWholeFile(dir.Write("big", std::string(100, 'x')), 99);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.error().Message, "Не удалось прочитать файл \"" + (dir / "big") + "\". Файл слишком велик.");
    EXPECT_TRUE(ReadWholeFile(dir / "big", 100));
}

TEST(FileIOTest, AtomicWriteReplacesAndKeepsPermissions)
{
    testing::TempFolder dir;
    const std::string path = dir / "test.txt";
    ASSERT_TRUE(WriteFileAtomically(path, "first"));
    EXPECT_EQ(dir.Read("test.txt"), "first");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "second"));
    EXPECT_EQ(dir.Read("test.txt"), "second");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"test.txt"});  // no temporary left

    // A name near the file system's limit still leaves room for the temporary's.
    const std::string longName(250, 'n');
    ASSERT_TRUE(WriteFileAtomically(dir / longName, "long"));
    EXPECT_EQ(dir.Read(longName), "long");
}

TEST(FileIOTest, AtomicWriteThroughALinkKeepsTheLink)
{
    testing::TempFolder dir;
    dir.Write("real.txt", "old");
    fs::create_symlink(dir / "real.txt", dir / "link.txt");
    ASSERT_TRUE(WriteFileAtomically(dir / "link.txt", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(dir.Read("real.txt"), "new");
}

TEST(FileIOTest, FailedWriteLeavesNothingBehind)
{
    testing::TempFolder dir;
    // A folder where the file should go: the rename fails at the very end.
    dir.Write("target/inner.txt", "keep");
    const auto status = WriteFileAtomically(dir / "target", "data");
    ASSERT_FALSE(status);
    EXPECT_FALSE(status.error().Message.empty());
    EXPECT_EQ(dir.Read("target/inner.txt"), "keep");
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"target"});

    EXPECT_FALSE(WriteFileAtomically(dir / "no/such/folder.txt", "data"));
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"target"});
}

TEST(FileIOTest, AppendAddsToTheEnd)
{
    testing::TempFolder dir;
    ASSERT_TRUE(AppendToFile(dir / "result.txt", "one\r\n"));
    ASSERT_TRUE(AppendToFile(dir / "result.txt", "two\r\n"));
    EXPECT_EQ(dir.Read("result.txt"), "one\r\ntwo\r\n");
    EXPECT_FALSE(AppendToFile(dir / "no/result.txt", "x"));
}

TEST(FileIOTest, CopyLeavesTheSameFileIntact)
{
    testing::TempFolder dir;
    const std::string source = dir.Write("pic.jpg", std::string(200000, 'p'));
    ASSERT_TRUE(CopyFileBytes(source, dir / "copy.jpg"));
    EXPECT_EQ(dir.Read("copy.jpg"), dir.Read("pic.jpg"));

    // The same file under another name must not be truncated by the copy.
    ASSERT_TRUE(CopyFileBytes(source, dir.Path() + "./pic.jpg"));
    ASSERT_EQ(::link(source.c_str(), (dir / "hard.jpg").c_str()), 0);
    ASSERT_TRUE(CopyFileBytes(dir / "hard.jpg", source));
    EXPECT_EQ(dir.Read("pic.jpg"), std::string(200000, 'p'));

    dir.Write("old.jpg", "old");
    EXPECT_FALSE(CopyFileBytes(dir / "missing.jpg", dir / "old.jpg"));
    EXPECT_EQ(dir.Read("old.jpg"), "old");
}

TEST(FileIOTest, CommonSystemErrorsAreRussianTheRestTheSystems)
{
    const struct {
        int Err;
        const char* Text;
    } cases[] = {
        {ENOENT, "Нет такого файла или папки"},
        {EACCES, "Нет прав доступа"},
        {EPERM, "Нет прав доступа"},
        {ENOSPC, "Нет места на диске"},
        {EDQUOT, "Нет места на диске"},
        {EROFS, "Диск доступен только для чтения"},
        {EISDIR, "Это папка, а не файл"},
        {ENOTDIR, "Часть пути — не папка, а файл"},
        {EMFILE, "Открыто слишком много файлов"},
        {ENFILE, "Открыто слишком много файлов"},
        {EFBIG, "Файл слишком велик"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemErrorText(c.Err), c.Text) << c.Err;
    // Anything rarer keeps the system's own words.
    EXPECT_EQ(SystemErrorText(EIO), std::string(std::strerror(EIO)));
}

TEST(FileIOTest, FailuresNameTheFileAndWhatWasBeingDone)
{
    testing::TempFolder dir;
    const auto appended = AppendToFile(dir / "no/result.txt", "x");
    ASSERT_FALSE(appended);
    EXPECT_EQ(appended.error().Message,
              "Не удалось записать в файл \"" + (dir / "no/result.txt") + "\". Нет такого файла или папки.");

    const auto missingSource = CopyFileBytes(dir / "missing.jpg", dir / "copy.jpg");
    ASSERT_FALSE(missingSource);
    EXPECT_EQ(missingSource.error().Message,
              "Не удалось прочитать файл \"" + (dir / "missing.jpg") + "\". Нет такого файла или папки.");
    const auto noTarget = CopyFileBytes(dir.Write("pic.jpg", "p"), dir / "no/pic.jpg");
    ASSERT_FALSE(noTarget);
    EXPECT_EQ(noTarget.error().Message,
              "Не удалось сохранить файл \"" + (dir / "no/pic.jpg") + "\". Нет такого файла или папки.");

    // A reason that ends a sentence of its own gets no second full stop.
    EXPECT_EQ(SaveErrorText("/x/a.xlsx", "Bad input."), "Не удалось сохранить файл \"/x/a.xlsx\". Bad input.");
    EXPECT_EQ(ReadErrorText("/x/a.txt", ""), "Не удалось прочитать файл \"/x/a.txt\".");
}

TEST(FileIOTest, FileExistsOnlyForFiles)
{
    testing::TempFolder dir;
    EXPECT_TRUE(FileExists(dir.Write("a.txt", "")));
    EXPECT_FALSE(FileExists(dir.Path()));
    EXPECT_FALSE(FileExists(dir / "b.txt"));
}

TEST(FileIOTest, DeletingAFolderRemovesNestedReadOnlyContentButFollowsNoLink)
{
    testing::TempFolder dir;
    dir.Write("outside/keep.txt", "keep");
    dir.Write("gone/a.jpg", "a");
    dir.Write("gone/sub/deeper/b.jpg", "b");
    const std::string gone = dir / "gone/";
    fs::create_directory_symlink(dir / "outside", gone + "link");
    ::chmod((gone + "a.jpg").c_str(), 0400);
    ::chmod((gone + "sub/deeper").c_str(), 0500);
    ::chmod((gone + "sub").c_str(), 0500);

    EXPECT_TRUE(DeleteFolderRecursively(gone));
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_EQ(dir.Read("outside/keep.txt"), "keep");
    EXPECT_TRUE(DeleteFolderRecursively(gone));  // already gone: nothing to do
}

TEST(FileIOTest, AFolderThatCannotBeDeletedGivesTheSystemsText)
{
    // The system refuses to delete anything under /proc, for every user.
    const Status status = DeleteFolderRecursively("/proc/self/fdinfo/");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().Message, SystemErrorText(EPERM));
}

}  // namespace
}  // namespace quilmo
