#pragma once
// The in-memory test shared by the runner and the editor.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quilmo {

using TIntDynArray = std::vector<int32_t>;

// Task types as the answer line implies them.
enum TaskTypes : uint8_t { SingleChoice = 1, MultipleChoice = 2, Ordering = 3 };

struct TTask {
    std::string Question;   // may hold CR LF
    std::string Prompt;     // single line, never escaped
    std::string ImageFile;  // full path in a loaded test, empty: no picture
    uint8_t TaskType = SingleChoice;
    std::array<std::string, 5> Variants;  // empty: unused
    std::array<int32_t, 5> Answers{};     // types 1, 2: 1 right; type 3: 1-based place, 0 none
    int32_t VariantCount = 0;             // number of the last non-empty variant

    bool operator==(const TTask&) const = default;
};

// Number (1 to 5) of the last variant whose text is not empty; 0 if all are empty.
int32_t LastNonEmptyVariant(const std::array<std::string, 5>& variants);

struct TTestInfo {
    std::string FileName;     // full path as given to open test
    std::string FileDir;      // folder of FileName, ending in '/'
    std::string TempDir;      // check test: its unpacked picture folder, ending in '/'
    std::string Title;
    std::string Description;  // may hold CR LF
    int32_t TaskCount = 0;
    TIntDynArray Marks;       // entry i: least right answers for mark i + 1
    uint8_t Locked = 0;
    uint32_t FileCrc = 0;
};

// The sixteen-byte block of session settings a check test can carry.
struct TModeConfig {
    uint8_t OrderTaskNormal = 1;
    uint8_t OrderVariantNormal = 1;
    uint8_t ModeEducation = 0;
    uint8_t SaveResult = 1;
    uint8_t SendResult = 0;
    uint8_t SaveConfig = 0;
    uint8_t ModeTimeLimit = 0;  // 0 off, 1 whole test, 2 each task
    uint8_t Reserved = 0;       // kept as a loaded container brought it
    int32_t TimeLimitTest = 300;
    int32_t TimeLimitTask = 30;

    bool operator==(const TModeConfig&) const = default;
};

enum class TRunnerState : int { NoTest = 1, TestOpen = 2, TestRunning = 3 };

// A two-entry marks array is a pass/fail scheme.
inline bool IsPassFail(const TIntDynArray& marks) { return marks.size() == 2; }

}  // namespace quilmo
