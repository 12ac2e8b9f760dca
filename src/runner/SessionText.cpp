#include "runner/SessionText.h"

#include "model/TestModel.h"

namespace quilmo {

std::string HelloText(int hour)
{
    const char* greeting = hour < 6    ? "Доброй ночи!"
                           : hour < 12 ? "Доброе утро!"
                           : hour < 18 ? "Добрый день!"
                                       : "Добрый вечер!";
    return std::string(greeting) + " Как Вас Зовут?";
}

std::string QuestionCaption(int position, int count)
{
    return "Вопрос №" + std::to_string(position) + " из " + std::to_string(count) + ":";
}

std::string VariantCaption(int taskType, int n)
{
    const std::string count = std::to_string(n);
    switch (taskType) {
    case SingleChoice: return "Выберите один из " + count + " вариантов ответа:";
    case MultipleChoice: return "Выберите несколько из " + count + " вариантов ответа:";
    case Ordering: return "Укажите порядок следования всех " + count + " вариантов ответа:";
    default: return "Выберите один из вариантов ответа:";
    }
}

int NextOrderChoice(int current, int n)
{
    if (n < 1)
        return 0;
    return current >= 1 && current < n ? current + 1 : 1;
}

}  // namespace quilmo
