#pragma once
// The texts that describe an open test to the learner.

#include <string>
#include <vector>

#include "model/TestModel.h"

namespace quilmo {

// The grading lines: the pass/fail line, or one line per mark above 0, highest first.
std::vector<std::string> MarkLines(const TIntDynArray& marks);

// Shown in the question area after a successful open.
std::vector<std::string> InformationText(const TTestInfo& info);

// The test information window's lines.
std::vector<std::string> TestInfoWindowText(const TTestInfo& info, const TModeConfig& mode);

}  // namespace quilmo
