#include "journal/Listener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "journal/Sender.h"
#include "model/FileIO.h"

namespace quilmo::journal {

namespace {

using Clock = std::chrono::steady_clock;

std::string DottedAddress(const sockaddr_in& address)
{
    char text[INET_ADDRSTRLEN] = {};
    if (!::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text))
        return {};
    return text;
}

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

ConnectionHold& ConnectionHold::operator=(ConnectionHold&& other) noexcept
{
    if (this != &other) {
        Release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void ConnectionHold::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

Listener::Listener(ListenerOptions options, Sink sink)
    : options_(std::move(options)), sink_(std::move(sink))
{
}

Listener::Listener(ListenerOptions options, HeldSink sink)
    : options_(std::move(options)), heldSink_(std::move(sink))
{
}

Listener::~Listener()
{
    Stop();
}

Status Listener::Start()
{
    if (Active())
        return Ok();
    if (acceptor_.joinable())
        Stop();  // the last run is still draining
    const auto port = ResolvePort(options_.Port);
    if (!port)
        return Error{"нет такого порта"};
    in_addr address{};
    if (::inet_pton(AF_INET, options_.Address.c_str(), &address) != 1)
        return Error{"неверный адрес " + options_.Address};

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Error{SystemErrorText(errno)};
    // A journal closed and opened again can listen at once, before the
    // connections of its last run have left TIME_WAIT.
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr = address;
    local.sin_port = htons(*port);
    socklen_t size = sizeof local;
    int pipeFds[2] = {-1, -1};
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(fd, options_.Backlog > 0 ? options_.Backlog : SOMAXCONN) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0 ||
        ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        return Error{SystemErrorText(error)};
    }
    listenFd_ = fd;
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
    boundPort_ = ntohs(local.sin_port);
    stopping_ = false;
    stopAccepting_ = false;
    acceptDone_ = false;
    finished_ = false;
    accepting_ = true;
    try {
        acceptor_ = std::thread(&Listener::AcceptLoop, this);
    } catch (const std::system_error& e) {
        Stop();
        return Error{e.what()};
    }
    return Ok();
}

void Listener::StopAccepting()
{
    {
        std::lock_guard lock(mutex_);
        if (!accepting_)
            return;
        accepting_ = false;
        stopAccepting_ = true;
        drainDeadline_ = Clock::now() + std::chrono::milliseconds(options_.DrainTimeoutMs);
    }
    workerFree_.notify_all();
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &wake, 1);
    // Once this returns, a runner that connects is refused.
    std::unique_lock lock(mutex_);
    acceptEnded_.wait(lock, [this] { return acceptDone_ || stopping_; });
}

void Listener::Stop()
{
    if (wakeWrite_ < 0)
        return;  // never started, or stopped already
    {
        std::lock_guard lock(mutex_);
        accepting_ = false;
        stopAccepting_ = true;
        stopping_ = true;
        // Reads in progress end at once; their workers see stopping_ and drop them.
        for (const int fd : active_)
            ::shutdown(fd, SHUT_RDWR);
    }
    workReady_.notify_all();
    workerFree_.notify_all();
    readsDone_.notify_all();
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &wake, 1);
    if (acceptor_.joinable())
        acceptor_.join();
    for (std::thread& worker : workers_)
        if (worker.joinable())
            worker.join();
    workers_.clear();
    for (const Job& job : pending_)
        ::close(job.Fd);
    pending_.clear();
    idle_ = 0;
    if (listenFd_ >= 0)
        ::close(listenFd_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
    listenFd_ = wakeRead_ = wakeWrite_ = -1;
    boundPort_ = 0;
    finished_ = true;
}

size_t Listener::WorkerCount()
{
    std::lock_guard lock(mutex_);
    return workers_.size();
}

void Listener::SpawnWorkerIfNeeded()
{
    if (pending_.size() <= idle_ || workers_.size() >= static_cast<size_t>(options_.MaxWorkers))
        return;
    try {
        workers_.emplace_back(&Listener::WorkerLoop, this);
    } catch (const std::system_error&) {
        // No thread to be had: the workers there are will get to the job.
        if (workers_.empty()) {
            ::close(pending_.back().Fd);
            pending_.pop_back();
        }
    }
}

void Listener::Enqueue(int fd, const sockaddr_in& peer)
{
    pending_.push_back(Job{fd, DottedAddress(peer), Clock::now()});
    SpawnWorkerIfNeeded();
    workReady_.notify_one();
}

void Listener::AcceptLoop()
{
    for (;;) {
        {
            // Take a connection off the queue only when a worker can serve it:
            // until then it waits in the system's listen queue.
            std::unique_lock lock(mutex_);
            workerFree_.wait(lock, [this] {
                return stopAccepting_ || pending_.size() < idle_ ||
                       workers_.size() < static_cast<size_t>(options_.MaxWorkers);
            });
            if (stopping_)
                return;
            if (stopAccepting_) {
                const auto deadline = drainDeadline_;
                lock.unlock();
                Drain(deadline);
                return;
            }
        }
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            // The listening socket is beyond use: end as if closed.
            std::unique_lock lock(mutex_);
            accepting_ = false;
            stopAccepting_ = true;
            drainDeadline_ = Clock::now() + std::chrono::milliseconds(options_.DrainTimeoutMs);
            continue;
        }
        if (fds[1].revents != 0)
            continue;  // told to stop: the top of the loop says how
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
        if (fd < 0) {
            // Out of descriptors or memory: give the workers a moment to free some.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(fd);
            return;
        }
        Enqueue(fd, peer);
    }
}

