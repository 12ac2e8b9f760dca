#pragma once
// Where config.ini, language.txt and result.txt live.

#include <string>

namespace quilmo {

// Folder of the running executable (/proc/self/exe), ending in '/'.
std::string ExecutableFolder();

// exeFolder when it is writable, else $XDG_CONFIG_HOME/quilmo/ (default
// ~/.config/quilmo/), created when missing. Ends in '/'.
std::string ChooseProgramFolder(const std::string& exeFolder);

}  // namespace quilmo
