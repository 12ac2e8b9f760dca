// Opening a large text test: reading, decoding and parsing it, and its checksum,
// each against the cost of the work it cannot avoid (reading the file, zlib's
// crc32); and the memory a file of millions of empty lines costs to open.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "BenchSupport.h"
#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TestLoader.h"
#include "model/TextTestReader.h"
#include "model/TextUtil.h"

namespace {

using namespace quilmo;

constexpr int kTasks = 20000;

// One test file on disk for the whole run, in a folder removed at the end.
struct TestFile {
    bench::ScratchFolder Folder;
    std::string Dir = Folder.Path();
    std::string Path = Dir + "test.txt";
    std::string Bytes =
        Utf8ToCp1251(bench::MakeTestText(kTasks, [](int k) { return k % 50 == 0 ? "picture.jpg" : ""; }));

    TestFile()
    {
        if (!WriteFileAtomically(Path, Bytes) || !WriteFileAtomically(Dir + "picture.jpg", "jpeg"))
            throw std::runtime_error("cannot write the test file");
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
        if (!bench::ResetPeakResident())
            state.SkipWithError("the peak cannot be reset here");
        const size_t before = bench::ResidentBytes();
        TRandom random;
        const OpenTestResult result = OpenTestFile(path, random, {});
        const size_t after = bench::PeakResidentBytes();
        if (result.Outcome != OpenOutcome::Loaded || result.Test.Tasks.size() != 1)
            state.SkipWithError("open failed");
        peak = std::max(peak, static_cast<double>(after - before) / fileBytes);
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
