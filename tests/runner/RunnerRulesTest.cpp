// What the runner allows in each state.

#include "runner/RunnerRules.h"

#include <gtest/gtest.h>

namespace quilmo::testing {
namespace {

constexpr TRunnerState kNone = TRunnerState::NoTest;
constexpr TRunnerState kOpen = TRunnerState::TestOpen;
constexpr TRunnerState kRunning = TRunnerState::TestRunning;

TEST(RunnerRulesTest, SaveAsNeedsAnOpenUnlockedTestOutsideASession)
{
    EXPECT_TRUE(SaveAsAllowed(kOpen, 0));
    EXPECT_FALSE(SaveAsAllowed(kOpen, 1));
    EXPECT_FALSE(SaveAsAllowed(kNone, 0));
    EXPECT_FALSE(SaveAsAllowed(kRunning, 0));
}

TEST(RunnerRulesTest, ASessionBeginsOnlyOnAnOpenTestWithTasks)
{
    EXPECT_TRUE(BeginAllowed(kOpen, 1));
    EXPECT_FALSE(BeginAllowed(kOpen, 0));
    EXPECT_FALSE(BeginAllowed(kNone, 3));
    EXPECT_FALSE(BeginAllowed(kRunning, 3));
}

TEST(RunnerRulesTest, SettingsItemsFollowTheLockAndTheSession)
{
    const struct {
        TRunnerState State;
        uint8_t Locked;
        bool WhileRunning;
        bool Allowed;
    } cases[] = {
        {kNone, 0, false, true},     {kOpen, 0, false, true},    {kRunning, 0, false, false},
        {kRunning, 0, true, true},   {kOpen, 1, false, false},   {kOpen, 1, true, false},
        {kRunning, 1, true, false},  {kNone, 1, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsItemAllowed(c.State, c.Locked, c.WhileRunning), c.Allowed)
            << int(c.State) << " locked " << int(c.Locked) << " while running " << c.WhileRunning;
}

TEST(RunnerRulesTest, MenuItemsFollowTheStateTheLockAndTheTasks)
{
    // File and Test items, then the Settings items with and without a session.
    const struct {
        TRunnerState State;
        uint8_t Locked;
        size_t Tasks;
        bool Open, SaveAs, Close, Exit, Info, Begin, End, Settings, SaveConfig;
    } cases[] = {
        {kNone, 0, 0, true, false, false, true, false, false, false, true, true},
        {kOpen, 0, 3, false, true, true, false, true, true, false, true, true},
        {kOpen, 0, 0, false, true, true, false, true, false, false, true, true},
        {kOpen, 1, 3, false, false, true, false, true, true, false, false, false},
        {kRunning, 0, 3, false, false, false, false, true, false, true, false, true},
        {kRunning, 1, 3, false, false, false, false, true, false, true, false, false},
    };
    for (const auto& c : cases) {
        const RunnerMenuStates s = MenuStates(c.State, c.Locked, c.Tasks);
        const bool got[] = {s.Open, s.SaveAs, s.Close, s.Exit, s.Info, s.Begin, s.End, s.Settings, s.SaveConfig};
        const bool want[] = {c.Open, c.SaveAs, c.Close, c.Exit, c.Info, c.Begin, c.End, c.Settings, c.SaveConfig};
        for (size_t i = 0; i < std::size(got); ++i)
            EXPECT_EQ(got[i], want[i]) << int(c.State) << " locked " << int(c.Locked) << " tasks " << c.Tasks
                                       << " item " << i;
    }
}

TEST(RunnerRulesTest, TimeLimitsAreAcceptedWithinTheirRanges)
{
    const struct {
        const char* Text;
        int32_t Maximum;
        std::optional<int32_t> Accepted;
    } cases[] = {
        {"43199", kMaxTimeLimitTest, 43199}, {"43200", kMaxTimeLimitTest, std::nullopt},
        {"3599", kMaxTimeLimitTask, 3599},   {"3600", kMaxTimeLimitTask, std::nullopt},
        {"1", kMaxTimeLimitTask, 1},         {"0", kMaxTimeLimitTask, std::nullopt},
        {"-5", kMaxTimeLimitTask, std::nullopt}, {"", kMaxTimeLimitTask, std::nullopt},
        {"десять", kMaxTimeLimitTask, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceptedTimeLimit(c.Text, c.Maximum), c.Accepted) << c.Text;
}

}  // namespace
}  // namespace quilmo::testing
