#pragma once
// The check test (.est): a signature, then one zlib stream holding the mode
// block, the lock flag, the enciphered test text and the test's pictures.
// Also the temporary folder its pictures are unpacked into.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Expected.h"
#include "model/TestModel.h"
#include "model/UniquePictureNames.h"

namespace quilmo {

inline constexpr const char* kWrongSignature = "Неверный тип проверочного теста!";
inline constexpr const char* kSaveCheckTestError = "Произошла ошибка при сохранении файла...";

// The sixteen-byte mode block as a container stores it: seven flag bytes, the
// reserved byte, then both limits as 32-bit little-endian integers.
std::array<uint8_t, 16> EncodeModeBlock(const TModeConfig& mode);
TModeConfig DecodeModeBlock(const std::array<uint8_t, 16>& block);

// What a container may cost to read, whatever its lengths claim.
struct CheckTestLimits {
    uint64_t MaxBodyBytes = uint64_t(1) << 30;  // the whole inflated body
    uint32_t MaxFiles = 65536;
    uint32_t MaxNameBytes = 1024;
};

enum class CheckTestStatus { Read, WrongSignature, Corrupt };

struct CheckTestReadResult {
    CheckTestStatus Status = CheckTestStatus::Corrupt;
    // Set as soon as the block has been read, even when a later step fails:
    // the runner puts it in force at once.
    std::optional<TModeConfig> Mode;
    uint8_t Locked = 0;
    std::string Text;                // the deciphered test text, Windows-1251
    std::string Folder;              // the picture folder made, ending in '/'; "" if none
    std::vector<std::string> Files;  // bare names (UTF-8) written into Folder, in order
};

// Reads a check test. makeFolder is called once the text has been read; it
// makes the picture folder and returns its path (ending in '/'). The body is
// inflated piece by piece and every picture streamed into its file, so memory
// stays bounded whatever the lengths say. On Corrupt a folder that was made is
// left for the caller to delete (Folder names it).
CheckTestReadResult ReadCheckTest(const std::string& path,
                                  const std::function<Expected<std::string>()>& makeFolder,
                                  const CheckTestLimits& limits = {});

// A name from a container that may become a file in the picture folder: not
// empty, not "." or "..", and free of '/', '\', ':' and NUL. Any other entry
// fails the load; nothing is ever written outside the folder.
bool IsSafeEmbeddedName(std::string_view name);

// The bytes of a check test: the lines (UTF-8) joined by CR LF and enciphered,
// then each picture under its name. Fails with
// kSaveCheckTestError when a picture cannot be read or a length does not fit.
Expected<std::string> BuildCheckTest(const TModeConfig& mode, uint8_t locked,
                                     const std::vector<std::string>& lines,
                                     const std::vector<SavedPicture>& pictures);

// Makes "<base>{GUID}/": base is tempBase when it is not empty, else the test's
// folder. One level only: a missing base fails with the system's text.
Expected<std::string> MakeCheckTestFolder(const std::string& tempBase, const std::string& testDir,
                                          const std::string& guid);

}  // namespace quilmo
