#include "banks/Gift.h"

#include <charconv>

#include "banks/BankTask.h"
#include "banks/BankText.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

inline constexpr const char* kReasonBraces = "непарные фигурные скобки { }";

// A question's text with its escapes resolved: Special[i] is true where
// Text[i] is one of the characters GIFT gives a meaning, unescaped.
struct GiftText {
    std::string Text;
    std::vector<bool> Special;

    size_t size() const { return Text.size(); }
    bool At(size_t i, char c) const { return i < Text.size() && Text[i] == c && Special[i]; }
    size_t Find(char c, size_t from = 0) const
    {
        for (size_t i = from; i < Text.size(); ++i)
            if (At(i, c))
                return i;
        return std::string::npos;
    }
    bool AtAll(size_t i, std::string_view s) const
    {
        for (size_t k = 0; k < s.size(); ++k)
            if (!At(i + k, s[k]))
                return false;
        return true;
    }
    size_t Find(std::string_view s, size_t from = 0) const
    {
        for (size_t i = from; i + s.size() <= Text.size(); ++i)
            if (AtAll(i, s))
                return i;
        return std::string::npos;
    }
    size_t FindLast(std::string_view s) const
    {
        for (size_t i = Text.size() >= s.size() ? Text.size() - s.size() + 1 : 0; i-- > 0;)
            if (AtAll(i, s))
                return i;
        return std::string::npos;
    }
    GiftText Sub(size_t from, size_t to) const
    {
        to = std::min(to, Text.size());
        from = std::min(from, to);
        return {Text.substr(from, to - from), std::vector<bool>(Special.begin() + long(from), Special.begin() + long(to))};
    }
    GiftText Trimmed() const
    {
        size_t a = 0, b = Text.size();
        while (a < b && static_cast<unsigned char>(Text[a]) <= 0x20)
            ++a;
        while (b > a && static_cast<unsigned char>(Text[b - 1]) <= 0x20)
            --b;
        return Sub(a, b);
    }
};

GiftText Unescape(std::string_view raw)
{
    GiftText out;
    out.Text.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\' && i + 1 < raw.size()) {
            const char n = raw[i + 1];
            if (n == '\\' || n == '~' || n == '=' || n == '#' || n == '{' || n == '}' || n == ':') {
                out.Text += n;
                out.Special.push_back(false);
                ++i;
                continue;
            }
            if (n == 'n') {
                out.Text += '\n';
                out.Special.push_back(false);
                ++i;
                continue;
            }
        }
        out.Text += c;
        out.Special.push_back(true);
    }
    return out;
}

// A piece of text with its own [format] marker or the one it inherits.
BankPlainText PieceText(const GiftText& piece, BankTextFormat& format, bool takeFormat)
{
    std::string text(Trim(piece.Text));
    if (!text.empty() && text[0] == '[') {
        const size_t end = text.find(']');
        if (end != std::string::npos)
            if (const auto f = GiftTextFormat(text.substr(1, end - 1))) {
                if (takeFormat)
                    format = *f;
                return BankTextToPlain(std::string_view(text).substr(end + 1), *f);
            }
    }
    return BankTextToPlain(text, format);
}

// "%50%" at the start of an answer: its weight in percent.
bool TakeWeight(GiftText& answer, double& weight)
{
    const std::string& t = answer.Text;
    if (t.size() < 3 || t[0] != '%')
        return false;
    const size_t end = t.find('%', 1);
    if (end == std::string::npos)
        return false;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(t.data() + 1, t.data() + end, value);
    if (ec != std::errc() || ptr != t.data() + end)
        return false;
    weight = value;
    answer = answer.Sub(end + 1, t.size());
    return true;
}

struct GiftAnswer {
    GiftText Text;
    GiftText Feedback;
    double Weight = 0;
    bool Equals = false;
};

