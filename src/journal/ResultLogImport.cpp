#include "journal/ResultLogImport.h"

#include <optional>

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

namespace quilmo::journal {

namespace {

// A log grows by about a kilobyte a session; years of a busy classroom fit.
constexpr uint64_t kMaxLogBytes = uint64_t(256) << 20;
constexpr size_t kBlockLines = 20;

const std::string kHyphens(48, '-');

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// The text between prefix and suffix, when the line has both.
std::optional<std::string> Between(std::string_view line, std::string_view prefix, std::string_view suffix)
{
    if (line.size() < prefix.size() + suffix.size() || !StartsWith(line, prefix) || !EndsWith(line, suffix))
        return std::nullopt;
    return std::string(line.substr(prefix.size(), line.size() - prefix.size() - suffix.size()));
}

std::optional<int32_t> NumberBetween(std::string_view line, std::string_view prefix, std::string_view suffix)
{
    const auto text = Between(line, prefix, suffix);
    return text ? ParseInt32(*text) : std::nullopt;
}

// "Из них правильно: 3 (75,0% выполненых заданий)." -> 3.
std::optional<int32_t> CountWithShare(std::string_view line, std::string_view prefix)
{
    const auto inner = Between(line, prefix, "% выполненых заданий).");
    if (!inner)
        return std::nullopt;
    const size_t open = inner->find(" (");
    if (open == std::string::npos)
        return std::nullopt;
    return ParseInt32(std::string_view(*inner).substr(0, open));
}

// One or two digits.
std::optional<int> SmallNumber(std::string_view s)
{
    if (s.empty() || s.size() > 2)
        return std::nullopt;
    const auto n = ParseInt32(s);
    if (!n || s[0] == '-' || s[0] == '+')
        return std::nullopt;
    return *n;
}

// "hh:nn:ss" as seconds since midnight.
std::optional<int32_t> TimeOfDay(std::string_view s)
{
    const size_t a = s.find(':');
    const size_t b = a == std::string_view::npos ? a : s.find(':', a + 1);
    if (b == std::string_view::npos)
        return std::nullopt;
    const auto h = SmallNumber(s.substr(0, a));
    const auto n = SmallNumber(s.substr(a + 1, b - a - 1));
    const auto sec = SmallNumber(s.substr(b + 1));
    if (!h || !n || !sec || *h > 23 || *n > 59 || *sec > 59)
        return std::nullopt;
    return *h * 3600 + *n * 60 + *sec;
}

std::optional<int32_t> TimeBetween(std::string_view line, std::string_view prefix)
{
    const auto text = Between(line, prefix, ".");
    return text ? TimeOfDay(*text) : std::nullopt;
}

TDateTime OnDay(const TDateTime& day, int32_t seconds)
{
    TDateTime dt{day.Year, day.Month, day.Day, seconds / 3600, seconds / 60 % 60, seconds % 60, 0};
    return dt;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

TDateTime DayBefore(TDateTime dt)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (--dt.Day < 1) {
        if (--dt.Month < 1) {
            dt.Month = 12;
            --dt.Year;
        }
        dt.Day = kDays[dt.Month - 1] + (dt.Month == 2 && IsLeap(dt.Year) ? 1 : 0);
    }
    return dt;
}

// "---------- dd.mm.yyyy hh:nn:ss ----------"
std::optional<TDateTime> StampLine(std::string_view line)
{
    const auto inner = Between(line, "---------- ", " ----------");
    if (!inner || inner->find(' ') == std::string::npos)
        return std::nullopt;
    return ParseDateTime(*inner);
}

// "dd.mm.yyyy hh:nn:ss Начат тест: "..."" and the close line written when the
// program was closed during a session.
bool IsOneLineEntry(std::string_view line)
{
    const size_t blank = line.find(' ', line.find(' ') + 1);
    if (blank == std::string_view::npos || !ParseDateTime(line.substr(0, blank)))
        return false;
    const std::string_view rest = line.substr(blank + 1);
    return StartsWith(rest, "Начат тест: \"") || StartsWith(rest, "Закрыта программа во время теста: \"");
}

std::optional<uint8_t> EndModeOf(std::string_view line)
{
    if (line == "Тест закончен...")
        return uint8_t(1);
    if (line == "Тест остановлен...")
        return uint8_t(2);
    if (line == "Тест закончен - вышло время...")
        return uint8_t(3);
    return std::nullopt;
}

// Lines [0, 20) of a block, UTF-8.
std::optional<TTestResult> ParseBlock(const std::vector<std::string>& l)
{
    if (l.size() != kBlockLines || l[0] != kHyphens || l[19] != kHyphens)
        return std::nullopt;
    const auto stamp = StampLine(l[1]);
    const auto endMode = EndModeOf(l[2]);
    auto compName = Between(l[3], "Имя компьютера: \"", "\"");
    auto compUser = Between(l[4], "Имя пользователя компьютера: \"", "\"");
    auto userName = Between(l[5], "Имя пользователя (тестируемого): \"", "\"");
    auto title = Between(l[6], "Название теста: \"", "\"");
    auto file = Between(l[7], "Файл с тестом: \"", "\"");
    const auto total = NumberBetween(l[8], "Всего заданий в тесте: ", ".");
    const auto asked = NumberBetween(l[9], "Выполнено заданий: ", ".");
    const auto right = CountWithShare(l[10], "Из них правильно: ");
    const auto wrong = CountWithShare(l[11], "Из них ошибок: ");
    const auto share = Between(l[12], "Результат: ", "%.");
    const auto mark = Between(l[13], "Ваша оценка: \"", "\".");
    auto mask = Between(l[14], "Маска результата: \"", "\".");
    auto timeMask = Between(l[15], "Маска времени обдумывания (в секундах): \"", "\".");
    const auto start = TimeBetween(l[16], "Время начала: ");
    const auto end = TimeBetween(l[17], "Время завершения: ");
    const auto duration = TimeBetween(l[18], "Продолжительность: ");
    if (!stamp || !endMode || !compName || !compUser || !userName || !title || !file || !total ||
        !asked || !right || !wrong || !share || !mark || !mask || !timeMask || !start || !end || !duration)
        return std::nullopt;

    TTestResult r;
    r.UserName = std::move(*userName);
    r.CompName = std::move(*compName);
    r.CompUserName = std::move(*compUser);
    r.TestTitle = std::move(*title);
    r.TestFile = std::move(*file);
    r.TotalCount = *total;
    r.AskedCount = *asked;
    r.RightCount = *right;
    r.WrongCount = *wrong;
    r.NotAskedCount = *total - *right - *wrong;
    // A mark given as a word ("зачет") has no number; the journal's record
    // keeps numbers only.
    r.Mark = ParseInt32(*mark).value_or(0);
    r.EndTime = OnDay(*stamp, *end);
    r.StartTime = OnDay(*start > *end ? DayBefore(*stamp) : *stamp, *start);
    r.Duration = *duration;
    r.EndMode = *endMode;
    r.ResultMask = std::move(*mask);
    r.TimeMask = std::move(*timeMask);
    r.MaskValues = MaskValuesFromResultMask(Utf8ToCp1251(r.ResultMask));
    r.ReceivedTime = *stamp;
    r.FileCrc = 0;
    return r;
}

}  // namespace

ResultLogContents ReadResultLog(std::string_view bytes)
{
    std::vector<std::string> lines = SplitLines(bytes);
    for (std::string& line : lines)
        line = Cp1251ToUtf8(line);

    ResultLogContents contents;
    bool inStray = false;  // a run of lines that belong to nothing readable
    auto stray = [&] {
        if (!inStray)
            ++contents.Unreadable;
        inStray = true;
    };
    auto blockStartsAt = [&](size_t i) {
        return i + 1 < lines.size() && lines[i] == kHyphens && StampLine(lines[i + 1]);
    };

    size_t i = 0;
    while (i < lines.size()) {
        const std::string& line = lines[i];
        if (Trim(line).empty() || IsOneLineEntry(line)) {
            inStray = false;
            ++i;
            continue;
        }
        if (!blockStartsAt(i)) {
            stray();
            ++i;
            continue;
        }
        inStray = false;
        if (i + kBlockLines - 1 <= lines.size()) {
            // A block whose closing rule is missing still carries the whole
            // result; the rule that follows it may be the next block's first.
            const size_t end = i + kBlockLines - 1;
            const bool closed = end < lines.size() && lines[end] == kHyphens && !blockStartsAt(end);
            std::vector<std::string> block(lines.begin() + static_cast<long>(i),
                                           lines.begin() + static_cast<long>(end));
            block.push_back(kHyphens);
            if (auto result = ParseBlock(block)) {
                contents.Results.push_back(std::move(*result));
                i = closed ? end + 1 : end;
                continue;
            }
        }
        // A block that does not read: skip to its closing line, or to whatever
        // comes next that can be read.
        ++contents.Unreadable;
        i += 2;
        while (i < lines.size() && !blockStartsAt(i) && !IsOneLineEntry(lines[i])) {
            if (lines[i] == kHyphens) {
                ++i;
                break;
            }
            ++i;
        }
    }
    return contents;
}

Expected<ResultLogContents> ReadResultLogFile(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxLogBytes);
    if (!bytes)
        return bytes.error();
    return ReadResultLog(*bytes);
}

bool SameResult(const TTestResult& a, const TTestResult& b)
{
    auto sameSecond = [](const TDateTime& x, const TDateTime& y) {
        return x.Year == y.Year && x.Month == y.Month && x.Day == y.Day && x.Hour == y.Hour &&
               x.Minute == y.Minute && x.Second == y.Second;
    };
    return a.UserName == b.UserName && a.CompName == b.CompName && a.TestFile == b.TestFile &&
           sameSecond(a.StartTime, b.StartTime) && sameSecond(a.EndTime, b.EndTime) &&
           a.ResultMask == b.ResultMask;
}

std::string ResultKey(const TTestResult& r)
{
    std::string key;
    // Each text with its length first, so that no two field splits read alike.
    for (const std::string* text : {&r.UserName, &r.CompName, &r.TestFile, &r.ResultMask}) {
        key += std::to_string(text->size());
        key += ':';
        key += *text;
    }
    for (const TDateTime* t : {&r.StartTime, &r.EndTime})
        for (int part : {t->Year, t->Month, t->Day, t->Hour, t->Minute, t->Second}) {
            key += ' ';
            key += std::to_string(part);
        }
    return key;
}

}  // namespace quilmo::journal
