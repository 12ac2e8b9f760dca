// Opening a 20,000-task test in the editor against the runner opening the same
// file, both in their shown windows (offscreen) up to the first painted view.
// Each opening is a new window, as each "Редактор..." is; the counters give the
// process's peak resident size while each window was open and what stayed
// resident after the first round of opening and closing.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <stdexcept>

#include "BenchSupport.h"
#include "editor/EditorUnit.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "runner/MainUnit.h"

namespace {

using namespace quilmo;
using namespace quilmo::bench;

constexpr int kTasks = 20000;

struct BigTest {
    ScratchFolder Folder;
    std::string Path = Folder.Path() + "big.txt";
    BigTest()
    {
        const std::string bytes =
            Utf8ToCp1251(MakeTestText(kTasks, [](int k) { return k % 50 == 0 ? "picture.jpg" : ""; }));
        if (!WriteFileAtomically(Path, bytes) || !WriteFileAtomically(Folder.Path() + "picture.jpg", "jpeg"))
            throw std::runtime_error("cannot write the test file");
    }
};

void BM_EditorOpen(benchmark::State& state)
{
    const BigTest test;
    WindowServices env;
    env.Prompter.OpenPath = QString::fromStdString(test.Path);
    double editor = 0, runner = 0;
    size_t editorPeak = 0, runnerPeak = 0, afterFirst = 0;
    for (auto _ : state) {
        runner += TimedOpen<TMainForm>([&] { return std::make_unique<TMainForm>(env.Services); },
                                       [&](TMainForm& form) {
                                           form.OpenTest(env.Prompter.OpenPath);
                                           if (form.Tasks().size() != size_t(kTasks))
                                               throw std::runtime_error("the runner did not open the test");
                                       },
                                       runnerPeak);
        const double seconds = TimedOpen<TEditorForm>([&] { return std::make_unique<TEditorForm>(env.Services); },
                                         [&](TEditorForm& form) {
                                             form.MFOpenClick();
                                             if (form.TaskCount() != kTasks)
                                                 throw std::runtime_error("the editor did not open the test");
                                         },
                                         editorPeak);
        editor += seconds;
        if (afterFirst == 0)
            afterFirst = ResidentBytes();
        state.SetIterationTime(seconds);
    }
    if (env.Prompter.Unexpected != 0)
        state.SkipWithError("a prompt the benchmark did not expect");
    const double n = static_cast<double>(state.iterations());
    state.counters["runner_ms"] = runner / n * 1000;
    state.counters["editor_ms"] = editor / n * 1000;
    state.counters["editor_to_runner"] = editor / runner;
    // The process's peak resident size while each window was open.
    state.counters["editor_peak_mib"] = MiB(editorPeak);
    state.counters["runner_peak_mib"] = MiB(runnerPeak);
    // Opening and closing again after the first round: what stays behind.
    const size_t now = ResidentBytes();
    state.counters["rss_growth_mib"] = now > afterFirst ? MiB(now - afterFirst) : 0.0;
}
BENCHMARK(BM_EditorOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
