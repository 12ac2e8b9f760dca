#include "journal/Analyses.h"

#include <algorithm>
#include <limits>

#include "model/Regional.h"

namespace quilmo::journal {

namespace {

bool ValidIndex(const std::vector<TTestResult>& list, int index)
{
    return index >= 0 && static_cast<size_t>(index) < list.size();
}

}  // namespace

std::optional<ChartData> AnalysisOne(const std::vector<TTestResult>& list, int selected)
{
    if (!ValidIndex(list, selected))
        return std::nullopt;
    const TTestResult& entry = list[static_cast<size_t>(selected)];
    ChartData chart;
    chart.Values.reserve(entry.MaskValues.size());
    for (const int32_t mask : entry.MaskValues)
        chart.Values.push_back(mask > 0 ? 1 : 0);
    chart.MaxValue = 1;
    chart.LabelMode = 0;
    chart.Title = "Результаты выбранного теста для: \"" + entry.UserName + "\"";
    return chart;
}

std::optional<ChartData> AnalysisGroup(const std::vector<TTestResult>& list, int selected)
{
    if (!ValidIndex(list, selected))
        return std::nullopt;
    const TTestResult& entry = list[static_cast<size_t>(selected)];
    ChartData chart;
    chart.Values.assign(entry.MaskValues.size(), 0);
    int32_t group = 0;
    for (const TTestResult& other : list) {
        if (other.FileCrc != entry.FileCrc)
            continue;
        ++group;
        const size_t tasks = std::min(chart.Values.size(), other.MaskValues.size());
        for (size_t i = 0; i < tasks; ++i)
            if (other.MaskValues[i] > 0)
                ++chart.Values[i];
    }
    chart.MaxValue = group;
    chart.LabelMode = 0;
    chart.Title = "Результаты тестов для группы с выбранным тестом";
    return chart;
}

std::optional<ChartData> AnalysisPercent(const std::vector<TTestResult>& list)
{
    if (list.empty())
        return std::nullopt;
    ChartData chart;
    chart.Values.reserve(list.size());
    for (const TTestResult& r : list) {
        // Counts come from the network: keep the share within the bar's range.
        const int64_t share = RoundHalfEven(int64_t(r.RightCount) * 100, r.TotalCount);
        chart.Values.push_back(static_cast<int32_t>(std::clamp<int64_t>(
            share, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
    }
    chart.MaxValue = 100;
    chart.LabelMode = 1;
    chart.Title = "Результаты в % тестов для всей группы";
    return chart;
}

}  // namespace quilmo::journal
