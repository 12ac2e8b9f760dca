#pragma once
// The small texts and rules of a session's display.

#include <string>

namespace quilmo {

// "Доброй ночи!", "Доброе утро!", "Добрый день!" or "Добрый вечер!" for an hour
// of 0 to 23, followed by " Как Вас Зовут?".
std::string HelloText(int hour);

// "Вопрос №%d из %d:".
std::string QuestionCaption(int position, int count);
// The variant strip's text for a task of the type with n rows.
std::string VariantCaption(int taskType, int n);

// The next number of an ordering box with n numbers: none (0) gives 1, each
// number the next, n wraps to 1.
int NextOrderChoice(int current, int n);

}  // namespace quilmo
