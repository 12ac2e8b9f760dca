#pragma once
// Picture paths from files made on Windows: '\' separators, names that differ in case.

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace quilmo {

// Resolves the picture lines of one test, as ResolvePicturePath does. Each
// folder a picture line passes through is listed once and the listing kept for
// every later line, so a test costs one listing of its picture folder however
// many of its pictures are missing. Keep one object for one open only: a
// listing does not see files added later.
class PictureLookup {
public:
    std::string Resolve(const std::string& dir, const std::string& line);
    // Folders listed so far, for tests.
    size_t ListedFolders() const { return listings_.size(); }

private:
    struct Listing {
        std::unordered_set<std::string> Names;
        // Folded name -> the entry of that name, the smallest byte for byte
        // when several differ only in case.
        std::unordered_map<std::u32string, std::string> Folded;
    };
    // The listing of folder; nullptr when it cannot be read.
    const Listing* ListingOf(const std::string& folder);

    std::map<std::string, std::optional<Listing>> listings_;
};

// Joins dir (ending in '/') and a picture line taken from a file: '\' counts as a
// folder separator. Each component that does not exist is looked up ignoring
// letter case; the exact name wins, else the first match by byte order. Returns the joined path unchanged
// when nothing matches, so the caller reports it as missing.
std::string ResolvePicturePath(const std::string& dir, const std::string& line);

// The bare file name: the text after the last '/' or '\'.
std::string BareFileName(const std::string& path);
// The folder of path, ending in '/'; "" when path has no folder.
std::string FolderOf(const std::string& path);

}  // namespace quilmo
