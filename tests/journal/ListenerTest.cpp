// The journal's listener on a loopback port: many runners at once, hostile
// peers, and stopping while connections are being read.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "journal/Listener.h"
#include "journal/Sender.h"
#include "model/FileIO.h"
#include "model/TestResult.h"
#include "support/Loopback.h"
#include "support/SentResult.h"

namespace quilmo::journal {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackClient;

const TDateTime kNow{2024, 3, 5, 9, 15, 2, 0};

// Collects what the listener delivers, from any thread.
class Collector {
public:
    Listener::Sink Sink()
    {
        return [this](ReceivedEvent&& event) {
            std::lock_guard lock(mutex_);
            events_.push_back(std::move(event));
            changed_.notify_all();
        };
    }
    // Waits until at least n events arrived; false on time-out.
    bool WaitFor(size_t n, std::chrono::milliseconds limit = 10s)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return events_.size() >= n; });
    }
    std::vector<ReceivedEvent> Events()
    {
        std::lock_guard lock(mutex_);
        return events_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<ReceivedEvent> events_;
};

ListenerOptions LoopbackOptions(int idleMs = 30000)
{
    ListenerOptions options;
    options.Address = "127.0.0.1";
    options.Port = "0";
    options.IdleTimeoutMs = idleMs;
    options.MaxLineBytes = 64 * 1024;
    options.MaxMessageBytes = 256 * 1024;
    options.Now = [] { return kNow; };
    return options;
}

// The result runner `sender` sends as its `index`-th.
quilmo::TTestResult RunnerResult(int sender, int index)
{
    quilmo::TTestResult r;
    r.UserName = "Ученик " + std::to_string(sender) + "-" + std::to_string(index);
    r.CompName = "PC-" + std::to_string(sender);
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/srv/tests/Дроби.tst";
    r.TotalCount = 12;
    r.AskedCount = 12;
    r.RightCount = index;
    r.WrongCount = 12 - index;
    r.Mark = sender % 5 + 1;
    r.StartTime = {2024, 3, 5, 9, 0, index, 0};
    r.EndTime = {2024, 3, 5, 9, 30, sender, 0};
    r.Duration = 1800 + index;
    r.EndMode = EndFinished;
    r.ResultMask = std::string(static_cast<size_t>(index), '+') + std::string(static_cast<size_t>(12 - index), '-');
    r.TimeMask = "1;2;3;4;5;6;7;8;9;10;11;" + std::to_string(sender);
    r.FileCrc = 4000000000u + static_cast<uint32_t>(sender);
    return r;
}

bool SameAsSent(const TTestResult& got, const quilmo::TTestResult& sent)
{
    return testing::SameAsSentOverLoopback(got, sent) && got.ReceivedTime == kNow;
}

TEST(ListenerTest, TwoHundredResultsFromTwentyRunnersAtOnceArriveOnceAndIntact)
{
    Collector collector;
    Listener listener(LoopbackOptions(), collector.Sink());
    ASSERT_TRUE(listener.Start());
    const std::string port = std::to_string(listener.BoundPort());

    constexpr int kSenders = 20, kEach = 10;
    std::vector<std::thread> senders;
    std::atomic<int> refused{0};
    for (int s = 0; s < kSenders; ++s)
        senders.emplace_back([&, s] {
            for (int i = 0; i < kEach; ++i)
                if (!SendLines("127.0.0.1", port, EncodeLines(ResultLines(RunnerResult(s, i)))))
                    ++refused;
        });
    for (std::thread& t : senders)
        t.join();
    ASSERT_EQ(refused, 0);
    ASSERT_TRUE(collector.WaitFor(kSenders * kEach));
    std::this_thread::sleep_for(100ms);  // room for a duplicate to show up

    const auto events = collector.Events();
    ASSERT_EQ(events.size(), size_t(kSenders * kEach));
    std::map<std::string, int> seen;
    for (const ReceivedEvent& e : events) {
        ASSERT_EQ(e.kind, ReceivedEvent::Kind::Result);
        ++seen[e.Result.UserName];
    }
    for (int s = 0; s < kSenders; ++s)
        for (int i = 0; i < kEach; ++i) {
            const quilmo::TTestResult sent = RunnerResult(s, i);
            ASSERT_EQ(seen[sent.UserName], 1) << sent.UserName;
            const auto got = std::find_if(events.begin(), events.end(), [&](const ReceivedEvent& e) {
                return e.Result.UserName == sent.UserName;
            });
            EXPECT_TRUE(SameAsSent(got->Result, sent)) << sent.UserName;
        }
    EXPECT_LE(listener.WorkerCount(), 10u);
}

