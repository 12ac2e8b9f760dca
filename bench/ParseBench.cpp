// Opening a large text test: reading, decoding and parsing it, and its checksum,
// each against the cost of the work it cannot avoid (reading the file, zlib's
// crc32); and the memory a file of millions of empty lines costs to open.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TestLoader.h"
#include "model/TextTestReader.h"
#include "model/TextUtil.h"

namespace {

using namespace quilmo;

constexpr int kTasks = 20000;

std::string MakeTestText(int tasks)
{
    std::vector<std::string> lines = {"Итоговый тест по физике за 9 класс",
                                      "Тест содержит задания_CRLF_по всем разделам курса.",
                                      std::to_string(tasks), "--------", "5", "--------",
                                      "18000", "15000", "12000", "9000", "0"};
    static const char* const answers[] = {"2", "1,3,4", "3-1-4-2", "5", "2,5"};
    for (int k = 1; k <= tasks; ++k) {
        const std::string n = std::to_string(k);
        lines.push_back("----" + n + "----");
        lines.push_back("Вопрос № " + n + ". Какая из перечисленных величин является векторной?"
                        "_CRLF_Выберите правильный ответ.");
        lines.push_back("Вспомните определение вектора");
        lines.push_back(k % 50 == 0 ? "picture.jpg" : "");
        lines.push_back(answers[k % 5]);
        lines.push_back("Сила, действующая на тело");
        lines.push_back("Масса тела");
        lines.push_back("Скорость_CRLF_движения");
        lines.push_back(k % 3 == 0 ? "" : "Время падения");
        lines.push_back(k % 3 == 0 ? "" : "Температура");
    }
    lines.push_back("----------конец---------");
    return JoinLinesCrLf(lines);
}

// One test file on disk for the whole run, in a folder removed at the end.
struct TestFile {
    std::string Dir;
    std::string Path;
    std::string Bytes;

    TestFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quilmo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        Dir = pattern + "/";
        Path = Dir + "test.txt";
        Bytes = Utf8ToCp1251(MakeTestText(kTasks));
        if (!WriteFileAtomically(Path, Bytes) || !WriteFileAtomically(Dir + "picture.jpg", "jpeg"))
            throw std::runtime_error("cannot write the test file");
    }
    ~TestFile()
    {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
};

const TestFile& File()
{
    static const TestFile file;
    return file;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(File().Bytes.size()));
}

void BM_ReadIntoMemory(benchmark::State& state)
{
    for (auto _ : state) {
        auto bytes = ReadWholeFile(File().Path);
        if (!bytes)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes);
    }
    SetBytes(state);
}
BENCHMARK(BM_ReadIntoMemory)->Unit(benchmark::kMillisecond);

void BM_DecodeSplitParse(benchmark::State& state)
{
    TextTestReadOptions options;
    options.PictureDir = File().Dir;
    for (auto _ : state) {
        auto test = ParseTestText(SplitLines(Cp1251ToUtf8(File().Bytes)), options);
        if (!test || test->Tasks.size() != static_cast<size_t>(kTasks))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(test);
    }
    SetBytes(state);
}
BENCHMARK(BM_DecodeSplitParse)->Unit(benchmark::kMillisecond);

// The reader as it opens a file: lines cut out of the bytes and decoded one
// by one as the parser asks (BM_DecodeSplitParse is how it was done before).
void BM_LinesByNumberParse(benchmark::State& state)
{
    TextTestReadOptions options;
    options.PictureDir = File().Dir;
    for (auto _ : state) {
        TextLines lines(File().Bytes);
        auto test = ParseTestText(lines, options);
        if (!test || test->Tasks.size() != static_cast<size_t>(kTasks))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(test);
    }
    SetBytes(state);
}
BENCHMARK(BM_LinesByNumberParse)->Unit(benchmark::kMillisecond);

// Resident kilobytes of this process: now, and the peak since ResetPeak.
uint64_t StatusKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            uint64_t kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear.flush());
}

// Opening a test of one task followed by 20 million empty lines (20 MB): the
// peak of resident memory it adds, as a multiple of the file's size
// (peak_per_file_byte; it used to be about 35).
void BM_OpenEmptyLinesPeakMemory(benchmark::State& state)
{
    const std::string path = File().Dir + "empty-lines.txt";
    std::string bytes = Utf8ToCp1251(JoinLinesCrLf({"Тест", "", "1", "--------", "0", "--------", "----1----",
                                                     "Вопрос", "", "", "1", "Да", "", "", "", ""}));
    bytes.append(20'000'000, '\n');
    if (!WriteFileAtomically(path, bytes))
        state.SkipWithError("cannot write the test file");
    const double fileBytes = static_cast<double>(bytes.size());
    bytes = std::string();
    double peak = 0;
    for (auto _ : state) {
        if (!ResetPeak())
            state.SkipWithError("the peak cannot be reset here");
        const uint64_t before = StatusKb("VmRSS:");
        TRandom random;
        const OpenTestResult result = OpenTestFile(path, random, {});
        const uint64_t after = StatusKb("VmHWM:");
        if (result.Outcome != OpenOutcome::Loaded || result.Test.Tasks.size() != 1)
            state.SkipWithError("open failed");
        peak = std::max(peak, 1024.0 * static_cast<double>(after - before) / fileBytes);
    }
    state.counters["peak_per_file_byte"] = peak;
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenEmptyLinesPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ChecksumBytes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ChecksumBytes(File().Bytes));
    SetBytes(state);
}
BENCHMARK(BM_ChecksumBytes)->Unit(benchmark::kMillisecond);

void BM_FileChecksum(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FileChecksum(File().Path));
    SetBytes(state);
}
BENCHMARK(BM_FileChecksum)->Unit(benchmark::kMillisecond);

void BM_ZlibCrc32(benchmark::State& state)
{
    const std::string& bytes = File().Bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
    SetBytes(state);
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond);

}  // namespace
