// The greeting by the hour, the captions and the ordering box's next number.

#include <gtest/gtest.h>

#include "runner/SessionText.h"

namespace quilmo {
namespace {

TEST(SessionTextTest, GreetingFollowsTheHour)
{
    struct Case {
        int Hour;
        const char* Greeting;
    } cases[] = {
        {0, "Доброй ночи!"},  {5, "Доброй ночи!"},  {6, "Доброе утро!"},   {11, "Доброе утро!"},
        {12, "Добрый день!"}, {17, "Добрый день!"}, {18, "Добрый вечер!"}, {23, "Добрый вечер!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HelloText(c.Hour), std::string(c.Greeting) + " Как Вас Зовут?") << c.Hour;
}

TEST(SessionTextTest, Captions)
{
    EXPECT_EQ(QuestionCaption(1, 1), "Вопрос №1 из 1:");
    EXPECT_EQ(VariantCaption(1, 4), "Выберите один из 4 вариантов ответа:");
    EXPECT_EQ(VariantCaption(2, 5), "Выберите несколько из 5 вариантов ответа:");
    EXPECT_EQ(VariantCaption(3, 3), "Укажите порядок следования всех 3 вариантов ответа:");
}

TEST(SessionTextTest, OrderingBoxAdvancesAndWraps)
{
    EXPECT_EQ(NextOrderChoice(0, 4), 1);
    EXPECT_EQ(NextOrderChoice(1, 4), 2);
    EXPECT_EQ(NextOrderChoice(3, 4), 4);
    EXPECT_EQ(NextOrderChoice(4, 4), 1);
    EXPECT_EQ(NextOrderChoice(0, 1), 1);
    EXPECT_EQ(NextOrderChoice(1, 1), 1);
}

}  // namespace
}  // namespace quilmo
