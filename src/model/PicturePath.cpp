#include "model/PicturePath.h"

#include <dirent.h>
#include <sys/stat.h>

#include <optional>

#include "model/TextUtil.h"

namespace quilmo {

namespace {

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

const PictureLookup::Listing* PictureLookup::ListingOf(const std::string& folder)
{
    auto [at, added] = listings_.try_emplace(folder);
    if (added) {
        if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
            Listing& listing = at->second.emplace();
            while (const dirent* e = ::readdir(dir)) {
                const std::string_view entry(e->d_name);
                listing.Names.emplace(entry);
                auto [slot, fresh] = listing.Folded.try_emplace(CaseFoldKey(entry), entry);
                // Of several case variants the first by byte order, so the
                // choice does not depend on the order the system lists them in.
                if (!fresh && entry < slot->second)
                    slot->second = std::string(entry);
            }
            ::closedir(dir);
        }
    }
    return at->second ? &*at->second : nullptr;
}

std::string PictureLookup::Resolve(const std::string& dir, const std::string& line)
{
    std::string relative = line;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const std::string joined = dir + relative;

    // Walk the components through the listings of their folders, replacing
    // each one that is not there by the entry that differs from it only in
    // letter case. A folder that cannot be listed (searchable, not readable)
    // can still hold an exact name.
    std::string path = dir;
    size_t pos = 0;
    while (pos <= relative.size()) {
        size_t next = relative.find('/', pos);
        if (next == std::string::npos)
            next = relative.size();
        const std::string part = relative.substr(pos, next - pos);
        const bool last = next == relative.size();
        if (!part.empty()) {
            const Listing* listing = ListingOf(path);
            if (!listing) {
                if (!Exists(path + part))
                    return joined;
                path += part;
            } else if (listing->Names.count(part) != 0) {
                path += part;
            } else {
                const auto found = listing->Folded.find(CaseFoldKey(part));
                if (found == listing->Folded.end())
                    return joined;
                path += found->second;
            }
        }
        if (last)
            break;
        if (!path.empty() && path.back() != '/')
            path += '/';
        pos = next + 1;
    }
    return path;
}

std::string ResolvePicturePath(const std::string& dir, const std::string& line)
{
    PictureLookup lookup;
    return lookup.Resolve(dir, line);
}

std::string BareFileName(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(const std::string& path)
{
    // On-disk paths: only '/' separates folders here.
    const size_t cut = path.rfind('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace quilmo
