#pragma once
// The runner's open-test operation as logic: which file kind, its lines, the
// parse, the random subset and the checksum. The window applies the outcome.

#include <functional>
#include <optional>
#include <string>

#include "model/Random.h"
#include "model/TestModel.h"
#include "model/TextTestReader.h"

namespace quilmo {

inline constexpr const char* kWrongFileType = "Не верный тип файла!";

enum class OpenOutcome {
    NothingToOpen,   // empty name or no such file: nothing at all happens
    WrongExtension,  // kWrongFileType; no checksum
    WrongSignature,  // a check test's own message; no checksum
    LoadFailed,      // kLoadError; checksum taken
    Loaded,
};

struct OpenTestEnvironment {
    // Where a check test's picture folder is made (Platform::TempFolder); ""
    // for the test's own folder.
    std::string TempBase;
    // A fresh "{GUID}" for each check-test folder.
    std::function<std::string()> NewGuid;
    // false keeps all T tasks of a "T (M)" file (SubsetCount still says M):
    // for converting a test rather than running it.
    bool DrawSubset = true;
};

struct OpenTestResult {
    OpenOutcome Outcome = OpenOutcome::NothingToOpen;
    std::string Message;   // the user's error message, when there is one
    std::string FileName;  // as given
    std::string FileDir;   // its folder, ending in '/'
    ParsedTest Test;       // when Loaded; TaskCount is after the subset
    // A check test's session settings: they take effect as soon as they are
    // read, even when a later step fails.
    std::optional<TModeConfig> Mode;
    uint8_t Locked = 0;
    std::string TempDir;   // a check test's picture folder, when Loaded
    uint32_t FileCrc = 0;  // when the outcome is LoadFailed or Loaded
    // The system's text when a picture folder made for a failed load could not
    // be deleted again; "" otherwise.
    std::string CleanupError;
};

// Reads and parses the file named by path. On every path but Loaded, a
// temporary folder that was made is deleted again before returning.
OpenTestResult OpenTestFile(const std::string& path, TRandom& random,
                            const OpenTestEnvironment& environment);

// Upper-cased extension with its dot (".TXT"), "" when there is none.
std::string UpperExtension(const std::string& path);

}  // namespace quilmo
