#include "BenchNetwork.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace quilmo::bench {

quilmo::TTestResult SampleResult()
{
    quilmo::TTestResult r;
    r.UserName = "Иванов Пётр";
    r.CompName = "CLASS-PC-07";
    r.CompUserName = "pupil";
    r.TestTitle = "Итоговый тест по физике";
    r.TestFile = "/srv/tests/Физика 9.tst";
    r.TotalCount = 20;
    r.AskedCount = 20;
    r.RightCount = 15;
    r.WrongCount = 5;
    r.Mark = 4;
    r.StartTime = {2024, 3, 5, 9, 0, 0, 0};
    r.EndTime = {2024, 3, 5, 9, 35, 12, 0};
    r.Duration = 2112;
    r.EndMode = EndFinished;
    r.ResultMask = "++-+++-++++-+++-++-+";
    r.TimeMask = "60;120;45;80;90;100;110;120;30;40;50;60;70;80;90;100;110;120;130;140";
    r.FileCrc = 0xCAFEBABE;
    return r;
}

ReadOnlyServer::ReadOnlyServer()
{
    // Non-blocking: with several accepting threads, the losers of a race
    // must not block in accept.
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(fd_, SOMAXCONN) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) != 0)
        throw std::runtime_error("cannot listen");
    port_ = ntohs(local.sin_port);
    for (int t = 0; t < 10; ++t)
        threads_.emplace_back([this] {
            while (!stop_) {
                pollfd p{fd_, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0)
                    continue;
                const int client = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK);
                if (client < 0)
                    continue;
                char buffer[4096];
                for (;;) {
                    pollfd c{client, POLLIN, 0};
                    ::poll(&c, 1, 1000);
                    const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                    if (got == 0 || (got < 0 && errno != EAGAIN))
                        break;
                }
                ++drained;
                ::close(client);
            }
        });
}

ReadOnlyServer::~ReadOnlyServer()
{
    stop_ = true;
    for (std::thread& t : threads_)
        t.join();
    ::close(fd_);
}

bool WaitForCount(const std::atomic<int>& count, int target, std::chrono::seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (count.load() < target && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    return count.load() == target;
}

}  // namespace quilmo::bench
