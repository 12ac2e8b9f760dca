#include "app/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::ReadFixture;
using testing::TempFolder;

struct Settings {
    TFontSpec Font;
    TModeConfig Mode;
    TConfig Config;
    Settings() { SetDefaults(Mode, Config); }
    bool operator==(const Settings&) const = default;
};

TEST(SettingsTest, DefaultsAreTheDocumentedOnes)
{
    TModeConfig mode;
    TConfig config;
    mode.TimeLimitTest = 1;
    config.RemoteHost = "x";
    SetDefaults(mode, config);

    EXPECT_EQ(mode.OrderTaskNormal, 1);
    EXPECT_EQ(mode.OrderVariantNormal, 1);
    EXPECT_EQ(mode.ModeEducation, 0);
    EXPECT_EQ(mode.SaveResult, 1);
    EXPECT_EQ(mode.SendResult, 0);
    EXPECT_EQ(mode.SaveConfig, 0);
    EXPECT_EQ(mode.ModeTimeLimit, 0);
    EXPECT_EQ(mode.TimeLimitTest, 300);
    EXPECT_EQ(mode.TimeLimitTask, 30);
    EXPECT_EQ(config.LocalPort, "5105");
    EXPECT_EQ(config.RemoteHost, "127.0.0.1");
    EXPECT_EQ(config.RemotePort, "5105");
    EXPECT_EQ(config.InitialDirOpenTest, "");
    EXPECT_EQ(config.DirForResult, "");
    EXPECT_EQ(config.ColorCorrectAnswer, 0x00D8F5DC);
    EXPECT_EQ(config.ColorErrorAnswer, 0x00CCE6FF);
    EXPECT_EQ(config.DefaultUserName, "Неизвестный");
    EXPECT_EQ(config.LanguageFile, "");
}

TEST(SettingsTest, WithoutAFileTheDefaultsStayAndSavingWritesAll25Keys)
{
    TempFolder dir;
    Settings s;
    LoadSettingsFile(dir.Path(), s.Font, s.Mode, s.Config);
    EXPECT_EQ(s, Settings());

    s.Mode.SaveConfig = 1;  // "save settings at exit" checked
    ASSERT_TRUE(SaveSettingsFile(dir.Path(), s.Font, s.Mode, s.Config));
    EXPECT_EQ(dir.Read(kConfigFileName), ReadFixture("settings/config-defaults.ini"));
}

TEST(SettingsTest, LoadsAnEditedFile)
{
    TempFolder dir;
    dir.Write(kConfigFileName, ReadFixture("settings/config-edited.ini"));
    Settings s;
    LoadSettingsFile(dir.Path(), s.Font, s.Mode, s.Config);

    Settings expected;
    expected.Font.Name = "Times New Roman";
    expected.Font.Size = 12;
    expected.Font.Color = 0xFF;
    expected.Font.Italic = true;
    expected.Mode.ModeEducation = 1;  // 5 reads true, stored as 1
    expected.Mode.ModeTimeLimit = 2;
    expected.Mode.TimeLimitTest = 50000;  // no limit applies to the file
    expected.Mode.TimeLimitTask = -3;
    expected.Mode.SaveResult = 0;
    expected.Mode.SaveConfig = 1;
    expected.Mode.SendResult = 1;
    expected.Mode.OrderTaskNormal = 0;
    expected.Mode.OrderVariantNormal = 0;
    expected.Config.LocalPort = "6000";
    expected.Config.RemotePort = "6001";
    expected.Config.RemoteHost = "teacher-pc";
    expected.Config.InitialDirOpenTest = "/home/ученик/тесты";
    expected.Config.ColorCorrectAnswer = 65280;
    expected.Config.ColorErrorAnswer = 255;
    expected.Config.DefaultUserName = "Ученик";
    expected.Config.LanguageFile = "x";  // a switch, not a file name
    EXPECT_EQ(s, expected);
}

TEST(SettingsTest, StyleKeysAddStylesButNeverRemoveThem)
{
    const struct {
        const char* Line;
        bool BoldBefore;
        bool BoldAfter;
    } cases[] = {
        {"Style_fsBold=0", true, true},
        {"Style_fsBold=1", false, true},
        {"Style_fsBold=0", false, false},
        {"Style_fsBold=junk", true, true},
        {"Style_fsBold=", false, false},
        {"", true, true},
    };
    for (const auto& c : cases) {
        const auto ini = IniFile::FromBytes(std::string("[Font]\r\n") + c.Line + "\r\n");
        Settings s;
        s.Font.Bold = c.BoldBefore;
        s.Font.StrikeOut = true;
        LoadSettings(ini, s.Font, s.Mode, s.Config);
        EXPECT_EQ(s.Font.Bold, c.BoldAfter) << c.Line << " bold before: " << c.BoldBefore;
        EXPECT_TRUE(s.Font.StrikeOut) << c.Line;
    }
}

