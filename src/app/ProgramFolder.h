#pragma once
// Where config.ini, language.txt and result.txt live.

#include <string>

namespace quilmo {

// Folder of the running executable (/proc/self/exe), ending in '/'.
std::string ExecutableFolder();
// Full path of the running executable; "" when it cannot be read.
std::string ExecutablePath();
// $HOME when absolute, else the account's home folder; "" when neither is known.
std::string HomeFolder();

// $XDG_CONFIG_HOME/quilmo/ given the two variables: a relative or empty
// XDG_CONFIG_HOME is ignored; home/.config/quilmo/ then. "" when neither helps.
std::string ConfigFallbackFolder(const char* xdgConfigHome, const char* home);

// exeFolder when it is writable, else $XDG_CONFIG_HOME/quilmo/ (default
// ~/.config/quilmo/), created when missing. Ends in '/'.
std::string ChooseProgramFolder(const std::string& exeFolder);

}  // namespace quilmo
