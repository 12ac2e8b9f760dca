#pragma once
// What the journal window shows: the results table's columns and cells, and
// the lines of its message log.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

inline constexpr int kColumnCount = 21;

// Row 0 of the table; column 0 has no header.
extern const std::array<std::string_view, kColumnCount> kColumnHeaders;
extern const std::array<int, kColumnCount> kColumnWidths;
// True for the columns drawn centred; the others are left-aligned.
bool ColumnCentred(int column);

using RowTexts = std::array<std::string, kColumnCount>;
RowTexts ResultRowTexts(const TTestResult& result);

// "Результат": right answers of the tasks shown, "%1.1f%%". No task shown
// gives "0,0%".
std::string ResultShareText(const TTestResult& result);
// "END", "ABORT", "TIMEOUT", or "" for any other mode.
std::string EndModeText(uint8_t endMode);
// Eight upper-case hexadecimal digits.
std::string CrcText(uint32_t crc);

// The log lines; each begins with the date and time and a blank of its own.
std::string StartLogLine(const TDateTime& now, std::string_view compName, std::string_view address);
std::string StopLogLine(const TDateTime& now);
// "Сервер не запущен: порт %s недоступен (%s).", the box's text; the log line
// is the same after the date and time.
std::string NotStartedText(std::string_view port, std::string_view reason);
std::string NotStartedLogLine(const TDateTime& now, std::string_view port, std::string_view reason);
std::string ResultLogLine(const TTestResult& result);
std::string MessageLogLine(const TDateTime& now, std::string_view compName,
                           std::string_view address, std::string_view userName,
                           std::string_view text);

// The store could not keep what arrived; the journal still shows it.
std::string StoreErrorLogLine(const TDateTime& now, std::string_view reason);

// The question on opening the journal when an earlier run left results
// nobody exported; started is that run's first session.
std::string RestoreQuestion(size_t count, const TDateTime& started);

// What gathering runners' logs did.
struct ImportCounts {
    int Added = 0;       // new in the journal
    int Already = 0;     // the same result was there
    int Unreadable = 0;  // blocks that could not be read
};
// Its three lines, for the box and for quilmo-tool.
std::vector<std::string> ImportSummaryLines(const ImportCounts& counts);

// A RESULT the journal rejected, with its reason.
std::string RejectedLogLine(const TDateTime& received, std::string_view compName,
                            std::string_view address, std::string_view reason);
// The text of the malformed-result box; `more` counts those that arrived
// while the last box was open.
std::string MalformedResultText(int more);

inline constexpr const char* kServerStarted = "Сервер запущен...";
inline constexpr const char* kServerStopped = "Сервер остановлен...";
inline constexpr const char* kResultsReceived = "Получены результаты тестирования";
inline constexpr const char* kMalformedResult = "Ошибка 7777!";
inline constexpr const char* kMessageRejected = "Отклонено сообщение: ";

// Where a cell's centred text starts: integer division toward zero.
int CentredTextX(int left, int right, int textWidth);

// The table as text: the header row, then one row per result. With no result
// the table still has its empty data row.
std::vector<RowTexts> TableTexts(const std::vector<TTestResult>& results);

}  // namespace quilmo::journal
