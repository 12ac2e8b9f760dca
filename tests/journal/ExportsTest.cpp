// The tab-separated export, the workbook read back from its zip, and bitmaps.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
// GCC 12's <regex>, built with the sanitizers, warns of its own internals as
// maybe uninitialized; the warning is about the library, not this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "journal/Exports.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "support/TempFolder.h"

namespace quilmo::journal {
namespace {

using testing::TempFolder;

const std::string kHeaderLine =
    "\tPC\tИмя\tОценка\tРезультат\tВсего\tЗадано\t+\t-\t*\tМаска отв.\tМаска вр.\tНачат\t"
    "Закончен\tВремя\tТест\tФайл\tCRC файла\tUser\tIP\tРеж. ок.\r\n";

TTestResult Result(const std::string& user, int right, int asked, uint8_t endMode)
{
    TTestResult r;
    r.UserName = user;
    r.CompName = "PC-3";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/Дроби.tst";
    r.TotalCount = 8;
    r.AskedCount = asked;
    r.RightCount = right;
    r.WrongCount = asked - right;
    r.NotAskedCount = 8 - asked;
    r.Mark = 4;
    r.StartTime = {2024, 3, 5, 9, 0, 0, 0};
    r.EndTime = {2024, 3, 5, 9, 10, 0, 0};
    r.Duration = 600;
    r.EndMode = endMode;
    r.ResultMask = "++-+++-+";
    r.MaskValues = MaskValuesFromResultMask(r.ResultMask);
    r.TimeMask = "1;2;3;4;5;6;7;8";
    r.RemoteIP = "10.0.0.3";
    r.ReceivedTime = {2024, 3, 5, 9, 10, 2, 0};
    r.FileCrc = 0x00001234;
    return r;
}

TEST(ExportsTest, TextOfAnEmptyJournal)
{
    EXPECT_EQ(TabSeparatedText(TableTexts({})),
              Utf8ToCp1251(kHeaderLine) + std::string(20, '\t') + "\r\n");
}

TEST(ExportsTest, TextOfTwoResults)
{
    const std::string expected =
        kHeaderLine +
        "09:10:02\tPC-3\tИванов\t4\t75,0%\t8\t8\t6\t2\t0\t++-+++-+\t1;2;3;4;5;6;7;8\t09:00:00\t"
        "09:10:00\t00:10:00\tДроби\t/srv/Дроби.tst\t00001234\tpupil\t10.0.0.3\tEND\r\n"
        "09:10:02\tPC-3\tПетрова\t4\t66,7%\t8\t3\t2\t1\t5\t++-+++-+\t1;2;3;4;5;6;7;8\t09:00:00\t"
        "09:10:00\t00:10:00\tДроби\t/srv/Дроби.tst\t00001234\tpupil\t10.0.0.3\tABORT\r\n";
    const auto rows = TableTexts({Result("Иванов", 6, 8, 1), Result("Петрова", 2, 3, 2)});
    EXPECT_EQ(TabSeparatedText(rows), Utf8ToCp1251(expected));

    TempFolder folder;
    ASSERT_TRUE(SaveAsTextFile(rows, folder / "2024_03_05 09_41.TXT"));
    EXPECT_EQ(folder.Read("2024_03_05 09_41.TXT"), Utf8ToCp1251(expected));
    EXPECT_FALSE(SaveAsTextFile(rows, folder / "missing/x.TXT"));
}

TEST(ExportsTest, Names)
{
    const TDateTime now{2024, 3, 5, 9, 41, 7, 0};
    EXPECT_EQ(ExportFileName(now), "2024_03_05 09_41");
    EXPECT_EQ(SheetName(now), "(05-03 09-41-07)");
}

// ---------------------------------------------------------------- the workbook read back

std::string Unzip(const std::string& zip, const std::string& member)
{
    const std::string command = "unzip -p '" + zip + "' '" + member + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {};
    std::string out;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

std::string XmlText(std::string s)
{
    for (const auto& [entity, plain] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        for (size_t at = s.find(entity); at != std::string::npos; at = s.find(entity, at + 1))
            s.replace(at, entity.size(), plain);
    }
    return s;
}

struct XlsxCell {
    std::string Type;   // "s" shared string, "" number
    std::string Value;  // the number, or the shared string's text
    int Style = 0;
    bool operator==(const XlsxCell&) const = default;
};

// Every cell of sheet n (1-based, in the order of the workbook) by its reference ("A1").
std::map<std::string, XlsxCell> ReadSheet(const std::string& zip, int n = 1)
{
    std::vector<std::string> strings;
    const std::string shared = Unzip(zip, "xl/sharedStrings.xml");
    // Found by hand, not by <regex>: its matcher recurses once per character, and
    // a mask of 16,400 characters overflows the stack under AddressSanitizer.
    for (size_t at = shared.find("<si><t"); at != std::string::npos; at = shared.find("<si><t", at)) {
        const size_t open = shared.find('>', at + 6);
        const size_t close = shared.find("</t></si>", open);
        if (open == std::string::npos || close == std::string::npos)
            break;
        strings.push_back(XmlText(shared.substr(open + 1, close - open - 1)));
        at = close;
    }

    std::map<std::string, XlsxCell> cells;
    const std::string sheet = Unzip(zip, "xl/worksheets/sheet" + std::to_string(n) + ".xml");
    const std::regex c("<c r=\"([A-Z]+[0-9]+)\"( s=\"([0-9]+)\")?( t=\"([a-z]+)\")?(/>|><v>([^<]*)</v></c>)");
    for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), c); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        XlsxCell cell;
        cell.Style = m[3].matched ? std::stoi(m[3]) : 0;
        cell.Type = m[5];
        cell.Value = m[7];
        if (cell.Type == "s")
            cell.Value = strings.at(std::stoul(cell.Value));
        cells[m[1]] = cell;
    }
    return cells;
}

