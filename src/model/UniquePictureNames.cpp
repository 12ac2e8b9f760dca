#include "model/UniquePictureNames.h"

#include <sys/stat.h>

#include "model/Cp1251.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// Two names clash when they are stored as the same Windows-1251 bytes up to
// letter case (a character Windows-1251 lacks is stored as '?').
std::string Folded(std::string_view name) { return ToLowerUtf8(Cp1251ToUtf8(Utf8ToCp1251(name))); }

}  // namespace

std::string UniquePictureNames::Claim(std::string_view bareName)
{
    std::string name(bareName);
    if (taken_.insert(Folded(name)).second)
        return name;
    const size_t dot = bareName.rfind('.');
    const std::string_view stem = bareName.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : bareName.substr(dot);
    for (unsigned n = 2;; ++n) {
        name = std::string(stem) + "~" + std::to_string(n) + std::string(extension);
        if (taken_.insert(Folded(name)).second)
            return name;
    }
}

std::string UniquePictureNames::ClaimFile(const std::string& path, bool* isNew)
{
    struct stat st {};
    const bool known = ::stat(path.c_str(), &st) == 0;
    const std::pair<uint64_t, uint64_t> id{uint64_t(st.st_dev), uint64_t(st.st_ino)};
    if (known)
        if (const auto found = files_.find(id); found != files_.end()) {
            if (isNew)
                *isNew = false;
            return found->second;
        }
    std::string name = Claim(BareFileName(path));
    if (known)
        files_.emplace(id, name);
    if (isNew)
        *isNew = true;
    return name;
}

void UniquePictureNames::Reserve(std::string_view bareName) { taken_.insert(Folded(bareName)); }

}  // namespace quilmo
