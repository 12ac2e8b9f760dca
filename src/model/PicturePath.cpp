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

// The entry of folder whose name equals name ignoring letter case; of several,
// the smallest name byte for byte, so the choice does not depend on the order
// the file system lists them in.
std::optional<std::string> FindIgnoringCase(const std::string& folder, std::string_view name)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view entry(e->d_name);
        // Letters and their other case have the same UTF-8 length here, so
        // most entries are passed over without decoding them.
        if (entry.size() == name.size() && EqualsIgnoreCase(entry, name) && (!best || entry < *best))
            best = std::string(entry);
    }
    ::closedir(dir);
    return best;
}

}  // namespace

std::string ResolvePicturePath(const std::string& dir, const std::string& line)
{
    std::string relative = line;
    for (char& c : relative)
        if (c == '\\')
            c = '/';
    const std::string joined = dir + relative;
    if (Exists(joined))
        return joined;

    // Walk the components, replacing each one that does not exist by the
    // entry that differs from it only in letter case.
    std::string path = dir;
    size_t pos = 0;
    while (pos <= relative.size()) {
        size_t next = relative.find('/', pos);
        if (next == std::string::npos)
            next = relative.size();
        const std::string_view part(relative.data() + pos, next - pos);
        const bool last = next == relative.size();
        if (!part.empty()) {
            std::string candidate = path + std::string(part);
            if (!Exists(candidate)) {
                const auto found = FindIgnoringCase(path, part);
                if (!found)
                    return joined;
                candidate = path + *found;
            }
            path = std::move(candidate);
        }
        if (last)
            break;
        if (!path.empty() && path.back() != '/')
            path += '/';
        pos = next + 1;
    }
    return Exists(path) ? path : joined;
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
