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
    BankWriteResult result;
    std::string& out = result.Bytes;
    for (size_t i = 0; i < tasks.size(); ++i) {
        const TTask& task = tasks[i];
        const std::string name = QuestionName(task.Question);
        auto exported = TaskForExport(task);
        if (exported && exported->TaskType != SingleChoice)
            exported = Error{"в Aiken переносятся только задания с одиночным выбором"};
        const std::string question = OneLine(task.Question);
        if (exported && (IsOption(question) || IsAnswerLine(question)))
            exported = Error{"текст вопроса начинается так же, как вариант ответа или строка ANSWER"};
        if (!exported) {
            result.Skipped.push_back({i + 1, name, exported.error().Message});
            continue;
        }
        if (!Trim(task.ImageFile).empty())
            result.Notes.push_back({i + 1, name, "картинка в Aiken не переносится, вопрос записан без неё"});
        if (!Trim(task.Prompt).empty())
            result.Notes.push_back({i + 1, name, "подсказка в Aiken не переносится"});
        out += question + "\n";
        char right = 'A';
        for (size_t a = 0; a < exported->Answers.size(); ++a) {
            const char letter = char('A' + a);
            out += std::string(1, letter) + ". " + OneLine(exported->Answers[a].Text) + "\n";
            if (exported->Answers[a].Right)
                right = letter;
        }
        out += std::string("ANSWER: ") + right + "\n\n";
        ++result.Written;
    }
    return result;
}

}  // namespace quilmo
