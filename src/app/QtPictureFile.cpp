#include "app/QtPictureFile.h"

#include <QImageReader>

#include "app/QtConvert.h"
#include "model/PictureKind.h"

namespace quilmo {

QImage ReadQuestionPicture(const std::string& path)
{
    QByteArray format;
    switch (PictureKindOf(path)) {
    case PictureKind::Bitmap: format = "bmp"; break;
    case PictureKind::Icon: format = "ico"; break;
    case PictureKind::Jpeg: format = "jpeg"; break;
    case PictureKind::Gif: format = "gif"; break;
    case PictureKind::None: return {};
    }
    QImageReader reader(Q(path), format);
    reader.setDecideFormatFromContent(false);
    return reader.read();
}

}  // namespace quilmo
