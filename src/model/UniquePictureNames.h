#pragma once
// The bare names the pictures of a test are written under. A test names its
// pictures by bare name only, so two pictures whose names clash (ignoring
// letter case, as Windows does) would overwrite one another where they are
// written; each gets a name of its own instead.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace quilmo {

// A picture file and the bare name it is written under.
struct SavedPicture {
    std::string Path;  // the file, a full path
    std::string Name;  // UTF-8; unique within the test, ignoring letter case

    bool operator==(const SavedPicture&) const = default;
};

class UniquePictureNames {
public:
    // bareName itself when no name claimed so far equals it ignoring letter
    // case (as stored, in Windows-1251); else bareName with "~2", "~3", ...
    // before its extension, the first that is free ("p.jpg" -> "p~2.jpg").
    // The name returned is claimed.
    std::string Claim(std::string_view bareName);

    // The name for the picture file at path: the one it got before when the
    // same file (by device and inode, whatever the path) was claimed already,
    // else Claim of its bare name. isNew, when given, tells which.
    std::string ClaimFile(const std::string& path, bool* isNew = nullptr);

    // Takes bareName as it is, for a picture already written under it.
    void Reserve(std::string_view bareName);

private:
    std::unordered_set<std::string> taken_;  // the claimed names, folded
    std::map<std::pair<uint64_t, uint64_t>, std::string> files_;
};

}  // namespace quilmo
