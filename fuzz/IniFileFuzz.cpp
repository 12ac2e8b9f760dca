// The INI reader behind config.ini and language.txt: parse, load the settings
// and the menu captions, write the settings back into the same document, read
// it again: every value written must read back as written, and the captions
// must not change.

#include "FuzzSupport.h"
#include "app/IniFile.h"
#include "app/LanguageFile.h"
#include "app/Settings.h"

using namespace quilmo;

namespace {

std::vector<std::string> BuiltInCaptions()
{
    std::vector<std::string> captions;
    for (const auto& key : kLanguageKeys)
        captions.emplace_back(key.BuiltIn);
    return captions;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<std::string> builtIn = BuiltInCaptions();
    IniFile ini = IniFile::FromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

    TFontSpec font;
    TModeConfig mode;
    TConfig config;
    SetDefaults(mode, config);
    LoadSettings(ini, font, mode, config);
    const std::vector<std::string> captions = ReadLanguageCaptions(ini, builtIn);
    fuzz::Check(captions.size() == kLanguageKeys.size(), "a caption missing");

    SaveSettings(ini, font, mode, config);
    const IniFile reread = IniFile::FromBytes(ini.ToBytes());

    // Start from values no file holds, so that a key that does not read back
    // shows. The style flags only ever add a style, so they start cleared.
    TFontSpec font2;
    font2.Name = "\x01unset";
    font2.Size = font2.Color = INT32_MIN + 7;
    TModeConfig mode2;
    mode2.OrderTaskNormal = mode2.OrderVariantNormal = mode2.ModeEducation = mode2.SaveResult =
        mode2.SendResult = mode2.SaveConfig = 7;
    mode2.ModeTimeLimit = 77;
    mode2.TimeLimitTest = mode2.TimeLimitTask = INT32_MIN + 7;
    mode2.Reserved = mode.Reserved;  // not a setting of the file
    TConfig config2;
    config2.LocalPort = config2.RemoteHost = config2.RemotePort = config2.InitialDirOpenTest =
        config2.DirForResult = config2.DefaultUserName = config2.LanguageFile = "\x01unset";
    config2.ColorCorrectAnswer = config2.ColorErrorAnswer = INT32_MIN + 7;
    LoadSettings(reread, font2, mode2, config2);

    fuzz::Check(font2 == font, "the font settings do not read back as written");
    fuzz::Check(mode2 == mode, "the mode settings do not read back as written");
    fuzz::Check(config2 == config, "the string and colour settings do not read back as written");
    fuzz::Check(ReadLanguageCaptions(reread, builtIn) == captions, "writing the settings changed a caption");
    return 0;
}
