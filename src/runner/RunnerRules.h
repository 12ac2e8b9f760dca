#pragma once
// What the runner allows in each state: its menu items and the time-limit inputs.

#include <cstdint>
#include <optional>
#include <string>

#include "model/TestModel.h"

namespace quilmo {

// The longest limits the remaining-time texts can show: 11:59:59 and 59:59.
inline constexpr int32_t kMaxTimeLimitTest = 43199;
inline constexpr int32_t kMaxTimeLimitTask = 3599;

// File > "Сохранить как...": an open test whose settings are not locked, outside a session.
bool SaveAsAllowed(TRunnerState state, uint8_t locked);
// Test > "Начать": an open test with at least one task to show.
bool BeginAllowed(TRunnerState state, size_t taskCount);
// A Settings item: never for a locked test; during a session only the items
// allowed while running.
bool SettingsItemAllowed(TRunnerState state, uint8_t locked, bool allowedWhileRunning);
// Which of the runner's menu items are enabled.
struct RunnerMenuStates {
    bool Open = false;     // File: "Открыть...", "Сохранить как...", "Закрыть", "Выход"
    bool SaveAs = false;
    bool Close = false;
    bool Exit = false;
    bool Info = false;     // Test: "Информация", "Начать", "Закончить"
    bool Begin = false;
    bool End = false;
    bool Settings = false;     // the Settings items a session locks
    bool SaveConfig = false;   // "Сохранять настройки при выходе", also during a session
};
RunnerMenuStates MenuStates(TRunnerState state, uint8_t locked, size_t taskCount);
// The text of a time-limit input box: its value when it is a decimal number
// from 1 to maximum, nothing otherwise ("Значение не изменено!").
std::optional<int32_t> AcceptedTimeLimit(const std::string& text, int32_t maximum);

}  // namespace quilmo
