#pragma once
// What the desktop provides, each piece replaceable in tests.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/Regional.h"

namespace quilmo {

class Platform {
public:
    virtual ~Platform() = default;
    // gethostname, cut to 15 characters; "" on failure.
    virtual std::string ComputerName();
    // The effective user's account name; "" when it has 16 characters or more, or on failure.
    virtual std::string AccountName();
    // This workstation's LAN address, the one runners are told to send to:
    // the first IPv4 address of an interface that is up and not loopback,
    // else the host name's first IPv4 address; dotted, "" when neither exists.
    virtual std::string LocalIPv4();
    // Low 32 bits of CLOCK_MONOTONIC nanoseconds: the shuffle seed.
    virtual uint32_t PerformanceCounter();
    // Where a check test's picture folders are made: TempFolderFrom applied
    // to the `temp` and TMPDIR variables and /tmp when it may be written.
    virtual std::string TempFolder();
    // A random version-4 UUID, upper case, in braces (38 characters).
    virtual std::string NewGuid();
    // Local date and time.
    virtual TDateTime Now();
};

// The real one.
Platform& SystemPlatform();

// The rules applied to what the system reports, apart so that tests can reach them.
// The first 15 characters of a host name.
std::string ComputerNameFromHostName(std::string_view hostName);
// The account name, or "" when it has 16 characters or more.
std::string AccountNameFromLogin(std::string_view login);
// The `temp` variable, else TMPDIR (each when set and not empty), else the
// system's temporary folder (systemFolder, "" when it cannot be used); ""
// when there is none, and the test's own folder serves.
std::string TempFolderFrom(const char* temp, const char* tmpdir, const std::string& systemFolder);

// One address of a network interface, as getifaddrs lists them.
struct InterfaceAddress {
    bool Up = false;
    bool Loopback = false;
    std::string IPv4;  // dotted; "" for an address of another family
};
// The first IPv4 address of an interface that is up and not loopback; "" when none.
std::string FirstLanIPv4(const std::vector<InterfaceAddress>& interfaces);

}  // namespace quilmo
