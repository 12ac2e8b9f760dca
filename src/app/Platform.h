#pragma once
// What the desktop provides, each piece replaceable in tests.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Regional.h"

namespace quilmo {

class Platform {
public:
    virtual ~Platform() = default;
    // gethostname, cut to 15 characters; "" on failure.
    virtual std::string ComputerName();
    // The effective user's account name; "" when it has 16 characters or more, or on failure.
    virtual std::string AccountName();
    // First IPv4 address of the host name, dotted; "" on failure.
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

}  // namespace quilmo
