#include "app/LanguageFile.h"

namespace quilmo {

const std::array<LanguageKey, 36> kLanguageKeys = {{
    {"Menu_File", "MFile", "&Файл"},
    {"Menu_File_Open", "MFOpen", "&Открыть..."},
    {"Menu_File_SaveAs", "MFSaveAs", "Сохранить как..."},
    {"Menu_File_Close", "MFClose", "Закрыть"},
    {"Menu_File_Exit", "MFExit", "Вы&ход"},
    {"Menu_Test", "MTest", "Тест"},
    {"Menu_Test_Info", "MTInfo", "Информация"},
    {"Menu_Test_Begin", "MTBegin", "Начать"},
    {"Menu_Test_End", "MTEnd", "Закончить"},
    {"Menu_Config", "MConfig", "Настройка"},
    {"Menu_Config_Font", "MCFont", "Шрифт..."},
    {"Menu_Config_OrderTask", "MCOrderTask", "Порядок вопросов"},
    {"Menu_Config_OrderTaskNormal", "MCOTNormal", "Последовательно"},
    {"Menu_Config_OrderTaskRandom", "MCOTRandom", "Случайный"},
    {"Menu_Config_OrderVariant", "MCOrderVariant", "Порядок вариантов"},
    {"Menu_Config_OrderVariantNormal", "MCOVNormal", "Последовательно"},
    {"Menu_Config_OrderVariantRandom", "MCOVRandom", "Случайный"},
    {"Menu_Config_ModeEducation", "MCModeEducation", "Обучающий режим"},
    {"Menu_Config_ModeTimeLimit", "MCModeTimeLimit", "Ограничение по времени"},
    {"Menu_Config_ModeTimeLimitNot", "MCMTLimitNot", "Отключено"},
    {"Menu_Config_ModeTimeLimitTest", "MCMTLimitTest", "Для всего теста"},
    {"Menu_Config_ModeTimeLimitTask", "MCMTLimitTask", "Для каждого вопроса"},
    {"Menu_Config_ModeTimeLimitSetup", "MCMTLimitSetup", "Настройка"},
    {"Menu_Config_SaveResult", "MCSaveResult", "Сохранять результаты"},
    {"Menu_Config_SaveConfig", "MCSaveConfig", "Сохранять настройки при выходе"},
    {"Menu_Config_AdditionConfig", "MCAdditionConfig", "Дополнительно..."},
    {"Menu_Config_SaveConfigNow", "MCSaveConfigNow", "Сохранить настройки сейчас"},
    // No "Load" in this key: language files are written that way.
    {"Menu_Config_ConfigNow", "MCLoadConfigNow", "Загрузить настройки сейчас"},
    {"Menu_Moduls", "MModuls", "Модули"},
    {"Menu_Moduls_Server", "MMServer", "Журнал..."},
    {"Menu_Moduls_Encrypt", "MMEncrypt", "Шифратор..."},
    {"Menu_Moduls_Editor", "MMEditor", "Редактор..."},
    {"Menu_Help", "MHelp", "Справка"},
    {"Menu_ShowHelp", "MHShowHelp", "Просмотр справки"},
    {"Menu_ShowAboutBox", "MHShowAboutBox", "О программе"},
    {"Btn_GoCheck", "BitBtnGoCheck", "Дальше"},
}};

std::vector<std::string> ReadLanguageCaptions(const IniFile& ini,
                                              const std::vector<std::string>& current)
{
    std::vector<std::string> captions;
    captions.reserve(kLanguageKeys.size());
    for (size_t i = 0; i < kLanguageKeys.size(); ++i) {
        const LanguageKey& k = kLanguageKeys[i];
        const std::string_view fallback =
            i < current.size() ? std::string_view(current[i]) : std::string_view(k.BuiltIn);
        captions.push_back(ini.ReadString("Main", k.Key, fallback));
    }
    return captions;
}

}  // namespace quilmo
