#include <gtest/gtest.h>

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextTestReader.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Lines = std::vector<std::string>;
using Key = std::array<int32_t, 5>;

TTask Task(uint8_t type, Key key)
{
    TTask t;
    t.TaskType = type;
    t.Answers = key;
    return t;
}

TEST(TextTestWriterTest, AnswerLineTable)
{
    const std::tuple<uint8_t, Key, const char*> cases[] = {
        {SingleChoice, {0, 1, 0, 0, 0}, "2"},
        {SingleChoice, {0, 1, 0, 1, 0}, "4"},   // the last one of several
        {SingleChoice, {0, 0, 0, 0, 0}, ""},
        {MultipleChoice, {1, 0, 1, 0, 1}, "1,3,5"},
        {MultipleChoice, {0, 0, 2, 0, 0}, "3"},
        {MultipleChoice, {0, 0, 0, 0, 0}, ""},
        {Ordering, {2, 3, 1, 0, 0}, "3-1-2"},
        {Ordering, {0, 1, 0, 0, 0}, "2"},
        {Ordering, {1, 0, 0, 0, 3}, "1-5"},     // a gap in the places
        {Ordering, {1, 1, 0, 0, 0}, "1-2"},     // two variants on one place
        {Ordering, {0, 7, 0, 0, 0}, ""},        // no place from 1 to 5
    };
    for (const auto& [type, key, line] : cases)
        EXPECT_EQ(BuildAnswerLine(Task(type, key)), line) << line;
}

TEST(TextTestWriterTest, AnswerLineReadsBackToTheSameKey)
{
    for (const TTask& task : {Task(SingleChoice, {0, 0, 1, 0, 0}), Task(MultipleChoice, {1, 1, 0, 0, 1}),
                              Task(Ordering, {3, 0, 1, 2, 0}), Task(Ordering, {5, 4, 3, 2, 1})}) {
        TTask back;
        ParseAnswerLine(BuildAnswerLine(task), back);
        EXPECT_EQ(back.TaskType, task.TaskType);
        EXPECT_EQ(back.Answers, task.Answers);
    }
}

// Opening a test and writing it back changes only picture lines (bare names),
// a drawn subset (its count and the tasks left out) and multiple choice with a
// single right answer (written as single choice). The expected file is written
// by hand from those rules.
TEST(TextTestWriterTest, WriteBackGivesTheSameLines)
{
    testing::TempFolder dir;
    const std::string path = dir.Write("writeback.txt", testing::ReadFixture("writeback.txt"));
    dir.Write("Рисунки/сила.jpg", "jpeg");
    dir.Write("photo.png", "png");

    const auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes);
    TextTestReadOptions options;
    options.PictureDir = dir.Path();
    auto parsed = ParseTestText(SplitLines(Cp1251ToUtf8(*bytes)), options);
    ASSERT_TRUE(parsed);
    TRandom random(0x80000000u);  // draws 5 -> 2: the third task is left out
    ApplyRandomSubset(*parsed, random);

    TTestInfo info;
    info.Title = parsed->Title;
    info.Description = parsed->Description;
    info.Marks = parsed->Marks;
    info.TaskCount = parsed->TaskCount;
    const TextTestWriteResult written = WriteTestText(info, parsed->Tasks);

    EXPECT_EQ(Utf8ToCp1251(JoinLinesCrLf(written.Lines)), testing::ReadFixture("writeback-expected.txt"));
    EXPECT_EQ(written.Pictures,
              (std::vector<SavedPicture>{{dir / "Рисунки/сила.jpg", "сила.jpg"}, {dir / "photo.png", "photo.png"}}));
    EXPECT_TRUE(written.MissingPictures.empty());
}

TEST(TextTestWriterTest, PictureList)
{
    testing::TempFolder dir;
    dir.Write("a.jpg", "1");
    dir.Write("sub/b.gif", "2");
    std::vector<TTask> tasks(5);
    tasks[0].ImageFile = dir / "a.jpg";
    tasks[1].ImageFile = dir / "gone.bmp";
    tasks[2].ImageFile = "  " + dir / "sub/b.gif" + " ";
    tasks[3].ImageFile = dir / "a.jpg";  // listed once
    tasks[4].ImageFile = " ";
    const auto written = WriteTestText(TTestInfo{}, tasks);

    Lines pictureLines;
    for (size_t k = 0; k < tasks.size(); ++k)
        pictureLines.push_back(written.Lines[6 + 10 * k + 3]);
    EXPECT_EQ(pictureLines, (Lines{"a.jpg", "", "b.gif", "a.jpg", ""}));
    EXPECT_EQ(written.Pictures, (std::vector<SavedPicture>{{dir / "a.jpg", "a.jpg"}, {dir / "sub/b.gif", "b.gif"}}));
    EXPECT_EQ(written.MissingPictures, Lines{dir / "gone.bmp"});
}

TEST(TextTestWriterTest, HeaderAndEndLine)
{
    TTestInfo info;
    info.Title = "Тест";
    info.Description = "раз\r\nдва";
    info.Marks = {0, 0, 3, 4, 5};
    info.TaskCount = 99;  // the list decides the count
    TTask task;
    task.Question = "Q\r\n";
    task.Variants = {"a", "b\r\nc", "", "", ""};
    const auto written = WriteTestText(info, {task});
    EXPECT_EQ(written.Lines, (Lines{"Тест", "раз_CRLF_два", "1", "--------", "5", "--------", "5", "4", "3", "0",
                                    "0", "----1----", "Q_CRLF_", "", "", "", "a", "b_CRLF_c", "", "", "",
                                    "----------конец---------"}));
}

TEST(TextTestWriterTest, LineBreaksInsideFieldsNeverShiftTheLayout)
{
    TTestInfo info;
    info.Title = "Раз\r\nдва";
    info.Description = "a\rb\nc";
    TTask task;
    task.Question = "q1\rq2\n";
    task.Prompt = "p1\np2";
    task.Variants = {std::string("v\0w", 3), "x\n", "", "", ""};
    task.TaskType = SingleChoice;
    task.Answers = {1, 0, 0, 0, 0};
    const auto written = WriteTestText(info, {task});

    const Lines back = SplitLines(JoinLinesCrLf(written.Lines));
    ASSERT_EQ(back.size(), 17u);
    EXPECT_EQ(back[0], "Раз два");
    EXPECT_EQ(back[1], "a_CRLF_b_CRLF_c");
    EXPECT_EQ(back[7], "q1_CRLF_q2_CRLF_");
    EXPECT_EQ(back[8], "p1 p2");
    EXPECT_EQ(back[11], "vw");
    EXPECT_EQ(back.back(), "----------конец---------");

    const auto reread = ParseTestText(back, {});
    ASSERT_TRUE(reread);
    ASSERT_EQ(reread->Tasks.size(), 1u);
    EXPECT_EQ(reread->Tasks[0].Question, "q1\r\nq2\r\n");
    EXPECT_EQ(reread->Tasks[0].Answers, (Key{1, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace quilmo
