// The journal window while 50 runners send it 10,000 results over loopback: how
// late a 1 ms timer on its thread fires (the delay any click or repaint would
// see), as p50, p95 and worst, and the results shown per second, also against
// a server that only reads the same messages. Every result must reach the
// table; one lost fails the benchmark.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <thread>

#include "BenchNetwork.h"
#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "journal/ServerUnit.h"

namespace {

using namespace quilmo;
using namespace quilmo::bench;

constexpr int kResults = 10000;
constexpr int kSenders = 50;

double Percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())));
    return values[at];
}

void BM_JournalWindowUnderLoad(benchmark::State& state)
{
    // Results of as many learners: the journal shows a result once, so the
    // same one sent again would be dropped as a repeat.
    std::vector<std::vector<std::string>> messages;
    for (int i = 0; i < kResults; ++i) {
        quilmo::TTestResult r = SampleResult();
        r.UserName += std::to_string(i);
        messages.push_back(journal::EncodeLines(journal::ResultLines(r)));
    }
    std::vector<double> delays;
    double shownPerSecond = 0, readOnlyPerSecond = 0;
    int lost = 0;
    for (auto _ : state) {
        std::atomic<int> failed{0};
        std::atomic<size_t> next{0};
        auto send = [&](const std::string& port) {
            if (!journal::SendLines("127.0.0.1", port, messages[next.fetch_add(1) % messages.size()]))
                failed.fetch_add(1);
        };
        {
            ReadOnlyServer server;
            const std::string port = std::to_string(server.Port());
            const auto start = Clock::now();
            RunSenders(kSenders, kResults, [&] { send(port); });
            if (!WaitForCount(server.drained, kResults)) {
                state.SkipWithError("the read-only server lost messages");
                return;
            }
            readOnlyPerSecond += kResults / Seconds(Clock::now() - start);
        }

        next = 0;
        WindowServices env;
        TServerForm form(env.Services);
        form.SetPort("0");
        form.show();
        ProcessEvents();
        if (!form.Listening()) {
            state.SkipWithError("the journal did not listen");
            return;
        }
        const std::string port = std::to_string(form.BoundPort());

        // The probe: each firing records how late it came after the last one
        // was due.
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(1);
        QElapsedTimer clock;
        qint64 due = 0;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            delays.push_back(static_cast<double>(std::max<qint64>(0, now - due)) / 1e6);
            due = now + 1000000;
        });
        clock.start();
        due = 1000000;
        probe.start();

        const auto start = Clock::now();
        std::thread runners([&] { RunSenders(kSenders, kResults, [&] { send(port); }); });
        const auto deadline = start + std::chrono::seconds(60);
        while (form.Results().size() < size_t(kResults) && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double seconds = Seconds(Clock::now() - start);
        probe.stop();
        runners.join();
        ProcessEvents();
        lost += kResults - static_cast<int>(form.Results().size());
        if (form.Results().size() != size_t(kResults) || failed.load() != 0 ||
            env.Prompter.Messages != 0 || form.GridRowCount() != kResults + 1) {
            state.SkipWithError("results lost, duplicated or rejected");
            return;
        }
        state.SetIterationTime(seconds);
        shownPerSecond += kResults / seconds;
        form.CloseWithProgram();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["delay_p50_ms"] = Percentile(delays, 0.50);
    state.counters["delay_p95_ms"] = Percentile(delays, 0.95);
    state.counters["delay_max_ms"] = delays.empty() ? 0 : *std::max_element(delays.begin(), delays.end());
    state.counters["results_per_s"] = shownPerSecond / n;
    state.counters["read_only_per_s"] = readOnlyPerSecond / n;
    state.counters["ratio_to_read_only"] = shownPerSecond / readOnlyPerSecond;
    state.counters["lost"] = lost;
}
BENCHMARK(BM_JournalWindowUnderLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
