// The runner's sending: exact bytes on the wire, refused and unreachable peers.

#include <gtest/gtest.h>

#include <linux/tcp.h>

#include <chrono>
#include <thread>

#include "journal/ResultProtocol.h"
#include "journal/Sender.h"
#include "model/FileIO.h"
#include "model/TestResult.h"
#include "support/Loopback.h"

namespace quilmo::journal {
namespace {

using testing::LoopbackServer;

TEST(SenderTest, MessageBytesOnTheWire)
{
    LoopbackServer server;
    ASSERT_TRUE(SendLines("127.0.0.1", std::to_string(server.Port()),
                          EncodeLines(MessageLines("Иванов", "CLASS-PC-07", "pupil", "Начат тест"))));
    bool connected = false;
    const std::string bytes = server.ReceiveOne(connected);
    ASSERT_TRUE(connected);
    EXPECT_EQ(bytes,
              "MESSAGE\r\n"
              "\xC8\xE2\xE0\xED\xEE\xE2\r\n"  // Иванов
              "CLASS-PC-07\r\n"
              "pupil\r\n"
              "\xCD\xE0\xF7\xE0\xF2 \xF2\xE5\xF1\xF2\r\n");  // Начат тест
}

TEST(SenderTest, ResultBytesOnTheWire)
{
    quilmo::TTestResult r;
    r.UserName = "Ann";
    r.CompName = "PC-1";
    r.CompUserName = "";  // an account name too long to read travels empty
    r.TestTitle = "Тест";
    r.TestFile = "/t/a.tst";
    r.TotalCount = 3;
    r.AskedCount = 3;
    r.RightCount = 2;
    r.WrongCount = 1;
    r.NotAskedCount = 0;
    r.Mark = 5;
    r.MarkText = "not sent";
    r.StartTime = {2024, 3, 5, 0, 0, 0, 0};
    r.EndTime = {2024, 3, 5, 0, 1, 40, 0};
    r.Duration = 100;
    r.EndMode = EndFinished;
    r.MaskValues = {1, 1, 0};
    r.ResultMask = "++-";
    r.TimeMask = "30;60;10";
    r.TimeValues = {30, 60, 10};
    r.FileCrc = 3735928559u;

    LoopbackServer server;
    ASSERT_TRUE(SendLines("localhost", std::to_string(server.Port()), EncodeLines(ResultLines(r))));
    bool connected = false;
    EXPECT_EQ(server.ReceiveOne(connected),
              "RESULT\r\nAnn\r\nPC-1\r\n\r\n5\r\n3\r\n3\r\n2\r\n1\r\n0\r\n"
              "05.03.2024\r\n05.03.2024 00:01:40\r\n100\r\n"
              "\xD2\xE5\xF1\xF2\r\n/t/a.tst\r\n++-\r\n30;60;10\r\n1\r\n3735928559\r\n");
}

TEST(SenderTest, NoConnectionWhenRefusedOrTheAddressIsNoAddress)
{
    const std::vector<std::string> lines = EncodeLines(MessageLines("a", "b", "c", "d"));
    EXPECT_FALSE(SendLines("127.0.0.1", std::to_string(testing::UnusedPort()), lines));
    EXPECT_FALSE(SendLines("127.0.0.1", "no-such-service", lines));
    EXPECT_FALSE(SendLines("127.0.0.1", "", lines));
    EXPECT_FALSE(SendLines("127.0.0.1", "0", lines));
    EXPECT_FALSE(SendLines("", "5105", lines));
}

TEST(SenderTest, ConnectGivesUpAfterItsTimeOut)
{
    testing::UnansweredPort silent;
    ASSERT_TRUE(silent.Ready());
    const std::string port = std::to_string(silent.Port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Deliver("127.0.0.1", port, EncodeLines({"MESSAGE"}), 300), SendOutcome::NoConnection);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(290));  // poll counts whole milliseconds
    EXPECT_LT(took, std::chrono::seconds(2));
}

TEST(SenderTest, AJournalThatNeverAnswersCostsTheRunnerFiveSeconds)
{
    testing::UnansweredPort silent;
    ASSERT_TRUE(silent.Ready());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SendLines("127.0.0.1", std::to_string(silent.Port()), EncodeLines({"MESSAGE"})));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(4900));
    EXPECT_LT(took, std::chrono::milliseconds(6500));
}

