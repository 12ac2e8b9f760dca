// GIFT banks: the hand-made sample, unbalanced braces, writing, round trip.

#include <gtest/gtest.h>

#include "banks/BankTask.h"
#include "banks/BankTestSupport.h"
#include "banks/Gift.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::MakeTask;
using testing::ReadFixture;

std::string TypeReason(const char* type) { return UnsupportedTypeReason(type); }

TEST(GiftTest, ReadsEveryMappingOfTheSample)
{
    const auto bank = ReadGift(ReadFixture("banks/sample.gift"));
    ASSERT_TRUE(bank) << bank.error().Message;
    const std::vector<TTask> expected = {
        MakeTask(SingleChoice, "Какой город = столица Франции:", "Нет", {"Лион", "Париж", "Марсель"}, {0, 1, 0, 0, 0}),
        MakeTask(MultipleChoice, "Выберите чётные числа", "Делятся на два", {"2", "4", "3"}, {1, 1, 0, 0, 0}),
        MakeTask(SingleChoice, "Земля плоская.", "", {"Верно", "Неверно"}, {0, 1, 0, 0, 0}),
        MakeTask(SingleChoice, "Вода — мокрая", "Подумайте", {"Верно", "Неверно"}, {1, 0, 0, 0, 0}),
        MakeTask(SingleChoice, "Скобки { и } и 2 < 3", "", {"Да", "Нет"}, {1, 0, 0, 0, 0}),
        MakeTask(SingleChoice, "Москва стоит на _____ реке.", "", {"Неве", "Москве", "Волге"}, {0, 1, 0, 0, 0}),
        MakeTask(SingleChoice, "Жирный вопрос в две строки", "", {"A", "B"}, {1, 0, 0, 0, 0}),
    };
    ASSERT_EQ(bank->Tasks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(bank->Tasks[i], expected[i]) << "task " << i + 1;
    EXPECT_TRUE(bank->Pictures.empty());
    const std::vector<SkippedQuestion> skipped = {
        {8, "Краткий", TypeReason("shortanswer")},
        {9, "Число", TypeReason("numerical")},
        {10, "Пары", TypeReason("matching")},
        {11, "Эссе", TypeReason("essay")},
        {12, "Описание", TypeReason("description")},
        {13, "Скобка", "непарные фигурные скобки { }"},
        {14, "Шесть", kReasonTooManyAnswers},
        {15, "Без верного", kReasonNoRightAnswer},
        {16, "Два верных", kReasonSeveralRight},
        {17, "Пустой", kReasonEmptyAnswer},
    };
    EXPECT_EQ(bank->Skipped, skipped);
}

TEST(GiftTest, UnbalancedBracesSkipOnlyTheirQuestion)
{
    for (const char* bad : {"Q {=a ~b", "Q =a ~b}", "Q } {=a ~b", "Q {=a {~b}}", "Q {=a ~b} and {~c}", "{{{{"}) {
        const std::string text = std::string("Good {=yes ~no}\n\n") + bad + "\n\nAlso good {=1 ~2}\n";
        const auto bank = ReadGift(text);
        ASSERT_TRUE(bank) << bad;
        EXPECT_EQ(bank->Tasks.size(), 2u) << bad;
        ASSERT_EQ(bank->Skipped.size(), 1u) << bad;
        EXPECT_EQ(bank->Skipped[0].Number, 2u);
        EXPECT_EQ(bank->Skipped[0].Reason, "непарные фигурные скобки { }") << bad;
    }
}

TEST(GiftTest, ReadsWindows1251AndLoneLineEnds)
{
    const auto bank = ReadGift(std::string("\xC4\xE0?{=\xC4\xE0 ~\xCD\xE5\xF2}\r\rQ2{T}"));  // "Да?{=Да ~Нет}"
    ASSERT_TRUE(bank);
    ASSERT_EQ(bank->Tasks.size(), 2u);
    EXPECT_EQ(bank->Tasks[0], MakeTask(SingleChoice, "Да?", "", {"Да", "Нет"}, {1, 0, 0, 0, 0}));
}

TEST(GiftTest, WritesWhatGiftsRulesSay)
{
    const std::vector<TTask> tasks = {
        MakeTask(SingleChoice, "Столица?", "Город на Сене", {"Лион", "Париж"}, {0, 1, 0, 0, 0}),
        MakeTask(MultipleChoice, "Чётные: 2 и 4", "", {"2", "3", "4"}, {1, 0, 1, 0, 0}),
        MakeTask(Ordering, "Порядок", "", {"a", "b"}, {1, 2, 0, 0, 0}),
        MakeTask(SingleChoice, "a < b\r\n{x}", "", {"да", "нет"}, {1, 0, 0, 0, 0}, "/some/pic.jpg"),
    };
    const BankWriteResult written = WriteGift(tasks);
    EXPECT_EQ(written.Bytes,
              "// Столица?\n"
              "Столица? {\n"
              "\t~Лион\n"
              "\t=Париж\n"
              "\t####Город на Сене\n"
              "}\n\n"
              "// Чётные\\: 2 и 4\n"
              "Чётные\\: 2 и 4 {\n"
              "\t~%50%2\n"
              "\t~%-100%3\n"
              "\t~%50%4\n"
              "}\n\n"
              "// a < b \\{x\\}\n"
              "[plain]a < b\\n\\{x\\} {\n"
              "\t=да\n"
              "\t~нет\n"
              "}\n\n");
    EXPECT_EQ(written.Written, 3u);
    EXPECT_EQ(written.Skipped, (std::vector<SkippedQuestion>{{3, "Порядок", "в GIFT нет заданий на указание порядка"}}));
    EXPECT_EQ(written.Notes,
              (std::vector<SkippedQuestion>{{4, "a < b {x}", "картинка в GIFT не переносится, вопрос записан без неё"}}));
}

TEST(GiftTest, QuilmoToGiftToQuilmoGivesTheSameTasks)
{
    const std::vector<TTask> tasks = {
        MakeTask(SingleChoice, "Две\r\nстроки ~ = # { } : \\ \\n", "Подсказка: #1", {"Один", "Два", "Три"}, {0, 0, 1, 0, 0}),
        MakeTask(MultipleChoice, "[html] начало //", "", {"%50% скидка", "c", "d", "e", "f"}, {1, 1, 0, 1, 1}),
        MakeTask(MultipleChoice, "Два  пробела\t<b>", "", {"x", "[plain]y"}, {0, 1, 0, 0, 0}),
        MakeTask(SingleChoice, "// не комментарий", "", {"%0%", "$CATEGORY: нет"}, {0, 1, 0, 0, 0}),
    };
    const BankWriteResult written = WriteGift(tasks);
    ASSERT_EQ(written.Written, tasks.size());
    const auto bank = ReadGift(written.Bytes);
    ASSERT_TRUE(bank);
    EXPECT_TRUE(bank->Skipped.empty());
    ASSERT_EQ(bank->Tasks.size(), tasks.size());
    for (size_t i = 0; i < tasks.size(); ++i)
        EXPECT_EQ(bank->Tasks[i], tasks[i]) << "task " << i + 1 << "\n" << written.Bytes;
}

}  // namespace
}  // namespace quilmo