// The styles of a workbook: per cell style its number format and font.
class Styles {
public:
    explicit Styles(const std::string& zip)
    {
        const std::string styles = Unzip(zip, "xl/styles.xml");
        const std::regex fontTag("<font>(.*?)</font>"), xfTag("<xf [^>]*>"),
            numFmtTag("<numFmt numFmtId=\"([0-9]+)\" formatCode=\"([^\"]*)\"/>");
        for (auto it = std::sregex_iterator(styles.begin(), styles.end(), fontTag); it != std::sregex_iterator(); ++it)
            fonts_.push_back((*it)[1]);
        for (auto it = std::sregex_iterator(styles.begin(), styles.end(), numFmtTag); it != std::sregex_iterator(); ++it)
            custom_[std::stoi((*it)[1])] = XmlText((*it)[2]);
        const std::string cellXfs = styles.substr(styles.find("<cellXfs"));
        for (auto it = std::sregex_iterator(cellXfs.begin(), cellXfs.end(), xfTag); it != std::sregex_iterator(); ++it)
            xfs_.push_back((*it)[0]);
    }
    // The format code of a cell style, built-in formats by their standard codes.
    std::string NumberFormat(int style) const
    {
        static const std::map<int, std::string> builtIn = {
            {0, "General"}, {1, "0"}, {2, "0.00"}, {9, "0%"}, {10, "0.00%"}, {20, "h:mm"},
            {21, "h:mm:ss"}, {45, "mm:ss"}, {46, "[h]:mm:ss"}, {47, "mmss.0"}};
        const int id = Attribute(style, "numFmtId");
        if (custom_.count(id))
            return custom_.at(id);
        return builtIn.count(id) ? builtIn.at(id) : "built-in " + std::to_string(id);
    }
    std::string Font(int style) const { return fonts_.at(static_cast<size_t>(Attribute(style, "fontId"))); }
    bool HeaderFont(int style) const
    {
        const std::string font = Font(style);
        return font.find("<b/>") != std::string::npos && font.find("<color rgb=\"FF000080\"/>") != std::string::npos;
    }

private:
    int Attribute(int style, const std::string& name) const
    {
        std::smatch m;
        const std::string& xf = xfs_.at(static_cast<size_t>(style));
        return std::regex_search(xf, m, std::regex(name + "=\"([0-9]+)\"")) ? std::stoi(m[1]) : 0;
    }
    std::vector<std::string> fonts_, xfs_;
    std::map<int, std::string> custom_;
};

