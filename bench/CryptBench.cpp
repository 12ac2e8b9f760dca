// The cipher on 10 MB of test text, each way, against memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "model/Crypt.h"

namespace {

using namespace quilmo;

constexpr size_t kTextBytes = size_t(10) << 20;

// Windows-1251 text: mostly Cyrillic letters, blanks and line ends.
const std::string& Text()
{
    static const std::string text = [] {
        std::mt19937 gen(7);
        std::string s(kTextBytes, ' ');
        for (char& c : s) {
            const unsigned r = gen() % 100;
            c = r < 80 ? char(0xC0 + gen() % 64) : r < 95 ? ' ' : r < 98 ? '\r' : '\n';
        }
        return s;
    }();
    return text;
}

const std::string& Digits()
{
    static const std::string digits = TCrypt::Encipher(Text(), kLegacyKey);
    return digits;
}

void BM_Encipher(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TCrypt::Encipher(Text(), kLegacyKey));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Text().size()));
}
BENCHMARK(BM_Encipher)->Unit(benchmark::kMillisecond);

void BM_Decipher(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TCrypt::Decipher(Digits(), kLegacyKey));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Digits().size()));
}
BENCHMARK(BM_Decipher)->Unit(benchmark::kMillisecond);

// memcpy of the cipher's input: the text (10 MB) or its digits (30 MB).
void BM_Memcpy(benchmark::State& state)
{
    const std::string& source = state.range(0) == 0 ? Text() : Digits();
    std::string target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size()));
}
BENCHMARK(BM_Memcpy)->Arg(0)->Arg(1)->ArgName("digits")->Unit(benchmark::kMillisecond);

}  // namespace
