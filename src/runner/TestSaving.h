#pragma once
// File > "Сохранить как...": the open test written as a check test or as a
// text test with its pictures beside it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

// What saving asks of the user on the way.
struct SaveQuestions {
    // A picture of the test is missing and is dropped: the path to name.
    std::function<void(const std::string& path)> MissingPicture;
    // A picture's target exists already: true replaces it.
    std::function<bool(const std::string& target)> Replace;
};

// The check test, built whole and then put in place at once, so that a
// failure leaves any old file as it was. False on failure, when the user
// is to be told kSaveCheckTestError.
bool SaveCheckTest(const std::string& path, const TTestInfo& info, const std::vector<TTask>& tasks,
                   const TModeConfig& mode, uint8_t locked, const SaveQuestions& questions);

// The text test; its pictures go beside it under the bare names its lines
// give them. Stops at the first failure, whose error carries the system's text.
Status SaveTextTest(const std::string& path, const TTestInfo& info, const std::vector<TTask>& tasks,
                    const SaveQuestions& questions);

}  // namespace quilmo
