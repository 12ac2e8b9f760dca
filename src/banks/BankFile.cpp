#include "banks/BankFile.h"

#include <sys/stat.h>

#include "banks/Aiken.h"
#include "banks/BankTask.h"
#include "banks/Gift.h"
#include "banks/MoodleXml.h"
#include "model/FileIO.h"
#include "model/TestLoader.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// "T" or "T (M)", T and M plain numbers.
bool IsCountLine(std::string_view line)
{
    line = Trim(line);
    const size_t open = line.find('(');
    if (open == std::string_view::npos)
        return ParseInt32(line).has_value();
    const size_t close = line.find(')', open);
    return close == line.size() - 1 && ParseInt32(Trim(line.substr(0, open))).has_value() &&
           ParseInt32(Trim(line.substr(open + 1, close - open - 1))).has_value();
}

}  // namespace

BankKind TxtFileKind(std::string_view bytes)
{
    // Only the first four lines matter; the whole text is not split.
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (lines.size() < 4 && pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(pos, end - pos));
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    if (lines.size() == 4 && IsCountLine(lines[2]) && Trim(lines[3]) == "--------")
        return BankKind::QuilmoTest;
    return bytes.find('{') != std::string_view::npos ? BankKind::Gift : BankKind::Aiken;
}

std::optional<BankKind> BankKindOf(const std::string& path, std::string_view bytes)
{
    const std::string ext = UpperExtension(path);
    if (ext == ".TXT")
        return TxtFileKind(bytes);
    if (ext == ".TST")
        return BankKind::QuilmoTest;
    return BankKindForOutput(path);
}

std::optional<BankKind> BankKindForOutput(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    if (ext == ".XML")
        return BankKind::MoodleXml;
    if (ext == ".GIFT")
        return BankKind::Gift;
    if (ext == ".AIKEN")
        return BankKind::Aiken;
    return std::nullopt;
}

Expected<BankImport> ReadBank(BankKind kind, std::string_view bytes, const BankLimits& limits)
{
    switch (kind) {
    case BankKind::MoodleXml: return ReadMoodleXml(bytes, limits);
    case BankKind::Gift: return ReadGift(bytes, limits);
    case BankKind::Aiken: return ReadAiken(bytes, limits);
    case BankKind::QuilmoTest: break;
    }
    return Error{kNotABank};
}

Expected<BankImport> ReadBankFile(const std::string& path, const BankLimits& limits)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) > limits.MaxFileBytes)
        return Error{"Файл слишком велик для банка вопросов (больше " +
                     std::to_string(limits.MaxFileBytes >> 20) + " МБ)."};
    auto bytes = ReadWholeFile(path, limits.MaxFileBytes);
    if (!bytes)
        return bytes.error();
    const auto kind = BankKindOf(path, *bytes);
    if (!kind)
        return Error{kWrongFileType};
    return ReadBank(*kind, *bytes, limits);
}

BankWriteResult WriteBank(BankKind kind, const std::vector<TTask>& tasks, const std::string& title)
{
    switch (kind) {
    case BankKind::MoodleXml: return WriteMoodleXml(tasks, title);
    case BankKind::Gift: return WriteGift(tasks);
    case BankKind::Aiken: return WriteAiken(tasks);
    case BankKind::QuilmoTest: break;
    }
    return {};
}

std::string BankImportDoneText(size_t added, const std::string& path, const std::vector<SkippedQuestion>& skipped)
{
    std::string text = "Добавлено " + std::to_string(added) + " заданий\r\nиз файла: \"" + path + "\".";
    if (!skipped.empty()) {
        text += "\r\nПропущено вопросов: " + std::to_string(skipped.size()) + ".";
        for (const SkippedQuestion& s : skipped)
            text += "\r\n" + SkippedQuestionText(s);
    }
    return text;
}

}  // namespace quilmo
