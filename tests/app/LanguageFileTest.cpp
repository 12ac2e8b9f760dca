#include "app/LanguageFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quilmo {
namespace {

std::vector<std::string> BuiltInCaptions()
{
    std::vector<std::string> captions;
    for (const auto& k : kLanguageKeys)
        captions.emplace_back(k.BuiltIn);
    return captions;
}

size_t IndexOf(const char* key)
{
    for (size_t i = 0; i < kLanguageKeys.size(); ++i)
        if (std::string(kLanguageKeys[i].Key) == key)
            return i;
    ADD_FAILURE() << "no key " << key;
    return 0;
}

TEST(LanguageFileTest, KeysNameTheirControls)
{
    std::set<std::string> keys, controls;
    for (const auto& k : kLanguageKeys) {
        keys.insert(k.Key);
        controls.insert(k.Control);
    }
    EXPECT_EQ(keys.size(), 36u);
    EXPECT_EQ(controls.size(), 36u);

    const auto& loadNow = kLanguageKeys[IndexOf("Menu_Config_ConfigNow")];
    EXPECT_STREQ(loadNow.Control, "MCLoadConfigNow");
    EXPECT_STREQ(loadNow.BuiltIn, "Загрузить настройки сейчас");
    EXPECT_STREQ(kLanguageKeys.front().Key, "Menu_File");
    EXPECT_STREQ(kLanguageKeys.front().BuiltIn, "&Файл");
    EXPECT_STREQ(kLanguageKeys.back().Key, "Btn_GoCheck");
    EXPECT_STREQ(kLanguageKeys.back().Control, "BitBtnGoCheck");
    EXPECT_STREQ(kLanguageKeys.back().BuiltIn, "Дальше");
}

TEST(LanguageFileTest, OneKeyChangesOneCaption)
{
    const auto ini = IniFile::FromBytes("[Main]\r\nMenu_File=&File\r\n");
    auto expected = BuiltInCaptions();
    expected[IndexOf("Menu_File")] = "&File";
    EXPECT_EQ(ReadLanguageCaptions(ini, BuiltInCaptions()), expected);
}

TEST(LanguageFileTest, EmptyValueGivesAnEmptyCaption)
{
    const auto ini = IniFile::FromBytes("[Main]\r\nMenu_Test=\r\n");
    EXPECT_EQ(ReadLanguageCaptions(ini, BuiltInCaptions())[IndexOf("Menu_Test")], "");
}

TEST(LanguageFileTest, OnlySectionMainCounts)
{
    const auto ini = IniFile::FromBytes(
        "Menu_File=Top\r\n"
        "[Other]\r\n"
        "Menu_Test=Other\r\n"
        "[main]\r\n"
        "menu_help=&Help\r\n"
        "Unknown_Key=x\r\n"
        "[Main2]\r\n"
        "Btn_GoCheck=Next\r\n");
    auto expected = BuiltInCaptions();
    expected[IndexOf("Menu_Help")] = "&Help";
    EXPECT_EQ(ReadLanguageCaptions(ini, BuiltInCaptions()), expected);
}

TEST(LanguageFileTest, MissingKeysKeepTheCurrentCaptions)
{
    auto current = BuiltInCaptions();
    current[0] = "&Datei";
    const auto ini = IniFile::FromBytes(
        "[Main]\r\n"
        "Menu_Config_ConfigNow=\xC7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC\r\n");  // "Загрузить"
    auto expected = current;
    expected[IndexOf("Menu_Config_ConfigNow")] = "Загрузить";
    EXPECT_EQ(ReadLanguageCaptions(ini, current), expected);

    // A short list of current captions falls back to the built-in ones.
    EXPECT_EQ(ReadLanguageCaptions(IniFile(), {"&Datei"})[1], "&Открыть...");
}

}  // namespace
}  // namespace quilmo
