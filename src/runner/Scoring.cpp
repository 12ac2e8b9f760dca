#include "runner/Scoring.h"

#include <algorithm>

namespace quilmo {

namespace {

int32_t RowCount(const TTask& task)
{
    return std::clamp<int32_t>(task.VariantCount, 0, 5);
}

// The key of the variant shown on row r.
int32_t KeyOfRow(const TTask& task, const TIntDynArray& variantOrder, size_t r)
{
    const int32_t k = r < variantOrder.size() ? variantOrder[r] : static_cast<int32_t>(r);
    return k >= 0 && k < 5 ? task.Answers[static_cast<size_t>(k)] : 0;
}

int32_t StateOfRow(const TIntDynArray& rowStates, size_t r)
{
    return r < rowStates.size() ? rowStates[r] : 0;
}

}  // namespace

bool JudgeTask(const TTask& task, const TIntDynArray& variantOrder, const TIntDynArray& rowStates)
{
    // One rule for all three types: every row shown must carry its variant's
    // key (checked = 1, a chosen place = its number, nothing = 0). Variants
    // beyond VariantCount are never shown and play no part.
    const auto n = static_cast<size_t>(RowCount(task));
    for (size_t r = 0; r < n; ++r)
        if (StateOfRow(rowStates, r) != KeyOfRow(task, variantOrder, r))
            return false;
    return true;
}

TEducationFeedback EducationFeedback(const TTask& task, const TIntDynArray& variantOrder,
                                     const TIntDynArray& rowStates)
{
    const auto n = static_cast<size_t>(RowCount(task));
    TEducationFeedback feedback;
    feedback.Rows.assign(n, RowColour::Normal);
    std::string detail;
    switch (task.TaskType) {
    case SingleChoice:
        for (size_t r = 0; r < n; ++r) {
            if (StateOfRow(rowStates, r) != 0)
                feedback.Rows[r] = RowColour::Error;
            if (KeyOfRow(task, variantOrder, r) > 0) {
                feedback.Rows[r] = RowColour::Correct;
                detail = "Верный ответ: " + std::to_string(r + 1) + ";";
            }
        }
        break;
    case MultipleChoice:
        detail = "Верные ответы: ";
        for (size_t r = 0; r < n; ++r) {
            if (StateOfRow(rowStates, r) != 0)
                feedback.Rows[r] = RowColour::Error;
            if (KeyOfRow(task, variantOrder, r) > 0) {
                feedback.Rows[r] = RowColour::Correct;
                detail += std::to_string(r + 1) + "; ";
            }
        }
        break;
    case Ordering:
        detail = "Верные значения: ";
        for (size_t r = 0; r < n; ++r)
            detail += "\r\n" + std::to_string(KeyOfRow(task, variantOrder, r)) + "; ";
        for (size_t r = 0; r < n; ++r)
            feedback.Rows[r] = StateOfRow(rowStates, r) == KeyOfRow(task, variantOrder, r)
                                   ? RowColour::Correct
                                   : RowColour::Error;
        break;
    default:
        break;
    }
    feedback.Text = "Не правильно...   \r\n" + detail;
    return feedback;
}

std::string JoinNumbers(const TIntDynArray& values, const std::string& separator)
{
    std::string out;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += separator;
        out += std::to_string(values[i]);
    }
    return out;
}

int32_t ComputeMark(const TIntDynArray& marks, int32_t rightCount)
{
    int32_t mark = 0;
    for (size_t i = 0; i < marks.size(); ++i)
        if (marks[i] <= rightCount)
            mark = static_cast<int32_t>(i) + 1;
    return mark;
}

std::string MarkTextFor(const TIntDynArray& marks, int32_t mark)
{
    if (!IsPassFail(marks))
        return {};
    if (mark == 1)
        return "незачет";
    if (mark == 2)
        return "зачет";
    return {};
}

void FillTestResult(TTestResult& result, const TSessionFacts& f)
{
    const auto total = static_cast<int32_t>(f.TaskOrder.size());
    result.CompName = f.CompName;
    result.CompUserName = f.CompUserName;
    result.UserName = f.UserName;
    result.TestTitle = f.TestTitle;
    result.TestFile = f.TestFile;

    result.TotalCount = total;
    result.AskedCount = f.CurrentTask + 1;
    result.RightCount = static_cast<int32_t>(
        std::count_if(f.AnswerResults.begin(), f.AnswerResults.end(), [](int32_t v) { return v > 0; }));
    result.WrongCount = result.AskedCount - result.RightCount;
    result.NotAskedCount = result.TotalCount - result.RightCount - result.WrongCount;
    result.Mark = ComputeMark(f.Marks, result.RightCount);
    result.MarkText = MarkTextFor(f.Marks, result.Mark);

    result.StartTime = f.SessionStart;
    result.EndTime = f.SessionEnd;
    result.Duration = f.TestSeconds;  // ticks counted, not the clock difference

    // Masks are kept in file order, whatever order the tasks were asked in.
    auto fileIndex = [&](size_t position) -> int32_t {
        const int32_t i = f.TaskOrder[position];
        return i >= 0 && i < total ? i : -1;
    };
    result.MaskValues.assign(static_cast<size_t>(total), -1);
    for (int32_t p = 0; p <= f.CurrentTask && p < total; ++p) {
        const int32_t i = fileIndex(static_cast<size_t>(p));
        if (i >= 0)
            result.MaskValues[static_cast<size_t>(i)] =
                static_cast<size_t>(p) < f.AnswerResults.size() ? f.AnswerResults[static_cast<size_t>(p)] : 0;
    }
    result.ResultMask.clear();
    for (int32_t v : result.MaskValues)
        result.ResultMask += v < 0 ? '*' : v > 0 ? '+' : '-';

    result.TimeValues.assign(static_cast<size_t>(total), 0);
    for (size_t p = 0; p < f.TaskOrder.size() && p < f.TaskSeconds.size(); ++p) {
        const int32_t i = fileIndex(p);
        if (i >= 0)
            result.TimeValues[static_cast<size_t>(i)] = f.TaskSeconds[p];
    }
    result.TimeMask = JoinNumbers(result.TimeValues, ";");
    result.FileCrc = f.FileCrc;
}

}  // namespace quilmo
