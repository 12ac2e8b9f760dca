#include "editor/MarkLevels.h"

#include <algorithm>

#include "model/Regional.h"
#include "model/TextUtil.h"

namespace quilmo {

MarkRows InitialMarkRows(int taskCount, const TIntDynArray& marks)
{
    MarkRows rows;
    if (marks.empty()) {
        rows.Count = 5;
        rows.Answers.assign(5, "0");
        const int64_t tasks = taskCount;
        rows.Answers[0] = std::to_string(RoundHalfEven(tasks * 85, 100));
        rows.Answers[1] = std::to_string(RoundHalfEven(tasks * 70, 100));
        rows.Answers[2] = std::to_string(RoundHalfEven(tasks * 50, 100));
        rows.HintVisible = true;
        return rows;
    }
    const int n = static_cast<int>(marks.size());
    rows.Count = n;
    rows.Answers.reserve(marks.size());
    for (int r = 1; r <= n; ++r)
        rows.Answers.push_back(std::to_string(marks[static_cast<size_t>(n - r)]));
    return rows;
}

int MarkCountFromField(std::string_view text)
{
    const int32_t value = StrToIntDef(Trim(text), 0);
    return std::clamp<int32_t>(value, 1, kMaxMarkCount);
}

void ResizeMarkRows(std::vector<std::string>& answers, int count)
{
    answers.resize(static_cast<size_t>(std::clamp(count, 1, kMaxMarkCount)));
}

TIntDynArray MarksFromRows(const std::vector<std::string>& answers)
{
    const size_t n = answers.size();
    TIntDynArray marks(n, 0);
    for (size_t r = 1; r <= n; ++r)
        marks[n - r] = StrToIntDef(Trim(answers[r - 1]), 0);
    return marks;
}

std::string TaskCountText(int taskCount)
{
    return "Всего заданий в тесте: \"" + std::to_string(taskCount) + "\"";
}

int CentredTextLeft(int cellLeft, int cellWidth, int textWidth)
{
    return cellLeft + cellWidth / 2 - (textWidth + 2) / 2;
}

}  // namespace quilmo
