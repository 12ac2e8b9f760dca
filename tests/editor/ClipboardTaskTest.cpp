#include <gtest/gtest.h>

#include "editor/ClipboardTask.h"
#include "model/Cp1251.h"

namespace quilmo {
namespace {

using Key = std::array<int32_t, 5>;

TEST(ClipboardTaskTest, TenLinesOutAndBackIn)
{
    TTask task;
    task.Question = "Первая строка\r\nвторая";
    task.Prompt = "Подсказка";
    task.ImageFile = "/home/учитель/рис.jpg";
    task.TaskType = Ordering;
    task.Answers = {2, 0, 1, 3, 0};
    task.Variants = {"а", "б\r\nб", "в", "г", ""};
    task.VariantCount = 4;

    const std::string text = BuildClipboardText(task);
    EXPECT_EQ(text,
              "-------------------\r\n"
              "Первая строка_CRLF_вторая\r\n"
              "Подсказка\r\n"
              "/home/учитель/рис.jpg\r\n"
              "3-1-4\r\n"
              "а\r\nб_CRLF_б\r\nв\r\nг\r\n\r\n");
    EXPECT_TRUE(IsClipboardTaskText(text));

    const auto back = ParseClipboardText(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, task);
}

// The clipboard is Unicode; the text passes through Windows-1251 on its way,
// so a character without a Windows-1251 byte arrives as '?'.
TEST(ClipboardTaskTest, CharactersOutsideWindows1251BecomeQuestionMarks)
{
    TTask task;
    task.Question = "Знак ∑ и «кавычки»";
    const std::string clipboard = Cp1251ToUtf8(Utf8ToCp1251(BuildClipboardText(task)));
    const auto back = ParseClipboardText(clipboard);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Question, "Знак ? и «кавычки»");
}

TEST(ClipboardTaskTest, OnlyTenLinesArePasteable)
{
    const std::string nine = "-\r\nq\r\n\r\n\r\n2,4\r\na\r\nb\r\nc\r\nd\r\n";
    EXPECT_FALSE(IsClipboardTaskText(nine));
    EXPECT_TRUE(IsClipboardTaskText(nine + "e\r\n"));
    EXPECT_TRUE(IsClipboardTaskText(nine + "e"));      // a last line without its end
    EXPECT_FALSE(IsClipboardTaskText(nine + "e\r\nf"));
    EXPECT_TRUE(IsClipboardTaskText("-\nq\r\r\n\n2,4\na\nb\nc\nd\ne\n"));  // lone CR and LF
    EXPECT_FALSE(IsClipboardTaskText(""));
    EXPECT_FALSE(IsClipboardTaskText(nine + std::string(1, '\0') + "e\r\n"));  // a NUL ends the text

    const auto pasted = ParseClipboardText(nine + "e\r\n");
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->TaskType, MultipleChoice);
    EXPECT_EQ(pasted->Answers, (Key{0, 1, 0, 1, 0}));
    EXPECT_EQ(pasted->VariantCount, 5);
}

TEST(ClipboardTaskTest, PasteErrors)
{
    for (const std::string& text : {std::string(), std::string("just a line of text"),
                                   std::string("-\r\nq\r\n\r\n\r\n1\r\na\r\nb\r\nc\r\nd\r\n")}) {
        const auto pasted = ParseClipboardText(text);
        ASSERT_FALSE(pasted) << text;
        EXPECT_EQ(pasted.error().Message, kPasteError);
    }
    // More than ten lines paste the first ten.
    const auto longer = ParseClipboardText("-\r\nq\r\n p \r\n  pic.jpg \r\n 2 \r\na\r\nb\r\n\r\n\r\n\r\nextra\r\n");
    ASSERT_TRUE(longer);
    EXPECT_EQ(longer->Prompt, " p ");
    EXPECT_EQ(longer->ImageFile, "pic.jpg");
    EXPECT_EQ(longer->Answers, (Key{0, 1, 0, 0, 0}));
    EXPECT_EQ(longer->VariantCount, 2);
}

}  // namespace
}  // namespace quilmo
