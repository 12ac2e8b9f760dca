#include "journal/ClassRoster.h"

#include "journal/DateSerial.h"
#include "journal/JournalTexts.h"

namespace quilmo::journal {

const std::array<std::string_view, kClassColumnCount> kClassColumnHeaders = {
    "Компьютер", "IP", "Имя", "Тест", "Начат", "Состояние", "Оценка", "Результат",
};

size_t ClassRoster::Start(std::string_view compName, std::string_view address, std::string_view userName,
                          const TDateTime& at)
{
    ClassEntry entry;
    entry.CompName = std::string(compName);
    entry.Address = std::string(address);
    entry.UserName = std::string(userName);
    entry.Started = at;
    Rows.push_back(std::move(entry));
    OpenRows[OpenKey(compName, address, userName)].push_back(Rows.size() - 1);
    return Rows.size() - 1;
}

std::string ClassRoster::OpenKey(std::string_view compName, std::string_view address, std::string_view userName)
{
    std::string key;
    for (std::string_view part : {compName, address, userName}) {
        key += std::to_string(part.size());
        key += ':';
        key += part;
    }
    return key;
}

size_t ClassRoster::Finish(const TTestResult& result)
{
    auto open = OpenRows.find(OpenKey(result.CompName, result.RemoteIP, result.UserName));
    if (open == OpenRows.end())
        Start(result.CompName, result.RemoteIP, result.UserName, result.StartTime);
    open = OpenRows.find(OpenKey(result.CompName, result.RemoteIP, result.UserName));
    const size_t index = open->second.back();
    open->second.pop_back();
    if (open->second.empty())
        OpenRows.erase(open);
    ClassEntry& e = Rows[index];
    e.TestTitle = result.TestTitle;
    e.Finished = true;
    e.EndMode = result.EndMode;
    e.Mark = result.Mark;
    e.Share = ResultShareText(result);
    return index;
}

std::string ClassStateText(const ClassEntry& entry, const TDateTime& now)
{
    if (!entry.Finished) {
        const int64_t elapsed = SecondsBetween(entry.Started, now);
        return "тестируется " + FormatHhNnSs(elapsed > 0 ? elapsed : 0);
    }
    switch (entry.EndMode) {
    case 1:
        return "закончил";
    case 2:
        return "остановил";
    case 3:
        return "время вышло";
    default:
        return {};
    }
}

ClassRowTexts ClassRowTextsOf(const ClassEntry& entry, const TDateTime& now)
{
    return {
        entry.CompName,
        entry.Address,
        entry.UserName,
        entry.TestTitle,
        FormatDateTime("hh:nn:ss", entry.Started),
        ClassStateText(entry, now),
        entry.Finished ? std::to_string(entry.Mark) : std::string(),
        entry.Finished ? entry.Share : std::string(),
    };
}

}  // namespace quilmo::journal
