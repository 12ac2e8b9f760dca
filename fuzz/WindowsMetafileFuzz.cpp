// A question's picture in a Windows metafile. Every input is drawn or refused
// without a fault; a drawing has the size it claims, within the bounds.

#include "FuzzSupport.h"
#include "model/WindowsMetafile.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto picture = DrawWindowsMetafile(bytes);
    if (!picture)
        return 0;
    fuzz::Check(picture->Width > 0 && picture->Height > 0 && picture->Width <= kMaxMetafileSide &&
                    picture->Height <= kMaxMetafileSide,
                "a drawing outside the bounds");
    fuzz::Check(picture->Pixels.size() == size_t(picture->Width) * size_t(picture->Height),
                "a drawing whose pixels do not fill it");
    return 0;
}