double Number(const std::map<std::string, XlsxCell>& cells, const std::string& ref)
{
    const XlsxCell& cell = cells.at(ref);
    EXPECT_EQ(cell.Type, "") << ref << " holds no number";
    return std::stod(cell.Value);
}

// Column widths of a sheet, by 1-based column.
std::map<int, double> ColumnWidths(const std::string& zip, int n)
{
    std::map<int, double> widths;
    const std::string sheet = Unzip(zip, "xl/worksheets/sheet" + std::to_string(n) + ".xml");
    const std::regex col("<col min=\"([0-9]+)\" max=\"([0-9]+)\" width=\"([0-9.]+)\"");
    for (auto it = std::sregex_iterator(sheet.begin(), sheet.end(), col); it != std::sregex_iterator(); ++it)
        for (int c = std::stoi((*it)[1]); c <= std::stoi((*it)[2]); ++c)
            widths[c] = std::stod((*it)[3]);
    return widths;
}

// Two results of one test (the second stopped after three tasks), one of
// another test, a computer named by digits, a duration over a day.
std::vector<TTestResult> WorkbookJournal()
{
    TTestResult first = Result("Иванов", 6, 8, 1);
    first.CompName = "007";
    first.Duration = 90000;
    TTestResult second = Result("Петрова", 2, 3, 2);
    second.ResultMask = "+-+*****";
    second.MaskValues = MaskValuesFromResultMask(second.ResultMask);
    second.Mark = 2;
    TTestResult other = Result("Сидоров", 1, 2, 3);
    other.TestTitle = "Степени";
    other.TestFile = "/srv/Степени.tst";
    other.FileCrc = 0xFF;
    other.ResultMask = "+-*";
    other.MaskValues = MaskValuesFromResultMask(other.ResultMask);
    other.TimeMask = "30;95;0";
    return {first, second, other};
}

// The journal above written once per test as journal.xlsx.
class WorkbookTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SaveAsExcelFile(WorkbookJournal(), path, {2024, 3, 5, 9, 41, 7, 0})); }
    TempFolder folder;
    const std::string path = folder / "journal.xlsx";
    const Styles& Style()
    {
        if (!styles)
            styles.emplace(path);
        return *styles;
    }

private:
    std::optional<Styles> styles;
};

