#pragma once
// Reading the report blocks of runners' local result logs (result.txt) into
// journal records, so results that never reached the journal over the network
// can be gathered from the workstations' logs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "journal/ResultProtocol.h"
#include "model/Expected.h"

namespace quilmo::journal {

struct ResultLogContents {
    std::vector<TTestResult> Results;  // in the order of the log
    int Unreadable = 0;                // blocks (or runs of stray lines) that could not be read
};

// Reads a log's bytes (Windows-1251; CR LF, LF or CR line ends). A block's
// stamp line gives ReceivedTime and the date of its start and end times (a
// day earlier for the start when it is later than the end). RemoteIP stays
// empty and FileCrc 0: the log does not carry them. Start and close lines are
// skipped; a block that does not read is skipped and counted.
ResultLogContents ReadResultLog(std::string_view bytes);

// Reads a log file; fails with the system's text, or when the file is larger
// than any log a classroom writes.
Expected<ResultLogContents> ReadResultLogFile(const std::string& path);

// Two records of the same result: the same user, computer, test file, start
// and end time and result mask, however they reached the journal.
bool SameResult(const TTestResult& a, const TTestResult& b);

// The identifying fields as one string: equal exactly when SameResult holds,
// so a window can find a repeat among thousands of results in a hash set.
std::string ResultKey(const TTestResult& r);

}  // namespace quilmo::journal
