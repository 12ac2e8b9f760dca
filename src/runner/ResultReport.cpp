#include "runner/ResultReport.h"

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

const std::string kHyphens(48, '-');

std::string Quoted(const std::string& s)
{
    return "\"" + s + "\"";
}

}  // namespace

std::string EndLine(uint8_t endMode)
{
    switch (endMode) {
    case EndFinished: return "Тест закончен...";
    case EndStopped: return "Тест остановлен...";
    case EndTimeout: return "Тест закончен - вышло время...";
    default: return {};
    }
}

std::string MarkWord(const TTestResult& result)
{
    return result.MarkText.empty() ? std::to_string(result.Mark) : result.MarkText;
}

std::string RightShare(const TTestResult& r)
{
    return FormatShare(int64_t(r.RightCount) * 100, r.AskedCount);
}

std::string WrongShare(const TTestResult& r)
{
    return FormatShare(int64_t(r.WrongCount) * 100, r.AskedCount);
}

std::string ResultShare(const TTestResult& r)
{
    return FormatShare(int64_t(r.RightCount) * 100, r.TotalCount);
}

std::vector<std::string> LearnerText(const TTestResult& r)
{
    return {
        EndLine(r.EndMode),
        "Название теста: " + Quoted(r.TestTitle),
        "Всего заданий в тесте: " + std::to_string(r.TotalCount) + ".",
        "Вами выполнено заданий: " + std::to_string(r.AskedCount) + ".",
        "Из них правильно: " + std::to_string(r.RightCount) + " (" + RightShare(r) +
            "% выполненых заданий).",
        "Из них ошибок: " + std::to_string(r.WrongCount) + " (" + WrongShare(r) +
            "% выполненых заданий).",
        "Ваш результат: " + ResultShare(r) + "%.",
        "Ваша оценка: " + Quoted(MarkWord(r)) + ".",
        "Время начала: " + FormatDateTime("hh:nn:ss", r.StartTime) + ".",
        "Время завершения: " + FormatDateTime("hh:nn:ss", r.EndTime) + ".",
        "Продолжительность: " + FormatHhNnSs(r.Duration) + ".",
    };
}

std::vector<std::string> ReportBlock(const TTestResult& r, const TDateTime& now)
{
    return {
        kHyphens,
        "---------- " + FormatDateTime("dd.mm.yyyy hh:nn:ss", now) + " ----------",
        EndLine(r.EndMode),
        "Имя компьютера: " + Quoted(r.CompName),
        "Имя пользователя компьютера: " + Quoted(r.CompUserName),
        "Имя пользователя (тестируемого): " + Quoted(r.UserName),
        "Название теста: " + Quoted(r.TestTitle),
        "Файл с тестом: " + Quoted(r.TestFile),
        "Всего заданий в тесте: " + std::to_string(r.TotalCount) + ".",
        "Выполнено заданий: " + std::to_string(r.AskedCount) + ".",
        "Из них правильно: " + std::to_string(r.RightCount) + " (" + RightShare(r) +
            "% выполненых заданий).",
        "Из них ошибок: " + std::to_string(r.WrongCount) + " (" + WrongShare(r) +
            "% выполненых заданий).",
        "Результат: " + ResultShare(r) + "%.",
        "Ваша оценка: " + Quoted(MarkWord(r)) + ".",
        "Маска результата: " + Quoted(r.ResultMask) + ".",
        "Маска времени обдумывания (в секундах): " + Quoted(r.TimeMask) + ".",
        "Время начала: " + FormatDateTime("hh:nn:ss", r.StartTime) + ".",
        "Время завершения: " + FormatDateTime("hh:nn:ss", r.EndTime) + ".",
        "Продолжительность: " + FormatHhNnSs(r.Duration) + ".",
        kHyphens,
    };
}

std::string StartLogLine(const TDateTime& now, const std::string& title)
{
    return FormatDateTime("dd.mm.yyyy hh:nn:ss ", now) + "Начат тест: " + Quoted(title);
}

std::string CloseLogLine(const TDateTime& now, const std::string& title)
{
    return FormatDateTime("dd.mm.yyyy hh:nn:ss ", now) + "Закрыта программа во время теста: " +
           Quoted(title);
}

std::string ReportLogPath(const std::string& programDir, const std::string& dirForResult)
{
    if (dirForResult.empty())
        return LineLogPath(programDir);
    // The separator is added even after one already there; "a//b" names the same file.
    return dirForResult + "/" + kResultFileName;
}

std::string LineLogPath(const std::string& programDir)
{
    return programDir + kResultFileName;
}

Status AppendLogLines(const std::string& path, const std::vector<std::string>& lines)
{
    return AppendToFile(path, Utf8ToCp1251(JoinLinesCrLf(lines)));
}

}  // namespace quilmo
