#pragma once
// quilmo-tool's two commands, each writing to the given streams and
// returning the process's exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace quilmo::cli {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// Prints the information text the runner shows, the file checksum and, for a
// check test, its mode block and lock flag.
int Info(const std::string& path, std::ostream& out, std::ostream& err);

// Converts between .txt, .tst, .stst and .est and the question banks .xml
// (Moodle XML), .gift and .aiken, by the extensions of in and out. Questions
// that cannot travel are printed on err; converting succeeds when at least
// one did. A locked check test is never written as a bank.
// options: "--lock" and "--mode KEY=VALUE ..." (check tests only).
int Convert(const std::string& in, const std::string& outPath, const std::vector<std::string>& options,
            std::ostream& err);

void Usage(std::ostream& err);

}  // namespace quilmo::cli
