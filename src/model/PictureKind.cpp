#include "model/PictureKind.h"

#include <algorithm>

namespace quilmo {

const std::vector<PictureKindEntry>& PictureKinds()
{
    static const std::vector<PictureKindEntry> kinds = {
        {PictureKind::Jpeg, "JPEG", {"jpg", "jpeg", "jpe", "jfif"}},
        {PictureKind::Gif, "GIF", {"gif"}},
        {PictureKind::Bitmap, "Точечные рисунки", {"bmp", "dib"}},
        {PictureKind::Icon, "Значки", {"ico"}},
        {PictureKind::Metafile, "Метафайлы", {"wmf"}},
    };
    return kinds;
}

PictureKind PictureKindOf(std::string_view path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return PictureKind::None;
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c); });
    for (const PictureKindEntry& entry : PictureKinds())
        if (std::find(entry.Extensions.begin(), entry.Extensions.end(), extension) != entry.Extensions.end())
            return entry.Kind;
    return PictureKind::None;
}

namespace {

std::string Patterns(const std::vector<std::string>& extensions)
{
    std::string patterns;
    for (const std::string& extension : extensions) {
        if (!patterns.empty())
            patterns += ';';
        patterns += "*.";
        for (char c : extension)
            patterns += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    return patterns;
}

}  // namespace

std::string PictureFilter()
{
    std::vector<std::string> all;
    for (const PictureKindEntry& entry : PictureKinds())
        all.insert(all.end(), entry.Extensions.begin(), entry.Extensions.end());
    std::string filter = "Все рисунки|" + Patterns(all);
    for (const PictureKindEntry& entry : PictureKinds())
        filter += std::string("|") + entry.Caption + "|" + Patterns(entry.Extensions);
    return filter;
}

}  // namespace quilmo