TEST(ListenerTest, HostilePeersCostAWorkerOnlyUntilTheirLimits)
{
    Collector collector;
    Listener listener(LoopbackOptions(300), collector.Sink());
    ASSERT_TRUE(listener.Start());
    const uint16_t port = listener.BoundPort();

    // Silent peers take all ten workers; each is dropped after the idle time.
    std::vector<std::unique_ptr<LoopbackClient>> silent;
    for (int i = 0; i < 10; ++i)
        silent.push_back(std::make_unique<LoopbackClient>(port));
    LoopbackClient endless(port);   // a line that never ends
    LoopbackClient flood(port);     // megabytes without CR LF
    LoopbackClient garbage(port);
    LoopbackClient quitter(port);   // connects and closes at once
    LoopbackClient halfResult(port);  // says RESULT, then sends a huge line
    ASSERT_TRUE(endless.Connected() && flood.Connected() && garbage.Connected());
    quitter.Close();
    endless.Send(std::string(70 * 1024, 'x'));
    garbage.Send("\x01\x02\xFF\r\nGET / HTTP/1.1\r\nHost: x\r\n\r\n");
    std::thread flooder([&] {
        const std::string block(64 * 1024, 'z');
        for (int i = 0; i < 64 && flood.Send(block); ++i) {
        }
    });
    halfResult.Send("RESULT\r\n" + std::string(100 * 1024, 'y'));

    for (auto& client : silent)
        EXPECT_TRUE(client->PeerClosed(5000));
    EXPECT_TRUE(endless.PeerClosed(5000));
    EXPECT_TRUE(halfResult.PeerClosed(5000));
    flooder.join();
    EXPECT_TRUE(flood.PeerClosed(5000));

    // The journal is not deaf: an honest result still arrives.
    ASSERT_TRUE(SendLines("127.0.0.1", std::to_string(port), EncodeLines(ResultLines(RunnerResult(1, 2)))));
    ASSERT_TRUE(collector.WaitFor(2));
    std::this_thread::sleep_for(100ms);
    const auto events = collector.Events();
    // Only the RESULT cut short is reported (as malformed); every other hostile
    // peer leaves no trace.
    ASSERT_EQ(events.size(), 2u);
    int malformed = 0, results = 0;
    for (const ReceivedEvent& e : events) {
        malformed += e.kind == ReceivedEvent::Kind::Malformed;
        results += e.kind == ReceivedEvent::Kind::Result && SameAsSent(e.Result, RunnerResult(1, 2));
    }
    EXPECT_EQ(malformed, 1);
    EXPECT_EQ(results, 1);
    EXPECT_LE(listener.WorkerCount(), 10u);
}

TEST(ListenerTest, PeerThatTricklesIsDroppedWhenItsTimeIsUp)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions(200);
    options.ConnectionTimeoutMs = 400;
    Listener listener(options, collector.Sink());
    ASSERT_TRUE(listener.Start());
    LoopbackClient trickler(listener.BoundPort());
    const auto start = std::chrono::steady_clock::now();
    // A byte every 50 ms never leaves the connection idle for long.
    bool dropped = false;
    for (int i = 0; i < 40 && !dropped; ++i) {
        trickler.Send("M");
        dropped = trickler.PeerClosed(50);
    }
    EXPECT_TRUE(dropped);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_TRUE(collector.Events().empty());
}

