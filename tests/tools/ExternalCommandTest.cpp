// Desktop tools run without a shell, with a bounded wait.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "model/FileIO.h"
#include "support/ScopedEnv.h"
#include "tools/ExternalCommand.h"

namespace quilmo::testing {
namespace {

TEST(ExternalCommandTest, ArgumentsReachTheProgramAsGiven)
{
    const CommandResult r = RunCommand({"printf", "%s|", "a b", "$HOME", "\"q\" 'r'", "*", ";ls"});
    ASSERT_TRUE(r.Succeeded()) << r.Failure << r.ErrorText;
    EXPECT_EQ(r.Output, "a b|$HOME|\"q\" 'r'|*|;ls|");
}

TEST(ExternalCommandTest, ExitCodeAndErrorTextMakeTheMessage)
{
    const CommandResult r = RunCommand({"sh", "-c", "echo out; echo '  cannot write  ' >&2; exit 3"});
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(r.ExitCode, 3);
    EXPECT_EQ(r.Output, "out\n");
    EXPECT_EQ(CommandFailureText("sh", r), "sh: cannot write");

    const CommandResult silent = RunCommand({"sh", "-c", "exit 4"});
    EXPECT_EQ(CommandFailureText("sh", silent), "sh: код завершения 4");
}

TEST(ExternalCommandTest, MissingProgramGivesTheSystemsText)
{
    const CommandResult r = RunCommand({"quilmo-no-such-program", "x"});
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(CommandFailureText("quilmo-no-such-program", r),
              "quilmo-no-such-program: " + SystemErrorText(ENOENT));
}

TEST(ExternalCommandTest, ProgramThatDoesNotFinishIsKilledInTime)
{
    const auto start = std::chrono::steady_clock::now();
    const CommandResult r = RunCommand({"sleep", "30"}, 200);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(r.Failure, "нет ответа за 1 с");
    EXPECT_LT(took, std::chrono::seconds(5));
}

TEST(ExternalCommandTest, ExtraEnvironmentReplacesInheritedValues)
{
    ScopedEnv probe("QUILMO_PROBE", "inherited");
    ScopedEnv other("QUILMO_OTHER", "kept");
    const CommandResult r = RunCommand({"sh", "-c", "printf '%s/%s' \"$QUILMO_PROBE\" \"$QUILMO_OTHER\""},
                                       5000, {"QUILMO_PROBE=given value"});
    EXPECT_EQ(r.Output, "given value/kept");
}

TEST(ExternalCommandTest, FindOnPath)
{
    const std::string sh = FindOnPath("sh");
    ASSERT_FALSE(sh.empty());
    EXPECT_EQ(sh.front(), '/');
    EXPECT_EQ(FindOnPath("quilmo-no-such-program"), "");
    EXPECT_EQ(FindOnPath(""), "");
}

}  // namespace
}  // namespace quilmo::testing
