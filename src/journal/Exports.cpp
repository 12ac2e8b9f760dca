#include "journal/Exports.h"

#include <xlsxwriter.h>

#include <atomic>
#include <cerrno>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "journal/DateSerial.h"
#include "journal/ItemStatistics.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"

namespace quilmo::journal {

// ---------------------------------------------------------------- text

std::string TabSeparatedText(const std::vector<RowTexts>& rows)
{
    std::string text;
    for (const RowTexts& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            text += Utf8ToCp1251(row[c]);
        }
        text += "\r\n";
    }
    return text;
}

Status SaveAsTextFile(const std::vector<RowTexts>& rows, const std::string& path)
{
    return WriteFileAtomically(path, TabSeparatedText(rows));
}

std::string ExportFileName(const TDateTime& now)
{
    return FormatDateTime("yyyy_mm_dd hh_nn", now);
}

std::string SheetName(const TDateTime& now)
{
    // Built by appending: GCC 12 warns wrongly about a literal + string here.
    std::string name = "(";
    name += FormatDateTime("dd-mm hh-nn-ss", now);
    name += ')';
    return name;
}

// ---------------------------------------------------------------- workbook

namespace {

// A spreadsheet cell holds at most this many characters.
constexpr size_t kMaxCellChars = 32767;

std::string CutToCellLength(const std::string& text)
{
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > kMaxCellChars)
            return text.substr(0, i);
    }
    return text;
}

// An empty file of our own beside the target, to be renamed over it.
std::string CreateTemporaryBeside(const std::string& path, int& err)
{
    static std::atomic<unsigned> counter{0};
    const size_t cut = path.rfind('/');
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string base = path.substr(folder.size(), 160);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = folder + "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
                                 std::to_string(counter++);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) {
            err = errno;
            return {};
        }
    }
    err = EEXIST;
    return {};
}

// The library reports a failed write of the file or of its temporary parts
// as a code of its own ("Zip generic error ZIP_ERRNO ..."); the system's
// error it met is the reason the user can act on.
Error WorkbookError(const std::string& path, lxw_error error, int savedErrno)
{
    const bool systemError = error == LXW_ERROR_CREATING_XLSX_FILE ||
                             error == LXW_ERROR_CREATING_TMPFILE ||
                             error == LXW_ERROR_ZIP_FILE_OPERATION ||
                             error == LXW_ERROR_ZIP_FILE_ADD;
    if (systemError && savedErrno != 0)
        return Error{SaveErrorText(path, SystemErrorText(savedErrno))};
    return Error{SaveErrorText(path, lxw_strerror(error))};
}

}  // namespace

namespace {

size_t CharCount(std::string_view text)
{
    size_t chars = 0;
    for (const char c : text)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return chars;
}

// Writes cells and keeps the first failure; every later write is skipped.
// Tracks the widest text of each column for fitting the widths.
class SheetWriter {
public:
    explicit SheetWriter(lxw_worksheet* sheet, lxw_error failure = LXW_NO_ERROR)
        : sheet_(sheet), failure_(sheet ? failure : LXW_ERROR_SHEETNAME_ALREADY_USED)
    {
    }
    lxw_worksheet* Sheet() const { return sheet_; }
    lxw_error Failure() const { return failure_; }

    // Cells beyond the last row or column a sheet can hold are left out: a
    // test with more tasks than a sheet has columns must not cost the teacher
    // the whole workbook.
    static bool Fits(size_t row, size_t col) { return row < LXW_ROW_MAX && col < LXW_COL_MAX; }

