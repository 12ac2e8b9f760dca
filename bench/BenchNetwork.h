#pragma once
// The journal benchmarks' common parts: runner threads, a sample result, a
// server that only reads, and waiting for a count with a time-out.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "BenchSupport.h"
#include "model/TestResult.h"

namespace quilmo::bench {

// Runs `senders` threads that together do `work` `messages` times; the time taken.
template <class Work>
double RunSenders(int senders, int messages, Work work)
{
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int s = 0; s < senders; ++s) {
        const int count = messages / senders + (s < messages % senders ? 1 : 0);
        threads.emplace_back([count, &work] {
            for (int i = 0; i < count; ++i)
                work();
        });
    }
    for (std::thread& t : threads)
        t.join();
    return Seconds(Clock::now() - start);
}

// A result as a runner sends it.
quilmo::TTestResult SampleResult();

// A loopback server that reads each connection to its end and closes it,
// parsing nothing: ten threads, as many as the journal has.
class ReadOnlyServer {
public:
    ReadOnlyServer();
    ~ReadOnlyServer();
    ReadOnlyServer(const ReadOnlyServer&) = delete;
    ReadOnlyServer& operator=(const ReadOnlyServer&) = delete;
    uint16_t Port() const { return port_; }
    std::atomic<int> drained{0};

private:
    int fd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// Waits until count reaches target; false when it has not within the time-out
// (a result was lost) or went past it (one came twice).
bool WaitForCount(const std::atomic<int>& count, int target,
                  std::chrono::seconds timeout = std::chrono::seconds(30));

}  // namespace quilmo::bench