Expected<TTask> ReadQuestion(const GiftText& block, std::string& name)
{
    GiftText text = block;
    if (text.Find("::") == 0) {
        const size_t end = text.Find("::", 2);
        if (end != std::string::npos) {
            name = OneLine(text.Sub(2, end).Text);
            text = text.Sub(end + 2, text.size()).Trimmed();
        } else {
            text = text.Sub(2, text.size());
        }
    }
    const size_t open = text.Find('{');
    const size_t close = text.Find('}');
    BankTextFormat format = BankTextFormat::MoodleAuto;
    if (open == std::string::npos && close == std::string::npos) {
        if (name.empty())
            name = QuestionName(PieceText(text, format, true).Text);
        return Error{UnsupportedTypeReason("description")};
    }
    if (open == std::string::npos || close == std::string::npos || close < open ||
        text.Find('{', open + 1) != std::string::npos || text.Find('}', close + 1) != std::string::npos) {
        if (name.empty())
            name = QuestionName(OneLine(text.Text));
        return Error{kReasonBraces};
    }
    GiftText answers = text.Sub(open + 1, close).Trimmed();
    GiftText question = text.Sub(0, open);
    const GiftText after = text.Sub(close + 1, text.size());
    if (!Trim(after.Text).empty()) {
        question.Text += "_____";
        question.Special.push_back(false);
        for (int k = 0; k < 4; ++k)
            question.Special.push_back(false);
        question.Text += after.Text;
        question.Special.insert(question.Special.end(), after.Special.begin(), after.Special.end());
    }
    const std::string questionText = PieceText(question, format, true).Text;
    if (name.empty())
        name = QuestionName(questionText);

    std::string prompt;
    if (const size_t general = answers.FindLast("####"); general != std::string::npos) {
        prompt = PieceText(answers.Sub(general + 4, answers.size()), format, false).Text;
        answers = answers.Sub(0, general).Trimmed();
    }

    if (answers.size() == 0)
        return Error{UnsupportedTypeReason("essay")};
    if (answers.At(0, '#'))
        return Error{UnsupportedTypeReason("numerical")};
    const bool choice = answers.Find('~') != std::string::npos;
    if (!choice && answers.Find('=') != std::string::npos && answers.Text.find("->") != std::string::npos)
        return Error{UnsupportedTypeReason("matching")};

    if (!choice) {
        const size_t hash = answers.Find('#');
        const std::string value(Trim(answers.Sub(0, hash).Text));
        if (value != "T" && value != "TRUE" && value != "F" && value != "FALSE")
            return Error{UnsupportedTypeReason("shortanswer")};
        if (prompt.empty() && hash != std::string::npos) {
            // {T#feedback on a wrong answer#feedback on the right one}
            const size_t second = answers.Find('#', hash + 1);
            prompt = PieceText(answers.Sub(hash + 1, second), format, false).Text;
            if (prompt.empty() && second != std::string::npos)
                prompt = PieceText(answers.Sub(second + 1, answers.size()), format, false).Text;
        }
        const bool isTrue = value == "T" || value == "TRUE";
        return BuildChoiceTask(questionText, prompt, {{"Верно", isTrue ? 100.0 : 0.0}, {"Неверно", isTrue ? 0.0 : 100.0}},
                               ChoiceRule::SingleRight);
    }

    std::vector<GiftAnswer> list;
    size_t start = 0;
    bool single = false;
    for (size_t i = 0; i <= answers.size(); ++i) {
        const bool marker = i < answers.size() && (answers.At(i, '~') || answers.At(i, '='));
        if (!marker && i < answers.size())
            continue;
        GiftText piece = answers.Sub(start, i).Trimmed();
        if (start > 0 || piece.size() > 0) {
            GiftAnswer answer;
            answer.Equals = start > 0 && answers.At(start - 1, '=');
            single = single || answer.Equals;
            if (answer.Equals)
                answer.Weight = 100;
            else
                TakeWeight(piece, answer.Weight);
            const size_t hash = piece.Find('#');
            answer.Text = piece.Sub(0, hash);
            if (hash != std::string::npos)
                answer.Feedback = piece.Sub(hash + 1, piece.size());
            list.push_back(std::move(answer));
        }
        start = i + 1;
    }
    std::vector<BankChoice> choices;
    for (const GiftAnswer& a : list) {
        choices.push_back({PieceText(a.Text, format, false).Text, a.Weight});
        if (prompt.empty())
            prompt = PieceText(a.Feedback, format, false).Text;
    }
    return BuildChoiceTask(questionText, prompt, choices,
                           single ? ChoiceRule::SingleRight : ChoiceRule::EveryPositiveRight);
}

}  // namespace