void Listener::Drain(Clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    // A connection the system has completed is one its runner believes
    // made: it is read like the others, not reset with the listening socket.
    for (;;) {
        if (stopping_)
            return;
        sockaddr_in peer{};
        socklen_t size = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            break;
        }
        Enqueue(fd, peer);
    }
    // New runners are refused from now on, and keep their results to send again.
    ::close(listenFd_);
    listenFd_ = -1;
    acceptDone_ = true;
    acceptEnded_.notify_all();
    workReady_.notify_all();
    readsDone_.wait_until(lock, deadline, [this] { return stopping_ || (pending_.empty() && active_.empty()); });
    stopping_ = true;
    for (const int fd : active_)
        ::shutdown(fd, SHUT_RDWR);
    for (const Job& job : pending_)
        ::close(job.Fd);
    pending_.clear();
    workReady_.notify_all();
    finished_ = true;
}

void Listener::WorkerLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        workerFree_.notify_one();
        workReady_.wait(lock, [this] { return stopping_ || !pending_.empty() || acceptDone_; });
        --idle_;
        if (stopping_ || pending_.empty())
            return;
        const Job job = std::move(pending_.front());
        pending_.pop_front();
        active_.insert(job.Fd);
        lock.unlock();

        Serve(job);

        lock.lock();
        active_.erase(job.Fd);
        ::close(job.Fd);
        if (acceptDone_ && pending_.empty() && active_.empty())
            readsDone_.notify_all();
    }
}

void Listener::Serve(const Job& job)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(options_.ConnectionTimeoutMs);
    const auto firstByteDeadline = job.Accepted + std::chrono::milliseconds(options_.FirstByteTimeoutMs);
    const int idleMs = options_.IdleTimeoutMs;
    const int fd = job.Fd;
    bool heard = false;
    auto receive = [fd, idleMs, deadline, firstByteDeadline, &heard](char* buffer,
                                                                     size_t capacity) -> std::ptrdiff_t {
        for (;;) {
            int wait = std::min(idleMs, MillisecondsLeft(deadline));
            if (!heard)
                wait = std::min(wait, MillisecondsLeft(firstByteDeadline));
            if (wait <= 0)
                return -1;
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, wait);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return -1;  // idle too long
            const ssize_t got = ::recv(fd, buffer, capacity, MSG_DONTWAIT);
            if (got >= 0) {
                heard = true;
                return got;
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                return -1;
        }
    };
    LineReader reader(receive, options_.MaxLineBytes, options_.MaxMessageBytes);
    auto event = ReadMessage(reader, job.Peer, options_.Now);
    // A read cut short by Stop is not the peer's fault: it reports nothing.
    if (!event || stopping_)
        return;
    if (heldSink_) {
        // A second descriptor keeps the connection open once the worker
        // closes its own.
        heldSink_(std::move(*event), ConnectionHold(::fcntl(fd, F_DUPFD_CLOEXEC, 0)));
        return;
    }
    sink_(std::move(*event));
}

}  // namespace quilmo::journal
