#include "runner/RunnerRules.h"

#include "model/TextUtil.h"

namespace quilmo {

bool SaveAsAllowed(TRunnerState state, uint8_t locked)
{
    return state == TRunnerState::TestOpen && locked == 0;
}

bool BeginAllowed(TRunnerState state, size_t taskCount)
{
    return state == TRunnerState::TestOpen && taskCount > 0;
}

bool SettingsItemAllowed(TRunnerState state, uint8_t locked, bool allowedWhileRunning)
{
    if (locked == 1)
        return false;
    return allowedWhileRunning || state != TRunnerState::TestRunning;
}

RunnerMenuStates MenuStates(TRunnerState state, uint8_t locked, size_t taskCount)
{
    RunnerMenuStates states;
    states.Open = state == TRunnerState::NoTest;
    states.SaveAs = SaveAsAllowed(state, locked);
    states.Close = state == TRunnerState::TestOpen;
    states.Exit = state == TRunnerState::NoTest;
    states.Info = state != TRunnerState::NoTest;
    // A session needs at least one task to show.
    states.Begin = BeginAllowed(state, taskCount);
    states.End = state == TRunnerState::TestRunning;
    states.Settings = SettingsItemAllowed(state, locked, false);
    states.SaveConfig = SettingsItemAllowed(state, locked, true);
    return states;
}

std::optional<int32_t> AcceptedTimeLimit(const std::string& text, int32_t maximum)
{
    const int32_t entered = StrToIntDef(text, 0);
    if (entered >= 1 && entered <= maximum)
        return entered;
    return std::nullopt;
}

}  // namespace quilmo