TEST_F(WorkbookTest, WorkbookHasTheTableTheTasksAndTheStatistics)
{
    EXPECT_EQ(folder.Read("journal.xlsx").substr(0, 2), "PK");
    const std::string workbook = Unzip(path, "xl/workbook.xml");
    const std::regex sheetTag("<sheet name=\"([^\"]*)\" sheetId=\"([0-9]+)\"");
    std::vector<std::string> names;
    for (auto it = std::sregex_iterator(workbook.begin(), workbook.end(), sheetTag); it != std::sregex_iterator(); ++it)
        names.push_back((*it)[1]);
    EXPECT_EQ(names, (std::vector<std::string>{"(05-03 09-41-07)", "Задания", "Статистика"}));

    // No temporary file stays beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(WorkbookTest, WorkbookResultsSheetHasTypedCellsAndFormats)
{
    const auto cells = ReadSheet(path, 1);
    const Styles& styles = Style();

    // The header row: bold, colour 11, the empty header of column 0 too.
    const int header = cells.at("B1").Style;
    EXPECT_TRUE(styles.HeaderFont(header));
    EXPECT_EQ(cells.at("A1"), (XlsxCell{"", "", header}));
    EXPECT_EQ(cells.at("C1"), (XlsxCell{"s", "Имя", header}));
    EXPECT_EQ(cells.at("U1"), (XlsxCell{"s", "Реж. ок.", header}));

    // Texts stay text, digits and leading zeros included.
    EXPECT_EQ(cells.at("B2"), (XlsxCell{"s", "007", 0}));
    EXPECT_EQ(cells.at("C3"), (XlsxCell{"s", "Петрова", 0}));
    EXPECT_EQ(cells.at("K2"), (XlsxCell{"s", "++-+++-+", 0}));
    EXPECT_EQ(cells.at("L2"), (XlsxCell{"s", "1;2;3;4;5;6;7;8", 0}));
    EXPECT_EQ(cells.at("P4"), (XlsxCell{"s", "Степени", 0}));
    EXPECT_EQ(cells.at("Q2"), (XlsxCell{"s", "/srv/Дроби.tst", 0}));
    EXPECT_EQ(cells.at("R2"), (XlsxCell{"s", "00001234", 0}));
    EXPECT_EQ(cells.at("S2"), (XlsxCell{"s", "pupil", 0}));
    EXPECT_EQ(cells.at("T2"), (XlsxCell{"s", "10.0.0.3", 0}));
    EXPECT_EQ(cells.at("U3"), (XlsxCell{"s", "ABORT", 0}));

    // The mark and the counts are numbers.
    EXPECT_EQ(Number(cells, "D2"), 4);
    EXPECT_EQ(Number(cells, "D3"), 2);
    const std::vector<std::pair<std::string, double>> counts = {
        {"F3", 8}, {"G3", 3}, {"H3", 2}, {"I3", 1}, {"J3", 5}};
    for (const auto& [ref, value] : counts) {
        EXPECT_EQ(Number(cells, ref), value) << ref;
        EXPECT_EQ(styles.NumberFormat(cells.at(ref).Style), "General") << ref;
    }
    // "Результат" is the fraction of the tasks asked, shown in percent.
    EXPECT_DOUBLE_EQ(Number(cells, "E2"), 0.75);
    EXPECT_NEAR(Number(cells, "E3"), 2.0 / 3, 1e-12);
    EXPECT_EQ(styles.NumberFormat(cells.at("E2").Style), "0.0%");
    // Times are date-times (5 March 2024 is day 45356) shown as times of day;
    // the duration is days shown in hours that do not wrap.
    const std::vector<std::pair<std::string, double>> times = {
        {"A2", 45356 + (9 * 3600 + 10 * 60 + 2) / 86400.0},
        {"M2", 45356 + 9 / 24.0},
        {"N2", 45356 + (9 * 3600 + 10 * 60) / 86400.0}};
    for (const auto& [ref, value] : times) {
        EXPECT_NEAR(Number(cells, ref), value, 1e-9) << ref;
        EXPECT_EQ(styles.NumberFormat(cells.at(ref).Style), "hh:mm:ss") << ref;
    }
    EXPECT_NEAR(Number(cells, "O2"), 90000 / 86400.0, 1e-12);
    EXPECT_NEAR(Number(cells, "O3"), 600 / 86400.0, 1e-12);
    EXPECT_EQ(styles.NumberFormat(cells.at("O2").Style), "[h]:mm:ss");
    EXPECT_EQ(cells.size(), 21u * 4u);

    // The header row is frozen, the filter spans the table, the widths fit.
    const std::string sheet = Unzip(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\"/>"),
              std::string::npos);
    EXPECT_NE(sheet.find("<autoFilter ref=\"A1:U4\"/>"), std::string::npos);
    const auto widths = ColumnWidths(path, 1);
    ASSERT_EQ(widths.size(), 21u);
    EXPECT_GT(widths.at(17), widths.at(4));   // "/srv/Степени.tst" against "Оценка"
    EXPECT_GT(widths.at(4), widths.at(8));    // "Оценка" against "+"
    EXPECT_GT(widths.at(1), 8.0);             // "09:10:02" fits
    EXPECT_LE(widths.at(17), 61.0);
}

