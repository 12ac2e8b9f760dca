// The journal under load (make load): the real listener on a free loopback
// port, 50 runners sending RESULT messages as fast as they can for a bounded
// time, and hostile peers that stay connected the whole while: one silent,
// one sending a line that never ends, one sending garbage, one trickling a
// byte at a time. Afterwards every result a runner sent must have arrived
// exactly once and intact, the hostile peers must have produced nothing, and
// the process's resident memory must have stayed under its bound.
//
// Then the journal is killed under load: a journal process of its own (this
// program again) stores what 50 runners send in its store, and is killed with
// SIGKILL while they send. Each runner reads until the journal closes its
// connection, which it does only once the result is committed. After a
// restart, what the journal offers to restore must hold every result whose
// close came before the kill exactly once and intact, and nothing else but
// results that were written in full.
//
//   quilmo_journal_load [--seconds N] [--senders N] [--max-rss-mb N] [--kill-after N]
//
// Prints the figures; exits with 1 on any failure, 2 on a wrong command line.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "journal/JournalRecorder.h"
#include "journal/JournalStore.h"
#include "journal/JournalTexts.h"
#include "journal/Listener.h"
#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "model/TestResult.h"
#include "support/SentResult.h"

namespace {

using namespace quilmo;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Options {
    int Seconds = 30;
    int Senders = 50;
    // The listener's own cost is bounded by its limits: ten connections of
    // at most a 1 MiB line each, about 20 MiB with the copies made while
    // parsing. The rest is the program and the stacks of this test's threads;
    // nothing may grow with the number of results or of hostile connections.
    long MaxRssMb = 96;
    // Seconds of load before the journal process is killed.
    int KillAfter = 5;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        char* end = nullptr;
        const long value = std::strtol(argv[++i], &end, 10);
        if (!end || *end != '\0' || value <= 0 || value > 100000)
            return std::nullopt;
        if (name == "--seconds")
            options.Seconds = int(value);
        else if (name == "--senders")
            options.Senders = int(value);
        else if (name == "--max-rss-mb")
            options.MaxRssMb = value;
        else if (name == "--kill-after")
            options.KillAfter = int(value);
        else
            return std::nullopt;
    }
    return options;
}

// ---- What the runners send

// The result runner `sender` sends as its `index`-th: every field depends on
// both, so that a record mixed up with another or cut anywhere shows.
quilmo::TTestResult RunnerResult(int sender, int index)
{
    quilmo::TTestResult r;
    r.UserName = "Ученик " + std::to_string(sender) + "-" + std::to_string(index);
    r.CompName = "CLASS-PC-" + std::to_string(sender);
    r.CompUserName = "pupil" + std::to_string(index % 7);
    r.TestTitle = "Дроби и проценты";
    r.TestFile = "/srv/tests/Дроби " + std::to_string(sender % 5) + ".tst";
    const int tasks = 5 + (sender * 7 + index) % 56;
    const int right = index % (tasks + 1);
    r.TotalCount = tasks;
    r.AskedCount = tasks;
    r.RightCount = right;
    r.WrongCount = tasks - right;
    r.NotAskedCount = 0;
    r.Mark = 2 + right * 3 / tasks;
    r.StartTime = {2024, 3, 5, 9, index / 60 % 60, index % 60, 0};
    r.EndTime = {2024, 3, 5, 10, sender % 60, index % 60, 0};
    r.Duration = 3600 + index;
    r.EndMode = EndFinished;
    for (int t = 0; t < tasks; ++t) {
        r.ResultMask += t < right ? '+' : '-';
        if (t > 0)
            r.TimeMask += ';';
        r.TimeMask += std::to_string((sender + index + t) % 90);
    }
    r.FileCrc = 0x9E3779B9u * static_cast<uint32_t>(sender + 1) + static_cast<uint32_t>(index);
    return r;
}

using quilmo::testing::SameAsSentOverLoopback;

// "Ученик s-i" back into s and i.
bool SenderAndIndex(const std::string& userName, int& sender, int& index)
{
    const std::string prefix = "Ученик ";
    if (userName.rfind(prefix, 0) != 0)
        return false;
    return std::sscanf(userName.c_str() + prefix.size(), "%d-%d", &sender, &index) == 2;
}

// ---- The journal's side: the window's thread, played by one thread of ours

// Workers hand their records over as the window's queued calls do; one
// thread takes them in order, builds the row and the log line the window
// would show, checks the record against what was sent and keeps only which
// results arrived.
class Journal {
public:
    explicit Journal(int senders) : arrived_(size_t(senders)) {}

