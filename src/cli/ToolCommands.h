#pragma once
// quilmo-tool's two commands, each writing to the given streams and
// returning the process's exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace quilmo::cli {

// A locked check test that would lose its lock is refused like a wrong
// command line: nothing is written.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2, kLocked = 2 };

// Prints the information text the runner shows, the file checksum and, for a
// check test, its mode block and lock flag.
int Info(const std::string& path, std::ostream& out, std::ostream& err);

// Converts between .txt, .tst, .stst and .est and the question banks .xml
// (Moodle XML), .gift and .aiken, by the extensions of in and out. Questions
// that cannot travel are printed on err; converting succeeds when at least
// one did. options: "--lock" and "--mode KEY=VALUE ..." (check tests only).
// A locked check test is only ever written as a locked check test, with its
// settings; never as a readable test or a bank.
int Convert(const std::string& in, const std::string& outPath, const std::vector<std::string>& options,
            std::ostream& err);

void Usage(std::ostream& err);

}  // namespace quilmo::cli
