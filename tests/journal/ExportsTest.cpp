// The tab-separated export, the workbook read back from its zip, and bitmaps.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
// GCC 12's <regex>, built with the sanitizers, warns of its own internals as
// maybe uninitialized; the warning is about the library, not this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <regex>
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

TEST(ExportsTest, CellsAreTakenAsTypedInput)
{
    using Kind = SheetCell::Kind;
    const struct {
        const char* text;
        Kind kind;
        double number;
    } cases[] = {
        {"", Kind::Empty, 0},         {"42", Kind::Number, 42},     {"-3", Kind::Number, -3},
        {"007", Kind::Number, 7},     {"2,5", Kind::Number, 2.5},   {"2.5", Kind::Number, 2.5},
        {"00001234", Kind::Number, 1234},
        {"000000FF", Kind::Text, 0},  {"09:15:02", Kind::Text, 0},  {"10.0.0.3", Kind::Text, 0},
        {"1;2;3", Kind::Text, 0},     {"+", Kind::Text, 0},         {"-", Kind::Text, 0},
        {"2,", Kind::Text, 0},        {",5", Kind::Text, 0},        {" 5", Kind::Text, 0},
        {"75,0%", Kind::Text, 0},     // a percentage outside the result column
    };
    for (const auto& c : cases) {
        const SheetCell cell = TypedInput(c.text);
        EXPECT_EQ(cell.kind, c.kind) << c.text;
        if (c.kind == Kind::Number) {
            EXPECT_DOUBLE_EQ(cell.Number, c.number) << c.text;
        }
        if (c.kind == Kind::Text) {
            EXPECT_EQ(cell.Text, c.text);
        }
    }
    EXPECT_EQ(PercentInput("66,7%").kind, Kind::Percent);
    EXPECT_DOUBLE_EQ(PercentInput("66,7%").Number, 0.667);
    EXPECT_DOUBLE_EQ(PercentInput("100,0%").Number, 1.0);
    EXPECT_EQ(PercentInput("").kind, Kind::Empty);
    EXPECT_EQ(PercentInput("abc").Text, "abc");
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

// Every cell of the first sheet by its reference ("A1").
std::map<std::string, XlsxCell> ReadSheet(const std::string& zip)
{
    std::vector<std::string> strings;
    const std::string shared = Unzip(zip, "xl/sharedStrings.xml");
    const std::regex si("<si><t(?: [^>]*)?>([^<]*)</t></si>");
    for (auto it = std::sregex_iterator(shared.begin(), shared.end(), si); it != std::sregex_iterator(); ++it)
        strings.push_back(XmlText((*it)[1]));

    std::map<std::string, XlsxCell> cells;
    const std::string sheet = Unzip(zip, "xl/worksheets/sheet1.xml");
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

TEST(ExportsTest, WorkbookKeepsSheetNameTextsNumbersAndFormats)
{
    TempFolder folder;
    const std::string path = folder / "journal.XLS";
    const auto rows = TableTexts({Result("Иванов", 6, 8, 1), Result("Петрова", 2, 3, 2)});
    ASSERT_TRUE(SaveAsExcelFile(rows, path, {2024, 3, 5, 9, 41, 7, 0}));

    // An Office Open XML workbook whatever the name says.
    EXPECT_EQ(folder.Read("journal.XLS").substr(0, 2), "PK");
    EXPECT_NE(Unzip(path, "xl/workbook.xml").find("<sheet name=\"(05-03 09-41-07)\" sheetId=\"1\""),
              std::string::npos);

    const auto cells = ReadSheet(path);
    const int header = cells.at("B1").Style;
    EXPECT_NE(header, 0);
    EXPECT_EQ(cells.at("A1"), (XlsxCell{"", "", header}));  // the empty header, formatted
    EXPECT_EQ(cells.at("C1"), (XlsxCell{"s", "Имя", header}));
    EXPECT_EQ(cells.at("H1"), (XlsxCell{"s", "+", header}));
    EXPECT_EQ(cells.at("U1"), (XlsxCell{"s", "Реж. ок.", header}));
    EXPECT_EQ(cells.at("A2"), (XlsxCell{"s", "09:10:02", 0}));
    EXPECT_EQ(cells.at("C3"), (XlsxCell{"s", "Петрова", 0}));
    EXPECT_EQ(cells.at("D2"), (XlsxCell{"", "4", 0}));
    EXPECT_EQ(cells.at("G3"), (XlsxCell{"", "3", 0}));
    EXPECT_EQ(cells.at("R2"), (XlsxCell{"", "1234", 0}));  // "00001234" as a spreadsheet takes it
    EXPECT_EQ(cells.at("T2"), (XlsxCell{"s", "10.0.0.3", 0}));
    EXPECT_EQ(cells.at("U3"), (XlsxCell{"s", "ABORT", 0}));
    const int percent = cells.at("E2").Style;
    EXPECT_NE(percent, 0);
    EXPECT_NE(percent, header);
    EXPECT_EQ(cells.at("E2"), (XlsxCell{"", "0.75", percent}));
    EXPECT_EQ(cells.at("E3"), (XlsxCell{"", "0.667", percent}));
    EXPECT_EQ(cells.size(), 21u * 3u);

    // The header's style uses the bold navy font, the result column's style
    // the percent format.
    const std::string styles = Unzip(path, "xl/styles.xml");
    std::vector<std::string> fonts, cellStyles;
    const std::regex fontTag("<font>(.*?)</font>"), xfTag("<xf [^>]*>");
    for (auto it = std::sregex_iterator(styles.begin(), styles.end(), fontTag); it != std::sregex_iterator(); ++it)
        fonts.push_back((*it)[1]);
    const std::string cellXfs = styles.substr(styles.find("<cellXfs"));
    for (auto it = std::sregex_iterator(cellXfs.begin(), cellXfs.end(), xfTag); it != std::sregex_iterator(); ++it)
        cellStyles.push_back((*it)[0]);
    std::smatch m;
    ASSERT_LT(size_t(header), cellStyles.size());
    ASSERT_TRUE(std::regex_search(cellStyles[header], m, std::regex("fontId=\"([0-9]+)\"")));
    const std::string headerFont = fonts.at(std::stoul(m[1]));
    EXPECT_NE(headerFont.find("<b/>"), std::string::npos) << headerFont;
    EXPECT_NE(headerFont.find("<color rgb=\"FF000080\"/>"), std::string::npos) << headerFont;
    ASSERT_LT(size_t(percent), cellStyles.size());
    ASSERT_TRUE(std::regex_search(cellStyles[percent], m, std::regex("numFmtId=\"([0-9]+)\"")));
    EXPECT_NE(styles.find("<numFmt numFmtId=\"" + m[1].str() + "\" formatCode=\"00.0%\"/>"), std::string::npos);

    // No temporary file stays beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(ExportsTest, WorkbookOfAnEmptyJournalFormatsTheEmptyResultCell)
{
    TempFolder folder;
    ASSERT_TRUE(SaveAsExcelFile(TableTexts({}), folder / "empty.xlsx", {2024, 3, 5}));
    const auto cells = ReadSheet(folder / "empty.xlsx");
    ASSERT_TRUE(cells.count("E2"));
    EXPECT_EQ(cells.at("E2").Value, "");
    EXPECT_NE(cells.at("E2").Style, 0);
    EXPECT_EQ(cells.size(), 22u);
}

TEST(ExportsTest, WorkbookThatCannotBeWrittenReportsTheSystemsError)
{
    TempFolder folder;
    const auto written = SaveAsExcelFile(TableTexts({}), folder / "missing/journal.xls", {2024, 3, 5});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().Message, SystemErrorText(ENOENT));

    // A folder in the target's place: the old one stays and nothing is left behind.
    ::mkdir((folder / "taken.xls").c_str(), 0755);
    EXPECT_FALSE(SaveAsExcelFile(TableTexts({}), folder / "taken.xls", {2024, 3, 5}));
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
