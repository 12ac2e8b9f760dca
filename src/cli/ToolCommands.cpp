#include "cli/ToolCommands.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "app/Platform.h"
#include "banks/BankFile.h"
#include "banks/BankPictures.h"
#include "model/CheckTestContainer.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/InfoText.h"
#include "model/LegacyContainer.h"
#include "model/PicturePath.h"
#include "model/TestLoader.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo::cli {

namespace {

constexpr const char* kOpenError = "Ошибка открытия файла!";
constexpr const char* kNothingToConvert = "Ни одного вопроса перенести нельзя, файл не записан.";
constexpr const char* kLockedReadable =
    "Проверочный тест заблокирован (Locked=1): его нельзя сохранить как .txt, .tst или .stst "
    "и нельзя снять с него блокировку.";
constexpr const char* kLockedSettings =
    "Проверочный тест заблокирован (Locked=1): его параметры (--mode) изменить нельзя.";
constexpr const char* kLockedToBank =
    "Проверочный тест заблокирован (Locked=1): его нельзя выгрузить в банк вопросов.";

// A mode field as --mode names it, with the values it accepts.
struct ModeField {
    const char* Name;
    int32_t Min;
    int32_t Max;
    void (*Set)(TModeConfig&, int32_t);
    int32_t (*Get)(const TModeConfig&);
};

#define QUILMO_MODE_FIELD(field, min, max)                                                    \
    ModeField                                                                                 \
    {                                                                                         \
        #field, min, max, [](TModeConfig& m, int32_t v) { m.field = decltype(m.field)(v); }, \
            [](const TModeConfig& m) { return int32_t(m.field); }                             \
    }

const ModeField kModeFields[] = {
    QUILMO_MODE_FIELD(OrderTaskNormal, 0, 1),    QUILMO_MODE_FIELD(OrderVariantNormal, 0, 1),
    QUILMO_MODE_FIELD(ModeEducation, 0, 1),      QUILMO_MODE_FIELD(SaveResult, 0, 1),
    QUILMO_MODE_FIELD(SendResult, 0, 1),         QUILMO_MODE_FIELD(SaveConfig, 0, 1),
    QUILMO_MODE_FIELD(ModeTimeLimit, 0, 2),      QUILMO_MODE_FIELD(Reserved, 0, 255),
    QUILMO_MODE_FIELD(TimeLimitTest, 1, 43199),  QUILMO_MODE_FIELD(TimeLimitTask, 1, 3599),
};

#undef QUILMO_MODE_FIELD

// A check test's pictures go where the runner's go.
OpenTestEnvironment ToolEnvironment()
{
    OpenTestEnvironment environment;
    environment.TempBase = SystemPlatform().TempFolder();
    environment.NewGuid = [] { return SystemPlatform().NewGuid(); };
    return environment;
}

// The loaded test; its picture folder, if any, is deleted when it goes.
struct LoadedTest {
    OpenTestResult Result;
    ~LoadedTest()
    {
        if (!Result.TempDir.empty())
            DeleteFolderRecursively(Result.TempDir);
    }
};

bool Load(const std::string& path, bool drawSubset, LoadedTest& loaded, std::ostream& err)
{
    if (path.empty() || !FileExists(path)) {
        err << kOpenError << '\n';
        return false;
    }
    OpenTestEnvironment environment = ToolEnvironment();
    environment.DrawSubset = drawSubset;
    TRandom random(SystemPlatform().PerformanceCounter());
    loaded.Result = OpenTestFile(path, random, environment);
    if (loaded.Result.Outcome == OpenOutcome::Loaded)
        return true;
    if (!loaded.Result.CleanupError.empty())
        err << loaded.Result.CleanupError << '\n';
    err << loaded.Result.Message << '\n';
    return false;
}

void PrintSkipped(const std::vector<SkippedQuestion>& skipped, const char* what, std::ostream& err)
{
    for (const SkippedQuestion& s : skipped)
        err << what << SkippedQuestionText(s) << '\n';
}

// A question bank read as if it were a test: its tasks, titled after the
// file, its pictures written into a fresh temporary folder that goes when
// the loaded test does. Skipped questions are printed.
bool LoadBank(const std::string& path, LoadedTest& loaded, std::ostream& err)
{
    auto bank = ReadBankFile(path);
    if (!bank) {
        err << bank.error().Message << '\n';
        return false;
    }
    PrintSkipped(bank->Skipped, "Пропущено: ", err);
    if (bank->Tasks.empty()) {
        err << kNothingToConvert << '\n';
        return false;
    }
    OpenTestResult& result = loaded.Result;
    result.FileName = path;
    result.FileDir = FolderOf(path);
    if (!bank->Pictures.empty()) {
        const OpenTestEnvironment environment = ToolEnvironment();
        auto folder = MakeCheckTestFolder(environment.TempBase, result.FileDir, environment.NewGuid());
        if (!folder) {
            err << folder.error().Message << '\n';
            return false;
        }
        result.TempDir = *folder;
        if (const Status written = WriteBankPictures(*bank, *folder); !written) {
            err << written.error().Message << '\n';
            return false;
        }
    }
    std::string title = BareFileName(path);
    if (const size_t dot = title.rfind('.'); dot != std::string::npos && dot > 0)
        title.resize(dot);
    result.Test.Title = title;
    result.Test.TaskCount = int32_t(bank->Tasks.size());
    result.Test.Tasks = std::move(bank->Tasks);
    result.Outcome = OpenOutcome::Loaded;
    return true;
}

TTestInfo InfoOf(const OpenTestResult& result)
{
    TTestInfo info;
    info.FileName = result.FileName;
    info.FileDir = result.FileDir;
    info.TempDir = result.TempDir;
    info.Title = result.Test.Title;
    info.Description = result.Test.Description;
    info.TaskCount = result.Test.TaskCount;
    info.Marks = result.Test.Marks;
    info.Locked = result.Locked;
    info.FileCrc = result.FileCrc;
    return info;
}

enum class Form { Text, Legacy, CheckTest, None };

Form FormOf(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    if (ext == ".TXT" || ext == ".TST")
        return Form::Text;
    if (ext == ".STST")
        return Form::Legacy;
    if (ext == ".EST")
        return Form::CheckTest;
    return Form::None;
}

struct ConvertOptions {
    bool Lock = false;
    std::vector<std::pair<const ModeField*, int32_t>> Mode;
};

// nullopt after telling the user what is wrong.
std::optional<ConvertOptions> ParseOptions(const std::vector<std::string>& args, std::ostream& err)
{
    ConvertOptions options;
    bool inMode = false;
    for (const std::string& arg : args) {
        if (arg == "--lock") {
            options.Lock = true;
            inMode = false;
            continue;
        }
        if (arg == "--mode") {
            inMode = true;
            continue;
        }
        const size_t eq = arg.find('=');
        if (!inMode || eq == std::string::npos) {
            err << "Неизвестный параметр: " << arg << '\n';
            return std::nullopt;
        }
        const std::string key = arg.substr(0, eq);
        const ModeField* field = nullptr;
        for (const ModeField& f : kModeFields)
            if (key == f.Name)
                field = &f;
        if (!field) {
            err << "Неизвестный параметр режима: " << key << '\n';
            return std::nullopt;
        }
        const auto value = ParseInt32(arg.substr(eq + 1));
        if (!value || *value < field->Min || *value > field->Max) {
            err << "Недопустимое значение: " << arg << " (от " << field->Min << " до " << field->Max << ")\n";
            return std::nullopt;
        }
        options.Mode.emplace_back(field, *value);
    }
    if (inMode && options.Mode.empty()) {
        err << "После --mode нужен ПАРАМЕТР=ЗНАЧЕНИЕ\n";
        return std::nullopt;
    }
    return options;
}

// Copies the pictures beside the written test, which names them by bare name.
bool CopyPicturesBeside(const std::string& target, const std::vector<SavedPicture>& pictures, std::ostream& err)
{
    const std::string folder = FolderOf(target);
    for (const SavedPicture& picture : pictures)
        if (const Status copied = CopyFileBytes(picture.Path, folder + picture.Name); !copied) {
            err << copied.error().Message << '\n';
            return false;
        }
    return true;
}

}  // namespace

