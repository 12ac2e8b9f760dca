#pragma once
// Item analysis of one test's results: per task how often it was asked and
// answered right, how well it separates strong from weak learners (the
// corrected item-rest correlation), its mean thinking time; and for the whole
// group the spread of the scores, the reliability (KR-20) and the standard
// error of measurement. Everything is computed from the masks, so a result
// whose counts disagree with its mask is judged by its mask.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/Analyses.h"
#include "journal/ResultProtocol.h"
#include "model/Expected.h"

namespace quilmo::journal {

// The results of one test: the same FileCrc and the same number of tasks, as
// "Диаграмма N" groups them. Indices into the list, in list order.
using ResultGroup = std::vector<size_t>;

// The group of list[selected]; empty when selected is no index of the list.
ResultGroup GroupOf(const std::vector<TTestResult>& list, int selected);
// Every group of the list, in the order of their first results.
std::vector<ResultGroup> AllGroups(const std::vector<TTestResult>& list);

struct TaskStatistics {
    int Asked = 0;  // results in which the task was shown (mask not "*")
    int Right = 0;
    // Pearson's correlation between the task's 0/1 score and the right answers
    // on the other tasks, over the results that asked it; none with fewer than
    // two such results or when either side does not vary.
    std::optional<double> Discrimination;
    std::optional<double> MeanSeconds;  // over the asked results with a time entry
    std::string Remark;
};

struct GroupSummary {
    int Results = 0;
    double Mean = 0;    // right answers per result
    double StdDev = 0;  // population standard deviation
    double Median = 0;
    int Minimum = 0;
    int Maximum = 0;
    int Complete = 0;   // results in which every task was asked
    // KR-20 over the complete results; none with fewer than two of them, fewer
    // than two tasks, or when their scores do not vary.
    std::optional<double> Alpha;
    // StdDev * sqrt(1 - Alpha).
    std::optional<double> Sem;
};

struct ItemStatistics {
    std::string TestTitle;  // of the group's first result
    std::string TestFile;
    uint32_t FileCrc = 0;
    std::vector<TaskStatistics> Tasks;  // in file order
    GroupSummary Summary;
    std::vector<int32_t> Marks;         // the group's marks, in list order
};

ItemStatistics ComputeItemStatistics(const std::vector<TTestResult>& list, const ResultGroup& group);

// "слишком легкое" above 90 % right, "слишком трудное" below 20 %, "плохо
// различает" for a correlation below 0.2; the first that applies, else "".
std::string TaskRemark(int asked, int right, const std::optional<double>& discrimination);

// The table as the window shows it (a decimal comma): a header and one row per task.
inline constexpr size_t kItemColumnCount = 7;
using ItemRowTexts = std::array<std::string, kItemColumnCount>;
extern const ItemRowTexts kItemColumnHeaders;
std::vector<ItemRowTexts> ItemTableTexts(const ItemStatistics& stats);
// The header and the rows, a TAB between two cells, each row ended by CR LF (UTF-8).
std::string ItemTableText(const ItemStatistics& stats);
// The same in Windows-1251, written to path once complete.
Status SaveItemTable(const ItemStatistics& stats, const std::string& path);

// The summary as label and value pairs, in the window's order.
std::vector<std::pair<std::string, std::string>> SummaryTexts(const GroupSummary& summary);

// A fixed number of decimals; ',' or '.' as the separator. Empty for none.
std::string FormatDecimal(const std::optional<double>& value, int decimals, char separator = ',');

// Every group's statistics for other programs, one line each ended by CR LF,
// fields separated by TAB, numbers with a decimal point:
//   test  title  file  CRC  results  mean  sd  median  min  max  complete  alpha  sem
//   task  number  asked  right  right%  discrimination  mean-seconds  remark
// A "test" line opens each group, its "task" lines follow in file order.
// Correlation, alpha, SEM, mean and sd have four decimals, the others one; a
// figure that is undefined is an empty field. Tabs and line breaks inside a
// title or file name become blanks.
std::string StatisticsTsv(const std::vector<TTestResult>& list);
// The same in Windows-1251, like the journal's other tab-separated files,
// written to path once complete.
Status SaveStatisticsTsv(const std::vector<TTestResult>& list, const std::string& path);

// How many results got each mark from 1 up to the highest mark given, as a
// bar chart labelled with the marks. Marks outside 1..kMaxChartMark get no
// bar: a mark comes from the network, and no grading system has more.
inline constexpr int32_t kMaxChartMark = 100;
ChartData MarksChart(const ItemStatistics& stats);

}  // namespace quilmo::journal
