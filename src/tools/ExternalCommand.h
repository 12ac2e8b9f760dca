#pragma once
// Running a desktop tool (update-mime-database, xdg-mime, ...) without a shell,
// so that no file name is ever re-read as shell syntax, and never for longer
// than a bounded time.

#include <string>
#include <vector>

namespace quilmo {

struct CommandResult {
    int ExitCode = -1;       // the exit status, when the program ran to its end
    std::string Output;      // what it wrote to standard output (capped)
    std::string ErrorText;   // what it wrote to standard error (capped)
    std::string Failure;     // why it did not start or finish: the system's text; "" otherwise
    bool Succeeded() const { return Failure.empty() && ExitCode == 0; }
};

// Runs argv[0] (looked up on PATH) with the arguments as given, standard input
// from /dev/null, in this process's environment with the "NAME=value" entries
// of extraEnvironment set. A program still running after timeoutMs is killed.
CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutMs = 20000,
                         const std::vector<std::string>& extraEnvironment = {});

// The user's message for a command that did not succeed: the program's name
// and the system's or the program's own error text.
std::string CommandFailureText(const std::string& program, const CommandResult& result);

// The full path of name on PATH; "" when there is none.
std::string FindOnPath(const std::string& name);

}  // namespace quilmo
