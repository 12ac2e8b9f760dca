#include "journal/JournalTexts.h"

#include <cstdio>

namespace quilmo::journal {

const std::array<std::string_view, kColumnCount> kColumnHeaders = {
    "", "PC", "Имя", "Оценка", "Результат", "Всего", "Задано", "+", "-", "*", "Маска отв.",
    "Маска вр.", "Начат", "Закончен", "Время", "Тест", "Файл", "CRC файла", "User", "IP",
    "Реж. ок.",
};

const std::array<int, kColumnCount> kColumnWidths = {
    50, 64, 151, 50, 60, 40, 46, 38, 38, 38, 105, 99, 64, 79, 79, 373, 322, 64, 64, 64, 64,
};

bool ColumnCentred(int column)
{
    switch (column) {
    case 2:
    case 10:
    case 11:
    case 15:
    case 16:
        return false;
    default:
        return true;
    }
}

std::string ResultShareText(const TTestResult& r)
{
    return FormatShare(int64_t(r.RightCount) * 100, r.AskedCount) + "%";
}

std::string EndModeText(uint8_t endMode)
{
    switch (endMode) {
    case 1:
        return "END";
    case 2:
        return "ABORT";
    case 3:
        return "TIMEOUT";
    default:
        return {};
    }
}

std::string CrcText(uint32_t crc)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

RowTexts ResultRowTexts(const TTestResult& r)
{
    return {
        FormatDateTime("hh:nn:ss", r.ReceivedTime),
        r.CompName,
        r.UserName,
        std::to_string(r.Mark),
        ResultShareText(r),
        std::to_string(r.TotalCount),
        std::to_string(r.AskedCount),
        std::to_string(r.RightCount),
        std::to_string(r.WrongCount),
        std::to_string(r.NotAskedCount),
        r.ResultMask,
        r.TimeMask,
        FormatDateTime("hh:nn:ss", r.StartTime),
        FormatDateTime("hh:nn:ss", r.EndTime),
        FormatHhNnSs(r.Duration),
        r.TestTitle,
        r.TestFile,
        CrcText(r.FileCrc),
        r.CompUserName,
        r.RemoteIP,
        EndModeText(r.EndMode),
    };
}

namespace {

std::string Stamp(const TDateTime& dt)
{
    return FormatDateTime("dd.mm.yyyy hh:nn:ss ", dt) + " ";
}

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string s;
    for (const std::string_view p : parts)
        s += p;
    return s;
}

}  // namespace

std::string StartLogLine(const TDateTime& now, std::string_view compName, std::string_view address)
{
    return Concat({Stamp(now), compName, "(", address, "): ", kServerStarted});
}

std::string StopLogLine(const TDateTime& now)
{
    return Stamp(now) + kServerStopped;
}

std::string NotStartedText(std::string_view port, std::string_view reason)
{
    return Concat({"Сервер не запущен: порт ", port, " недоступен (", reason, ")."});
}

std::string NotStartedLogLine(const TDateTime& now, std::string_view port, std::string_view reason)
{
    return Stamp(now) + NotStartedText(port, reason);
}

std::string ResultLogLine(const TTestResult& r)
{
    return Concat({Stamp(r.ReceivedTime), r.CompName, "(", r.RemoteIP, ") [", r.UserName, "] ",
                   kResultsReceived, "."});
}

std::string MessageLogLine(const TDateTime& now, std::string_view compName,
                           std::string_view address, std::string_view userName,
                           std::string_view text)
{
    return Concat({Stamp(now), compName, "(", address, ") [", userName, "] ", text, "."});
}

std::string StoreErrorLogLine(const TDateTime& now, std::string_view reason)
{
    return Concat({Stamp(now), "Результаты не записаны в хранилище журнала: ", reason, "."});
}

std::string RestoreQuestion(size_t count, const TDateTime& started)
{
    return "Восстановить результаты (" + std::to_string(count) + "), полученные журналом " +
           FormatDateTime("dd.mm.yyyy hh:nn", started) + " и не сохраненные?";
}

std::vector<std::string> ImportSummaryLines(const ImportCounts& counts)
{
    return {
        "Добавлено результатов: " + std::to_string(counts.Added) + ".",
        "Уже были в журнале: " + std::to_string(counts.Already) + ".",
        "Не удалось прочитать блоков: " + std::to_string(counts.Unreadable) + ".",
    };
}

std::string RejectedLogLine(const TDateTime& received, std::string_view compName,
                            std::string_view address, std::string_view reason)
{
    return Concat({Stamp(received), compName, "(", address, ") ", kMessageRejected, reason, "."});
}

std::string MalformedResultText(int more)
{
    if (more <= 0)
        return kMalformedResult;
    return Concat({kMalformedResult, "\r\nПока это окно было открыто, пришло ещё ошибочных результатов: ",
                   std::to_string(more), "."});
}

int CentredTextX(int left, int right, int textWidth)
{
    return left + (right - left) / 2 - (textWidth + 2) / 2;
}

std::vector<RowTexts> TableTexts(const std::vector<TTestResult>& results)
{
    std::vector<RowTexts> rows;
    rows.reserve(results.size() + 2);
    RowTexts header;
    for (int c = 0; c < kColumnCount; ++c)
        header[static_cast<size_t>(c)] = std::string(kColumnHeaders[static_cast<size_t>(c)]);
    rows.push_back(header);
    for (const TTestResult& r : results)
        rows.push_back(ResultRowTexts(r));
    if (results.empty())
        rows.emplace_back();
    return rows;
}

}  // namespace quilmo::journal
