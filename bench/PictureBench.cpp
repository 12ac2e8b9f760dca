// The runner opening a 1,000-task test whose pictures are all missing, against
// the same test without picture lines, in its shown window (offscreen) up to
// the painted view. The test's folder holds a thousand other
// pictures, as a teacher's folder of tests does, so each search for a name
// that differs only in letter case has a real listing to go through.

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "BenchSupport.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "runner/MainUnit.h"

namespace {

using namespace quilmo;
using namespace quilmo::bench;

constexpr int kTasks = 1000;
constexpr int kOtherFiles = 1000;

struct PictureTests {
    ScratchFolder Folder;
    std::string Missing = Folder.Path() + "missing.txt";
    std::string Plain = Folder.Path() + "plain.txt";
    PictureTests()
    {
        for (int i = 0; i < kOtherFiles; ++i)
            if (!WriteFileAtomically(Folder.Path() + "Рисунок " + std::to_string(i) + ".jpg", "jpeg"))
                throw std::runtime_error("cannot write a picture");
        if (!WriteFileAtomically(Missing, Utf8ToCp1251(MakeTestText(kTasks, [](int k) {
                                     return "Рисунки\\task" + std::to_string(k) + ".JPG";
                                 }))) ||
            !WriteFileAtomically(Plain, Utf8ToCp1251(MakeTestText(kTasks, [](int) { return ""; }))))
            throw std::runtime_error("cannot write the tests");
    }
};

void BM_OpenWithMissingPictures(benchmark::State& state)
{
    static const PictureTests tests;
    WindowServices env;
    TMainForm form(env.Services);
    form.show();
    ProcessEvents();
    auto open = [](const std::string& path) {
        return [path](TMainForm& window) {
            window.OpenTest(QString::fromStdString(path));
            if (window.Tasks().size() != size_t(kTasks))
                throw std::runtime_error("the test did not open");
        };
    };
    double missing = 0, plain = 0;
    for (auto _ : state) {
        plain += TimeUntilPainted(form, open(tests.Plain));
        const double seconds = TimeUntilPainted(form, open(tests.Missing));
        missing += seconds;
        state.SetIterationTime(seconds);
    }
    if (env.Prompter.Unexpected != 0 || env.Prompter.Messages != 0)
        state.SkipWithError("a prompt the benchmark did not expect");
    const double n = static_cast<double>(state.iterations());
    state.counters["missing_ms"] = missing / n * 1000;
    state.counters["no_pictures_ms"] = plain / n * 1000;
    state.counters["missing_to_no_pictures"] = missing / plain;
}
BENCHMARK(BM_OpenWithMissingPictures)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
