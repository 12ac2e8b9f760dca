#include "model/UniquePictureNames.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <vector>

#include "support/TempFolder.h"

namespace quilmo {
namespace {

using Names = std::vector<std::string>;

TEST(UniquePictureNamesTest, LaterClashingNamesGetASuffixBeforeTheExtension)
{
    const struct {
        const char* Name;
        Names In;
        Names Out;
    } cases[] = {
        {"no clash", {"a.jpg", "b.jpg", "c.gif"}, {"a.jpg", "b.jpg", "c.gif"}},
        {"same name", {"p.jpg", "p.jpg", "p.jpg"}, {"p.jpg", "p~2.jpg", "p~3.jpg"}},
        {"letter case", {"Pic.jpg", "pic.jpg", "PIC.JPG"}, {"Pic.jpg", "pic~2.jpg", "PIC~3.JPG"}},
        {"Cyrillic case", {"Рис.jpg", "рис.jpg"}, {"Рис.jpg", "рис~2.jpg"}},
        {"suffix taken already", {"p~2.jpg", "p.jpg", "p.jpg"}, {"p~2.jpg", "p.jpg", "p~3.jpg"}},
        {"no extension", {"pic", "PIC"}, {"pic", "PIC~2"}},
        {"last dot counts", {"a.b.jpg", "A.B.jpg"}, {"a.b.jpg", "A.B~2.jpg"}},
        // Both are stored as "?.jpg" in Windows-1251.
        {"same bytes when stored", {"日.jpg", "本.jpg"}, {"日.jpg", "本~2.jpg"}},
    };
    for (const auto& c : cases) {
        UniquePictureNames names;
        Names out;
        for (const std::string& name : c.In)
            out.push_back(names.Claim(name));
        EXPECT_EQ(out, c.Out) << c.Name;
    }
}

TEST(UniquePictureNamesTest, TheSameFileKeepsItsNameWhateverThePath)
{
    testing::TempFolder folder;
    const std::string a = folder.Write("a/p.jpg", "first");
    const std::string b = folder.Write("b/p.jpg", "second");
    ASSERT_EQ(::symlink(a.c_str(), (folder / "link.jpg").c_str()), 0);

    UniquePictureNames names;
    bool isNew = false;
    EXPECT_EQ(names.ClaimFile(a, &isNew), "p.jpg");
    EXPECT_TRUE(isNew);
    EXPECT_EQ(names.ClaimFile(b, &isNew), "p~2.jpg");
    EXPECT_TRUE(isNew);
    EXPECT_EQ(names.ClaimFile(folder / "a/../a/p.jpg", &isNew), "p.jpg");
    EXPECT_FALSE(isNew);
    EXPECT_EQ(names.ClaimFile(folder / "link.jpg", &isNew), "p.jpg");
    EXPECT_FALSE(isNew);
}

TEST(UniquePictureNamesTest, AReservedNameIsNeverGivenAgain)
{
    UniquePictureNames names;
    names.Reserve("P.jpg");
    names.Reserve("p.jpg");  // two pictures already there keep their names
    EXPECT_EQ(names.Claim("p.jpg"), "p~2.jpg");
}

}  // namespace
}  // namespace quilmo
