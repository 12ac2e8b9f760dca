#include <gtest/gtest.h>

#include "model/PictureKind.h"

namespace quilmo {
namespace {

TEST(PictureKindTest, KindFollowsTheExtensionInAnyCase)
{
    const struct {
        const char* Path;
        PictureKind Kind;
    } cases[] = {
        {"a.bmp", PictureKind::Bitmap},
        {"A.DIB", PictureKind::Bitmap},
        {"/pics/Icon.Ico", PictureKind::Icon},
        {"photo.JPG", PictureKind::Jpeg},
        {"photo.jpeg", PictureKind::Jpeg},
        {"photo.jpe", PictureKind::Jpeg},
        {"photo.JFIF", PictureKind::Jpeg},
        {"anim.gif", PictureKind::Gif},
        {"drawing.wmf", PictureKind::Metafile},
        {"DRAWING.WMF", PictureKind::Metafile},
        {"drawing.emf", PictureKind::None},
        {"C:\\Рисунки\\Ёлка.GIF", PictureKind::Gif},
        {"picture.png", PictureKind::None},
        {"picture.PNG", PictureKind::None},
        {"picture.tiff", PictureKind::None},
        {"picture", PictureKind::None},
        {"folder.bmp/picture", PictureKind::None},
        {"folder.bmp\\picture", PictureKind::None},
        {"picture.", PictureKind::None},
        {"", PictureKind::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureKindOf(c.Path), c.Kind) << c.Path;
}

TEST(PictureKindTest, FilterListsEveryKindAndNothingElse)
{
    EXPECT_EQ(PictureFilter(),
              "Все рисунки|*.JPG;*.JPEG;*.JPE;*.JFIF;*.GIF;*.BMP;*.DIB;*.ICO;*.WMF|"
              "JPEG|*.JPG;*.JPEG;*.JPE;*.JFIF|GIF|*.GIF|Точечные рисунки|*.BMP;*.DIB|Значки|*.ICO|"
              "Метафайлы|*.WMF");
}

TEST(PictureKindTest, EveryListedExtensionHasItsKind)
{
    for (const PictureKindEntry& entry : PictureKinds()) {
        EXPECT_NE(entry.Kind, PictureKind::None);
        for (const std::string& extension : entry.Extensions)
            EXPECT_EQ(PictureKindOf("x." + extension), entry.Kind) << extension;
    }
}

}  // namespace
}  // namespace quilmo
