#pragma once
// Running a piece of a test in a child process whose memory is capped, so that
// reading a hostile file that would exhaust memory fails as a test instead of
// taking the suite (or the machine) down.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <exception>
#include <fstream>
#include <functional>
#include <string>

namespace quilmo::testing {

// AddressSanitizer reserves terabytes of address space, so a cap on it cannot
// be set there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryCapWorks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kMemoryCapWorks = false;
#else
inline constexpr bool kMemoryCapWorks = true;
#endif
#else
inline constexpr bool kMemoryCapWorks = true;
#endif

// The process's address space now, in bytes (VmSize).
inline uint64_t AddressSpaceBytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            uint64_t kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

struct CappedRun {
    bool Exited = false;  // false: killed by a signal (an abort, say)
    int Code = -1;        // the child's exit status, or the signal
};

// Runs body in a forked child whose address space may grow by extraBytes
// beyond what it holds when it starts; body's return value is the child's
// exit status. An exception escaping body exits with 125.
inline CappedRun RunUnderMemoryCap(uint64_t extraBytes, const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 125;
        const uint64_t cap = AddressSpaceBytes() + extraBytes;
        const rlimit limit{cap, cap};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(124);
        try {
            code = body();
        } catch (...) {
        }
        ::_exit(code);
    }
    CappedRun run;
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return run;
    run.Exited = WIFEXITED(status);
    run.Code = run.Exited ? WEXITSTATUS(status) : WTERMSIG(status);
    return run;
}

}  // namespace quilmo::testing
