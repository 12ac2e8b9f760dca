#include "editor/TaskCheck.h"

#include "model/FileIO.h"
#include "model/PictureKind.h"

namespace quilmo {

namespace {

std::string Numbered(const char* text, int number)
{
    return std::string(text) + "(№" + std::to_string(number) + ")";
}

}  // namespace

std::vector<std::string> CheckTask(const TTask& task)
{
    std::vector<std::string> findings;
    const int count = std::min<int>(std::max<int>(task.VariantCount, 0), 5);
    const bool ordering = task.TaskType == Ordering;

    if (task.Question.empty())
        findings.push_back("Нет текста вопроса;");
    if (!task.ImageFile.empty() && !FileExists(task.ImageFile))
        findings.push_back("Файл с изображением не существует;");
    else if (!task.ImageFile.empty() && PictureKindOf(task.ImageFile) == PictureKind::None)
        findings.push_back("Изображение такого типа не будет показано при тестировании;");

    bool anyRight = false;
    bool anyText = false;
    for (int v = 0; v < 5; ++v) {
        anyRight = anyRight || task.Answers[v] > 0;
        anyText = anyText || !task.Variants[v].empty();
    }
    if (!anyRight)
        findings.push_back("Не выбран ни один вариант ответа;");
    if (!anyText)
        findings.push_back("Нет ни одного текста варианта ответа на задание;");

    for (int v = 0; v < count; ++v)
        if (task.Variants[v].empty()) {
            findings.push_back(Numbered("Есть пропущенные (пустые) варианты тексты ответов ", v + 1));
            break;
        }

    if (!ordering) {
        for (int v = 0; v < 5; ++v)
            if (task.Answers[v] > 0 && task.Variants[v].empty()) {
                findings.push_back(Numbered("Есть выбранные ответы с пустым текстом ", v + 1));
                break;
            }
        return findings;
    }

    for (int v = 0; v < count; ++v)
        if (task.Answers[v] < 1) {
            findings.push_back(Numbered("Не выбран номер для всех вариантов ответа ", v + 1));
            break;
        }
    bool same = false;
    for (int a = 0; a < count && !same; ++a)
        for (int b = a + 1; b < count && !same; ++b)
            same = task.Answers[a] == task.Answers[b];
    if (same)
        findings.push_back("Есть одинаковые номера при указании верного порядка");
    for (int v = 0; v < count; ++v)
        if (task.Answers[v] > count) {
            findings.push_back(Numbered("Не верный (больше чем вариантов) номер ответа ", v + 1));
            break;
        }
    return findings;
}

std::string CheckTaskMessage(const std::vector<std::string>& findings)
{
    if (findings.empty())
        return {};
    std::string text = "Задание сохранено, но были обнаружены возможные проблемы:\r\n\r\n";
    for (size_t n = 0; n < findings.size(); ++n)
        text += std::to_string(n + 1) + ") " + findings[n] + "\r\n";
    return text;
}

}  // namespace quilmo
