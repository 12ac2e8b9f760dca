#pragma once
// The journal's TCP listener: one accepting thread and a small pool of reusable
// worker threads, each reading one connection at a time. Parsed messages go to
// a sink, called on the worker's thread.

#include <atomic>
#include <chrono>
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
#include "model/Expected.h"

struct sockaddr_in;

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
    // A peer that sends no byte this long after it was accepted is dropped, so
    // that a few silent peers cannot keep every worker from honest runners.
    int FirstByteTimeoutMs = 5000;
    // After StopAccepting, how long the connections already made may take to
    // finish; what is still being read then is cut.
    int DrainTimeoutMs = 5000;
    size_t MaxLineBytes = kMaxLineBytes;
    size_t MaxMessageBytes = kMaxMessageBytes;
    // The local date and time, for the records' receipt times.
    std::function<TDateTime()> Now = LocalNow;
};

// Keeps a connection open after its worker has moved on, until it is
// released (or destroyed): a peer that reads until the close then learns that
// what it sent was taken care of, not merely read.
class ConnectionHold {
public:
    ConnectionHold() = default;
    explicit ConnectionHold(int fd) : fd_(fd) {}
    ~ConnectionHold() { Release(); }
    ConnectionHold(ConnectionHold&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ConnectionHold& operator=(ConnectionHold&& other) noexcept;
    ConnectionHold(const ConnectionHold&) = delete;
    ConnectionHold& operator=(const ConnectionHold&) = delete;
    void Release();

private:
    int fd_ = -1;
};

class Listener {
public:
    // Called on a worker thread, never after Stop has returned.
    using Sink = std::function<void(ReceivedEvent&&)>;
    // The same, with the connection's hold: it closes when the hold goes,
    // while the worker goes on to the next connection.
    using HeldSink = std::function<void(ReceivedEvent&&, ConnectionHold&&)>;

    Listener(ListenerOptions options, Sink sink);
    Listener(ListenerOptions options, HeldSink sink);
    // Stops: no sink call can follow the destruction.
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Binds, listens and starts the accepting thread. The error says why not
    // (the system's reason when the port cannot be bound or listened on).
    Status Start();
    // Closing the journal: stops accepting at once and returns. The
    // connections already made, those the system had completed but not yet
    // handed over included, are still read and reported, for up to
    // DrainTimeoutMs; the runners believe them delivered.
    void StopAccepting();
    // Stops at once: ends the connections still being read (their messages
    // are dropped) and joins every thread.
    void Stop();

    // Listening: started and not yet told to stop accepting.
    bool Active() const { return accepting_; }
    // Stopped accepting and every connection read or cut.
    bool Finished() const { return finished_; }
    // The port actually bound (useful after binding port 0).
    uint16_t BoundPort() const { return boundPort_; }
    // Worker threads alive, for tests.
    size_t WorkerCount();

private:
    using Clock = std::chrono::steady_clock;
    struct Job {
        int Fd = -1;
        std::string Peer;
        Clock::time_point Accepted;
    };
    void AcceptLoop();
    // Holds mutex_: queues an accepted connection for a worker.
    void Enqueue(int fd, const sockaddr_in& peer);
    // Takes the connections the system completed, then waits for the reads to
    // end until the drain's deadline, and cuts those left.
    void Drain(Clock::time_point deadline);
    void WorkerLoop();
    void Serve(const Job& job);
    // Holds mutex_: starts one more worker if one is needed and allowed.
    void SpawnWorkerIfNeeded();

    ListenerOptions options_;
    Sink sink_;
    HeldSink heldSink_;
    int listenFd_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t boundPort_ = 0;

    std::mutex mutex_;
    std::condition_variable workReady_;   // workers wait for a job
    std::condition_variable workerFree_;  // the acceptor waits for a free worker
    std::condition_variable readsDone_;   // the draining acceptor waits for the reads
    std::condition_variable acceptEnded_; // StopAccepting waits for the listening socket to close
    std::deque<Job> pending_;
    std::set<int> active_;                // connections being read
    size_t idle_ = 0;                     // workers waiting for a job
    std::atomic<bool> stopping_{false};   // cut every read, end every thread
    bool stopAccepting_ = false;          // asked to stop accepting
    bool acceptDone_ = false;             // no connection will be queued any more
    Clock::time_point drainDeadline_;
    std::atomic<bool> accepting_{false};
    std::atomic<bool> finished_{false};
    std::thread acceptor_;
    std::vector<std::thread> workers_;
};

}  // namespace quilmo::journal
