#pragma once
// The runner's settings and their file, config.ini.

#include <cstdint>
#include <string>

#include "app/IniFile.h"
#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

inline constexpr const char* kConfigFileName = "config.ini";
inline constexpr const char* kLoadSettingsError = "Ошибка при загрузке параметров программы!";
inline constexpr const char* kSaveSettingsError = "Ошибка при сохранении параметров программы!";

// Windows colour values: 0x00BBGGRR, or negative for a system colour by index.
inline constexpr int32_t kColorWindowText = -16777208;  // system colour 8

struct TFontSpec {
    std::string Name = "Tahoma";
    int32_t Size = 8;
    int32_t Color = kColorWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontSpec&) const = default;
};

struct TConfig {
    std::string LocalPort = "5105";
    std::string RemoteHost = "127.0.0.1";
    std::string RemotePort = "5105";
    std::string InitialDirOpenTest;
    std::string DirForResult;
    int32_t ColorCorrectAnswer = 14218716;  // 0x00D8F5DC
    int32_t ColorErrorAnswer = 13428479;    // 0x00CCE6FF
    std::string DefaultUserName = "Неизвестный";
    std::string LanguageFile;  // not empty: read language.txt at start
    bool operator==(const TConfig&) const = default;
};

void SetDefaults(TModeConfig& mode, TConfig& config);

// Reads every key in the table's order; the values in memory are the defaults,
// so a missing key leaves a value as it was. A style key that reads false
// leaves the font's style as it was.
void LoadSettings(const IniFile& ini, TFontSpec& font, TModeConfig& mode, TConfig& config);
// Writes all 25 keys in the table's order.
void SaveSettings(IniFile& ini, const TFontSpec& font, const TModeConfig& mode,
                  const TConfig& config);

// The same against config.ini in programDir. Saving keeps the file's other lines;
// an existing file that cannot be read is left as it is and its error returned.
void LoadSettingsFile(const std::string& programDir, TFontSpec& font, TModeConfig& mode,
                      TConfig& config);
Status SaveSettingsFile(const std::string& programDir, const TFontSpec& font,
                        const TModeConfig& mode, const TConfig& config);

}  // namespace quilmo
