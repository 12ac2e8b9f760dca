#pragma once
// Judging a task as the learner saw it, the education feedback, and filling the
// runner's result at the end of a session.

#include <cstdint>
#include <string>
#include <vector>

#include "model/Regional.h"
#include "model/TestModel.h"
#include "model/TestResult.h"

namespace quilmo {

// The selector states of the rows shown, row by row: for single and multiple
// choice 1 checked and 0 not; for ordering the number chosen, 0 for none.
// variantOrder[r] is the variant shown on row r. Rows are those of the task's
// VariantCount; a missing state counts as 0.
bool JudgeTask(const TTask& task, const TIntDynArray& variantOrder, const TIntDynArray& rowStates);

enum class RowColour { Normal, Correct, Error };

struct TEducationFeedback {
    std::string Text;              // the whole box text, first line included
    std::vector<RowColour> Rows;   // one per row shown
};

// What a wrong answer shows in education mode: rows are numbered as shown.
TEducationFeedback EducationFeedback(const TTask& task, const TIntDynArray& variantOrder,
                                     const TIntDynArray& rowStates);

// The decimal texts of the values joined by separator, none after the last.
std::string JoinNumbers(const TIntDynArray& values, const std::string& separator);

// The highest-numbered mark whose threshold rightCount reaches (thresholds
// need not rise); 0 when none is reached or marks is empty.
int32_t ComputeMark(const TIntDynArray& marks, int32_t rightCount);
// "незачет" / "зачет" for marks 1 / 2 of a pass/fail scheme; empty otherwise
// (mark 0 of a pass/fail scheme too, so that the number is printed).
std::string MarkTextFor(const TIntDynArray& marks, int32_t mark);

// What the window knows when a session ends. Every per-task array has one
// entry per task of the session, in the order asked.
struct TSessionFacts {
    std::string UserName;
    std::string CompName;
    std::string CompUserName;
    std::string TestTitle;
    std::string TestFile;
    TIntDynArray Marks;
    uint32_t FileCrc = 0;
    TIntDynArray TaskOrder;      // position -> index in the task list
    TIntDynArray AnswerResults;  // position -> 1 right, 0 otherwise
    TIntDynArray TaskSeconds;    // position -> seconds on display
    int32_t CurrentTask = 0;     // position on display when the session ended
    int32_t TestSeconds = 0;
    TDateTime SessionStart;
    TDateTime SessionEnd;
};

// Fills every field of result but EndMode, which the caller has set.
void FillTestResult(TTestResult& result, const TSessionFacts& facts);

}  // namespace quilmo
