#include "journal/ItemStatistics.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <cstdio>

#include "journal/JournalTexts.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/Regional.h"

namespace quilmo::journal {

namespace {

bool SameGroup(const TTestResult& a, const TTestResult& b)
{
    return a.FileCrc == b.FileCrc && a.MaskValues.size() == b.MaskValues.size();
}

int RightAnswers(const TTestResult& r)
{
    return static_cast<int>(std::count(r.MaskValues.begin(), r.MaskValues.end(), 1));
}

bool Complete(const TTestResult& r)
{
    return std::find(r.MaskValues.begin(), r.MaskValues.end(), -1) == r.MaskValues.end();
}

// The entries of a time mask ("12;0;7"); an entry that is no whole number of
// seconds is none.
std::vector<std::optional<int64_t>> TimeEntries(std::string_view mask)
{
    std::vector<std::optional<int64_t>> entries;
    if (mask.empty())
        return entries;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(mask.find(';', start), mask.size());
        const std::string_view part = mask.substr(start, end - start);
        int64_t value = 0;
        const auto [ptr, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error == std::errc() && ptr == part.data() + part.size() && !part.empty() && value >= 0)
            entries.emplace_back(value);
        else
            entries.emplace_back(std::nullopt);
        if (end == mask.size())
            break;
        start = end + 1;
    }
    return entries;
}

double MeanOf(const std::vector<double>& v)
{
    double sum = 0;
    for (const double x : v)
        sum += x;
    return sum / static_cast<double>(v.size());
}

// Sum of squared deviations from the mean.
double SquaredDeviations(const std::vector<double>& v, double mean)
{
    double sum = 0;
    for (const double x : v)
        sum += (x - mean) * (x - mean);
    return sum;
}

bool AllEqual(const std::vector<double>& v)
{
    return std::adjacent_find(v.begin(), v.end(), std::not_equal_to<>()) == v.end();
}

std::optional<double> Pearson(const std::vector<double>& x, const std::vector<double>& y)
{
    // Constant data has no correlation; deciding that on the data itself
    // keeps rounding from inventing a tiny variance.
    if (x.size() < 2 || AllEqual(x) || AllEqual(y))
        return std::nullopt;
    const double mx = MeanOf(x), my = MeanOf(y);
    double sxy = 0;
    for (size_t i = 0; i < x.size(); ++i)
        sxy += (x[i] - mx) * (y[i] - my);
    return sxy / std::sqrt(SquaredDeviations(x, mx) * SquaredDeviations(y, my));
}

}  // namespace

ResultGroup GroupOf(const std::vector<TTestResult>& list, int selected)
{
    ResultGroup group;
    if (selected < 0 || static_cast<size_t>(selected) >= list.size())
        return group;
    const TTestResult& entry = list[static_cast<size_t>(selected)];
    for (size_t i = 0; i < list.size(); ++i)
        if (SameGroup(list[i], entry))
            group.push_back(i);
    return group;
}

std::vector<ResultGroup> AllGroups(const std::vector<TTestResult>& list)
{
    std::vector<ResultGroup> groups;
    for (size_t i = 0; i < list.size(); ++i) {
        const auto known = std::find_if(groups.begin(), groups.end(), [&](const ResultGroup& g) {
            return SameGroup(list[g.front()], list[i]);
        });
        if (known != groups.end())
            known->push_back(i);
        else
            groups.push_back({i});
    }
    return groups;
}

std::string TaskRemark(int asked, int right, const std::optional<double>& discrimination)
{
    if (asked > 0 && int64_t(right) * 100 > int64_t(asked) * 90)
        return "слишком легкое";
    if (asked > 0 && int64_t(right) * 100 < int64_t(asked) * 20)
        return "слишком трудное";
    if (discrimination && *discrimination < 0.2)
        return "плохо различает";
    return {};
}

