#include <gtest/gtest.h>

#include "model/PicturePath.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

TEST(PicturePathTest, BackslashIsAFolderSeparator)
{
    testing::TempFolder dir;
    dir.Write("pics/Photo.jpg", "x");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "pics\\Photo.jpg"), dir / "pics/Photo.jpg");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "pics/Photo.jpg"), dir / "pics/Photo.jpg");
}

TEST(PicturePathTest, FindsNamesThatDifferOnlyInCase)
{
    testing::TempFolder dir;
    dir.Write("Рисунки/Ёлка.JPG", "x");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "рисунки\\ёлка.jpg"), dir / "Рисунки/Ёлка.JPG");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "РИСУНКИ/ЁЛКА.jpg"), dir / "Рисунки/Ёлка.JPG");

    // Of several case variants the exact name wins, else the first by byte order.
    dir.Write("a.JPG", "1");
    dir.Write("A.jpg", "2");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "a.JPG"), dir / "a.JPG");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "a.jpg"), dir / "A.jpg");
}

TEST(PicturePathTest, MissingPictureKeepsTheJoinedPath)
{
    testing::TempFolder dir;
    dir.Write("pics/other.jpg", "x");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "pics\\none.jpg"), dir / "pics/none.jpg");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "nofolder\\other.jpg"), dir / "nofolder/other.jpg");
    // A file in the way of a folder is not a match.
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "PICS\\other.jpg\\x.jpg"), dir / "PICS/other.jpg/x.jpg");
}

TEST(PicturePathTest, BareFileNameAndFolder)
{
    EXPECT_EQ(BareFileName("C:\\Tests\\pics\\a.jpg"), "a.jpg");
    EXPECT_EQ(BareFileName("/home/t/pics/b.png"), "b.png");
    EXPECT_EQ(BareFileName("pics\\sub/c.gif"), "c.gif");
    EXPECT_EQ(BareFileName("d.bmp"), "d.bmp");
    EXPECT_EQ(BareFileName("pics/"), "");

    EXPECT_EQ(FolderOf("/home/t/test.txt"), "/home/t/");
    EXPECT_EQ(FolderOf("/test.txt"), "/");
    EXPECT_EQ(FolderOf("test.txt"), "");
}

}  // namespace
}  // namespace quilmo