TEST(ListenerTest, StoppingEndsConnectionsStillBeingReadAndReportsNothingOfThem)
{
    Collector collector;
    auto listener = std::make_unique<Listener>(LoopbackOptions(30000), collector.Sink());
    ASSERT_TRUE(listener->Start());
    const uint16_t port = listener->BoundPort();
    std::vector<std::unique_ptr<LoopbackClient>> readers;
    for (int i = 0; i < 12; ++i) {
        readers.push_back(std::make_unique<LoopbackClient>(port));
        readers.back()->Send("RESULT\r\nhalf a result");
    }
    for (int i = 0; i < 100 && listener->WorkerCount() < 10; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(listener->WorkerCount(), 10u);

    const auto start = std::chrono::steady_clock::now();
    listener->Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);  // not the idle time-out
    EXPECT_FALSE(listener->Active());
    EXPECT_TRUE(readers[0]->PeerClosed(1000));

    // Started again on the same port, and destroyed while reading.
    ListenerOptions again = LoopbackOptions(30000);
    again.Port = std::to_string(port);
    listener = std::make_unique<Listener>(again, collector.Sink());
    ASSERT_TRUE(listener->Start());
    LoopbackClient late(port);
    late.Send("MESSAGE\r\n");
    std::this_thread::sleep_for(50ms);
    listener.reset();
    EXPECT_TRUE(collector.Events().empty());
}

TEST(ListenerTest, StartFailsOnABadPortTextOrAPortInUseAndSaysWhy)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions();
    options.Port = "no-such-service";
    const Status bad = Listener(options, collector.Sink()).Start();
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().Message, "нет такого порта");

    Listener first(LoopbackOptions(), collector.Sink());
    ASSERT_TRUE(first.Start());
    options.Port = std::to_string(first.BoundPort());
    Listener second(options, collector.Sink());
    const Status busy = second.Start();
    ASSERT_FALSE(busy);
    EXPECT_EQ(busy.error().Message, SystemErrorText(EADDRINUSE));
    EXPECT_FALSE(second.Active());
}

TEST(ListenerTest, APeerThatSaysNothingAfterItWasAcceptedIsClosed)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions(30000);
    options.FirstByteTimeoutMs = 300;
    Listener listener(options, collector.Sink());
    ASSERT_TRUE(listener.Start());
    LoopbackClient silent(listener.BoundPort());
    LoopbackClient talking(listener.BoundPort());
    const std::vector<std::string> lines = EncodeLines(ResultLines(RunnerResult(1, 2)));
    ASSERT_TRUE(talking.Send(lines[0]));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(silent.PeerClosed(3000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    // One that has begun its message has the idle time between its bytes.
    EXPECT_FALSE(talking.PeerClosed(500));
    for (size_t i = 1; i < lines.size(); ++i)
        ASSERT_TRUE(talking.Send(lines[i]));
    talking.Close();
    ASSERT_TRUE(collector.WaitFor(1));
    EXPECT_TRUE(SameAsSent(collector.Events()[0].Result, RunnerResult(1, 2)));
}

TEST(ListenerTest, TenSilentPeersDelayAResultByFiveSecondsAtMost)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions();
    options.IdleTimeoutMs = ListenerOptions{}.IdleTimeoutMs;  // the journal's own limits
    Listener listener(options, collector.Sink());
    ASSERT_TRUE(listener.Start());
    std::vector<std::unique_ptr<LoopbackClient>> silent;
    for (int i = 0; i < 10; ++i)
        silent.push_back(std::make_unique<LoopbackClient>(listener.BoundPort()));
    std::this_thread::sleep_for(100ms);  // every worker holds one
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendLines("127.0.0.1", std::to_string(listener.BoundPort()),
                          EncodeLines(ResultLines(RunnerResult(3, 4)))));
    ASSERT_TRUE(collector.WaitFor(1, 8s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 6s);
    EXPECT_TRUE(SameAsSent(collector.Events()[0].Result, RunnerResult(3, 4)));
    EXPECT_TRUE(silent[0]->PeerClosed(1000));
}

