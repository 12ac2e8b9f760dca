#pragma once
// The journal's exports of its table: tab-separated text and a spreadsheet
// workbook; and the chart as a Windows bitmap.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalTexts.h"
#include "journal/ResultProtocol.h"
#include "model/Expected.h"
#include "model/Regional.h"

namespace quilmo::journal {

// Every row of the table, the header included: the cells' texts in
// Windows-1251 with a TAB between two cells, each row ended by CR LF. Nothing
// is quoted or escaped.
std::string TabSeparatedText(const std::vector<RowTexts>& rows);
// Writes it to path, replacing the file only once complete.
Status SaveAsTextFile(const std::vector<RowTexts>& rows, const std::string& path);

// The default name the export offers: "yyyy_mm_dd hh_nn".
std::string ExportFileName(const TDateTime& now);
// "(dd-mm hh-nn-ss)".
std::string SheetName(const TDateTime& now);

inline constexpr int kResultColumn = 4;
inline constexpr const char* kPercentFormat = "0.0%";   // shown with the decimal comma here
inline constexpr const char* kTimeFormat = "hh:mm:ss";
inline constexpr const char* kDurationFormat = "[h]:mm:ss";
inline constexpr uint32_t kHeaderColour = 0x000080;     // colour 11 of the classic palette
inline constexpr const char* kTasksSheet = "Задания";
inline constexpr const char* kStatisticsSheet = "Статистика";

// Writes the journal as an Office Open XML workbook of three sheets:
// - SheetName(now): the results table, one row per result under the header
//   row (bold, colour 11), each cell typed: the mark and the counts as
//   numbers, "Результат" as a fraction shown in percent, the three times as
//   date-times shown as times of day and "Время" as a duration; the texts
//   always as text, so a CRC or a computer name of digits keeps its zeros. The
//   columns fit their contents, the header stays on screen, a filter spans
//   the table.
// - "Задания": per group of results of one test (ResultGroup), a heading
//   row, then one row per result with 1 (right), 0 (wrong) or nothing (not
//   asked) per task.
// - "Статистика": per group the summary and the task table of the item
//   statistics.
// The file is replaced only once complete; the error is the system's text.
Status SaveAsExcelFile(const std::vector<TTestResult>& results, const std::string& path,
                       const TDateTime& now);

// A 24-bit Windows bitmap, rows bottom-up and padded to four bytes. rgb holds
// three bytes (red, green, blue) per pixel, rows top-down without padding.
std::string EncodeBmp24(int32_t width, int32_t height, const std::vector<uint8_t>& rgb);

}  // namespace quilmo::journal