    // An empty text writes nothing, unless it carries a format.
    void Text(size_t row, size_t col, const std::string& text, lxw_format* format = nullptr)
    {
        if (!Fits(row, col))
            return;
        if (text.empty()) {
            if (format)
                Keep(worksheet_write_blank(sheet_, Row(row), Col(col), format));
            return;
        }
        const std::string cut = CutToCellLength(text);
        Measure(col, CharCount(cut));
        Keep(worksheet_write_string(sheet_, Row(row), Col(col), cut.c_str(), format));
    }
    // shownChars: how wide the number reads in its format.
    void Number(size_t row, size_t col, double value, lxw_format* format, size_t shownChars)
    {
        if (!Fits(row, col))
            return;
        Measure(col, shownChars);
        Keep(worksheet_write_number(sheet_, Row(row), Col(col), value, format));
    }
    // A heading in the first column, free to run over the columns beside it:
    // it does not widen its column.
    void Heading(size_t row, const std::string& text, lxw_format* format)
    {
        if (!Fits(row, 0))
            return;
        Keep(worksheet_write_string(sheet_, Row(row), 0, CutToCellLength(text).c_str(), format));
    }
    void Blank(size_t row, size_t col, lxw_format* format)
    {
        if (!Fits(row, col))
            return;
        Keep(worksheet_write_blank(sheet_, Row(row), Col(col), format));
    }
    void Measure(size_t col, size_t chars)
    {
        if (widest_.size() <= col)
            widest_.resize(col + 1, 0);
        widest_[col] = std::max(widest_[col], chars);
    }
    // Column widths in characters from the widest entries, a little margin
    // for the filter button, within sensible bounds.
    void FitColumns(size_t minChars, size_t maxChars)
    {
        for (size_t c = 0; c < widest_.size() && failure_ == LXW_NO_ERROR; ++c) {
            const size_t chars = std::clamp(widest_[c] + 3, minChars, maxChars);
            Keep(worksheet_set_column(sheet_, Col(c), Col(c), static_cast<double>(chars), nullptr));
        }
    }
    void Keep(lxw_error e)
    {
        if (failure_ == LXW_NO_ERROR)
            failure_ = e;
    }
    bool Ok() const { return failure_ == LXW_NO_ERROR; }

private:
    static lxw_row_t Row(size_t r) { return static_cast<lxw_row_t>(r); }
    static lxw_col_t Col(size_t c) { return static_cast<lxw_col_t>(c); }

