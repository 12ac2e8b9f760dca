#include "app/Settings.h"

namespace quilmo {

namespace {

uint8_t ReadFlag(const IniFile& ini, const char* section, const char* key, uint8_t current)
{
    return ini.ReadBool(section, key, current != 0) ? 1 : 0;
}

std::string InFolder(const std::string& folder, const char* name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

}  // namespace

void SetDefaults(TModeConfig& mode, TConfig& config)
{
    mode = TModeConfig{};
    config = TConfig{};
}

void LoadSettings(const IniFile& ini, TFontSpec& font, TModeConfig& mode, TConfig& config)
{
    TFontSpec f = font;
    f.Name = ini.ReadString("Font", "FontName", f.Name);
    f.Size = ini.ReadInteger("Font", "Size", f.Size);
    f.Color = ini.ReadInteger("Font", "Color", f.Color);
    // A style key can add its style but never take it away.
    if (ini.ReadBool("Font", "Style_fsBold", f.Bold))
        f.Bold = true;
    if (ini.ReadBool("Font", "Style_fsItalic", f.Italic))
        f.Italic = true;
    if (ini.ReadBool("Font", "Style_fsUnderline", f.Underline))
        f.Underline = true;
    if (ini.ReadBool("Font", "Style_fsStrikeOut", f.StrikeOut))
        f.StrikeOut = true;
    font = f;

    mode.ModeEducation = ReadFlag(ini, "Mode", "ModeEducation", mode.ModeEducation);
    // Kept as read (cut to the byte the mode is stored in); sessions check the value.
    mode.ModeTimeLimit =
        static_cast<uint8_t>(ini.ReadInteger("TimeLimit", "ModeTimeLimit", mode.ModeTimeLimit));
    mode.TimeLimitTest = ini.ReadInteger("TimeLimit", "TimeLimitTest", mode.TimeLimitTest);
    mode.TimeLimitTask = ini.ReadInteger("TimeLimit", "TimeLimitTask", mode.TimeLimitTask);
    mode.SaveResult = ReadFlag(ini, "Save", "SaveResult", mode.SaveResult);
    mode.SaveConfig = ReadFlag(ini, "Save", "SaveConfig", mode.SaveConfig);
    mode.SendResult = ReadFlag(ini, "Net", "SendResult", mode.SendResult);
    config.LocalPort = ini.ReadString("Net", "LocalPort", config.LocalPort);
    config.RemotePort = ini.ReadString("Net", "RemotePort", config.RemotePort);
    config.RemoteHost = ini.ReadString("Net", "RemoteHost", config.RemoteHost);
    mode.OrderTaskNormal = ReadFlag(ini, "Order", "OrderTaskNormal", mode.OrderTaskNormal);
    mode.OrderVariantNormal =
        ReadFlag(ini, "Order", "OrderVariantNormal", mode.OrderVariantNormal);
    config.InitialDirOpenTest =
        ini.ReadString("Dir", "InitialDirOpenTest", config.InitialDirOpenTest);
    config.DirForResult = ini.ReadString("Dir", "DirForResult", config.DirForResult);
    config.ColorCorrectAnswer =
        ini.ReadInteger("Colors", "ColorCorrectAnswer", config.ColorCorrectAnswer);
    config.ColorErrorAnswer =
        ini.ReadInteger("Colors", "ColorErrorAnswer", config.ColorErrorAnswer);
    config.DefaultUserName =
        ini.ReadString("DefaultUser", "DefaultUserName", config.DefaultUserName);
    config.LanguageFile = ini.ReadString("Language", "File", config.LanguageFile);
}

void SaveSettings(IniFile& ini, const TFontSpec& font, const TModeConfig& mode,
                  const TConfig& config)
{
    ini.WriteString("Font", "FontName", font.Name);
    ini.WriteInteger("Font", "Size", font.Size);
    ini.WriteInteger("Font", "Color", font.Color);
    ini.WriteBool("Font", "Style_fsBold", font.Bold);
    ini.WriteBool("Font", "Style_fsItalic", font.Italic);
    ini.WriteBool("Font", "Style_fsUnderline", font.Underline);
    ini.WriteBool("Font", "Style_fsStrikeOut", font.StrikeOut);
    ini.WriteBool("Mode", "ModeEducation", mode.ModeEducation != 0);
    ini.WriteInteger("TimeLimit", "ModeTimeLimit", mode.ModeTimeLimit);
    ini.WriteInteger("TimeLimit", "TimeLimitTest", mode.TimeLimitTest);
    ini.WriteInteger("TimeLimit", "TimeLimitTask", mode.TimeLimitTask);
    ini.WriteBool("Save", "SaveResult", mode.SaveResult != 0);
    ini.WriteBool("Save", "SaveConfig", mode.SaveConfig != 0);
    ini.WriteBool("Net", "SendResult", mode.SendResult != 0);
    ini.WriteString("Net", "LocalPort", config.LocalPort);
    ini.WriteString("Net", "RemotePort", config.RemotePort);
    ini.WriteString("Net", "RemoteHost", config.RemoteHost);
    ini.WriteBool("Order", "OrderTaskNormal", mode.OrderTaskNormal != 0);
    ini.WriteBool("Order", "OrderVariantNormal", mode.OrderVariantNormal != 0);
    ini.WriteString("Dir", "InitialDirOpenTest", config.InitialDirOpenTest);
    ini.WriteString("Dir", "DirForResult", config.DirForResult);
    ini.WriteInteger("Colors", "ColorCorrectAnswer", config.ColorCorrectAnswer);
    ini.WriteInteger("Colors", "ColorErrorAnswer", config.ColorErrorAnswer);
    ini.WriteString("DefaultUser", "DefaultUserName", config.DefaultUserName);
    ini.WriteString("Language", "File", config.LanguageFile);
}

void LoadSettingsFile(const std::string& programDir, TFontSpec& font, TModeConfig& mode,
                      TConfig& config)
{
    LoadSettings(IniFile::Load(InFolder(programDir, kConfigFileName)), font, mode, config);
}

Status SaveSettingsFile(const std::string& programDir, const TFontSpec& font,
                        const TModeConfig& mode, const TConfig& config)
{
    const std::string path = InFolder(programDir, kConfigFileName);
    // Start from the file as it is, so that lines we do not own survive.
    auto ini = IniFile::LoadForUpdate(path);
    if (!ini)
        return ini.error();
    SaveSettings(*ini, font, mode, config);
    return ini->Save(path);
}

}  // namespace quilmo
