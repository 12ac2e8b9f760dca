#include "journal/Exports.h"

#include <xlsxwriter.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

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

// ---------------------------------------------------------------- typed input

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [-]digits[(,|.)digits]: the number, else nullopt.
std::optional<double> DecimalNumber(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t intStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i == intStart)
        return std::nullopt;
    if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
        const size_t fracStart = ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == fracStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    std::string plain(text);
    for (char& c : plain)
        if (c == ',')
            c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size())
        return std::nullopt;
    return value;
}

}  // namespace

SheetCell TypedInput(std::string_view text)
{
    SheetCell cell;
    if (text.empty())
        return cell;
    if (const auto number = DecimalNumber(text)) {
        cell.kind = SheetCell::Kind::Number;
        cell.Number = *number;
        return cell;
    }
    cell.kind = SheetCell::Kind::Text;
    cell.Text = std::string(text);
    return cell;
}

SheetCell PercentInput(std::string_view text)
{
    std::string plain(text);
    for (char& c : plain)
        if (c == ',')
            c = '.';
    if (!plain.empty() && plain.back() == '%') {
        if (const auto number = DecimalNumber(std::string_view(plain).substr(0, plain.size() - 1))) {
            SheetCell cell;
            cell.kind = SheetCell::Kind::Percent;
            cell.Number = *number / 100;
            return cell;
        }
    }
    return TypedInput(plain);
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

Error WorkbookError(lxw_error error, int savedErrno)
{
    if (error == LXW_ERROR_CREATING_XLSX_FILE && savedErrno != 0)
        return Error{SystemErrorText(savedErrno)};
    return Error{lxw_strerror(error)};
}

}  // namespace

Status SaveAsExcelFile(const std::vector<RowTexts>& rows, const std::string& path,
                       const TDateTime& now)
{
    int err = 0;
    const std::string temp = CreateTemporaryBeside(path, err);
    if (temp.empty())
        return Error{SystemErrorText(err)};

    errno = 0;
    lxw_workbook* workbook = workbook_new(temp.c_str());
    if (!workbook) {
        const int saved = errno;
        ::unlink(temp.c_str());
        return Error{saved != 0 ? SystemErrorText(saved) : lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)};
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, SheetName(now).c_str());
    lxw_format* header = workbook_add_format(workbook);
    format_set_bold(header);
    format_set_font_color(header, kHeaderColour);
    lxw_format* percent = workbook_add_format(workbook);
    format_set_num_format(percent, kPercentFormat);

    lxw_error failure = sheet ? LXW_NO_ERROR : LXW_ERROR_SHEETNAME_ALREADY_USED;
    for (size_t r = 0; r < rows.size() && failure == LXW_NO_ERROR; ++r) {
        const auto row = static_cast<lxw_row_t>(r);
        for (size_t c = 0; c < rows[r].size() && failure == LXW_NO_ERROR; ++c) {
            const auto col = static_cast<lxw_col_t>(c);
            const bool percentCell = r > 0 && c == kResultColumn;
            lxw_format* format = r == 0 ? header : percentCell ? percent : nullptr;
            const SheetCell cell = percentCell ? PercentInput(rows[r][c]) : TypedInput(rows[r][c]);
            switch (cell.kind) {
            case SheetCell::Kind::Empty:
                if (format)
                    failure = worksheet_write_blank(sheet, row, col, format);
                break;
            case SheetCell::Kind::Number:
            case SheetCell::Kind::Percent:
                failure = worksheet_write_number(sheet, row, col, cell.Number, format);
                break;
            case SheetCell::Kind::Text:
                failure = worksheet_write_string(sheet, row, col, CutToCellLength(cell.Text).c_str(), format);
                break;
            }
        }
    }
    if (failure != LXW_NO_ERROR) {
        workbook_close(workbook);
        ::unlink(temp.c_str());
        return Error{lxw_strerror(failure)};
    }
    errno = 0;
    const lxw_error closed = workbook_close(workbook);
    const int saved = errno;
    if (closed != LXW_NO_ERROR) {
        ::unlink(temp.c_str());
        return WorkbookError(closed, saved);
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
