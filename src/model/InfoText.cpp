#include "model/InfoText.h"

#include "model/Regional.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

std::string MarkLine(const std::string& mark, int32_t threshold)
{
    return " \"" + mark + "\" не менее " + std::to_string(threshold) + " ответов правильно;";
}

void AppendHeader(std::vector<std::string>& lines, const TTestInfo& info)
{
    lines.push_back("Открыт тест: \"" + info.Title + "\"");
    lines.push_back("Всего заданий в тесте: " + std::to_string(info.TaskCount) + ".");
    lines.push_back("Критерии оценивания:");
    for (auto& line : MarkLines(info.Marks))
        lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> MarkLines(const TIntDynArray& marks)
{
    std::vector<std::string> lines;
    if (IsPassFail(marks)) {
        lines.push_back(MarkLine("зачет", marks[1]));
        return lines;
    }
    for (size_t i = marks.size(); i-- > 0;)
        if (marks[i] > 0)
            lines.push_back(MarkLine(std::to_string(i + 1), marks[i]));
    return lines;
}

std::vector<std::string> InformationText(const TTestInfo& info)
{
    std::vector<std::string> lines;
    AppendHeader(lines, info);
    lines.push_back("Желаем выполнить все задания...");
    return lines;
}

std::vector<std::string> TestInfoWindowText(const TTestInfo& info, const TModeConfig& mode)
{
    std::vector<std::string> lines;
    AppendHeader(lines, info);
    if (!info.Description.empty()) {
        lines.push_back("Описание теста:");
        // The description's own line breaks start new lines of the window.
        for (auto& line : SplitLines(info.Description))
            lines.push_back(std::move(line));
    }
    lines.push_back(mode.OrderTaskNormal == 1 ? "Порядок следования заданий: нормальный."
                                              : "Порядок следования заданий: случайный.");
    lines.push_back(mode.OrderVariantNormal == 1 ? "Порядок следования вариантов: нормальный."
                                                 : "Порядок следования вариантов: случайный.");
    switch (mode.ModeTimeLimit) {
    case 1:
        lines.push_back("Ограничение по времени для всего теста: " + FormatHhNnSs(mode.TimeLimitTest) + ".");
        break;
    case 2:
        lines.push_back("Ограничение по времени для каждого задания: " + FormatHhNnSs(mode.TimeLimitTask) +
                        ".");
        break;
    default:
        lines.push_back("Ограничение по времени отключено.");
        break;
    }
    return lines;
}

}  // namespace quilmo
