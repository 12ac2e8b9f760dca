#pragma once
// The check that runs after a task is saved: possible problems, never errors.

#include <string>
#include <vector>

#include "model/TestModel.h"

namespace quilmo {

// The findings for a saved task, in the order the checks run.
std::vector<std::string> CheckTask(const TTask& task);

// The one message listing the findings; empty when there are none.
std::string CheckTaskMessage(const std::vector<std::string>& findings);

}  // namespace quilmo
