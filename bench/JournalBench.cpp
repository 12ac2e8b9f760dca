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
#include <cstdlib>
#include <filesystem>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "BenchNetwork.h"
#include "app/ProgramFolder.h"
#include "journal/JournalRecorder.h"
#include "journal/JournalStore.h"
#include "journal/Listener.h"
#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "model/TestResult.h"

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

// Seconds for the runners to send kMessages results to a listener whose sink
// is `sink`, until `handled` counts them all.
template <class Sink>
double IngestSeconds(int senders, const std::vector<std::vector<std::string>>& messages, Sink sink,
                     std::atomic<int>& handled)
{
    journal::ListenerOptions options{.Address = "127.0.0.1", .Port = "0"};
    journal::Listener listener(options, sink);
    if (!listener.Start())
        throw std::runtime_error("listener did not start");
    const std::string port = std::to_string(listener.BoundPort());
    std::atomic<size_t> next{0};
    const auto start = Clock::now();
    RunSenders(senders, kMessages, [&] {
        if (!journal::SendLines("127.0.0.1", port, messages[next.fetch_add(1) % messages.size()]))
            throw std::runtime_error("send failed");
    });
    while (handled.load() < kMessages)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double seconds = Seconds(Clock::now() - start);
    if (handled.load() != kMessages)
        throw std::runtime_error("results lost or duplicated");
    return seconds;
}

// The same listener and runners with the journal's store behind it (every
// result committed to journal.sqlite, WAL, synchronous=FULL, before it is
// handed on) against without it, in the same run. The store lives beside the
// program, on the disk the build is on: a memory file system would hide the
// cost of the flushes.
void BM_JournalIngestStored(benchmark::State& state)
{
    const int senders = static_cast<int>(state.range(0));
    // Results of as many learners: the store keeps each result once.
    std::vector<std::vector<std::string>> messages;
    for (int i = 0; i < kMessages; ++i) {
        quilmo::TTestResult r = bench::SampleResult();
        r.UserName += std::to_string(i);
        messages.push_back(journal::EncodeLines(journal::ResultLines(r)));
    }
    std::string folder = ExecutableFolder() + "store-bench-XXXXXX";
    if (!::mkdtemp(folder.data()))
        throw std::runtime_error("cannot make a folder for the store");
    auto runPlain = [&] {
        std::atomic<int> received{0};
        return IngestSeconds(senders, messages, journal::Listener::Sink([&received](journal::ReceivedEvent&& e) {
            if (e.kind == journal::ReceivedEvent::Kind::Result)
                received.fetch_add(1, std::memory_order_relaxed);
        }), received);
    };
    auto runStored = [&] {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        auto store = journal::JournalStore::Open(folder + "/" + journal::kStoreFileName);
        if (!store)
            throw std::runtime_error(store.error().Message);
        const auto session = (*store)->BeginSession(LocalNow());
        if (!session)
            throw std::runtime_error(session.error().Message);
        std::atomic<int> shown{0};
        journal::JournalRecorder recorder(store->get(), [&shown](journal::StoredEvent&& e) {
            if (e.Stored && e.Event.kind == journal::ReceivedEvent::Kind::Result)
                shown.fetch_add(1, std::memory_order_relaxed);
        });
        recorder.SetSession(session->Id, session->Run);
        const double seconds = IngestSeconds(senders, messages,
            journal::Listener::HeldSink([&](journal::ReceivedEvent&& e, journal::ConnectionHold&& hold) {
                recorder.Record(std::move(e), std::move(hold));
            }), shown);
        const auto count = (*store)->Results(session->Id);
        if (!count || count->size() != size_t(kMessages))
            throw std::runtime_error("the store does not hold every result");
        return seconds;
    };
    double stored = 0, plain = 0;
    int round = 0;
    for (auto _ : state) {
        // Taking turns at going first, so that neither gains from the other's warming up.
        double plainSeconds = 0, storedSeconds = 0;
        if (round++ % 2 == 0) {
            plainSeconds = runPlain();
            storedSeconds = runStored();
        } else {
            storedSeconds = runStored();
            plainSeconds = runPlain();
        }
        state.SetIterationTime(storedSeconds);
        stored += kMessages / storedSeconds;
        plain += kMessages / plainSeconds;
    }
    std::filesystem::remove_all(folder);
    const double n = static_cast<double>(state.iterations());
    state.counters["stored_per_s"] = stored / n;
    state.counters["unstored_per_s"] = plain / n;
    state.counters["ratio"] = stored / plain;
}
BENCHMARK(BM_JournalIngestStored)->Arg(1)->Arg(10)->Arg(50)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
