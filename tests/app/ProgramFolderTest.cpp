#include "app/ProgramFolder.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace quilmo {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

TEST(ProgramFolderTest, ExecutableFolderHoldsThisProgram)
{
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::is_regular_file(folder + "quilmo_core_tests"));
}

TEST(ProgramFolderTest, FallbackFolderFollowsXdg)
{
    const struct {
        const char* Xdg;
        const char* Home;
        const char* Expected;
    } cases[] = {
        {"/cfg", "/home/u", "/cfg/quilmo/"},
        {"/cfg/", "/home/u", "/cfg/quilmo/"},
        {nullptr, "/home/u", "/home/u/.config/quilmo/"},
        {"", "/home/u/", "/home/u/.config/quilmo/"},
        {"relative/cfg", "/home/u", "/home/u/.config/quilmo/"},
        {nullptr, nullptr, ""},
        {nullptr, "relative", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigFallbackFolder(c.Xdg, c.Home), c.Expected)
            << (c.Xdg ? c.Xdg : "(unset)") << " " << (c.Home ? c.Home : "(unset)");
}

TEST(ProgramFolderTest, WritableExecutableFolderIsUsed)
{
    TempFolder dir;
    std::string noSlash = dir.Path();
    noSlash.pop_back();
    EXPECT_EQ(ChooseProgramFolder(dir.Path()), dir.Path());
    EXPECT_EQ(ChooseProgramFolder(noSlash), dir.Path());
}

// A folder that does not exist is not writable for anyone, root included, so
// this exercises the fallback wherever the tests run.
TEST(ProgramFolderTest, UnwritableExecutableFolderFallsBackToConfigFolder)
{
    TempFolder dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "config").c_str());
    const std::string chosen = ChooseProgramFolder(dir / "no-such-install/bin/");
    EXPECT_EQ(chosen, dir / "config/quilmo/");
    EXPECT_TRUE(fs::is_directory(chosen));
    EXPECT_FALSE(fs::exists(dir / "no-such-install"));
}

TEST(ProgramFolderTest, ReadOnlyExecutableFolderFallsBackToConfigFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write to any folder";
    TempFolder dir;
    const std::string install = dir / "install/";
    fs::create_directory(install);
    fs::permissions(install, fs::perms::owner_read | fs::perms::owner_exec);
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", (dir / "home").c_str());
    EXPECT_EQ(ChooseProgramFolder(install), dir / "home/.config/quilmo/");
    EXPECT_TRUE(fs::is_directory(dir / "home/.config/quilmo"));
    fs::permissions(install, fs::perms::owner_all);
}

}  // namespace
}  // namespace quilmo
