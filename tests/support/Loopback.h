#pragma once
// Plain loopback sockets for tests of the journal's network side.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quilmo::testing {

// A connected client socket, closed with the object.
class LoopbackClient {
public:
    explicit LoopbackClient(uint16_t port)
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        peer.sin_port = htons(port);
        if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~LoopbackClient() { Close(); }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool Connected() const { return fd_ >= 0; }
    // False once the peer has gone away.
    bool Send(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (put <= 0)
                return false;
            done += static_cast<size_t>(put);
        }
        return true;
    }
    // Waits up to timeoutMs for the peer to close; true when it did.
    bool PeerClosed(int timeoutMs)
    {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        char byte;
        return ::recv(fd_, &byte, 1, MSG_DONTWAIT) <= 0;
    }
    void Close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// A socket listening on a free loopback port with that queue length.
inline int ListenOnLoopback(int backlog, uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    ::listen(fd, backlog);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
    port = ntohs(local.sin_port);
    return fd;
}

// A listening socket on a free loopback port that records what one client sends.
class LoopbackServer {
public:
    LoopbackServer() { fd_ = ListenOnLoopback(5, port_); }
    ~LoopbackServer() { ::close(fd_); }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t Port() const { return port_; }
    // Accepts one connection (waiting up to timeoutMs) and returns every byte
    // it sent until it closed; `connected` tells whether one came at all.
    std::string ReceiveOne(bool& connected, int timeoutMs = 5000)
    {
        connected = false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return {};
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0)
            return {};
        connected = true;
        std::string bytes;
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
        }
        ::close(client);
        return bytes;
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// A loopback port that never answers a connect: it listens with the shortest
// queue, which one connection fills and nobody accepts, so the system drops
// every later SYN as a host that does not answer would, without a packet
// leaving this machine.
class UnansweredPort {
public:
    UnansweredPort()
    {
        listen_ = ListenOnLoopback(0, port_);
        filler_ = std::make_unique<LoopbackClient>(port_);
    }
    ~UnansweredPort() { ::close(listen_); }
    UnansweredPort(const UnansweredPort&) = delete;
    UnansweredPort& operator=(const UnansweredPort&) = delete;

    uint16_t Port() const { return port_; }
    bool Ready() const { return filler_->Connected(); }

private:
    int listen_ = -1;
    uint16_t port_ = 0;
    std::unique_ptr<LoopbackClient> filler_;
};

// A port on which nothing listens: bound and closed again at once.
inline uint16_t UnusedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
    ::close(fd);
    return ntohs(local.sin_port);
}

}  // namespace quilmo::testing
