#pragma once
// The journal's three bar-chart analyses of its results.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

struct ChartData {
    std::vector<int32_t> Values;  // one per bar, left to right
    int32_t MaxValue = 0;         // the top of the scale
    int LabelMode = 0;            // 0: bar numbers, 1: bar values
    std::string Title;
    bool operator==(const ChartData&) const = default;
};

// "Диаграмма 1": the selected entry's tasks, 1 for each answered right.
// nullopt when `selected` is no index of the list.
std::optional<ChartData> AnalysisOne(const std::vector<TTestResult>& list, int selected);

// "Диаграмма N": per task of the selected entry, how many entries of the same
// file (the same FileCrc) answered it right, out of as many as there are. An
// entry whose mask is longer (another file with an equal checksum) counts over
// the selected entry's tasks only.
std::optional<ChartData> AnalysisGroup(const std::vector<TTestResult>& list, int selected);

// "Диаграмма %": one bar per entry, its right answers of all tasks in percent,
// rounded half to even; a result without tasks shows 0. nullopt when empty.
std::optional<ChartData> AnalysisPercent(const std::vector<TTestResult>& list);

}  // namespace quilmo::journal
