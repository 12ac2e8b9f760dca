// A check test with 20 MB of pictures: writing it, against zlib compressing the
// same body in memory; reading it, against inflating the same body and writing
// the same picture files, the work a reading cannot avoid.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "model/CheckTestContainer.h"
#include "model/Crypt.h"
#include "model/FileIO.h"

namespace {

using namespace quilmo;

constexpr int kPictures = 10;
constexpr size_t kPictureBytes = size_t(2) << 20;

std::vector<std::string> TestLines()
{
    std::vector<std::string> lines = {"Тест с рисунками", "", "10", "--------", "1", "--------", "5"};
    for (int k = 1; k <= kPictures; ++k) {
        lines.insert(lines.end(), {"----" + std::to_string(k) + "----", "Что изображено на рисунке?", "",
                                   "picture" + std::to_string(k) + ".jpg", "1", "Дерево", "Дом", "", "", ""});
    }
    lines.push_back("----------конец---------");
    return lines;
}

// The pictures (random bytes: as incompressible as JPEG) and one written check
// test, in a folder removed at the end.
struct Fixture {
    std::string Dir;
    std::vector<SavedPicture> Pictures;
    std::vector<std::string> PictureBytes;
    std::string CheckTest;  // its path
    std::string Stream;     // the zlib stream after the signature
    size_t BodyBytes = 0;

    Fixture()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quilmo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        Dir = pattern + "/";
        std::mt19937 gen(11);
        for (int k = 1; k <= kPictures; ++k) {
            std::string bytes(kPictureBytes, '\0');
            for (char& c : bytes)
                c = char(gen());
            const std::string name = "picture" + std::to_string(k) + ".jpg";
            Pictures.push_back(SavedPicture{Dir + name, name});
            if (!WriteFileAtomically(Pictures.back().Path, bytes))
                throw std::runtime_error("cannot write a picture");
            PictureBytes.push_back(std::move(bytes));
        }
        auto built = BuildCheckTest(TModeConfig{}, 1, TestLines(), Pictures);
        if (!built)
            throw std::runtime_error("cannot build the check test");
        CheckTest = Dir + "test.est";
        if (!WriteFileAtomically(CheckTest, *built))
            throw std::runtime_error("cannot write the check test");
        Stream = built->substr(kCheckTestSignature.size());
        BodyBytes = kPictures * (kPictureBytes + 8 + 12) + 64 * 1024 * 4;  // an upper bound
    }
    ~Fixture()
    {
        std::error_code ec;
        std::filesystem::remove_all(Dir, ec);
    }
};

const Fixture& Data()
{
    static const Fixture fixture;
    return fixture;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictures * kPictureBytes));
}

void BM_WriteCheckTest(benchmark::State& state)
{
    const std::string target = Data().Dir + "written.est";
    const auto lines = TestLines();
    for (auto _ : state) {
        auto built = BuildCheckTest(TModeConfig{}, 1, lines, Data().Pictures);
        if (!built || !WriteFileAtomically(target, *built))
            state.SkipWithError("write failed");
    }
    SetBytes(state);
}
BENCHMARK(BM_WriteCheckTest)->Unit(benchmark::kMillisecond);

// zlib alone: the same body (already in memory) compressed at level 9.
void BM_ZlibDeflateBody(benchmark::State& state)
{
    std::string body(Data().BodyBytes, '\0');
    uLongf size = body.size();
    if (uncompress(reinterpret_cast<Bytef*>(body.data()), &size,
                   reinterpret_cast<const Bytef*>(Data().Stream.data()), Data().Stream.size()) != Z_OK)
        state.SkipWithError("inflate failed");
    body.resize(size);
    std::string out(compressBound(body.size()), '\0');
    for (auto _ : state) {
        uLongf outSize = out.size();
        if (compress2(reinterpret_cast<Bytef*>(out.data()), &outSize,
                      reinterpret_cast<const Bytef*>(body.data()), body.size(), 9) != Z_OK)
            state.SkipWithError("deflate failed");
    }
    SetBytes(state);
}
BENCHMARK(BM_ZlibDeflateBody)->Unit(benchmark::kMillisecond);

void BM_ReadCheckTest(benchmark::State& state)
{
    int n = 0;
    for (auto _ : state) {
        const std::string folder = Data().Dir + "{READ-" + std::to_string(++n) + "}/";
        const auto result = ReadCheckTest(Data().CheckTest, [&]() -> Expected<std::string> {
            return MakeCheckTestFolder(Data().Dir, "", "{READ-" + std::to_string(n) + "}");
        });
        if (result.Status != CheckTestStatus::Read || result.Files.size() != size_t(kPictures))
            state.SkipWithError("read failed");
        state.PauseTiming();
        DeleteFolderRecursively(folder);
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(BM_ReadCheckTest)->Unit(benchmark::kMillisecond);

// The floor of a read: the same stream inflated into memory, then the same
// picture files written into a new folder as the reader writes them.
void BM_InflateAndWritePictures(benchmark::State& state)
{
    std::string body(Data().BodyBytes, '\0');
    int n = 0;
    for (auto _ : state) {
        uLongf size = body.size();
        if (uncompress(reinterpret_cast<Bytef*>(body.data()), &size,
                       reinterpret_cast<const Bytef*>(Data().Stream.data()), Data().Stream.size()) != Z_OK)
            state.SkipWithError("inflate failed");
        const std::string folder = Data().Dir + "{PLAIN-" + std::to_string(++n) + "}/";
        if (::mkdir(folder.c_str(), 0700) != 0)
            state.SkipWithError("mkdir failed");
        for (int k = 0; k < kPictures; ++k) {
            const std::string& bytes = Data().PictureBytes[static_cast<size_t>(k)];
            const std::string path = folder + "picture" + std::to_string(k + 1) + ".jpg";
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd < 0 || !WriteAll(fd, bytes.data(), bytes.size()) || ::close(fd) != 0)
                state.SkipWithError("write failed");
        }
        state.PauseTiming();
        DeleteFolderRecursively(folder);
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(BM_InflateAndWritePictures)->Unit(benchmark::kMillisecond);

}  // namespace