TEST(SettingsTest, MissingKeysKeepTheValuesInMemory)
{
    Settings s;
    s.Font = {"Arial", 14, 0x123456, true, true, false, false};
    s.Mode.TimeLimitTask = 99;
    s.Mode.SendResult = 1;
    s.Config.RemoteHost = "10.0.0.5";
    s.Config.LanguageFile = "on";
    const Settings before = s;

    LoadSettings(IniFile::FromBytes("[Font]\r\n[Net]\r\nLocalPort=7000\r\n"), s.Font, s.Mode,
                 s.Config);
    Settings expected = before;
    expected.Config.LocalPort = "7000";
    EXPECT_EQ(s, expected);
}

TEST(SettingsTest, ModeTimeLimitIsStoredAsRead)
{
    const struct {
        const char* Value;
        uint8_t Expected;
    } cases[] = {{"0", 0}, {"2", 2}, {"7", 7}, {"x", 1}, {"", 1}};
    for (const auto& c : cases) {
        Settings s;
        s.Mode.ModeTimeLimit = 1;
        LoadSettings(IniFile::FromBytes(std::string("[TimeLimit]\r\nModeTimeLimit=") + c.Value),
                     s.Font, s.Mode, s.Config);
        EXPECT_EQ(s.Mode.ModeTimeLimit, c.Expected) << c.Value;
    }
}

TEST(SettingsTest, EverySettingSurvivesASaveAndALoad)
{
    Settings s;
    s.Font = {"Courier New", 11, -16777201, true, false, true, true};
    s.Mode = {0, 0, 1, 0, 1, 1, 1, 0, 43199, 1};
    s.Config = {"5200", "journal.local", "5201", "/srv/тесты/", " padded ",
                0x00112233, -2, "\"Иванов\"", "yes"};

    TempFolder dir;
    ASSERT_TRUE(SaveSettingsFile(dir.Path(), s.Font, s.Mode, s.Config));
    Settings loaded;
    LoadSettingsFile(dir.Path(), loaded.Font, loaded.Mode, loaded.Config);
    EXPECT_EQ(loaded, s);
}

TEST(SettingsTest, SavingKeepsTheFilesOtherLines)
{
    TempFolder dir;
    dir.Write(kConfigFileName,
              "; \xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\n"  // "; Настройки"
              "[Font]\n"
              "Size=20\n"
              "[Extra]\n"
              "Keep=me\n");
    Settings s;
    s.Mode.SaveConfig = 1;
    ASSERT_TRUE(SaveSettingsFile(dir.Path(), s.Font, s.Mode, s.Config));

    // The sections after [Extra] are new, so they read as in a fresh file.
    const std::string fresh = ReadFixture("settings/config-defaults.ini");
    EXPECT_EQ(dir.Read(kConfigFileName),
              "; \xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n"
              "[Font]\r\n"
              "Size=8\r\n"
              "FontName=Tahoma\r\n"
              "Color=-16777208\r\n"
              "Style_fsBold=0\r\n"
              "Style_fsItalic=0\r\n"
              "Style_fsUnderline=0\r\n"
              "Style_fsStrikeOut=0\r\n"
              "[Extra]\r\n"
              "Keep=me\r\n" +
                  fresh.substr(fresh.find("[Mode]")));
}

TEST(SettingsTest, NonsenseFilesGiveTheDefaults)
{
    std::mt19937 random(12345);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string binary =
        std::string("\0\x01[Font]\0\r\nSize=\x7F\xFF\r\nColor=0x\0\r\n\x1A\x1A", 33) +
        std::string(1000, '\0');
    const std::string bigLine = "[Font]\r\nSize=" + std::string(200 * 1024, '9') + "\r\n";
    const std::string huge = "[Font]\r\nSize=30\r\n" + std::string(2 << 20, 'x');
    const std::string newlines(200 * 1024, '\n');

    for (const std::string* bytes :
         std::initializer_list<const std::string*>{&noise, &binary, &bigLine, &huge, &newlines}) {
        TempFolder dir;
        dir.Write(kConfigFileName, *bytes);
        Settings s;
        LoadSettingsFile(dir.Path(), s.Font, s.Mode, s.Config);
        EXPECT_EQ(s, Settings()) << "file of " << bytes->size() << " bytes";
    }
}

TEST(SettingsTest, SavingNeverReplacesAFileItCouldNotRead)
{
    TempFolder dir;
    const std::string huge = "[Font]\r\nSize=30\r\n" + std::string(2 << 20, 'x');
    dir.Write(kConfigFileName, huge);
    Settings s;
    EXPECT_FALSE(SaveSettingsFile(dir.Path(), s.Font, s.Mode, s.Config));
    EXPECT_EQ(dir.Read(kConfigFileName), huge);
}

TEST(SettingsTest, SaveReportsFailure)
{
    TempFolder dir;
    Settings s;
    std::filesystem::create_directory(dir / kConfigFileName);
    EXPECT_FALSE(SaveSettingsFile(dir.Path(), s.Font, s.Mode, s.Config));
    EXPECT_FALSE(SaveSettingsFile(dir / "missing/", s.Font, s.Mode, s.Config));
}

}  // namespace
}  // namespace quilmo