ItemStatistics ComputeItemStatistics(const std::vector<TTestResult>& list, const ResultGroup& group)
{
    ItemStatistics stats;
    if (group.empty())
        return stats;
    const TTestResult& first = list[group.front()];
    stats.TestTitle = first.TestTitle;
    stats.TestFile = first.TestFile;
    stats.FileCrc = first.FileCrc;
    const size_t tasks = first.MaskValues.size();

    std::vector<double> totals;
    totals.reserve(group.size());
    for (const size_t i : group) {
        totals.push_back(RightAnswers(list[i]));
        stats.Marks.push_back(list[i].Mark);
    }

    stats.Tasks.resize(tasks);
    for (size_t t = 0; t < tasks; ++t) {
        TaskStatistics& task = stats.Tasks[t];
        std::vector<double> score, rest;
        for (size_t g = 0; g < group.size(); ++g) {
            const TTestResult& r = list[group[g]];
            if (r.MaskValues[t] == -1)
                continue;
            const int x = r.MaskValues[t] == 1 ? 1 : 0;
            ++task.Asked;
            task.Right += x;
            score.push_back(x);
            rest.push_back(totals[g] - x);
        }
        task.Discrimination = Pearson(score, rest);
    }

    // Mean times: each time mask is read once.
    std::vector<double> seconds(tasks, 0);
    std::vector<int> timed(tasks, 0);
    for (const size_t i : group) {
        const TTestResult& r = list[i];
        const auto entries = TimeEntries(r.TimeMask);
        for (size_t t = 0; t < tasks && t < entries.size(); ++t) {
            if (r.MaskValues[t] == -1 || !entries[t])
                continue;
            seconds[t] += static_cast<double>(*entries[t]);
            ++timed[t];
        }
    }
    for (size_t t = 0; t < tasks; ++t) {
        TaskStatistics& task = stats.Tasks[t];
        if (timed[t] > 0)
            task.MeanSeconds = seconds[t] / timed[t];
        task.Remark = TaskRemark(task.Asked, task.Right, task.Discrimination);
    }

    GroupSummary& s = stats.Summary;
    s.Results = static_cast<int>(group.size());
    s.Mean = MeanOf(totals);
    s.StdDev = std::sqrt(SquaredDeviations(totals, s.Mean) / static_cast<double>(totals.size()));
    std::vector<double> sorted = totals;
    std::sort(sorted.begin(), sorted.end());
    const size_t mid = sorted.size() / 2;
    s.Median = sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    s.Minimum = static_cast<int>(sorted.front());
    s.Maximum = static_cast<int>(sorted.back());

    // KR-20 over the complete results.
    std::vector<double> completeTotals;
    std::vector<double> rightCount(tasks, 0);
    for (size_t g = 0; g < group.size(); ++g) {
        const TTestResult& r = list[group[g]];
        if (!Complete(r))
            continue;
        completeTotals.push_back(totals[g]);
        for (size_t t = 0; t < tasks; ++t)
            rightCount[t] += r.MaskValues[t] == 1 ? 1 : 0;
    }
    s.Complete = static_cast<int>(completeTotals.size());
    if (completeTotals.size() >= 2 && tasks >= 2 && !AllEqual(completeTotals)) {
        const double n = static_cast<double>(completeTotals.size());
        const double variance = SquaredDeviations(completeTotals, MeanOf(completeTotals)) / n;
        double pq = 0;
        for (const double right : rightCount)
            pq += (right / n) * (1 - right / n);
        const double k = static_cast<double>(tasks);
        s.Alpha = k / (k - 1) * (1 - pq / variance);
        s.Sem = s.StdDev * std::sqrt(std::max(0.0, 1 - *s.Alpha));
    }
    return stats;
}

// ---------------------------------------------------------------- texts

const ItemRowTexts kItemColumnHeaders = {
    "№", "Задано", "Верно", "Верно, %", "Различение", "Среднее время", "Замечание",
};

std::string FormatDecimal(const std::optional<double>& value, int decimals, char separator)
{
    if (!value || !std::isfinite(*value))
        return {};
    char buffer[64];
    // A value that rounds to zero prints without its minus sign.
    const double v = std::fabs(*value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : *value;
    const int len = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    if (len <= 0 || len >= static_cast<int>(sizeof buffer))
        return {};
    std::string text(buffer, static_cast<size_t>(len));
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
}

std::vector<ItemRowTexts> ItemTableTexts(const ItemStatistics& stats)
{
    std::vector<ItemRowTexts> rows;
    rows.reserve(stats.Tasks.size());
    for (size_t t = 0; t < stats.Tasks.size(); ++t) {
        const TaskStatistics& task = stats.Tasks[t];
        rows.push_back({
            std::to_string(t + 1),
            std::to_string(task.Asked),
            std::to_string(task.Right),
            task.Asked > 0 ? FormatShare(int64_t(task.Right) * 100, task.Asked) + "%" : std::string(),
            FormatDecimal(task.Discrimination, 2),
            task.MeanSeconds ? FormatNnSs(std::llround(*task.MeanSeconds)) : std::string(),
            task.Remark,
        });
    }
    return rows;
}

std::string ItemTableText(const ItemStatistics& stats)
{
    std::string text;
    auto addRow = [&](const ItemRowTexts& row) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                text += '\t';
            text += row[c];
        }
        text += "\r\n";
    };
    addRow(kItemColumnHeaders);
    for (const ItemRowTexts& row : ItemTableTexts(stats))
        addRow(row);
    return text;
}

