// File associations in a temporary user data folder, with the real desktop tools.

#include <gtest/gtest.h>

#include <cerrno>

#include "model/FileIO.h"
#include "support/XdgSandbox.h"
#include "tools/Associations.h"
#include "tools/ExternalCommand.h"

namespace quilmo::testing {
namespace {

using Flags = std::array<bool, 3>;
constexpr Flags kNone{false, false, false};
constexpr Flags kEstOnly{false, false, true};
constexpr Flags kAll{true, true, true};

std::string FakePng(int index, int size)
{
    return "png " + std::to_string(index) + " " + std::to_string(size);
}

bool HaveDesktopTools()
{
    return !FindOnPath("update-mime-database").empty() && !FindOnPath("xdg-mime").empty();
}

class AssociationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDesktopTools())
            GTEST_SKIP() << "update-mime-database or xdg-mime is not installed";
    }
    AssociationContext Context(const std::string& program) const
    {
        return {xdg.DataHome(), program};
    }
    XdgSandbox xdg;
};

TEST(DesktopExecValueTest, QuotesOnlyWhenNeededWithTheEntrysEscapes)
{
    // Expected values as they stand in the file, written from the desktop
    // entry rules: reserved characters force quotes; inside them " ` $ \ take
    // a backslash; % doubles; then every backslash of the string doubles.
    const struct {
        const char* Program;
        const char* Exec;
    } cases[] = {
        {"/usr/bin/quilmo", "/usr/bin/quilmo %f"},
        {"/opt/Quilmo 2/quilmo", "\"/opt/Quilmo 2/quilmo\" %f"},
        {"/opt/it's/quilmo", "\"/opt/it's/quilmo\" %f"},
        {"/opt/say \"hi\"/quilmo", "\"/opt/say \\\\\"hi\\\\\"/quilmo\" %f"},
        {"/opt/$HOME/quilmo", "\"/opt/\\\\$HOME/quilmo\" %f"},
        {"/opt/back\\slash/quilmo", "\"/opt/back\\\\\\\\slash/quilmo\" %f"},
        {"/opt/100%/quilmo", "/opt/100%%/quilmo %f"},
        {"/opt/a;b&c/quilmo", "\"/opt/a;b&c/quilmo\" %f"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExecValue(c.Program), c.Exec) << c.Program;
}

TEST(DesktopEntryTest, EntriesPassTheValidator)
{
    if (FindOnPath("desktop-file-validate").empty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    TempFolder folder;
    std::vector<std::pair<std::string, std::string>> entries = {
        {"quilmo.desktop", InstalledDesktopEntry()}};
    for (const char* program : {"/usr/bin/quilmo", "/opt/Quilmo 2/say \"hi\" $x `y` \\z 100%/quilmo"})
        entries.push_back({"quilmo-est.desktop", TypeDesktopEntry(kAssociationTypes[2], program)});
    for (const auto& [name, text] : entries) {
        const std::string path = folder.Write(name, text);
        const CommandResult r = RunCommand({"desktop-file-validate", path});
        EXPECT_TRUE(r.Succeeded()) << text << r.Output << r.ErrorText;
        EXPECT_EQ(r.Output, "") << text;
    }
}

TEST(UserDataFolderTest, AbsoluteXdgDataHomeElseHome)
{
    EXPECT_EQ(UserDataFolder("/x/data", "/home/u"), "/x/data/");
    EXPECT_EQ(UserDataFolder("/x/data/", nullptr), "/x/data/");
    EXPECT_EQ(UserDataFolder("relative/data", "/home/u"), "/home/u/.local/share/");
    EXPECT_EQ(UserDataFolder("", "/home/u/"), "/home/u/.local/share/");
    EXPECT_EQ(UserDataFolder(nullptr, "relative"), "");
}

TEST_F(AssociationsTest, NoneAtFirstThenOnlyTheTypeApplied)
{
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    EXPECT_EQ(CheckAssociations(context), kNone);

    ASSERT_TRUE(ApplyAssociations(context, kEstOnly, FakePng));
    EXPECT_EQ(CheckAssociations(context), kEstOnly);

    const AssociationType& est = kAssociationTypes[2];
    EXPECT_TRUE(FileExists(MimePackagePath(context, est)));
    EXPECT_FALSE(FileExists(MimePackagePath(context, kAssociationTypes[0])));
    EXPECT_FALSE(FileExists(DesktopEntryPath(context, kAssociationTypes[1])));
    EXPECT_EQ(xdg.folder.Read("data/icons/hicolor/48x48/mimetypes/application-x-quilmo-est.png"),
              "png 3 48");
    EXPECT_EQ(xdg.folder.Read("data/icons/hicolor/128x128/apps/quilmo.png"), "png 0 128");
    EXPECT_NE(xdg.folder.Read("config/mimeapps.list")
                  .find("application/x-quilmo-est=quilmo-est.desktop"),
              std::string::npos);
    // The desktop now answers for the type.
    const CommandResult r = RunCommand({"xdg-mime", "query", "default", "application/x-quilmo-est"});
    EXPECT_EQ(r.Output, "quilmo-est.desktop\n");
}

TEST_F(AssociationsTest, PlainTestsStayTextForTheDesktop)
{
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    ASSERT_TRUE(ApplyAssociations(context, kAll, FakePng));
    // The database built by update-mime-database lists each type's parent on
    // a line of its own; a .tst is text, so text editors are still offered.
    const std::string subclasses = xdg.folder.Read("data/mime/subclasses");
    EXPECT_NE(subclasses.find("application/x-quilmo-tst text/plain\n"), std::string::npos)
        << subclasses;
    EXPECT_EQ(subclasses.find("application/x-quilmo-stst"), std::string::npos);
    EXPECT_EQ(subclasses.find("application/x-quilmo-est"), std::string::npos);
}

TEST_F(AssociationsTest, ProgramAtAnotherPathFindsNoTypeAssociated)
{
    const AssociationContext first = Context(xdg.Program("first/quilmo"));
    const AssociationContext moved = Context(xdg.Program("moved away/quilmo"));
    ASSERT_TRUE(ApplyAssociations(first, kAll, FakePng));
    EXPECT_EQ(CheckAssociations(first), kAll);
    EXPECT_EQ(CheckAssociations(moved), kNone);

    // Applying again from the new place takes all three over.
    ASSERT_TRUE(ApplyAssociations(moved, kAll, FakePng));
    EXPECT_EQ(CheckAssociations(moved), kAll);
    EXPECT_EQ(CheckAssociations(first), kNone);
}

TEST_F(AssociationsTest, AnotherDefaultHandlerTakesTheTypeAway)
{
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    ASSERT_TRUE(ApplyAssociations(context, kEstOnly, FakePng));
    xdg.folder.Write("data/applications/viewer.desktop",
                     "[Desktop Entry]\nType=Application\nName=Viewer\nExec=/bin/true %f\n"
                     "MimeType=application/x-quilmo-est;\n");
    ASSERT_TRUE(RunCommand({"xdg-mime", "default", "viewer.desktop", "application/x-quilmo-est"})
                    .Succeeded());
    EXPECT_EQ(CheckAssociations(context), kNone);
}

TEST_F(AssociationsTest, WritingStopsAtTheFirstFailureWithTheSystemsText)
{
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    // A file where the folder of desktop entries should be.
    xdg.folder.Write("data/applications", "not a folder");
    const Status result = ApplyAssociations(context, {true, false, true}, FakePng);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().Message, "Не удалось создать папку \"" + xdg.DataHome() +
                                          "applications\". Часть пути — не папка, а файл.");
    // .tst got as far as its entry; .est was never started.
    EXPECT_TRUE(FileExists(MimePackagePath(context, kAssociationTypes[0])));
    EXPECT_FALSE(FileExists(MimePackagePath(context, kAssociationTypes[2])));
    EXPECT_EQ(CheckAssociations(context), kNone);
}

TEST_F(AssociationsTest, MissingToolIsNamedWithTheSystemsText)
{
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    xdg.Set("PATH", xdg.folder / "empty-path");
    const Status result = ApplyAssociations(context, kEstOnly, FakePng);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().Message, "update-mime-database: " + SystemErrorText(ENOENT));
}

