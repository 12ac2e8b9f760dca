#include "app/QtPictureFile.h"

#include <QImageReader>
#include <algorithm>

#include "app/QtConvert.h"
#include "model/PictureKind.h"
#include "model/WindowsMetafile.h"

namespace quilmo {

namespace {

// Qt has no reader of metafiles; the core draws them.
QImage ReadMetafile(const std::string& path)
{
    const auto drawn = ReadWindowsMetafile(path);
    if (!drawn)
        return {};
    QImage image(drawn->Width, drawn->Height, QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < drawn->Height; ++y)
        std::copy_n(drawn->Pixels.data() + size_t(y) * size_t(drawn->Width), drawn->Width,
                    reinterpret_cast<uint32_t*>(image.scanLine(y)));
    return image;
}

}  // namespace

QImage ReadQuestionPicture(const std::string& path)
{
    QByteArray format;
    switch (PictureKindOf(path)) {
    case PictureKind::Bitmap: format = "bmp"; break;
    case PictureKind::Icon: format = "ico"; break;
    case PictureKind::Jpeg: format = "jpeg"; break;
    case PictureKind::Gif: format = "gif"; break;
    case PictureKind::Metafile: return ReadMetafile(path);
    case PictureKind::None: return {};
    }
    QImageReader reader(Q(path), format);
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

}  // namespace quilmo
