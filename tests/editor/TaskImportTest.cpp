#include <gtest/gtest.h>

#include "editor/TaskImport.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;
using testing::TempFolder;

const Lines kTwoTasks = {
    "Другой тест", "Описание", "2", "--------", "3", "--------", "5", "3", "1",
    "----1----", "Вопрос_CRLF_один", "подсказка", "рис.jpg", "1,2", "а", "б", "", "", "",
    "----2----", "Вопрос два", "", "", "3-1", "а", "_CRLF_", "в", "", "",
    "----------конец---------",
};

std::string Write(TempFolder& dir, const std::string& name, const Lines& lines)
{
    return dir.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines)));
}

Lines Changed(Lines lines, size_t index, std::string value)
{
    lines[index] = std::move(value);
    return lines;
}

TEST(TaskImportTest, ReadsEveryTaskAsOpenDoes)
{
    TempFolder dir;
    const std::string path = Write(dir, "other.txt", kTwoTasks);
    const auto imported = ReadImportFile(path);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->Title, "Другой тест");
    ASSERT_EQ(imported->Tasks.size(), 2u);
    const TTask& first = imported->Tasks[0];
    EXPECT_EQ(first.Question, "Вопрос\r\nодин");
    EXPECT_EQ(first.Prompt, "подсказка");
    EXPECT_EQ(first.ImageFile, dir / "рис.jpg");
    EXPECT_EQ(first.TaskType, MultipleChoice);
    const TTask& second = imported->Tasks[1];
    EXPECT_EQ(second.TaskType, Ordering);
    EXPECT_EQ(second.Answers, (std::array<int32_t, 5>{2, 0, 1, 0, 0}));
    EXPECT_EQ(second.Variants[1], "\r\n");
    EXPECT_EQ(second.VariantCount, 3);

    EXPECT_EQ(ImportDoneText(2, path, imported->Title),
              "Добавлено 2 заданий\r\nиз файла: \"" + path + "\".\r\nЗаголовок теста: \"Другой тест\".");
}

TEST(TaskImportTest, Failures)
{
    TempFolder dir;
    const Lines subset = Changed(kTwoTasks, 2, "2 (1)");
    const Lines none = Changed(kTwoTasks, 2, "0");
    const Lines shortFile(kTwoTasks.begin(), kTwoTasks.end() - 2);  // the last variant line is missing
    const Lines hugeCount = Changed(kTwoTasks, 2, "2000000000");
    const Lines hugeMarks = Changed(kTwoTasks, 4, "2000000000");
    const Lines negativeMarks = Changed(kTwoTasks, 4, "-40");
    const std::string paths[] = {
        Write(dir, "subset.tst", subset), Write(dir, "none.tst", none),
        Write(dir, "short.tst", shortFile), Write(dir, "huge.tst", hugeCount),
        Write(dir, "marks.tst", hugeMarks), Write(dir, "negative.tst", negativeMarks),
        Write(dir, "four.tst", Lines(kTwoTasks.begin(), kTwoTasks.begin() + 4)),
        dir / "missing.tst", dir.Path(),
    };
    for (const std::string& path : paths) {
        const auto imported = ReadImportFile(path);
        ASSERT_FALSE(imported) << path;
        EXPECT_EQ(imported.error().Message, kImportError);
    }
    // The last line of the last block is all it needs; the end line may be missing.
    EXPECT_TRUE(ReadImportFile(Write(dir, "noend.tst", Lines(kTwoTasks.begin(), kTwoTasks.end() - 1))));
}

}  // namespace
}  // namespace quilmo
