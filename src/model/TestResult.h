#pragma once
// The record of one finished session: kept by the runner, sent to the journal.

#include <cstdint>
#include <string>

#include "model/Regional.h"
#include "model/TestModel.h"

namespace quilmo {

// How a session ended.
enum EndModes : uint8_t { EndFinished = 1, EndStopped = 2, EndTimeout = 3 };

struct TTestResult {
    std::string UserName;
    std::string CompName;
    std::string CompUserName;
    std::string TestTitle;
    std::string TestFile;
    int32_t TotalCount = 0;
    int32_t AskedCount = 0;
    int32_t RightCount = 0;
    int32_t WrongCount = 0;
    int32_t NotAskedCount = 0;
    int32_t Mark = 0;
    std::string MarkText;       // pass/fail word; not sent
    TDateTime StartTime;
    TDateTime EndTime;
    int32_t Duration = 0;       // seconds counted by the session timer
    uint8_t EndMode = 0;
    TIntDynArray MaskValues;    // per task in file order: -1 not shown, 0 wrong, 1 right; not sent
    std::string ResultMask;     // "+", "-", "*" per task in file order
    std::string TimeMask;       // seconds per task in file order, joined by ";"
    TIntDynArray TimeValues;    // not sent
    uint32_t FileCrc = 0;
};

}  // namespace quilmo
