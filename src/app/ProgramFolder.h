#pragma once
// Where config.ini, language.txt and result.txt live.

#include <string>

namespace quilmo {

// Folder of the running executable (/proc/self/exe), ending in '/'.
std::string ExecutableFolder();

// $XDG_CONFIG_HOME/quilmo/ given the two variables: a relative or empty
// XDG_CONFIG_HOME is ignored; home/.config/quilmo/ then. "" when neither helps.
std::string ConfigFallbackFolder(const char* xdgConfigHome, const char* home);

// exeFolder when it is writable, else $XDG_CONFIG_HOME/quilmo/ (default
// ~/.config/quilmo/), created when missing. Ends in '/'.
std::string ChooseProgramFolder(const std::string& exeFolder);

}  // namespace quilmo
