#pragma once
// Where the help document is.

#include <string>

namespace quilmo {

inline constexpr const char* kHelpDocumentName = "Help.html";

// The help document beside the program; else the installed copy in
// <exeDir>/../share/quilmo/; else the one beside the program, which the
// desktop then fails to open quietly.
std::string HelpDocumentPath(const std::string& exeDir);

}  // namespace quilmo