void Usage(std::ostream& err)
{
    err << "Использование:\n"
           "  quilmo-tool info ФАЙЛ\n"
           "  quilmo-tool convert ВХОД ВЫХОД [--lock] [--mode ПАРАМЕТР=ЗНАЧЕНИЕ ...]\n"
           "Вид теста определяется расширением: .txt, .tst, .stst или .est;\n"
           "банки вопросов: .xml (Moodle XML), .gift (GIFT) и .aiken (Aiken).\n"
           "Параметры режима проверочного теста:";
    for (const ModeField& f : kModeFields)
        err << ' ' << f.Name;
    err << '\n';
}

int Info(const std::string& path, std::ostream& out, std::ostream& err)
{
    LoadedTest loaded;
    if (!Load(path, true, loaded, err))
        return kFailed;
    const OpenTestResult& result = loaded.Result;
    for (const std::string& line : InformationText(InfoOf(result)))
        out << line << '\n';
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", unsigned(result.FileCrc));
    out << "FileCrc: " << crc << '\n';
    if (result.Mode) {
        for (const ModeField& f : kModeFields)
            out << f.Name << '=' << f.Get(*result.Mode) << '\n';
        out << "Locked=" << int(result.Locked) << '\n';
    }
    return kOk;
}

int Convert(const std::string& in, const std::string& outPath, const std::vector<std::string>& args,
            std::ostream& err)
{
    const auto options = ParseOptions(args, err);
    if (!options)
        return kUsage;
    const Form target = FormOf(outPath);
    const std::optional<BankKind> targetBank = BankKindForOutput(outPath);
    if (target == Form::None && !targetBank) {
        err << kWrongFileType << '\n';
        return kFailed;
    }
    if (target != Form::CheckTest && (options->Lock || !options->Mode.empty())) {
        err << "--lock и --mode относятся только к проверочному тесту (.est)\n";
        return kUsage;
    }

    LoadedTest loaded;
    const bool loadedOk = BankKindForOutput(in) ? LoadBank(in, loaded, err) : Load(in, false, loaded, err);
    if (!loadedOk)
        return kFailed;
    const OpenTestResult& result = loaded.Result;
    // A locked check test keeps its lock here as in the runner: its text,
    // the answer key with it, is never written in a readable form, and a
    // bank is such a form.
    if (result.Locked && target != Form::CheckTest) {
        err << (targetBank ? kLockedToBank : kLockedReadable) << '\n';
        return kLocked;
    }
    // Nor are its settings changed: the lock is what keeps a learner from
    // turning on the education mode or lifting the time limit.
    if (result.Locked && !options->Mode.empty()) {
        err << kLockedSettings << '\n';
        return kLocked;
    }

    if (targetBank) {
        const BankWriteResult bank = WriteBank(*targetBank, result.Test.Tasks, result.Test.Title);
        PrintSkipped(bank.Skipped, "Пропущено: ", err);
        PrintSkipped(bank.Notes, "Замечание: ", err);
        if (bank.Written == 0) {
            err << kNothingToConvert << '\n';
            return kFailed;
        }
        if (const Status written = WriteFileAtomically(outPath, bank.Bytes); !written) {
            err << written.error().Message << '\n';
            return kFailed;
        }
        return kOk;
    }

    TextTestWriteResult text = WriteTestText(InfoOf(result), result.Test.Tasks);
    for (const std::string& missing : text.MissingPictures)
        err << MissingPictureText(missing) << '\n';
    // A "T (M)" test stays one: all T tasks are kept and M is written back.
    if (result.Test.SubsetCount > 0)
        text.Lines[2] = std::to_string(result.Test.Tasks.size()) + " (" +
                        std::to_string(result.Test.SubsetCount) + ")";

    // Everything is built before anything is written.
    std::string bytes;
    switch (target) {
    case Form::Text:
        bytes = Utf8ToCp1251(JoinLinesCrLf(text.Lines));
        break;
    case Form::Legacy:
        bytes = BuildLegacyContainer(text.Lines);
        break;
    case Form::CheckTest: {
        TModeConfig mode = result.Mode.value_or(TModeConfig{});
        for (const auto& [field, value] : options->Mode)
            field->Set(mode, value);
        const uint8_t locked = options->Lock ? 1 : result.Locked;
        auto built = BuildCheckTest(mode, locked, text.Lines, text.Pictures);
        if (!built) {
            err << built.error().Message << '\n';
            return kFailed;
        }
        bytes = std::move(*built);
        break;
    }
    case Form::None:
        break;
    }

    if (target != Form::CheckTest && !CopyPicturesBeside(outPath, text.Pictures, err))
        return kFailed;
    if (const Status written = WriteFileAtomically(outPath, bytes); !written) {
        err << (target == Form::CheckTest ? std::string(kSaveCheckTestError) : written.error().Message) << '\n';
        return kFailed;
    }
    return kOk;
}

}  // namespace quilmo::cli
