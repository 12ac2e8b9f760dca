#include "app/Platform.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

namespace quilmo {

namespace {

// Characters of UTF-8 text, counted as lead bytes.
size_t CountChars(std::string_view s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string HostName()
{
    char buf[HOST_NAME_MAX + 1] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return {};
    return buf;
}

bool ReadUrandom(unsigned char* out, size_t size)
{
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, out + done, size - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    return done == size;
}

}  // namespace

std::string ComputerNameFromHostName(std::string_view hostName)
{
    size_t chars = 0;
    for (size_t i = 0; i < hostName.size(); ++i) {
        if ((static_cast<unsigned char>(hostName[i]) & 0xC0) == 0x80)
            continue;
        if (chars == 15)
            return std::string(hostName.substr(0, i));
        ++chars;
    }
    return std::string(hostName);
}

std::string AccountNameFromLogin(std::string_view login)
{
    // The name and its terminating zero must fit the 16-character buffer.
    return CountChars(login) >= 16 ? std::string() : std::string(login);
}

std::string Platform::ComputerName()
{
    return ComputerNameFromHostName(HostName());
}

std::string Platform::AccountName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? size_t(size) : 16384);
    passwd pw {};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) != 0 || !found ||
        !pw.pw_name)
        return {};
    return AccountNameFromLogin(pw.pw_name);
}

std::string FirstLanIPv4(const std::vector<InterfaceAddress>& interfaces)
{
    for (const InterfaceAddress& a : interfaces)
        if (a.Up && !a.Loopback && !a.IPv4.empty())
            return a.IPv4;
    return {};
}

namespace {

std::vector<InterfaceAddress> ListInterfaces()
{
    std::vector<InterfaceAddress> list;
    ifaddrs* all = nullptr;
    if (getifaddrs(&all) != 0)
        return list;
    for (const ifaddrs* i = all; i; i = i->ifa_next) {
        InterfaceAddress a;
        a.Up = (i->ifa_flags & IFF_UP) != 0;
        a.Loopback = (i->ifa_flags & IFF_LOOPBACK) != 0;
        char text[INET_ADDRSTRLEN] = {};
        if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET &&
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr, text, sizeof text))
            a.IPv4 = text;
        list.push_back(std::move(a));
    }
    freeifaddrs(all);
    return list;
}

// The host name's first IPv4 address, as the resolver gives it.
std::string HostNameIPv4()
{
    const std::string host = HostName();
    if (host.empty())
        return {};
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0 || !list)
        return {};
    std::string result;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) {
            result = text;
            break;
        }
    }
    freeaddrinfo(list);
    return result;
}

}  // namespace

std::string Platform::LocalIPv4()
{
    // The host name often resolves to 127.0.1.1 on Linux, which no runner can reach.
    const std::string lan = FirstLanIPv4(ListInterfaces());
    return lan.empty() ? HostNameIPv4() : lan;
}

uint32_t Platform::PerformanceCounter()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ns = uint64_t(ts.tv_sec) * 1000000000u + uint64_t(ts.tv_nsec);
    return static_cast<uint32_t>(ns);
}

std::string TempFolderFrom(const char* temp, const char* tmpdir, const std::string& systemFolder)
{
    for (const char* v : {temp, tmpdir})
        if (v && *v)
            return v;
    return systemFolder;
}

std::string Platform::TempFolder()
{
    // A learner's session may be denied the test's own folder, but never /tmp.
    const char* const system = "/tmp";
    return TempFolderFrom(std::getenv("temp"), std::getenv("TMPDIR"),
                          ::access(system, W_OK | X_OK) == 0 ? system : "");
}

std::string Platform::NewGuid()
{
    std::array<unsigned char, 16> b {};
    if (!ReadUrandom(b.data(), b.size())) {
        std::random_device rd;
        for (auto& x : b)
            x = static_cast<unsigned char>(rd());
    }
    b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static const char kHex[] = "0123456789ABCDEF";
    std::string s = "{";
    for (size_t i = 0; i < b.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            s += '-';
        s += kHex[b[i] >> 4];
        s += kHex[b[i] & 0x0F];
    }
    s += '}';
    return s;
}

TDateTime Platform::Now()
{
    return LocalNow();
}

Platform& SystemPlatform()
{
    static Platform platform;
    return platform;
}

}  // namespace quilmo