TEST(ListenerTest, StoppingToAcceptReadsTheConnectionsAlreadyMade)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions();
    options.MaxWorkers = 1;
    Listener listener(options, collector.Sink());
    ASSERT_TRUE(listener.Start());
    const uint16_t port = listener.BoundPort();
    const std::vector<std::string> lines = EncodeLines(ResultLines(RunnerResult(1, 1)));
    // The only worker reads a slow runner; a second runner's connection is
    // complete and its result written, waiting in the system's queue.
    LoopbackClient slow(port);
    ASSERT_TRUE(slow.Send(lines[0] + lines[1]));
    for (int i = 0; i < 100 && listener.WorkerCount() < 1; ++i)
        std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(50ms);
    LoopbackClient queued(port);
    ASSERT_TRUE(queued.Connected());
    for (const std::string& line : EncodeLines(ResultLines(RunnerResult(2, 2))))
        ASSERT_TRUE(queued.Send(line));
    queued.Close();

    listener.StopAccepting();
    EXPECT_FALSE(listener.Active());
    EXPECT_FALSE(LoopbackClient(port).Connected());  // refused from now on
    for (size_t i = 2; i < lines.size(); ++i)
        ASSERT_TRUE(slow.Send(lines[i]));
    slow.Close();
    ASSERT_TRUE(collector.WaitFor(2));
    const auto events = collector.Events();
    EXPECT_TRUE(SameAsSent(events[0].Result, RunnerResult(1, 1)));
    EXPECT_TRUE(SameAsSent(events[1].Result, RunnerResult(2, 2)));
    for (int i = 0; i < 100 && !listener.Finished(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(listener.Finished());
}

TEST(ListenerTest, StoppingToAcceptCutsWhatIsNotReadWithinTheDrainTime)
{
    Collector collector;
    ListenerOptions options = LoopbackOptions();
    options.DrainTimeoutMs = 300;
    Listener listener(options, collector.Sink());
    ASSERT_TRUE(listener.Start());
    LoopbackClient stalled(listener.BoundPort());
    ASSERT_TRUE(stalled.Send("RESULT\r\nAnn\r\n"));
    std::this_thread::sleep_for(50ms);
    const auto start = std::chrono::steady_clock::now();
    listener.StopAccepting();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);  // the window does not wait
    EXPECT_TRUE(stalled.PeerClosed(3000));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 250ms);
    EXPECT_LT(took, 2s);
    for (int i = 0; i < 100 && !listener.Finished(); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(listener.Finished());
    EXPECT_TRUE(collector.Events().empty());  // cut by the journal, not the runner's fault
}

TEST(ListenerTest, MessageReachesTheSinkWithThePeerAddress)
{
    Collector collector;
    Listener listener(LoopbackOptions(), collector.Sink());
    ASSERT_TRUE(listener.Start());
    ASSERT_TRUE(SendLines("127.0.0.1", std::to_string(listener.BoundPort()),
                          EncodeLines(MessageLines("Иванов", "PC-3", "pupil", "Начат тест"))));
    ASSERT_TRUE(collector.WaitFor(1));
    const ReceivedEvent e = collector.Events()[0];
    EXPECT_EQ(e.kind, ReceivedEvent::Kind::Message);
    EXPECT_EQ(e.UserName, "Иванов");
    EXPECT_EQ(e.CompName, "PC-3");
    EXPECT_EQ(e.PeerAddress, "127.0.0.1");
    EXPECT_EQ(e.Text, "Начат тест");
}

}  // namespace
}  // namespace quilmo::journal
