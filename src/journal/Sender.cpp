#include "journal/Sender.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace quilmo::journal {

namespace {

// Closes the socket on every way out.
class SocketHandle {
public:
    explicit SocketHandle(int fd) : fd_(fd) {}
    ~SocketHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Waits for a non-blocking connect to finish within the time-out.
bool FinishConnect(int fd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            return false;
        return error == 0;
    }
}

// more: further lines follow, so the system may hold these bytes back to
// send them with the next ones.
bool SendAll(int fd, const std::string& bytes, bool more)
{
    // MSG_NOSIGNAL: a journal that has gone away must not end the runner.
    const int flags = MSG_NOSIGNAL | (more ? MSG_MORE : 0);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::send(fd, bytes.data() + done, bytes.size() - done, flags);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace

std::optional<uint16_t> ResolvePort(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    // No service is named by digits alone, so a number needs no look-up in
    // the services database.
    if (text.find_first_not_of("0123456789") == std::string::npos) {
        uint32_t value = 0;
        for (const char c : text) {
            value = value * 10 + static_cast<uint32_t>(c - '0');
            if (value > 65535)
                return std::nullopt;
        }
        return static_cast<uint16_t>(value);
    }
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (::getservbyname_r(text.c_str(), "tcp", &entry, buffer, sizeof buffer, &found) == 0 && found)
        return ntohs(static_cast<uint16_t>(found->s_port));
    return std::nullopt;
}

std::optional<uint32_t> ResolveHost(const std::string& host)
{
    if (host.empty())
        return std::nullopt;
    in_addr dotted{};
    if (::inet_pton(AF_INET, host.c_str(), &dotted) == 1)
        return dotted.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list)
        return std::nullopt;
    std::optional<uint32_t> address;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(list);
    return address;
}

SendOutcome Deliver(const std::string& host, const std::string& port,
                    const std::vector<std::string>& lines, int connectTimeoutMs)
{
    const auto address = ResolveHost(host);
    const auto portNumber = ResolvePort(port);
    if (!address || !portNumber || *portNumber == 0)
        return SendOutcome::NoConnection;

    SocketHandle socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return SendOutcome::NoConnection;
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = *address;
    peer.sin_port = htons(*portNumber);
    // Non-blocking, so that the wait is ours to bound.
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS || !FinishConnect(socket.get(), connectTimeoutMs))
            return SendOutcome::NoConnection;
    }
    // Connected: the lines go out with blocking sends, one line each; a
    // journal that stops reading cannot hold the runner longer than a connect.
    const int flags = ::fcntl(socket.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(socket.get(), F_SETFL, flags & ~O_NONBLOCK);
    timeval limit{};
    limit.tv_sec = connectTimeoutMs / 1000;
    limit.tv_usec = (connectTimeoutMs % 1000) * 1000;
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    // Each line still goes in a send call of its own, but all but the last are
    // marked as having more to follow, and the last is pushed out at once: the
    // message leaves in one segment instead of a line per segment, each
    // waiting on the journal's delayed acknowledgement of the one before.
    const int on = 1;
    ::setsockopt(socket.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    SendOutcome outcome = SendOutcome::Delivered;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!SendAll(socket.get(), lines[i], i + 1 < lines.size())) {
            outcome = SendOutcome::Cut;
            break;
        }
    }
    ::shutdown(socket.get(), SHUT_RDWR);
    return outcome;
}

}  // namespace quilmo::journal