    lxw_worksheet* sheet_;
    lxw_error failure_;
    std::vector<size_t> widest_;
};

struct Formats {
    lxw_format* Header;
    lxw_format* Percent;
    lxw_format* Time;
    lxw_format* Duration;
    lxw_format* MinutesSeconds;
    lxw_format* Decimal2;
    lxw_format* Decimal1;
    lxw_format* Bold;
};

Formats AddFormats(lxw_workbook* workbook)
{
    Formats f{};
    f.Header = workbook_add_format(workbook);
    format_set_bold(f.Header);
    format_set_font_color(f.Header, kHeaderColour);
    auto numeric = [&](const char* code) {
        lxw_format* format = workbook_add_format(workbook);
        format_set_num_format(format, code);
        return format;
    };
    f.Percent = numeric(kPercentFormat);
    f.Time = numeric(kTimeFormat);
    f.Duration = numeric(kDurationFormat);
    f.MinutesSeconds = numeric("[m]:ss");
    f.Decimal2 = numeric("0.00");
    f.Decimal1 = numeric("0.0");
    f.Bold = workbook_add_format(workbook);
    format_set_bold(f.Bold);
    return f;
}

// A date-time as a spreadsheet's day number shown as a time of day; one a
// spreadsheet cannot hold goes in as the text the table shows.
void DateTimeCell(SheetWriter& w, size_t row, size_t col, const TDateTime& dt, const Formats& f)
{
    if (const auto serial = SpreadsheetSerial(dt))
        w.Number(row, col, *serial, f.Time, 8);
    else
        w.Text(row, col, FormatDateTime("hh:nn:ss", dt));
}

void WriteResultsSheet(SheetWriter& w, const std::vector<TTestResult>& results, const Formats& f)
{
    for (size_t c = 0; c < kColumnCount; ++c)
        w.Text(0, c, std::string(kColumnHeaders[c]), f.Header);
    for (size_t i = 0; i < results.size() && w.Ok(); ++i) {
        const TTestResult& r = results[i];
        const RowTexts shown = ResultRowTexts(r);
        const size_t row = i + 1;
        auto count = [&](size_t col, int32_t value) {
            w.Number(row, col, value, nullptr, CharCount(shown[col]));
        };
        DateTimeCell(w, row, 0, r.ReceivedTime, f);
        w.Text(row, 1, r.CompName);
        w.Text(row, 2, r.UserName);
        count(3, r.Mark);
        w.Number(row, kResultColumn, r.AskedCount != 0 ? double(r.RightCount) / double(r.AskedCount) : 0.0,
                 f.Percent, CharCount(shown[kResultColumn]));
        count(5, r.TotalCount);
        count(6, r.AskedCount);
        count(7, r.RightCount);
        count(8, r.WrongCount);
        count(9, r.NotAskedCount);
        w.Text(row, 10, r.ResultMask);
        w.Text(row, 11, r.TimeMask);
        DateTimeCell(w, row, 12, r.StartTime, f);
        DateTimeCell(w, row, 13, r.EndTime, f);
        // Unlike the table's time of day, the duration does not wrap at 24 hours.
        w.Number(row, 14, r.Duration / 86400.0, f.Duration, 8);
        w.Text(row, 15, r.TestTitle);
        w.Text(row, 16, r.TestFile);
        w.Text(row, 17, CrcText(r.FileCrc));
        w.Text(row, 18, r.CompUserName);
        w.Text(row, 19, r.RemoteIP);
        w.Text(row, 20, EndModeText(r.EndMode));
    }
    // Without results the table still has its (empty) data row.
    if (results.empty())
        w.Blank(1, kResultColumn, f.Percent);
    if (!w.Ok())
        return;
    w.FitColumns(4, 60);
    worksheet_freeze_panes(w.Sheet(), 1, 0);
    const size_t last = std::max<size_t>(results.size(), 1);
    w.Keep(worksheet_autofilter(w.Sheet(), 0, 0, static_cast<lxw_row_t>(last), kColumnCount - 1));
}

std::string GroupHeading(const ItemStatistics& stats)
{
    return "Тест: \"" + stats.TestTitle + "\", файл: " + stats.TestFile + ", CRC " + CrcText(stats.FileCrc);
}

void WriteTasksSheet(SheetWriter& w, const std::vector<TTestResult>& results,
                     const std::vector<ResultGroup>& groups, const std::vector<ItemStatistics>& stats,
                     const Formats& f)
{
    size_t row = 0;
    for (size_t g = 0; g < groups.size() && w.Ok(); ++g) {
        if (g > 0)
            ++row;  // a blank row between two tests
        w.Heading(row, GroupHeading(stats[g]), f.Bold);
        const size_t tasks = std::min<size_t>(results[groups[g].front()].MaskValues.size(), LXW_COL_MAX - 2);
        for (size_t t = 0; t < tasks && w.Ok(); ++t)
            w.Number(row, 2 + t, static_cast<double>(t + 1), f.Header, std::to_string(t + 1).size());
        ++row;
        for (const size_t i : groups[g]) {
            const TTestResult& r = results[i];
            w.Text(row, 0, r.UserName);
            w.Text(row, 1, r.CompName);
            for (size_t t = 0; t < tasks && w.Ok(); ++t)
                if (r.MaskValues[t] != -1)
                    w.Number(row, 2 + t, r.MaskValues[t] == 1 ? 1 : 0, nullptr, 1);
            ++row;
        }
    }
    if (!w.Ok())
        return;
    w.FitColumns(3, 40);
    worksheet_freeze_panes(w.Sheet(), 0, 2);
}

void WriteStatisticsSheet(SheetWriter& w, const std::vector<ItemStatistics>& stats, const Formats& f)
{
    size_t row = 0;
    for (size_t g = 0; g < stats.size() && w.Ok(); ++g) {
        const ItemStatistics& s = stats[g];
        if (g > 0)
            ++row;
        w.Heading(row, GroupHeading(s), f.Bold);
        ++row;
        // The summary: its labels as the window shows them, the figures as numbers.
        const auto labels = SummaryTexts(s.Summary);
        const GroupSummary& sum = s.Summary;
        const std::optional<double> figures[] = {
            sum.Results, sum.Mean, sum.StdDev, sum.Median, sum.Minimum, sum.Maximum, sum.Complete, sum.Alpha, sum.Sem,
        };
        lxw_format* formats[] = {nullptr, f.Decimal2, f.Decimal2, f.Decimal1, nullptr, nullptr, nullptr,
                                 f.Decimal2, f.Decimal2};
        static_assert(std::size(figures) == std::size(formats));
        for (size_t k = 0; k < labels.size() && k < std::size(figures) && w.Ok(); ++k, ++row) {
            w.Text(row, 0, labels[k].first);
            if (figures[k])
                w.Number(row, 1, *figures[k], formats[k], CharCount(labels[k].second));
        }
        ++row;
        for (size_t c = 0; c < kItemColumnCount; ++c)
            w.Text(row, c, kItemColumnHeaders[c], f.Header);
        ++row;
        for (size_t t = 0; t < s.Tasks.size() && w.Ok() && row < LXW_ROW_MAX; ++t, ++row) {
            const TaskStatistics& task = s.Tasks[t];
            const ItemRowTexts shown = ItemRowTextsOf(s, t);
            w.Number(row, 0, static_cast<double>(t + 1), nullptr, shown[0].size());
            w.Number(row, 1, task.Asked, nullptr, shown[1].size());
            w.Number(row, 2, task.Right, nullptr, shown[2].size());
            if (task.Asked > 0)
                w.Number(row, 3, double(task.Right) / double(task.Asked), f.Percent, CharCount(shown[3]));
            if (task.Discrimination)
                w.Number(row, 4, *task.Discrimination, f.Decimal2, CharCount(shown[4]));
            if (task.MeanSeconds)
                w.Number(row, 5, static_cast<double>(std::llround(*task.MeanSeconds)) / 86400.0,
                         f.MinutesSeconds, CharCount(shown[5]));
            w.Text(row, 6, task.Remark);
        }
    }
    if (!w.Ok())
        return;
    w.FitColumns(6, 40);
}

}  // namespace