TEST_F(WorkbookTest, WorkbookTasksSheetHasARowPerResultAndAHeadingPerTest)
{
    const auto cells = ReadSheet(path, 2);
    const Styles& styles = Style();

    EXPECT_EQ(cells.at("A1").Value, "Тест: \"Дроби\", файл: /srv/Дроби.tst, CRC 00001234");
    EXPECT_NE(styles.Font(cells.at("A1").Style).find("<b/>"), std::string::npos);
    const std::string columns = "CDEFGHIJ";
    for (size_t t = 0; t < columns.size(); ++t)
        EXPECT_EQ(Number(cells, std::string(1, columns[t]) + "1"), double(t + 1));
    EXPECT_EQ(cells.at("A2"), (XlsxCell{"s", "Иванов", 0}));
    EXPECT_EQ(cells.at("B2"), (XlsxCell{"s", "007", 0}));
    const std::string ivanov = "11011101", petrova = "101";
    for (size_t t = 0; t < ivanov.size(); ++t)
        EXPECT_EQ(Number(cells, std::string(1, columns[t]) + "2"), ivanov[t] - '0') << t;
    for (size_t t = 0; t < petrova.size(); ++t)
        EXPECT_EQ(Number(cells, std::string(1, columns[t]) + "3"), petrova[t] - '0') << t;
    EXPECT_FALSE(cells.count("F3"));  // not asked: nothing
    EXPECT_FALSE(cells.count("A4"));  // a blank row between the tests
    EXPECT_EQ(cells.at("A5").Value, "Тест: \"Степени\", файл: /srv/Степени.tst, CRC 000000FF");
    EXPECT_EQ(Number(cells, "E5"), 3);
    EXPECT_FALSE(cells.count("F5"));
    EXPECT_EQ(cells.at("A6").Value, "Сидоров");
    EXPECT_EQ(Number(cells, "C6"), 1);
    EXPECT_EQ(Number(cells, "D6"), 0);
    EXPECT_FALSE(cells.count("E6"));
    EXPECT_EQ(cells.size(), (1u + 8) + (2 + 8) + (2 + 3) + (1 + 3) + (2 + 2));

    const std::string sheet = Unzip(path, "xl/worksheets/sheet2.xml");
    EXPECT_NE(sheet.find("<pane xSplit=\"2\" topLeftCell=\"C1\" activePane=\"topRight\" state=\"frozen\"/>"),
              std::string::npos);
}

