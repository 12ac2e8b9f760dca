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

TEST(PicturePathTest, OneLookupListsEachFolderOnce)
{
    testing::TempFolder dir;
    dir.Write("Photo.JPG", "x");
    dir.Write("pics/Tree.gif", "x");
    PictureLookup lookup;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(lookup.Resolve(dir.Path(), "missing" + std::to_string(i) + ".jpg"),
                  dir / ("missing" + std::to_string(i) + ".jpg"));
    EXPECT_EQ(lookup.ListedFolders(), 1u);
    // The same listing finds names that differ only in case.
    EXPECT_EQ(lookup.Resolve(dir.Path(), "photo.jpg"), dir / "Photo.JPG");
    EXPECT_EQ(lookup.ListedFolders(), 1u);
    // A subfolder is listed once too, whatever the case of the line.
    EXPECT_EQ(lookup.Resolve(dir.Path(), "PICS\\tree.GIF"), dir / "pics/Tree.gif");
    EXPECT_EQ(lookup.Resolve(dir.Path(), "Pics\\TREE.gif"), dir / "pics/Tree.gif");
    EXPECT_EQ(lookup.ListedFolders(), 2u);

    // The listing is kept: a file added later is found only by its exact name.
    dir.Write("Late.png", "x");
    EXPECT_EQ(lookup.Resolve(dir.Path(), "late.png"), dir / "late.png");
    EXPECT_EQ(lookup.Resolve(dir.Path(), "Late.png"), dir / "Late.png");
    EXPECT_EQ(ResolvePicturePath(dir.Path(), "late.png"), dir / "Late.png");
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