Status SaveItemTable(const ItemStatistics& stats, const std::string& path)
{
    return WriteFileAtomically(path, Utf8ToCp1251(ItemTableText(stats)));
}

std::vector<std::pair<std::string, std::string>> SummaryTexts(const GroupSummary& s)
{
    return {
        {"Результатов", std::to_string(s.Results)},
        {"Среднее число верных", FormatDecimal(s.Mean, 2)},
        {"Стандартное отклонение", FormatDecimal(s.StdDev, 2)},
        {"Медиана", FormatDecimal(s.Median, 1)},
        {"Минимум", std::to_string(s.Minimum)},
        {"Максимум", std::to_string(s.Maximum)},
        {"Полных результатов", std::to_string(s.Complete)},
        {"Альфа Кронбаха (KR-20)", FormatDecimal(s.Alpha, 2)},
        {"Ошибка измерения", FormatDecimal(s.Sem, 2)},
    };
}

namespace {

std::string TsvField(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text;
}

}  // namespace

std::string StatisticsTsv(const std::vector<TTestResult>& list)
{
    std::string out;
    auto line = [&](const std::vector<std::string>& fields) {
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += fields[i];
        }
        out += "\r\n";
    };
    for (const ResultGroup& group : AllGroups(list)) {
        const ItemStatistics stats = ComputeItemStatistics(list, group);
        const GroupSummary& s = stats.Summary;
        line({"test", TsvField(stats.TestTitle), TsvField(stats.TestFile), CrcText(stats.FileCrc),
              std::to_string(s.Results), FormatDecimal(s.Mean, 4, '.'), FormatDecimal(s.StdDev, 4, '.'),
              FormatDecimal(s.Median, 1, '.'), std::to_string(s.Minimum), std::to_string(s.Maximum),
              std::to_string(s.Complete), FormatDecimal(s.Alpha, 4, '.'), FormatDecimal(s.Sem, 4, '.')});
        for (size_t t = 0; t < stats.Tasks.size(); ++t) {
            const TaskStatistics& task = stats.Tasks[t];
            const std::optional<double> share =
                task.Asked > 0 ? std::optional<double>(100.0 * task.Right / task.Asked) : std::nullopt;
            line({"task", std::to_string(t + 1), std::to_string(task.Asked), std::to_string(task.Right),
                  FormatDecimal(share, 1, '.'), FormatDecimal(task.Discrimination, 4, '.'),
                  FormatDecimal(task.MeanSeconds, 1, '.'), task.Remark});
        }
    }
    return out;
}

Status SaveStatisticsTsv(const std::vector<TTestResult>& list, const std::string& path)
{
    return WriteFileAtomically(path, Utf8ToCp1251(StatisticsTsv(list)));
}

ChartData MarksChart(const ItemStatistics& stats)
{
    ChartData chart;
    int32_t highest = 0;
    for (const int32_t mark : stats.Marks)
        if (mark >= 1 && mark <= kMaxChartMark)
            highest = std::max(highest, mark);
    chart.Values.assign(static_cast<size_t>(highest), 0);
    for (const int32_t mark : stats.Marks)
        if (mark >= 1 && mark <= kMaxChartMark)
            ++chart.Values[static_cast<size_t>(mark - 1)];
    chart.MaxValue = chart.Values.empty() ? 0 : *std::max_element(chart.Values.begin(), chart.Values.end());
    chart.LabelMode = 0;  // bar i is mark i + 1
    chart.Title = "Оценки";
    return chart;
}

}  // namespace quilmo::journal
