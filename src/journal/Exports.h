#pragma once
// The journal's exports of its table: tab-separated text and a spreadsheet
// workbook; and the chart as a Windows bitmap.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/JournalTexts.h"
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

// A cell as a spreadsheet takes typed text: a whole or decimal number (a
// decimal comma or point) becomes a number, a percentage in the result
// column becomes its fraction, anything else stays text.
struct SheetCell {
    enum class Kind { Empty, Number, Percent, Text };
    Kind kind = Kind::Empty;
    double Number = 0;
    std::string Text;
    bool operator==(const SheetCell&) const = default;
};
SheetCell TypedInput(std::string_view text);
// The "Результат" column: "," becomes "." first, then "66.7%" is 0.667.
SheetCell PercentInput(std::string_view text);

inline constexpr int kResultColumn = 4;
inline constexpr const char* kPercentFormat = "00.0%";  // shown with the decimal comma here
inline constexpr uint32_t kHeaderColour = 0x000080;     // colour 11 of the classic palette

// Writes the table as an Office Open XML workbook (whatever the name's
// extension) with one sheet named SheetName(now): every cell's text converted
// as above, the header row bold in colour 11, the result column in percent.
// The file is replaced only once complete; the error is the system's text.
Status SaveAsExcelFile(const std::vector<RowTexts>& rows, const std::string& path,
                       const TDateTime& now);

// A 24-bit Windows bitmap, rows bottom-up and padded to four bytes. rgb holds
// three bytes (red, green, blue) per pixel, rows top-down without padding.
std::string EncodeBmp24(int32_t width, int32_t height, const std::vector<uint8_t>& rgb);

}  // namespace quilmo::journal