TEST_F(WorkbookTest, WorkbookStatisticsSheetHasTheItemTablesOfEveryTest)
{
    const auto cells = ReadSheet(path, 3);
    const Styles& styles = Style();

    EXPECT_EQ(cells.at("A1").Value, "Тест: \"Дроби\", файл: /srv/Дроби.tst, CRC 00001234");
    // The summary: scores 6 and 2 by the masks.
    EXPECT_EQ(cells.at("A2").Value, "Результатов");
    EXPECT_EQ(Number(cells, "B2"), 2);
    EXPECT_EQ(cells.at("A3").Value, "Среднее число верных");
    EXPECT_EQ(Number(cells, "B3"), 4);
    EXPECT_EQ(styles.NumberFormat(cells.at("B3").Style), "0.00");
    EXPECT_EQ(Number(cells, "B4"), 2);  // standard deviation
    EXPECT_EQ(Number(cells, "B6"), 2);  // minimum
    EXPECT_EQ(Number(cells, "B7"), 6);  // maximum
    EXPECT_EQ(Number(cells, "B8"), 1);  // one complete result:
    EXPECT_EQ(cells.at("A9").Value, "Альфа Кронбаха (KR-20)");
    EXPECT_FALSE(cells.count("B9"));    // no reliability
    EXPECT_FALSE(cells.count("B10"));
    // The task table.
    EXPECT_EQ(cells.at("A12").Value, "№");
    EXPECT_EQ(cells.at("G12").Value, "Замечание");
    EXPECT_TRUE(styles.HeaderFont(cells.at("A12").Style));
    // Task 1: both right. Task 2: x 1 0 against rest 5 2: r = 1. Task 3: x 0 1
    // against rest 6 1: r = -1. Mean times: task 1 (1 + 1) / 2 s, task 2 2 s.
    EXPECT_EQ(Number(cells, "A13"), 1);
    EXPECT_EQ(Number(cells, "B13"), 2);
    EXPECT_EQ(Number(cells, "C13"), 2);
    EXPECT_EQ(Number(cells, "D13"), 1);
    EXPECT_EQ(styles.NumberFormat(cells.at("D13").Style), "0.0%");
    EXPECT_FALSE(cells.count("E13"));
    EXPECT_NEAR(Number(cells, "F13"), 1 / 86400.0, 1e-12);
    EXPECT_EQ(styles.NumberFormat(cells.at("F13").Style), "[m]:ss");
    EXPECT_EQ(cells.at("G13").Value, "слишком легкое");
    EXPECT_DOUBLE_EQ(Number(cells, "D14"), 0.5);
    EXPECT_NEAR(Number(cells, "E14"), 1, 1e-12);
    EXPECT_EQ(styles.NumberFormat(cells.at("E14").Style), "0.00");
    EXPECT_FALSE(cells.count("G14"));
    EXPECT_NEAR(Number(cells, "E15"), -1, 1e-12);
    EXPECT_EQ(cells.at("G15").Value, "плохо различает");
    // Tasks 4 to 8 were asked of Иванов alone.
    EXPECT_EQ(Number(cells, "B20"), 1);
    EXPECT_FALSE(cells.count("A21"));
    // The other test follows after a blank row.
    EXPECT_EQ(cells.at("A22").Value, "Тест: \"Степени\", файл: /srv/Степени.tst, CRC 000000FF");
    EXPECT_EQ(Number(cells, "B23"), 1);
    EXPECT_EQ(cells.at("A33").Value, "№");
    EXPECT_NEAR(Number(cells, "F35"), 95 / 86400.0, 1e-12);  // shown 1:35
    EXPECT_EQ(Number(cells, "B36"), 0);                      // task 3 never asked
    EXPECT_FALSE(cells.count("D36"));
    EXPECT_FALSE(cells.count("A37"));
}

TEST(ExportsTest, WorkbookOfATestWithMoreTasksThanASheetHasColumns)
{
    // 16,384 columns: the names, then tasks 1 to 16,382. The rest of the
    // tasks still have their rows in the statistics.
    TTestResult r = Result("Иванов", 6, 8, 1);
    r.ResultMask = std::string(16400, '+');
    r.MaskValues = MaskValuesFromResultMask(r.ResultMask);
    TempFolder folder;
    ASSERT_TRUE(SaveAsExcelFile({r}, folder / "wide.xlsx", {2024, 3, 5}));
    const auto tasks = ReadSheet(folder / "wide.xlsx", 2);
    EXPECT_EQ(Number(tasks, "XFD1"), 16382);
    EXPECT_EQ(Number(tasks, "XFD2"), 1);
    EXPECT_EQ(tasks.size(), 2u * 16384u - 1);  // no heading over the PC column
    const auto stats = ReadSheet(folder / "wide.xlsx", 3);
    EXPECT_EQ(Number(stats, "A16412"), 16400);
}