    journal::Listener::Sink Sink()
    {
        return [this](journal::ReceivedEvent&& event) {
            std::lock_guard lock(mutex_);
            queue_.push_back(std::move(event));
            queued_.notify_one();
        };
    }

    void Run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            queued_.wait(lock, [this] { return finished_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            journal::ReceivedEvent event = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            Take(event);
            lock.lock();
        }
    }

    // Takes what is still queued, then ends Run.
    void Finish()
    {
        std::lock_guard lock(mutex_);
        finished_ = true;
        queued_.notify_one();
    }

    // Times each (sender, index) arrived intact.
    const std::vector<std::vector<int>>& Arrived() const { return arrived_; }
    long Received() const { return received_; }
    long Corrupt() const { return corrupt_; }
    long Unexpected() const { return unexpected_; }

private:
    void Take(const journal::ReceivedEvent& event)
    {
        int sender = -1, index = -1;
        if (event.kind != journal::ReceivedEvent::Kind::Result ||
            !SenderAndIndex(event.Result.UserName, sender, index) || sender < 0 ||
            size_t(sender) >= arrived_.size() || index < 0) {
            // Nothing but the runners' results may arrive: the hostile
            // peers must not make a record, a message or an error box.
            ++unexpected_;
            return;
        }
        // The window's own work on a record: its row and its log line.
        const journal::RowTexts row = journal::ResultRowTexts(event.Result);
        const std::string log = journal::ResultLogLine(event.Result);
        if (row[2] != event.Result.UserName || log.empty() ||
            !SameAsSentOverLoopback(event.Result, RunnerResult(sender, index))) {
            ++corrupt_;
            return;
        }
        auto& seen = arrived_[size_t(sender)];
        if (seen.size() <= size_t(index))
            seen.resize(size_t(index) + 1, 0);
        ++seen[size_t(index)];
        ++received_;
    }

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<journal::ReceivedEvent> queue_;
    bool finished_ = false;
    std::vector<std::vector<int>> arrived_;  // only this thread's until Run returns
    std::atomic<long> received_{0};
    std::atomic<long> corrupt_{0};
    std::atomic<long> unexpected_{0};
};

// ---- Hostile peers

enum class Hostility { Silent, EndlessLine, Garbage, Trickle };

const char* Name(Hostility h)
{
    switch (h) {
    case Hostility::Silent:
        return "silent";
    case Hostility::EndlessLine:
        return "endless line";
    case Hostility::Garbage:
        return "garbage";
    default:
        return "trickle";
    }
}

struct HostileFigures {
    long Connections = 0;  // made
    long Closed = 0;       // closed by the journal
    long Bytes = 0;        // sent
    bool OpenAtEnd = false;
};

int Connect(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    peer.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True when the journal has closed the connection (or reset it).
bool ClosedByPeer(int fd, int waitMs)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, waitMs) <= 0)
        return false;
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) <= 0;
}

// Keeps one hostile connection open until `stop`; when the journal drops it,
// counts that and connects again.
void Hostile(Hostility kind, uint16_t port, const std::atomic<bool>& stop, HostileFigures& figures)
{
    std::mt19937 random(static_cast<unsigned>(kind) + 1);
    std::string block;
    while (!stop) {
        const int fd = Connect(port);
        if (fd < 0) {
            std::this_thread::sleep_for(10ms);
            continue;
        }
        ++figures.Connections;
        bool closed = false;
        while (!stop && !closed) {
            switch (kind) {
            case Hostility::Silent:
                break;
            case Hostility::EndlessLine:
                block.assign(64 * 1024, 'x');  // no CR LF, ever
                break;
            case Hostility::Garbage:
                // Binary noise with line ends in it: never a kind of message.
                block.resize(4096);
                for (char& c : block)
                    c = static_cast<char>(random() % 256);
                block[0] = '\x01';
                block[100] = '\r';
                block[101] = '\n';
                break;
            case Hostility::Trickle:
                block.assign(1, static_cast<char>('a' + random() % 26));  // a line that never ends
                break;
            }
            if (!block.empty() && kind != Hostility::Silent) {
                const ssize_t put = ::send(fd, block.data(), block.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                if (put > 0)
                    figures.Bytes += put;
                else if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                    closed = true;
            }
            const int pause = kind == Hostility::Trickle ? 200 : kind == Hostility::Silent ? 100 : 10;
            if (!closed)
                closed = ClosedByPeer(fd, pause);
        }
        if (closed)
            ++figures.Closed;
        else
            figures.OpenAtEnd = true;
        ::close(fd);
    }
}

// ---- The journal killed under load

// The journal process: its store, its recorder and its listener, as the
// window has them. Prints the port, then waits to be killed.
int JournalProcess(const std::string& storePath)
{
    auto store = journal::JournalStore::Open(storePath);
    if (!store) {
        std::fprintf(stderr, "journal process: %s\n", store.error().Message.c_str());
        return 1;
    }
    const auto session = (*store)->BeginSession(LocalNow());
    if (!session)
        return 1;
    journal::JournalRecorder recorder(store->get(), nullptr);
    recorder.SetSession(session->Id, session->Run);
    journal::ListenerOptions options;
    options.Address = "127.0.0.1";
    options.Port = "0";
    journal::Listener listener(options, [&recorder](journal::ReceivedEvent&& e, journal::ConnectionHold&& hold) {
        recorder.Record(std::move(e), std::move(hold));
    });
    if (!listener.Start())
        return 1;
    std::printf("%u\n", unsigned(listener.BoundPort()));
    std::fflush(stdout);
    for (;;)
        ::pause();
}

enum class Delivery : char { NotMade, Partial, Written, Confirmed };

// Sends one result as a runner does, line by line, then waits for the
// journal to close: Confirmed when it did so before the kill began.
Delivery SendAndWait(uint16_t port, const std::vector<std::string>& lines, const std::atomic<bool>& killing)
{
    const int fd = Connect(port);
    if (fd < 0)
        return Delivery::NotMade;
    Delivery delivery = Delivery::Written;
    for (const std::string& line : lines)
        if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size())) {
            delivery = Delivery::Partial;
            break;
        }
    if (delivery == Delivery::Written) {
        ::shutdown(fd, SHUT_WR);
        // The close that a kill causes looks the same: only one seen before
        // the kill began counts.
        if (ClosedByPeer(fd, 10000) && !killing)
            delivery = Delivery::Confirmed;
    }
    ::close(fd);
    return delivery;
}

