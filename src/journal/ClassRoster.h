#pragma once
// The classroom at a glance: one row per workstation and learner, opened by
// the runner's "Начат тест" message and closed by its result, so the teacher
// sees who is still working, for how long, and how those who finished did.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

struct ClassEntry {
    std::string CompName;
    std::string Address;   // the peer's dotted address
    std::string UserName;
    std::string TestTitle;  // empty until the result arrives
    TDateTime Started;      // the start message's arrival, or the result's own start time
    bool Finished = false;
    uint8_t EndMode = 0;
    int32_t Mark = 0;
    std::string Share;      // "Результат" as the results table shows it
    bool operator==(const ClassEntry&) const = default;
};

inline constexpr std::string_view kTestStarted = "Начат тест";

class ClassRoster {
public:
    // A learner started a test: a new row, also when the same learner starts
    // again on the same workstation. Returns its index.
    size_t Start(std::string_view compName, std::string_view address, std::string_view userName,
                 const TDateTime& at);
    // A result arrived: it closes the latest open row of its workstation (name
    // and address) and learner, or opens a row of its own when none is open
    // (its start message was lost, or came before the journal listened).
    // Returns the row's index.
    size_t Finish(const TTestResult& result);

    const std::vector<ClassEntry>& Entries() const { return Rows; }

private:
    static std::string OpenKey(std::string_view compName, std::string_view address, std::string_view userName);

    std::vector<ClassEntry> Rows;
    // The open rows of each workstation and learner, oldest first: a full
    // school day's rows must not be searched once per result.
    std::unordered_map<std::string, std::vector<size_t>> OpenRows;
};

inline constexpr size_t kClassColumnCount = 8;
using ClassRowTexts = std::array<std::string, kClassColumnCount>;
extern const std::array<std::string_view, kClassColumnCount> kClassColumnHeaders;
inline constexpr size_t kClassStateColumn = 5;

// "тестируется hh:nn:ss" while open (the time since its start, never
// negative); "закончил", "остановил" or "время вышло" by the result's end mode.
std::string ClassStateText(const ClassEntry& entry, const TDateTime& now);
ClassRowTexts ClassRowTextsOf(const ClassEntry& entry, const TDateTime& now);

}  // namespace quilmo::journal
