#include "banks/Aiken.h"

#include "banks/BankTask.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr const char* kReasonNoAnswerLine = "нет строки «ANSWER:»";

bool IsOption(std::string_view line)
{
    return line.size() >= 3 && line[0] >= 'A' && line[0] <= 'Z' && (line[1] == '.' || line[1] == ')') &&
           (line[2] == ' ' || line[2] == '\t');
}

bool IsAnswerLine(std::string_view line) { return line.substr(0, 7) == "ANSWER:"; }

struct Pending {
    std::vector<std::string> QuestionLines;
    std::vector<std::pair<char, std::string>> Options;
    bool empty() const { return QuestionLines.empty() && Options.empty(); }
    std::string Question() const
    {
        std::string q;
        for (const std::string& line : QuestionLines)
            q += (q.empty() ? "" : "\r\n") + line;
        return q;
    }
};

}  // namespace

Expected<BankImport> ReadAiken(std::string_view bytes, const BankLimits& limits)
{
    if (bytes.size() > limits.MaxFileBytes)
        return Error{"Файл Aiken слишком велик."};
    const std::vector<std::string> lines = SplitLines(DecodeTextFile(bytes));
    BankImport bank;
    size_t number = 0;
    Pending q;
    auto skip = [&](const std::string& reason) {
        bank.Skipped.push_back({++number, QuestionName(q.Question()), reason});
        q = Pending{};
    };
    for (const std::string& raw : lines) {
        const std::string line(Trim(raw));
        if (line.empty())
            continue;
        if (IsOption(line)) {
            q.Options.emplace_back(line[0], std::string(Trim(std::string_view(line).substr(2))));
            continue;
        }
        if (IsAnswerLine(line)) {
            const std::string_view letter = Trim(std::string_view(line).substr(7));
            std::vector<BankChoice> choices;
            bool found = false;
            for (const auto& [l, text] : q.Options) {
                const bool right = !letter.empty() && letter[0] == l && !found;
                found = found || right;
                choices.push_back({text, right ? 100.0 : 0.0});
            }
            auto task = BuildChoiceTask(q.Question(), "", choices, ChoiceRule::SingleRight);
            if (!task) {
                skip(task.error().Message);
                continue;
            }
            ++number;
            bank.Tasks.push_back(std::move(*task));
            q = Pending{};
            continue;
        }
        // A line of text after the options: the question before it never got
        // its ANSWER line, and this one begins the next.
        if (!q.Options.empty())
            skip(kReasonNoAnswerLine);
        q.QuestionLines.push_back(line);
    }
    if (!q.empty())
        skip(kReasonNoAnswerLine);
    return bank;
}

BankWriteResult WriteAiken(const std::vector<TTask>& tasks)
{
    auto refuse = [](const TaskToWrite& t) -> std::string {
        if (t.Answers.TaskType != SingleChoice)
            return "в Aiken переносятся только задания с одиночным выбором";
        const std::string question = OneLine(t.Task.Question);
        if (IsOption(question) || IsAnswerLine(question))
            return "текст вопроса начинается так же, как вариант ответа или строка ANSWER";
        return {};
    };
    BankWriteResult result = WriteEachTask(tasks, refuse, [](const TaskToWrite& t, BankWriteResult& r) {
        if (!Trim(t.Task.ImageFile).empty())
            r.Notes.push_back({t.Number, t.Name, "картинка в Aiken не переносится, вопрос записан без неё"});
        if (!Trim(t.Task.Prompt).empty())
            r.Notes.push_back({t.Number, t.Name, "подсказка в Aiken не переносится"});
        r.Bytes += OneLine(t.Task.Question) + "\n";
        char right = 'A';
        for (size_t a = 0; a < t.Answers.Answers.size(); ++a) {
            const char letter = char('A' + a);
            r.Bytes += std::string(1, letter) + ". " + OneLine(t.Answers.Answers[a].Text) + "\n";
            if (t.Answers.Answers[a].Right)
                right = letter;
        }
        r.Bytes += std::string("ANSWER: ") + right + "\n\n";
    });
    return result;
}

}  // namespace quilmo