TEST(ExportsTest, WorkbookOfAnEmptyJournalFormatsTheEmptyResultCell)
{
    TempFolder folder;
    ASSERT_TRUE(SaveAsExcelFile({}, folder / "empty.xlsx", {2024, 3, 5}));
    const auto cells = ReadSheet(folder / "empty.xlsx");
    ASSERT_TRUE(cells.count("E2"));
    EXPECT_EQ(cells.at("E2").Value, "");
    EXPECT_NE(cells.at("E2").Style, 0);
    EXPECT_EQ(cells.size(), 22u);
    EXPECT_NE(Unzip(folder / "empty.xlsx", "xl/worksheets/sheet1.xml").find("<autoFilter ref=\"A1:U2\"/>"),
              std::string::npos);
    EXPECT_TRUE(ReadSheet(folder / "empty.xlsx", 2).empty());
    EXPECT_TRUE(ReadSheet(folder / "empty.xlsx", 3).empty());
}

// The library's own text for a write that fails while it packs the workbook
// is "Zip generic error ZIP_ERRNO while creating the xlsx file."
TEST(ExportsTest, WorkbookCutShortWhilePackingNamesTheFileAndTheSystemsReason)
{
    TempFolder folder;
    const std::string path = folder / "journal.xlsx";
    // The process may write files of 2 KB only: the packing fails with EFBIG.
    struct sigaction ignore {};
    struct sigaction before {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &before), 0);
    struct rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit small {2048, limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto written = SaveAsExcelFile({}, path, {2024, 3, 5});
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::sigaction(SIGXFSZ, &before, nullptr);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().Message, "Не удалось сохранить файл \"" + path + "\". Файл слишком велик.");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ExportsTest, WorkbookThatCannotBeWrittenReportsTheSystemsError)
{
    TempFolder folder;
    const auto written = SaveAsExcelFile({}, folder / "missing/journal.xls", {2024, 3, 5});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().Message, "Не удалось сохранить файл \"" + (folder / "missing/journal.xls") +
                                           "\". Нет такого файла или папки.");

    // A folder in the target's place: the old one stays and nothing is left behind.
    ::mkdir((folder / "taken.xls").c_str(), 0755);
    EXPECT_FALSE(SaveAsExcelFile({}, folder / "taken.xls", {2024, 3, 5}));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

// ---------------------------------------------------------------- bitmaps

uint32_t Le32(const std::string& s, size_t at)
{
    return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
           static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

TEST(BmpTest, HeadersAndBottomUpPaddedRows)
{
    // 3 x 2: top row red, green, blue; bottom row white, black, grey.
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};
    const std::string bmp = EncodeBmp24(3, 2, rgb);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bmp, 2), 78u);   // file size
    EXPECT_EQ(Le32(bmp, 10), 54u);  // pixel offset
    EXPECT_EQ(Le32(bmp, 14), 40u);  // info header size
    EXPECT_EQ(Le32(bmp, 18), 3u);
    EXPECT_EQ(Le32(bmp, 22), 2u);
    EXPECT_EQ(static_cast<uint8_t>(bmp[26]), 1);   // planes
    EXPECT_EQ(static_cast<uint8_t>(bmp[28]), 24);  // bits per pixel
    EXPECT_EQ(Le32(bmp, 30), 0u);   // no compression
    EXPECT_EQ(Le32(bmp, 34), 24u);  // image size
    const std::string bottom = bmp.substr(54, 12), top = bmp.substr(66, 12);
    EXPECT_EQ(bottom, std::string("\xFF\xFF\xFF\x00\x00\x00\x80\x80\x80\x00\x00\x00", 12));
    EXPECT_EQ(top, std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\x00\x00\x00", 12));

    EXPECT_EQ(EncodeBmp24(0, 2, {}), "");
    EXPECT_EQ(EncodeBmp24(3, 2, {1, 2, 3}), "");  // pixels missing
}

}  // namespace
}  // namespace quilmo::journal
