#pragma once
// The result as the learner reads it, the report block and the one-line entries
// of result.txt, and where the two logs live.

#include <string>
#include <vector>

#include "model/Expected.h"
#include "model/Regional.h"
#include "model/TestResult.h"

namespace quilmo {

inline constexpr const char* kResultFileName = "result.txt";

// "Тест закончен...", "Тест остановлен...", "Тест закончен - вышло время...".
std::string EndLine(uint8_t endMode);
// MarkText when it is not empty, else the mark's number.
std::string MarkWord(const TTestResult& result);

// The three shares, "%1.1f": right and wrong of the tasks asked, right of all.
std::string RightShare(const TTestResult& result);
std::string WrongShare(const TTestResult& result);
std::string ResultShare(const TTestResult& result);

// The eleven lines written into the question area.
std::vector<std::string> LearnerText(const TTestResult& result);
// The twenty lines of a report block; now is the moment of writing.
std::vector<std::string> ReportBlock(const TTestResult& result, const TDateTime& now);

// "dd.mm.yyyy hh:nn:ss Начат тест: "title"" and its closing counterpart.
std::string StartLogLine(const TDateTime& now, const std::string& title);
std::string CloseLogLine(const TDateTime& now, const std::string& title);

// Report blocks go to dirForResult when it is set; the one-line entries always
// to the program folder (programDir ends in '/').
std::string ReportLogPath(const std::string& programDir, const std::string& dirForResult);
std::string LineLogPath(const std::string& programDir);

// Appends the lines, each ending in CR LF, in Windows-1251. The error carries
// the system's text.
Status AppendLogLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace quilmo
