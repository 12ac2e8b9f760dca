#pragma once
// The grading system as the marks dialog edits it: one row per mark, the
// highest first, with the least number of right answers it needs.

#include <string>
#include <string_view>
#include <vector>

#include "model/TestModel.h"

namespace quilmo {

inline constexpr int kMaxMarkCount = 100;  // the count field's arrows go no further

struct MarkRows {
    int Count = 0;                     // the count field
    std::vector<std::string> Answers;  // column 1 of rows 1 to Count (row 1: the highest mark)
    bool HintVisible = false;          // no grading system yet
};

// What the dialog shows when it opens: the test's marks, or for a test without
// any five marks with 0.85, 0.7 and 0.5 of the task count for marks 5, 4 and 3
// (rounded, halves to even) and 0 for marks 2 and 1.
MarkRows InitialMarkRows(int taskCount, const TIntDynArray& marks);

// The count field as "OK" reads it: an integer (0 when not one), at least 1.
int MarkCountFromField(std::string_view text);

// "OK": n rows; rows that remain keep their numbers, new rows start empty.
void ResizeMarkRows(std::vector<std::string>& answers, int count);

// "Применить": row r of n becomes entry n - r; a cell that is not a number counts 0.
TIntDynArray MarksFromRows(const std::vector<std::string>& answers);

// "Всего заданий в тесте: "n"".
std::string TaskCountText(int taskCount);

// A cell's text is centred: its left edge is the cell's left plus half the
// cell's width minus half of (the text's width plus 2), halves rounded toward zero.
int CentredTextLeft(int cellLeft, int cellWidth, int textWidth);

}  // namespace quilmo