Expected<BankImport> ReadGift(std::string_view bytes, const BankLimits& limits)
{
    if (bytes.size() > limits.MaxFileBytes)
        return Error{"Файл GIFT слишком велик."};
    const std::string text = DecodeTextFile(bytes);
    const std::vector<std::string> lines = SplitLines(text);
    BankImport bank;
    size_t number = 0;
    std::string block;
    auto finish = [&] {
        const std::string raw(Trim(block));
        block.clear();
        if (raw.empty() || raw.rfind("$CATEGORY:", 0) == 0)
            return;
        ++number;
        std::string name;
        auto task = ReadQuestion(Unescape(raw), name);
        if (task)
            bank.Tasks.push_back(std::move(*task));
        else
            bank.Skipped.push_back({number, name, task.error().Message});
    };
    for (const std::string& line : lines) {
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty()) {
            finish();
            continue;
        }
        if (trimmed.substr(0, 2) == "//")
            continue;
        block += line;
        block += '\n';
    }
    finish();
    return bank;
}

namespace {

// Characters GIFT gives a meaning escaped, line breaks as \n.
std::string GiftEscaped(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + 8);
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        switch (c) {
        case '\\': case '~': case '=': case '#': case '{': case '}': case ':':
            out += '\\';
            out += c;
            break;
        case '\r':
        case '\n':
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\0':
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Text that Moodle's own format would read otherwise than it stands: markup
// characters, blanks that HTML folds.
bool NeedsPlain(std::string_view s)
{
    if (s.find_first_of("<>&\t") != std::string_view::npos || s.find("  ") != std::string_view::npos)
        return true;
    const std::string lines = ReplaceAll(ReplaceAll(s, "\r\n", "\n"), "\r", "\n");
    size_t pos = 0;
    while (pos <= lines.size()) {
        size_t end = lines.find('\n', pos);
        if (end == std::string::npos)
            end = lines.size();
        const std::string_view line(lines.data() + pos, end - pos);
        if (!line.empty() && (line.front() == ' ' || line.back() == ' '))
            return true;
        pos = end + 1;
    }
    return false;
}

// A text as GIFT writes it: with a marker when it starts like one (or like
// a comment or a category), so it reads back as it stands.
std::string GiftPiece(std::string_view s, const char* marker)
{
    std::string out;
    if (!s.empty() && (s.front() == '[' || s.front() == '$' || s.substr(0, 2) == "//"))
        out += marker;
    return out + GiftEscaped(s);
}

}  // namespace

BankWriteResult WriteGift(const std::vector<TTask>& tasks)
{
    auto refuse = [](const TaskToWrite& t) -> std::string {
        return t.Answers.TaskType == Ordering ? "в GIFT нет заданий на указание порядка" : "";
    };
    return WriteEachTask(tasks, refuse, [](const TaskToWrite& t, BankWriteResult& r) {
        if (!Trim(t.Task.ImageFile).empty())
            r.Notes.push_back({t.Number, t.Name, "картинка в GIFT не переносится, вопрос записан без неё"});
        bool plain = NeedsPlain(t.Task.Question);
        for (const ExportAnswer& a : t.Answers.Answers)
            plain = plain || NeedsPlain(a.Text);
        const std::string prompt = OneLine(t.Task.Prompt);
        plain = plain || NeedsPlain(prompt);
        const char* marker = plain ? "[plain]" : "[moodle]";

        std::string& out = r.Bytes;
        out += "// " + OneLine(GiftEscaped(t.Name)) + "\n";
        out += plain ? "[plain]" + GiftEscaped(t.Task.Question) : GiftPiece(t.Task.Question, marker);
        out += " {\n";
        for (const ExportAnswer& a : t.Answers.Answers) {
            out += '\t';
            if (t.Answers.TaskType == SingleChoice)
                out += a.Right ? "=" : a.Text.front() == '%' ? "~%0%" : "~";
            else  // any wrong answer chosen costs the whole mark, as in Quilmo
                out += a.Right ? std::string("~%") + RightShare(t.Answers.RightCount) + "%" : "~%-100%";
            out += GiftPiece(a.Text, marker) + "\n";
        }
        if (!prompt.empty())
            out += "\t####" + GiftPiece(prompt, marker) + "\n";
        out += "}\n\n";
    });
}

}  // namespace quilmo
