// Aiken banks: the hand-made sample, writing.

#include <gtest/gtest.h>

#include "banks/Aiken.h"
#include "banks/BankTask.h"
#include "banks/BankTestSupport.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::MakeTask;
using testing::ReadFixture;

TEST(AikenTest, ReadsEveryMappingOfTheSample)
{
    const auto bank = ReadAiken(ReadFixture("banks/sample.aiken"));
    ASSERT_TRUE(bank);
    const std::vector<TTask> expected = {
        MakeTask(SingleChoice, "Какой город — столица Франции?", "", {"Лион", "Париж", "Марсель"}, {0, 1, 0, 0, 0}),
        MakeTask(SingleChoice, "Вопрос\r\nв две строки", "", {"Да", "Нет"}, {1, 0, 0, 0, 0}),
    };
    EXPECT_EQ(bank->Tasks, expected);
    const std::vector<SkippedQuestion> skipped = {
        {3, "Без строки ответа", "нет строки «ANSWER:»"},
        {4, "Ответ вне вариантов", kReasonNoRightAnswer},
        {5, "Шесть вариантов", kReasonTooManyAnswers},
        {6, "Без вариантов", kReasonNoAnswers},
        {7, "", kReasonNoText},
    };
    EXPECT_EQ(bank->Skipped, skipped);
}

TEST(AikenTest, AQuestionCutShortAtTheEndIsSkipped)
{
    const auto bank = ReadAiken("\xEF\xBB\xBFQ\nA. a\nB. b\nANSWER: A\n\nLast\nA) x\n");
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->Tasks.size(), 1u);
    EXPECT_EQ(bank->Skipped, (std::vector<SkippedQuestion>{{2, "Last", "нет строки «ANSWER:»"}}));
}

TEST(AikenTest, WritesSingleChoiceOnly)
{
    const std::vector<TTask> tasks = {
        MakeTask(SingleChoice, "Столица\r\nФранции?", "Намёк", {"Лион", "Париж\r\nна Сене"}, {0, 1, 0, 0, 0}),
        MakeTask(MultipleChoice, "Чётные", "", {"2", "4"}, {1, 1, 0, 0, 0}),
        MakeTask(Ordering, "Порядок", "", {"a", "b"}, {1, 2, 0, 0, 0}),
        MakeTask(SingleChoice, "A. похоже на вариант", "", {"x"}, {1, 0, 0, 0, 0}),
    };
    const BankWriteResult written = WriteAiken(tasks);
    EXPECT_EQ(written.Bytes, "Столица Франции?\nA. Лион\nB. Париж на Сене\nANSWER: B\n\n");
    EXPECT_EQ(written.Written, 1u);
    ASSERT_EQ(written.Skipped.size(), 3u);
    EXPECT_EQ(written.Skipped[0], (SkippedQuestion{2, "Чётные", "в Aiken переносятся только задания с одиночным выбором"}));
    EXPECT_EQ(written.Skipped[1].Number, 3u);
    EXPECT_EQ(written.Skipped[2].Number, 4u);
    EXPECT_EQ(written.Notes, (std::vector<SkippedQuestion>{{1, "Столица Франции?", "подсказка в Aiken не переносится"}}));
    const auto back = ReadAiken(written.Bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->Tasks.size(), 1u);
    EXPECT_EQ(back->Tasks[0], MakeTask(SingleChoice, "Столица Франции?", "", {"Лион", "Париж на Сене"}, {0, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace quilmo