TEST(SenderTest, OutcomeTellsAConnectionNeverMadeFromOneCutShort)
{
    const std::vector<std::string> lines = EncodeLines(MessageLines("a", "b", "c", "d"));
    EXPECT_EQ(Deliver("127.0.0.1", std::to_string(testing::UnusedPort()), lines), SendOutcome::NoConnection);
    LoopbackServer server;
    EXPECT_EQ(Deliver("127.0.0.1", std::to_string(server.Port()), lines), SendOutcome::Delivered);

    // A journal that accepts, reads the first bytes and then resets the
    // connection: the lines after the reset cannot be written.
    uint16_t port = 0;
    const int listener = testing::ListenOnLoopback(1, port);
    ASSERT_NE(port, 0);
    std::thread resetter([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        char first[16];
        [[maybe_unused]] const ssize_t got = ::recv(fd, first, sizeof first, 0);
        const linger hard{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(fd);  // RST
    });
    std::vector<std::string> many(2000, std::string(4096, 'x') + "\r\n");
    EXPECT_EQ(Deliver("127.0.0.1", std::to_string(port), many), SendOutcome::Cut);
    resetter.join();
    ::close(listener);
}

// The segments that carried data into the accepted end of a connection, read
// once the peer has closed it.
uint32_t DataSegmentsOfOneConnection(int listenFd, std::string& bytes)
{
    pollfd p{listenFd, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0)
        return 0;
    const int client = ::accept(listenFd, nullptr, nullptr);
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    tcp_info info{};
    socklen_t size = sizeof info;
    const int read = ::getsockopt(client, IPPROTO_TCP, TCP_INFO, &info, &size);
    ::close(client);
    return read == 0 ? info.tcpi_data_segs_in : 0;
}

TEST(SenderTest, AMessageLeavesInOneSegment)
{
    // Nineteen lines, each its own send call, reach the journal as one
    // segment: none waits for the acknowledgement of the one before.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof local;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    ASSERT_EQ(::listen(fd, 5), 0);
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size), 0);
    quilmo::TTestResult r;
    r.UserName = "Иванов";
    r.ResultMask = "++-";
    const std::vector<std::string> lines = EncodeLines(ResultLines(r));
    ASSERT_EQ(lines.size(), 19u);
    for (int round = 0; round < 3; ++round) {
        std::thread sender([&] { EXPECT_TRUE(SendLines("127.0.0.1", std::to_string(ntohs(local.sin_port)), lines)); });
        std::string bytes;
        EXPECT_EQ(DataSegmentsOfOneConnection(fd, bytes), 1u);
        sender.join();
        std::string expected;
        for (const std::string& line : lines)
            expected += line;
        EXPECT_EQ(bytes, expected);
    }
    ::close(fd);
}

TEST(SenderTest, PortsAndHosts)
{
    EXPECT_EQ(ResolvePort("5105"), 5105);
    EXPECT_EQ(ResolvePort("65535"), 65535);
    if (FileExists("/etc/services")) {
        EXPECT_EQ(ResolvePort("http"), 80);  // a service name known to the system
    }
    EXPECT_FALSE(ResolvePort("65536"));
    EXPECT_FALSE(ResolvePort("-1"));
    EXPECT_FALSE(ResolvePort("51 05"));
    EXPECT_FALSE(ResolvePort(""));
    EXPECT_EQ(ResolveHost("127.0.0.1"), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(ResolveHost("localhost"), htonl(INADDR_LOOPBACK));
    EXPECT_FALSE(ResolveHost(""));
}

}  // namespace
}  // namespace quilmo::journal