Status SaveAsExcelFile(const std::vector<TTestResult>& results, const std::string& path,
                       const TDateTime& now)
{
    int err = 0;
    const std::string temp = CreateTemporaryBeside(path, err);
    if (temp.empty())
        return Error{SaveErrorText(path, SystemErrorText(err))};

    errno = 0;
    lxw_workbook* workbook = workbook_new(temp.c_str());
    if (!workbook) {
        const int saved = errno;
        ::unlink(temp.c_str());
        return WorkbookError(path, saved != 0 ? LXW_ERROR_CREATING_XLSX_FILE : LXW_ERROR_MEMORY_MALLOC_FAILED,
                             saved);
    }
    const Formats formats = AddFormats(workbook);
    const std::vector<ResultGroup> groups = AllGroups(results);
    std::vector<ItemStatistics> stats;
    stats.reserve(groups.size());
    for (const ResultGroup& g : groups)
        stats.push_back(ComputeItemStatistics(results, g));

    SheetWriter table(workbook_add_worksheet(workbook, SheetName(now).c_str()));
    WriteResultsSheet(table, results, formats);
    SheetWriter tasks(workbook_add_worksheet(workbook, kTasksSheet), table.Failure());
    if (tasks.Ok())
        WriteTasksSheet(tasks, results, groups, stats, formats);
    SheetWriter statistics(workbook_add_worksheet(workbook, kStatisticsSheet), tasks.Failure());
    if (statistics.Ok())
        WriteStatisticsSheet(statistics, stats, formats);

    if (!statistics.Ok()) {
        workbook_close(workbook);
        ::unlink(temp.c_str());
        return WorkbookError(path, statistics.Failure(), 0);
    }
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    const int saved = errno;
    if (closed != LXW_NO_ERROR) {
        ::unlink(temp.c_str());
        return WorkbookError(path, closed, saved);
    }
    // On disk before it replaces the old file, as the text export is.
    const Status replaced = ReplaceWithTemporary(temp, path);
    if (!replaced)
        ::unlink(temp.c_str());
    return replaced;
}

// ---------------------------------------------------------------- bitmap

namespace {

void Put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

std::string EncodeBmp24(int32_t width, int32_t height, const std::vector<uint8_t>& rgb)
{
    if (width < 1 || height < 1 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        return {};
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
    constexpr uint32_t kHeaders = 14 + 40;

    std::string bmp;
    bmp.reserve(kHeaders + imageBytes);
    bmp += "BM";
    Put32(bmp, kHeaders + imageBytes);  // file size
    Put32(bmp, 0);                      // reserved
    Put32(bmp, kHeaders);               // offset of the pixels
    Put32(bmp, 40);                     // BITMAPINFOHEADER
    Put32(bmp, static_cast<uint32_t>(width));
    Put32(bmp, static_cast<uint32_t>(height));  // positive: bottom-up
    Put16(bmp, 1);                      // planes
    Put16(bmp, 24);                     // bits per pixel
    Put32(bmp, 0);                      // no compression
    Put32(bmp, imageBytes);
    Put32(bmp, 3780);                   // 96 dots per inch, in dots per metre
    Put32(bmp, 3780);
    Put32(bmp, 0);                      // no palette
    Put32(bmp, 0);
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* p = rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 3;
        for (int32_t x = 0; x < width; ++x, p += 3) {
            bmp += static_cast<char>(p[2]);
            bmp += static_cast<char>(p[1]);
            bmp += static_cast<char>(p[0]);
        }
        bmp.append(rowBytes - static_cast<uint32_t>(width) * 3, '\0');
    }
    return bmp;
}

}  // namespace quilmo::journal
