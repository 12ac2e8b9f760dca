#pragma once
// The journal's TCP listener: one accepting thread and a small pool of reusable
// worker threads, each reading one connection at a time. Parsed messages go to
// a sink, called on the worker's thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "journal/ResultProtocol.h"

namespace quilmo::journal {

struct ListenerOptions {
    std::string Address = "0.0.0.0";
    std::string Port = "5105";  // a service name or a decimal number; "0": any free port
    // The system's listen queue holds connections that wait for a worker. A
    // queue of five loses results when a class sends at once (connections the
    // runner saw made never reach the journal), so it is as long as the system
    // allows; 0 means that.
    int Backlog = 0;
    int MaxWorkers = 10;
    // A connection that sends nothing for this long is dropped; so is one that
    // has not finished its message within ConnectionTimeoutMs.
    int IdleTimeoutMs = 30000;
    int ConnectionTimeoutMs = 120000;
    size_t MaxLineBytes = kMaxLineBytes;
    size_t MaxMessageBytes = kMaxMessageBytes;
    // The local date and time, for the records' receipt times.
    std::function<TDateTime()> Now = LocalNow;
};

class Listener {
public:
    // Called on a worker thread, never after Stop has returned.
    using Sink = std::function<void(ReceivedEvent&&)>;

    Listener(ListenerOptions options, Sink sink);
    // Stops: no sink call can follow the destruction.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Binds, listens and starts the accepting thread. False when the port text
    // is no port, or the socket cannot be bound or listened on.
    bool Start();
    // Stops accepting, ends the connections still being read (their messages
    // are dropped) and joins every thread.
    void Stop();

    bool Active() const { return listenFd_ >= 0; }
    // The port actually bound (useful after binding port 0).
    uint16_t BoundPort() const { return boundPort_; }
    // Worker threads alive, for tests.
    size_t WorkerCount();

private:
    struct Job {
        int Fd = -1;
        std::string Peer;
    };
    void AcceptLoop();
    void WorkerLoop();
    void Serve(const Job& job);
    // Holds mutex_: starts one more worker if one is needed and allowed.
    void SpawnWorkerIfNeeded();

    ListenerOptions options_;
    Sink sink_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t boundPort_ = 0;

    std::mutex mutex_;
    std::condition_variable workReady_;   // workers wait for a job
    std::condition_variable workerFree_;  // the acceptor waits for a free worker
    std::deque<Job> pending_;
    std::set<int> active_;                // connections being read
    size_t idle_ = 0;                     // workers waiting for a job
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
    std::vector<std::thread> workers_;
};

}  // namespace quilmo::journal
