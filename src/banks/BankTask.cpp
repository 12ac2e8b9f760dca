#include "banks/BankTask.h"

#include <algorithm>

#include "model/Cp1251.h"
#include "model/TextUtil.h"

namespace quilmo {

std::string SkippedQuestionText(const SkippedQuestion& skipped)
{
    std::string text = "Вопрос " + std::to_string(skipped.Number);
    if (!skipped.Name.empty())
        text += " «" + skipped.Name + "»";
    return text + ": " + skipped.Reason;
}

std::string UnsupportedTypeReason(std::string_view type)
{
    return "тип вопроса «" + std::string(type) + "» не переносится в Quilmo";
}

namespace {

bool IsBlankText(std::string_view s) { return Trim(s).empty(); }

Expected<TTask> StartTask(std::string question, std::string prompt, size_t answers)
{
    if (IsBlankText(question))
        return Error{kReasonNoText};
    if (answers == 0)
        return Error{kReasonNoAnswers};
    if (answers > 5)
        return Error{kReasonTooManyAnswers};
    TTask task;
    task.Question = std::move(question);
    task.Prompt = OneLine(prompt);
    return task;
}

}  // namespace

Expected<TTask> BuildChoiceTask(std::string question, std::string prompt,
                                const std::vector<BankChoice>& choices, ChoiceRule rule)
{
    auto started = StartTask(std::move(question), std::move(prompt), choices.size());
    if (!started)
        return started;
    TTask task = std::move(*started);
    double best = 0;
    for (const BankChoice& c : choices) {
        if (IsBlankText(c.Text))
            return Error{kReasonEmptyAnswer};
        best = std::max(best, c.Fraction);
    }
    if (best <= 0)
        return Error{kReasonNoRightAnswer};
    size_t right = 0;
    for (size_t i = 0; i < choices.size(); ++i) {
        task.Variants[i] = choices[i].Text;
        const bool isRight = rule == ChoiceRule::SingleRight ? choices[i].Fraction == best : choices[i].Fraction > 0;
        task.Answers[i] = isRight ? 1 : 0;
        right += isRight;
    }
    if (rule == ChoiceRule::SingleRight && right > 1)
        return Error{kReasonSeveralRight};
    task.TaskType = rule == ChoiceRule::SingleRight ? SingleChoice : MultipleChoice;
    task.VariantCount = LastNonEmptyVariant(task.Variants);
    return task;
}

Expected<TTask> BuildOrderingTask(std::string question, std::string prompt, const std::vector<std::string>& items)
{
    auto started = StartTask(std::move(question), std::move(prompt), items.size());
    if (!started)
        return started;
    TTask task = std::move(*started);
    task.TaskType = Ordering;
    for (size_t i = 0; i < items.size(); ++i) {
        if (IsBlankText(items[i]))
            return Error{kReasonEmptyAnswer};
        task.Variants[i] = items[i];
        task.Answers[i] = int32_t(i + 1);
    }
    task.VariantCount = LastNonEmptyVariant(task.Variants);
    return task;
}

Expected<ExportTask> TaskForExport(const TTask& task)
{
    if (IsBlankText(task.Question))
        return Error{kReasonNoText};
    ExportTask out;
    out.TaskType = task.TaskType;
    std::vector<std::pair<int32_t, std::string>> placed;
    size_t used = 0;
    for (size_t i = 0; i < 5; ++i) {
        if (IsBlankText(task.Variants[i]))
            continue;
        ++used;
        if (task.TaskType == Ordering) {
            if (task.Answers[i] > 0)
                placed.emplace_back(task.Answers[i], task.Variants[i]);
            continue;
        }
        const bool right = task.Answers[i] > 0;
        out.Answers.push_back({task.Variants[i], right});
        out.RightCount += right;
    }
    if (used == 0)
        return Error{kReasonNoAnswers};
    if (task.TaskType == Ordering) {
        std::stable_sort(placed.begin(), placed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        // Every used variant needs its own place 1, 2, 3, ... for an order to exist.
        if (placed.size() != used)
            return Error{kReasonOrderIncomplete};
        for (size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].first != int32_t(i + 1))
                return Error{kReasonOrderIncomplete};
            out.Answers.push_back({placed[i].second, false});
        }
        return out;
    }
    if (out.RightCount == 0)
        return Error{kReasonNoRightAnswer};
    return out;
}

BankWriteResult WriteEachTask(const std::vector<TTask>& tasks,
                              const std::function<std::string(const TaskToWrite&)>& refuse,
                              const std::function<void(const TaskToWrite&, BankWriteResult&)>& write)
{
    BankWriteResult result;
    for (size_t i = 0; i < tasks.size(); ++i) {
        const std::string name = QuestionName(tasks[i].Question);
        const auto exported = TaskForExport(tasks[i]);
        if (!exported) {
            result.Skipped.push_back({i + 1, name, exported.error().Message});
            continue;
        }
        const TaskToWrite one{tasks[i], i + 1, name, *exported};
        if (std::string reason = refuse ? refuse(one) : std::string(); !reason.empty()) {
            result.Skipped.push_back({i + 1, name, std::move(reason)});
            continue;
        }
        write(one, result);
        ++result.Written;
    }
    return result;
}

const char* RightShare(size_t k)
{
    switch (k) {
    case 1: return "100";
    case 2: return "50";
    case 3: return "33.33333";
    case 4: return "25";
    default: return "20";
    }
}

std::string CrLfLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c != '\0') {
            out += c;
        }
    }
    return out;
}

std::string OneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') {
            blank = true;
            continue;
        }
        if (blank && !out.empty())
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string QuestionName(std::string_view text)
{
    std::string name = OneLine(text);
    constexpr size_t kMax = 60;
    if (name.size() <= kMax)
        return name;
    size_t cut = kMax;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;  // not inside a UTF-8 sequence
    name.resize(cut);
    return name + "…";
}

namespace {

bool IsUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size())
            return false;
        if (len == 2 && c < 0xC2)
            return false;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        if (len == 3) {
            const unsigned char d = s[i + 1];
            if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0))
                return false;  // overlong, or a surrogate
        }
        if (len == 4) {
            const unsigned char d = s[i + 1];
            if ((c == 0xF0 && d < 0x90) || c > 0xF4 || (c == 0xF4 && d >= 0x90))
                return false;
        }
        i += len;
    }
    return true;
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (IsUtf8(bytes))
        return std::string(bytes);
    return Cp1251ToUtf8(bytes);
}

}  // namespace quilmo
