#include "app/Platform.h"

#include <arpa/inet.h>
#include <pwd.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "support/ScopedEnv.h"

namespace quilmo {
namespace {

using testing::ScopedEnv;

std::string Repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i)
        r += s;
    return r;
}

TEST(PlatformTest, AccountNameMustFitSixteenCharactersWithItsEnd)
{
    const struct {
        std::string Login;
        std::string Expected;
    } cases[] = {
        {"", ""},
        {"student", "student"},
        {Repeat("a", 15), Repeat("a", 15)},
        {Repeat("a", 16), ""},
        {Repeat("a", 40), ""},
        {Repeat("я", 15), Repeat("я", 15)},  // 30 bytes, 15 characters
        {Repeat("я", 16), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccountNameFromLogin(c.Login), c.Expected) << c.Login;
}

TEST(PlatformTest, ComputerNameIsCutTo15Characters)
{
    const struct {
        std::string Host;
        std::string Expected;
    } cases[] = {
        {"", ""},
        {"class-7", "class-7"},
        {Repeat("b", 15), Repeat("b", 15)},
        {"workstation-number-12.school.local", "workstation-num"},
        {Repeat("ж", 20), Repeat("ж", 15)},  // never cut inside a character
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComputerNameFromHostName(c.Host), c.Expected) << c.Host;
}

TEST(PlatformTest, SystemNamesComeFromTheSystem)
{
    Platform& p = SystemPlatform();
    EXPECT_EQ(&p, &SystemPlatform());

    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(p.ComputerName(), ComputerNameFromHostName(host));

    const passwd* pw = getpwuid(geteuid());
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(p.AccountName(), AccountNameFromLogin(pw->pw_name));
}

TEST(PlatformTest, LocalAddressIsDottedIPv4OrNothing)
{
    const std::string ip = SystemPlatform().LocalIPv4();
    if (ip.empty())
        GTEST_SKIP() << "the host name does not resolve here";
    in_addr addr {};
    EXPECT_EQ(inet_pton(AF_INET, ip.c_str(), &addr), 1) << ip;
    EXPECT_THAT(ip, ::testing::MatchesRegex("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+"));
}

TEST(PlatformTest, LanAddressIsTheFirstIPv4OfAnInterfaceThatIsUpAndNotLoopback)
{
    const InterfaceAddress loopback{true, true, "127.0.0.1"};
    const InterfaceAddress down{false, false, "10.0.0.5"};
    const InterfaceAddress ipv6{true, false, ""};
    const InterfaceAddress lan{true, false, "192.168.1.20"};
    const InterfaceAddress second{true, false, "172.16.0.9"};
    const struct {
        std::vector<InterfaceAddress> list;
        std::string expected;
    } cases[] = {
        {{loopback, down, ipv6, lan, second}, "192.168.1.20"},
        {{second, lan}, "172.16.0.9"},
        {{loopback, down, ipv6}, ""},  // none: the host name's address is used
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstLanIPv4(c.list), c.expected);
}

TEST(PlatformTest, PerformanceCounterCountsNanoseconds)
{
    Platform& p = SystemPlatform();
    const uint32_t before = p.PerformanceCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const uint32_t elapsed = p.PerformanceCounter() - before;  // wraps like the counter
    EXPECT_GE(elapsed, 20'000'000u);
    EXPECT_LT(elapsed, 2'000'000'000u);
}

TEST(PlatformTest, TempFolderPrefersTempThenTmpdirThenTheSystemsFolder)
{
    const struct {
        const char* Temp;
        const char* Tmpdir;
        const char* System;
        const char* Expected;
    } cases[] = {
        {"/a", "/b", "/tmp", "/a"},
        {nullptr, "/b", "/tmp", "/b"},
        {"", "/b", "/tmp", "/b"},
        {nullptr, nullptr, "/tmp", "/tmp"},
        {"", "", "/tmp", "/tmp"},
        {nullptr, nullptr, "", ""},  // no usable system folder: the test's own
    };
    for (const auto& c : cases)
        EXPECT_EQ(TempFolderFrom(c.Temp, c.Tmpdir, c.System), c.Expected)
            << (c.Temp ? c.Temp : "unset") << ' ' << (c.Tmpdir ? c.Tmpdir : "unset");

    // The real one reads the variables, then falls back to /tmp.
    for (const auto& c : cases) {
        if (*c.System == '\0')
            continue;
        ScopedEnv temp("temp", c.Temp);
        ScopedEnv tmpdir("TMPDIR", c.Tmpdir);
        EXPECT_EQ(SystemPlatform().TempFolder(), c.Expected);
    }
}

TEST(PlatformTest, GuidsAreRandomVersion4InBraces)
{
    std::set<std::string> seen;
    std::set<char> firstDigits;
    for (int i = 0; i < 1000; ++i) {
        const std::string g = SystemPlatform().NewGuid();
        ASSERT_THAT(g, ::testing::MatchesRegex("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-"
                                               "[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}"));
        seen.insert(g);
        firstDigits.insert(g[1]);
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_EQ(firstDigits.size(), 16u);  // all 16 appear in 1000 draws but for 1 in 10^25
}

}  // namespace
}  // namespace quilmo
