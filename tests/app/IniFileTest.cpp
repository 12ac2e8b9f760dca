#include "app/IniFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::TempFolder;

struct ValueCase {
    const char* Name;
    std::string Bytes;  // file content, Windows-1251
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;  // UTF-8
};

// Names the case in failure messages (the default prints the struct's bytes).
void PrintTo(const ValueCase& c, std::ostream* out)
{
    *out << c.Name;
}

class IniValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IniValueTest, ReadsByProfileRules)
{
    const ValueCase& c = GetParam();
    EXPECT_EQ(IniFile::FromBytes(c.Bytes).Value(c.Section, c.Key), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniValueTest,
    ::testing::Values(
        ValueCase{"Plain", "[Font]\r\nFontName=Arial\r\n", "Font", "FontName", "Arial"},
        ValueCase{"NamesIgnoreAsciiCase", "[font]\r\nfontNAME=Arial\r\n", "FONT", "FontName",
                  "Arial"},
        // [Раздел] Ключ=1, [Ёлка] Ёж=2, in Windows-1251 bytes
        ValueCase{"NamesIgnoreCyrillicCase", "[\xD0\xE0\xE7\xE4\xE5\xEB]\r\n\xCA\xEB\xFE\xF7=1\r\n",
                  "РАЗДЕЛ", "ключ", "1"},
        ValueCase{"YoIgnoresCase", "[\xA8\xEB\xEA\xE0]\r\n\xA8\xE6=2\r\n", "ёлка", "ёж", "2"},
        ValueCase{"BlanksAroundNamesAndValue", "  [ Font ]  \r\n\t FontName  =   Arial Black \t\r\n",
                  "Font", "FontName", "Arial Black"},
        ValueCase{"DoubleQuotesRemoved", "[S]\r\nK=\"  x  \"\r\n", "S", "K", "  x  "},
        ValueCase{"SingleQuotesRemoved", "[S]\r\nK='y'\r\n", "S", "K", "y"},
        ValueCase{"UnmatchedQuotesKept", "[S]\r\nK=\"z'\r\n", "S", "K", "\"z'"},
        ValueCase{"LoneQuoteKept", "[S]\r\nK=\"\r\n", "S", "K", "\""},
        ValueCase{"EmptyQuotes", "[S]\r\nK=\"\"\r\n", "S", "K", ""},
        ValueCase{"EmptyValueIsAValue", "[S]\r\nK=\r\n", "S", "K", ""},
        ValueCase{"EqualsSignInValue", "[S]\r\nK=a=b\r\n", "S", "K", "a=b"},
        ValueCase{"Windows1251Value", "[S]\r\nK=\xC8\xE2\xE0\xED \xB8\r\n", "S", "K", "Иван ё"},
        ValueCase{"MissingKey", "[S]\r\nK=1\r\n", "S", "L", std::nullopt},
        ValueCase{"MissingSection", "[S]\r\nK=1\r\n", "T", "K", std::nullopt},
        ValueCase{"KeyBeforeAnySection", "K=1\r\n[S]\r\n", "S", "K", std::nullopt},
        ValueCase{"KeyOfAnotherSection", "[A]\r\nK=1\r\n[B]\r\nL=2\r\n", "B", "K", std::nullopt},
        ValueCase{"FirstDuplicateWins", "[S]\r\nK=1\r\nk=2\r\n", "S", "K", "1"},
        ValueCase{"RepeatedSectionIsSearched", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nB=2\r\n", "S", "B", "2"},
        ValueCase{"CommentIgnored", "[S]\r\n;K=1\r\nK=2\r\n", "S", "K", "2"},
        ValueCase{"CommentIsNoKey", "[S]\r\n; K=1\r\n", "S", "K", std::nullopt},
        ValueCase{"JunkLineIgnored", "[S]\r\njunk\r\n=x\r\nK=3\r\n", "S", "K", "3"},
        ValueCase{"HeaderWithTrailingText", "[S] ; note\r\nK=4\r\n", "S", "K", "4"},
        ValueCase{"LfEndings", "[S]\nA=1\nK=5\n", "S", "K", "5"},
        ValueCase{"CrEndings", "[S]\rA=1\rK=6", "S", "K", "6"},
        ValueCase{"MixedEndings", "[S]\r\nA=1\nB=2\rK=7", "S", "K", "7"},
        ValueCase{"LastLineWithoutEnd", "[S]\r\nK=8", "S", "K", "8"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(IniFileTest, ValuesAreCutTo2047Characters)
{
    const auto ascii = IniFile::FromBytes("[S]\r\nK=" + std::string(3000, 'a') + "\r\n");
    EXPECT_EQ(ascii.Value("S", "K"), std::string(2047, 'a'));

    // Characters, not UTF-8 bytes: 2047 Cyrillic letters.
    const auto cyrillic = IniFile::FromBytes("[S]\r\nK=" + std::string(2100, '\xDF') + "\r\n");
    std::string expected;
    for (int i = 0; i < 2047; ++i)
        expected += "Я";
    EXPECT_EQ(cyrillic.Value("S", "K"), expected);
}

struct IntegerCase {
    const char* Value;
    int32_t Expected;  // with fallback 77
};

TEST(IniFileTest, ReadIntegerTakesDecimalOrHexElseFallback)
{
    const IntegerCase cases[] = {
        {"42", 42},
        {"-17", -17},
        {"+5", 5},
        {"  12  ", 12},
        {"\"12\"", 12},
        {"0x1F", 31},
        {"0X1f", 31},
        {"0x0000000000FF", 255},
        {"0xFF000008", -16777208},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"", 77},
        {"abc", 77},
        {"12abc", 77},
        {"1 2", 77},
        {"1.5", 77},
        {"- 1", 77},
        {"0x", 77},
        {"0xG", 77},
        {"0x1FZ", 77},
        {"0x100000000", 77},
        {"-0x10", 77},
        {"2147483648", 77},
        {"99999999999999999999", 77},
    };
    for (const auto& c : cases) {
        const auto ini = IniFile::FromBytes(std::string("[S]\r\nK=") + c.Value + "\r\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", 77), c.Expected) << "value: " << c.Value;
    }
    EXPECT_EQ(IniFile::FromBytes("[S]\r\n").ReadInteger("S", "K", 77), 77);
}

TEST(IniFileTest, ReadBoolIsAnyNonZeroInteger)
{
    const struct {
        const char* Value;
        bool Fallback;
        bool Expected;
    } cases[] = {
        {"1", false, true},  {"0", true, false},   {"2", false, true},
        {"-1", false, true}, {"0x0", true, false}, {"yes", false, false},
        {"yes", true, true}, {"", true, true},     {"", false, false},
    };
    for (const auto& c : cases) {
        const auto ini = IniFile::FromBytes(std::string("[S]\r\nK=") + c.Value + "\r\n");
        EXPECT_EQ(ini.ReadBool("S", "K", c.Fallback), c.Expected)
            << "value: " << c.Value << " fallback: " << c.Fallback;
    }
    EXPECT_TRUE(IniFile::FromBytes("").ReadBool("S", "K", true));
}

TEST(IniFileTest, ReadStringDistinguishesMissingFromEmpty)
{
    const auto ini = IniFile::FromBytes("[S]\r\nEmpty=\r\n");
    EXPECT_EQ(ini.ReadString("S", "Empty", "x"), "");
    EXPECT_EQ(ini.ReadString("S", "Missing", "x"), "x");
}

TEST(IniFileTest, WritingChangesOnlyWhatItMust)
{
    auto ini = IniFile::FromBytes(
        "; settings\n"
        "top=level\n"
        "[Font]\n"
        "  fontname = Arial  \n"
        "Size=10\n"
        "junk line\n"
        "\n"
        "; end of font\n"
        "[Other]\n"
        "Unknown=kept\n"
        "Size=12\n");
    ini.WriteString("FONT", "FontName", "Tahoma");  // in place, file's spelling kept
    ini.WriteInteger("Font", "Color", -16777208);   // after the section's last key
    ini.WriteBool("Mode", "ModeEducation", true);   // new section at the end
    ini.WriteInteger("Mode", "Extra", 5);
    ini.WriteString("Other", "Size", "13");

    EXPECT_EQ(ini.ToBytes(),
              "; settings\r\n"
              "top=level\r\n"
              "[Font]\r\n"
              "fontname=Tahoma\r\n"
              "Size=10\r\n"
              "Color=-16777208\r\n"
              "junk line\r\n"
              "\r\n"
              "; end of font\r\n"
              "[Other]\r\n"
              "Unknown=kept\r\n"
              "Size=13\r\n"
              "[Mode]\r\n"
              "ModeEducation=1\r\n"
              "Extra=5\r\n");
}

TEST(IniFileTest, WritingAKeyToAnEmptySectionPutsItUnderTheHeader)
{
    auto ini = IniFile::FromBytes("[Empty]\r\n[Next]\r\nA=1\r\n");
    ini.WriteString("empty", "K", "v");
    EXPECT_EQ(ini.ToBytes(), "[Empty]\r\nK=v\r\n[Next]\r\nA=1\r\n");
}

TEST(IniFileTest, KeyBeforeAnySectionIsNotUpdated)
{
    auto ini = IniFile::FromBytes("K=old\r\n");
    ini.WriteString("S", "K", "new");
    EXPECT_EQ(ini.ToBytes(), "K=old\r\n[S]\r\nK=new\r\n");
}

TEST(IniFileTest, EveryByteOfOtherLinesSurvivesAWrite)
{
    std::string comment = ";";
    for (int b = 0x21; b < 0x100; ++b)
        comment += char(b);
    auto ini = IniFile::FromBytes(comment + "\r\n[S]\r\nK=1\r\n");
    ini.WriteString("S", "K", "Иван");
    EXPECT_EQ(ini.ToBytes(), comment + "\r\n[S]\r\nK=\xC8\xE2\xE0\xED\r\n");
}

TEST(IniFileTest, WrittenValuesReadBackAsWritten)
{
    const std::string values[] = {" padded ", "\"quoted\"", "'single'", "\"", "", "plain"};
    IniFile ini;
    for (const auto& v : values) {
        ini.WriteString("S", "K", v);
        const auto reread = IniFile::FromBytes(ini.ToBytes());
        EXPECT_EQ(reread.Value("S", "K"), v);
    }
}

TEST(IniFileTest, LineBreakInAValueCannotAddLines)
{
    IniFile ini;
    ini.WriteString("Dir", "DirForResult", "/tmp/a\r\n[Language]\r\nFile=x");
    const auto reread = IniFile::FromBytes(ini.ToBytes());
    EXPECT_EQ(reread.Value("Language", "File"), std::nullopt);
    EXPECT_EQ(reread.Value("Dir", "DirForResult"), "/tmp/a  [Language]  File=x");
}

TEST(IniFileTest, LoadOfWhatIsNotASettingsFileGivesAnEmptyDocument)
{
    TempFolder dir;
    dir.Write("huge.ini", "[S]\r\nK=1\r\n" + std::string(2 << 20, ' '));
    std::filesystem::create_directory(dir / "folder.ini");
    ASSERT_EQ(mkfifo((dir / "pipe.ini").c_str(), 0600), 0);  // reading it would wait forever

    for (const char* name : {"missing.ini", "folder.ini", "huge.ini", "pipe.ini"}) {
        const auto ini = IniFile::Load(dir / name);
        EXPECT_EQ(ini.ToBytes(), "") << name;
        EXPECT_EQ(ini.Value("S", "K"), std::nullopt) << name;
    }
}

TEST(IniFileTest, LoadForUpdateFailsOnlyForFilesThatExist)
{
    TempFolder dir;
    dir.Write("huge.ini", std::string(2 << 20, ' '));
    std::filesystem::create_directory(dir / "folder.ini");

    const auto missing = IniFile::LoadForUpdate(dir / "missing.ini");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->ToBytes(), "");
    EXPECT_FALSE(IniFile::LoadForUpdate(dir / "folder.ini"));
    EXPECT_FALSE(IniFile::LoadForUpdate(dir / "huge.ini"));
    ASSERT_EQ(mkfifo((dir / "pipe.ini").c_str(), 0600), 0);
    EXPECT_FALSE(IniFile::LoadForUpdate(dir / "pipe.ini"));
}

TEST(IniFileTest, SaveWritesTheFileAndReportsFailure)
{
    TempFolder dir;
    const std::string path = dir.Write("a.ini", "; old\n[S]\nK=1\n");
    auto ini = IniFile::Load(path);
    ini.WriteInteger("S", "K", 2);
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(dir.Read("a.ini"), "; old\r\n[S]\r\nK=2\r\n");

    EXPECT_FALSE(ini.Save(dir / "no-such-folder/a.ini"));
}

}  // namespace
}  // namespace quilmo