struct KillFigures {
    long Confirmed = 0, Written = 0, Partial = 0;
    long Restored = 0, Missing = 0, Duplicated = 0, Corrupt = 0, Phantom = 0;
    long StoredTotal = 0;
    bool Started = false;
    std::string Error;
};

KillFigures KillUnderLoad(const Options& options)
{
    KillFigures figures;
    char folderTemplate[] = "/tmp/quilmo-load-XXXXXX";
    if (!::mkdtemp(folderTemplate)) {
        figures.Error = "no temporary folder";
        return figures;
    }
    const std::string folder = folderTemplate;
    const std::string storePath = folder + "/" + journal::kStoreFileName;
    int out[2];
    if (::pipe(out) != 0) {
        figures.Error = "no pipe";
        return figures;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl("/proc/self/exe", "quilmo_journal_load", "--journal-process", storePath.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    char portText[16] = {};
    pollfd p{out[0], POLLIN, 0};
    if (child < 0 || ::poll(&p, 1, 10000) <= 0 || ::read(out[0], portText, sizeof portText - 1) <= 0) {
        figures.Error = "the journal process did not start";
        if (child > 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        ::close(out[0]);
        return figures;
    }
    ::close(out[0]);
    figures.Started = true;
    const uint16_t port = uint16_t(std::strtoul(portText, nullptr, 10));

    std::atomic<bool> killing{false};
    std::vector<std::vector<Delivery>> deliveries(size_t(options.Senders));
    std::vector<std::thread> senders;
    for (int s = 0; s < options.Senders; ++s)
        senders.emplace_back([&, s] {
            for (int i = 0; !killing; ++i)
                deliveries[size_t(s)].push_back(SendAndWait(
                    port, journal::EncodeLines(journal::ResultLines(RunnerResult(s, i))), killing));
        });
    std::this_thread::sleep_for(std::chrono::seconds(options.KillAfter));
    killing = true;
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    for (std::thread& t : senders)
        t.join();

    // The restart: the store as the next journal opens it, and its offer.
    auto store = journal::JournalStore::Open(storePath);
    if (!store) {
        figures.Error = store.error().Message;
        return figures;
    }
    const auto session = (*store)->BeginSession(LocalNow());
    const auto offer = session ? (*store)->PendingRestore(session->Run)
                               : Expected<std::optional<journal::RestoreOffer>>(session.error());
    const auto all = (*store)->Results();
    if (!offer || !all) {
        figures.Error = !offer ? offer.error().Message : all.error().Message;
        return figures;
    }
    figures.StoredTotal = long(all->size());
    std::vector<std::vector<int>> restored(size_t(options.Senders));
    if (*offer) {
        for (const journal::StoredResult& r : (*offer)->Results) {
            int sender = -1, index = -1;
            if (!SenderAndIndex(r.Result.UserName, sender, index) || sender < 0 || sender >= options.Senders ||
                index < 0 || size_t(index) >= deliveries[size_t(sender)].size()) {
                ++figures.Phantom;
                continue;
            }
            if (!SameAsSentOverLoopback(r.Result, RunnerResult(sender, index))) {
                ++figures.Corrupt;
                continue;
            }
            auto& seen = restored[size_t(sender)];
            if (seen.size() <= size_t(index))
                seen.resize(size_t(index) + 1, 0);
            ++seen[size_t(index)];
            ++figures.Restored;
        }
    }
    for (int s = 0; s < options.Senders; ++s) {
        const auto& mine = deliveries[size_t(s)];
        const auto& seen = restored[size_t(s)];
        for (size_t i = 0; i < mine.size(); ++i) {
            const int times = i < seen.size() ? seen[i] : 0;
            figures.Confirmed += mine[i] == Delivery::Confirmed;
            figures.Written += mine[i] == Delivery::Written;
            figures.Partial += mine[i] == Delivery::Partial;
            if (mine[i] == Delivery::Confirmed && times == 0)
                ++figures.Missing;
            if (times > 1)
                figures.Duplicated += times - 1;
            if (times > 0 && mine[i] != Delivery::Confirmed && mine[i] != Delivery::Written)
                ++figures.Phantom;
        }
    }
    store->reset();
    for (const char* suffix : {"", "-wal", "-shm"})
        ::unlink((storePath + suffix).c_str());
    ::rmdir(folder.c_str());
    return figures;
}

// ---- Memory

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); -1 when missing.
long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--journal-process")
        return JournalProcess(argv[2]);
    const auto parsed = ParseOptions(argc, argv);
    if (!parsed) {
        std::fprintf(stderr, "usage: %s [--seconds N] [--senders N] [--max-rss-mb N] [--kill-after N]\n",
                     argv[0]);
        return 2;
    }
    const Options options = *parsed;
    const long rssAtStart = StatusKb("VmRSS");

    Journal journal(options.Senders);
    journal::ListenerOptions listenerOptions;  // the window's limits and time-outs
    listenerOptions.Address = "127.0.0.1";
    listenerOptions.Port = "0";
    journal::Listener listener(listenerOptions, journal.Sink());
    if (!listener.Start()) {
        std::fprintf(stderr, "FAIL: the listener does not start\n");
        return 1;
    }
    const uint16_t port = listener.BoundPort();
    const std::string portText = std::to_string(port);
    std::thread window([&] { journal.Run(); });

    // Resident memory, sampled while everything runs.
    std::atomic<bool> sampling{true};
    std::atomic<long> rssPeak{rssAtStart};
    std::atomic<size_t> workersPeak{0};
    std::thread sampler([&] {
        while (sampling) {
            rssPeak = std::max(rssPeak.load(), StatusKb("VmRSS"));
            workersPeak = std::max(workersPeak.load(), listener.WorkerCount());
            std::this_thread::sleep_for(50ms);
        }
    });

    std::atomic<bool> stopHostile{false};
    const Hostility kinds[] = {Hostility::Silent, Hostility::EndlessLine, Hostility::Garbage, Hostility::Trickle};
    std::vector<HostileFigures> hostileFigures(std::size(kinds));
    std::vector<std::thread> hostile;
    for (size_t k = 0; k < std::size(kinds); ++k)
        hostile.emplace_back(Hostile, kinds[k], port, std::cref(stopHostile), std::ref(hostileFigures[k]));
    std::this_thread::sleep_for(200ms);  // the hostile peers are in first

    // The runners: each sends its results one after another until the time
    // is up; a result counts as sent when the runner's connection was made.
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(options.Seconds);
    std::vector<std::vector<char>> sent(size_t(options.Senders));
    std::atomic<long> refused{0};
    std::vector<std::thread> senders;
    for (int s = 0; s < options.Senders; ++s)
        senders.emplace_back([&, s] {
            auto& mine = sent[size_t(s)];
            for (int i = 0; Clock::now() < deadline; ++i) {
                const bool ok = journal::SendLines("127.0.0.1", portText,
                                                   journal::EncodeLines(journal::ResultLines(RunnerResult(s, i))));
                mine.push_back(ok ? 1 : 0);
                if (!ok)
                    ++refused;
            }
        });
    for (std::thread& t : senders)
        t.join();
    const double sendSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    long sentCount = 0;
    for (const auto& mine : sent)
        sentCount += std::count(mine.begin(), mine.end(), 1);

    // The last results may still be being read: give them a moment.
    const auto drainLimit = Clock::now() + 10s;
    while (Clock::now() < drainLimit && journal.Received() + journal.Corrupt() < sentCount)
        std::this_thread::sleep_for(20ms);
    // The hostile peers have held their connections the whole time.
    stopHostile = true;
    for (std::thread& t : hostile)
        t.join();
    listener.Stop();
    journal.Finish();
    window.join();
    sampling = false;
    sampler.join();
    const long rssPeakKb = std::max(rssPeak.load(), StatusKb("VmHWM"));

    // ---- Judging
    long missing = 0, duplicated = 0, phantom = 0;
    const auto& arrived = journal.Arrived();
    for (int s = 0; s < options.Senders; ++s) {
        const auto& mine = sent[size_t(s)];
        const auto& seen = arrived[size_t(s)];
        for (size_t i = 0; i < std::max(mine.size(), seen.size()); ++i) {
            const int times = i < seen.size() ? seen[i] : 0;
            const bool wasSent = i < mine.size() && mine[i];
            if (wasSent && times == 0)
                ++missing;
            else if (times > 1)
                duplicated += times - 1;
            else if (!wasSent && times > 0)
                ++phantom;
        }
    }

    std::printf("journal load: %d senders for %d s on 127.0.0.1:%u\n", options.Senders, options.Seconds,
                unsigned(port));
    std::printf("  results sent      %ld (refused %ld)\n", sentCount, refused.load());
    std::printf("  results received  %ld intact, %ld corrupt, %ld missing, %ld duplicated, %ld never sent\n",
                journal.Received(), journal.Corrupt(), missing, duplicated, phantom);
    std::printf("  rate              %.0f results/s\n", double(journal.Received()) / sendSeconds);
    std::printf("  hostile events    %ld\n", journal.Unexpected());
    for (size_t k = 0; k < std::size(kinds); ++k) {
        const HostileFigures& h = hostileFigures[k];
        std::printf("  hostile %-12s %ld connection(s), %ld closed by the journal, %s at the end, %ld bytes sent\n",
                    Name(kinds[k]), h.Connections, h.Closed, h.OpenAtEnd ? "held" : "not held", h.Bytes);
    }
    std::printf("  workers           at most %zu\n", workersPeak.load());
    std::printf("  resident memory   %.1f MiB at start, peak %.1f MiB (bound %ld MiB)\n", rssAtStart / 1024.0,
                rssPeakKb / 1024.0, options.MaxRssMb);

    bool ok = true;
    auto fail = [&ok](const char* what) {
        std::printf("FAIL: %s\n", what);
        ok = false;
    };
    if (sentCount == 0)
        fail("no result was sent");
    if (refused > 0)
        fail("runners could not connect");
    if (missing > 0)
        fail("results sent did not arrive");
    if (duplicated > 0)
        fail("results arrived more than once");
    if (phantom > 0)
        fail("results arrived that no runner sent");
    if (journal.Corrupt() > 0)
        fail("results arrived altered");
    if (journal.Unexpected() > 0)
        fail("the hostile peers made the journal report something");
    if (workersPeak.load() > size_t(listenerOptions.MaxWorkers))
        fail("more workers than allowed");
    for (const HostileFigures& h : hostileFigures)
        if (h.Connections == 0)
            fail("a hostile peer never got a connection");
    if (rssPeakKb > options.MaxRssMb * 1024)
        fail("resident memory went past its bound");

    const KillFigures kill = KillUnderLoad(options);
    std::printf("journal killed after %d s of load from %d senders\n", options.KillAfter, options.Senders);
    std::printf("  results confirmed %ld (closed by the journal before the kill), written in full but not "
                "confirmed %ld, cut by the kill %ld\n",
                kill.Confirmed, kill.Written, kill.Partial);
    std::printf("  offered after the restart %ld of %ld stored: %ld confirmed missing, %ld duplicated, "
                "%ld corrupt, %ld never written in full\n",
                kill.Restored, kill.StoredTotal, kill.Missing, kill.Duplicated, kill.Corrupt, kill.Phantom);
    if (!kill.Error.empty())
        fail(kill.Error.c_str());
    if (kill.Confirmed == 0)
        fail("no result was confirmed before the kill");
    if (kill.Missing > 0)
        fail("results confirmed before the kill were lost");
    if (kill.Duplicated > 0)
        fail("results were restored more than once");
    if (kill.Corrupt > 0)
        fail("results were restored altered");
    if (kill.Phantom > 0)
        fail("results were restored that were never written in full");
    if (kill.Restored != kill.StoredTotal)
        fail("the restart does not offer every stored result");
    std::printf("%s\n", ok ? "journal load: passed" : "journal load: FAILED");
    return ok ? 0 : 1;
}
