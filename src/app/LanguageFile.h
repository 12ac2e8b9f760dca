#pragma once
// language.txt: replacement captions for the main window's menus and answer button.

#include <array>
#include <string>
#include <vector>

#include "app/IniFile.h"

namespace quilmo {

inline constexpr const char* kLanguageFileName = "language.txt";
inline constexpr const char* kLanguageLoadError = "Ошибка при загрузке языка меню!";

struct LanguageKey {
    const char* Key;      // key in section [Main]
    const char* Control;  // object name of the captioned control
    const char* BuiltIn;  // built-in caption
};

// The 36 keys in the order they are read.
extern const std::array<LanguageKey, 36> kLanguageKeys;

// For each key in order: the value from [Main], or the current caption when the
// key is missing (an empty value is a value). current has one entry per key;
// a key without one falls back to its built-in caption.
std::vector<std::string> ReadLanguageCaptions(const IniFile& ini,
                                              const std::vector<std::string>& current);

}  // namespace quilmo
