// Results the journal's listener takes in per second from 1, 10 and 50 runners
// sending at once over loopback, each result on a connection of its own by the
// runner's own sending code, against a server that only reads the same
// messages to their end (with as many threads as the journal has) and parses
// nothing. A result that never arrives fails the benchmark.

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "BenchNetwork.h"
#include "journal/Listener.h"
#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "runner/TestResult.h"

namespace {

using namespace quilmo;
using bench::Clock;
using bench::Seconds;
using bench::RunSenders;

constexpr int kMessages = 2000;  // per measurement, shared among the senders

void BM_JournalIngest(benchmark::State& state)
{
    const int senders = static_cast<int>(state.range(0));
    const std::vector<std::string> lines = journal::EncodeLines(journal::ResultLines(bench::SampleResult()));
    double ingested = 0, readOnly = 0;
    for (auto _ : state) {
        std::atomic<int> failed{0};
        auto send = [&](const std::string& port) {
            if (!journal::SendLines("127.0.0.1", port, lines))
                failed.fetch_add(1);
        };
        double readOnlySeconds = 0;
        {
            bench::ReadOnlyServer server;
            const std::string port = std::to_string(server.Port());
            const auto start = Clock::now();
            RunSenders(senders, kMessages, [&] { send(port); });
            if (!bench::WaitForCount(server.drained, kMessages)) {
                state.SkipWithError("the read-only server lost messages");
                return;
            }
            readOnlySeconds = Seconds(Clock::now() - start);
        }

        std::atomic<int> received{0};
        journal::ListenerOptions options{.Address = "127.0.0.1", .Port = "0"};
        journal::Listener listener(options, [&received](journal::ReceivedEvent&& e) {
            if (e.kind == journal::ReceivedEvent::Kind::Result)
                received.fetch_add(1, std::memory_order_relaxed);
        });
        if (!listener.Start()) {
            state.SkipWithError("the listener did not start");
            return;
        }
        const std::string port = std::to_string(listener.BoundPort());
        const auto start = Clock::now();
        RunSenders(senders, kMessages, [&] { send(port); });
        if (!bench::WaitForCount(received, kMessages) || failed.load() != 0) {
            state.SkipWithError("results lost or duplicated");
            return;
        }
        const double ingestSeconds = Seconds(Clock::now() - start);

        state.SetIterationTime(ingestSeconds);
        ingested += kMessages / ingestSeconds;
        readOnly += kMessages / readOnlySeconds;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["results_per_s"] = ingested / n;
    state.counters["read_only_per_s"] = readOnly / n;
    state.counters["ratio_to_read_only"] = ingested / readOnly;
}
BENCHMARK(BM_JournalIngest)->Arg(1)->Arg(10)->Arg(50)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
