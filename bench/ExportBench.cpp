// Exporting a journal of 10,000 results: as tab-separated text of the table
// and as a workbook of its three sheets (the table, the tasks, the item
// statistics), each written to a temporary file that is flushed to disk before
// it replaces the target. The workbook's time is also given as a multiple of
// the text's.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include "BenchSupport.h"
#include "journal/Exports.h"

namespace {

using namespace quilmo;
using bench::Clock;
using bench::Seconds;

constexpr int kResults = 10000;

std::vector<journal::TTestResult> Journal()
{
    std::vector<journal::TTestResult> results;
    results.reserve(kResults);
    for (int i = 0; i < kResults; ++i) {
        journal::TTestResult r;
        r.UserName = "Ученик № " + std::to_string(i);
        r.CompName = "PC-" + std::to_string(i % 30);
        r.CompUserName = "pupil";
        r.TestTitle = "Итоговый тест по физике за 9 класс";
        r.TestFile = "/srv/tests/Физика 9.tst";
        r.TotalCount = 20;
        r.AskedCount = 20 - i % 3;
        r.RightCount = i % 21 > r.AskedCount ? r.AskedCount : i % 21;
        r.WrongCount = r.AskedCount - r.RightCount;
        r.NotAskedCount = 20 - r.AskedCount;
        r.Mark = 1 + i % 5;
        r.StartTime = {2024, 3, 5, 9, i % 60, i % 60, 0};
        r.EndTime = {2024, 3, 5, 10, i % 60, i % 60, 0};
        r.Duration = 1800 + i % 1800;
        r.EndMode = static_cast<uint8_t>(1 + i % 3);
        r.ResultMask = "++-+++-++++-+++-++-+";
        r.TimeMask = "60;120;45;80;90;100;110;120;30;40;50;60;70;80;90;100;110;120;130;140";
        r.RemoteIP = "192.168.1." + std::to_string(i % 250);
        r.ReceivedTime = r.EndTime;
        r.FileCrc = 0xCAFE0000u + static_cast<uint32_t>(i % 7);
        results.push_back(std::move(r));
    }
    return results;
}

void BM_Export10000Results(benchmark::State& state)
{
    const std::vector<journal::TTestResult> results = Journal();
    const std::vector<journal::RowTexts> rows = journal::TableTexts(results);  // the table the window shows
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quilmo-export-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    double text = 0, workbook = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        if (!journal::SaveAsTextFile(rows, (folder / "journal.TXT").string()))
            throw std::runtime_error("text export failed");
        const double textSeconds = Seconds(Clock::now() - start);
        start = Clock::now();
        if (!journal::SaveAsExcelFile(results, (folder / "journal.xlsx").string(), {2024, 3, 5, 9, 41, 7, 0}))
            throw std::runtime_error("workbook export failed");
        const double workbookSeconds = Seconds(Clock::now() - start);
        state.SetIterationTime(textSeconds + workbookSeconds);
        text += textSeconds;
        workbook += workbookSeconds;
    }
    std::filesystem::remove_all(folder);
    const double n = static_cast<double>(state.iterations());
    state.counters["text_ms"] = text / n * 1000;
    state.counters["workbook_ms"] = workbook / n * 1000;
    state.counters["workbook_to_text"] = workbook / text;
}
BENCHMARK(BM_Export10000Results)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
