#pragma once
// Picture paths from files made on Windows: '\' separators, names that differ in case.

#include <string>

namespace quilmo {

// Joins dir (ending in '/') and a picture line taken from a file: '\' counts as a
// folder separator. When that path does not exist, each component is looked up
// ignoring letter case; the first match wins. Returns the joined path unchanged
// when nothing matches, so the caller reports it as missing.
std::string ResolvePicturePath(const std::string& dir, const std::string& line);

// The bare file name: the text after the last '/' or '\'.
std::string BareFileName(const std::string& path);
// The folder of path, ending in '/'; "" when path has no folder.
std::string FolderOf(const std::string& path);

}  // namespace quilmo
