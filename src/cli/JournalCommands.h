#pragma once
// quilmo-tool journal: the journal's store from the command line. Each
// subcommand writes to the given streams and returns the process's exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace quilmo::cli {

// args: what follows "journal" ("list --store FILE", "export OUT", ...).
int Journal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

void JournalUsage(std::ostream& err);

}  // namespace quilmo::cli