TEST_F(AssociationsTest, DesktopTellsTheTypeOfAnEstFileInEitherCase)
{
    // xdg-mime asks gio on GNOME-like desktops; on a plain one it asks `file`,
    // which knows nothing of the user's MIME database.
    if (FindOnPath("gio").empty())
        GTEST_SKIP() << "gio is not installed";
    xdg.Set("XDG_CURRENT_DESKTOP", "GNOME");
    xdg.Set("GIO_USE_VFS", "local");
    const AssociationContext context = Context(xdg.Program("bin/quilmo"));
    ASSERT_TRUE(ApplyAssociations(context, kEstOnly, FakePng));

    const struct {
        const char* Name;
        const char* Type;
    } cases[] = {
        {"sample.est", "application/x-quilmo-est\n"},
        {"SAMPLE.EST", "application/x-quilmo-est\n"},
        {"sample.tst", "application/octet-stream\n"},  // not associated
    };
    for (const auto& c : cases) {
        const std::string path = xdg.folder.Write(c.Name, std::string("\x1f\x8b\x08\x00", 4));
        const CommandResult r = RunCommand({"xdg-mime", "query", "filetype", path});
        EXPECT_EQ(r.Output, c.Type) << c.Name << r.ErrorText;
    }
}

}  // namespace
}  // namespace quilmo::testing
