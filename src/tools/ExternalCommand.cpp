#include "tools/ExternalCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "model/FileIO.h"
#include "model/TextUtil.h"

extern char** environ;

namespace quilmo {

namespace {

constexpr size_t kOutputCap = size_t(1) << 20;

using Clock = std::chrono::steady_clock;

class Pipe {
public:
    ~Pipe() { Close(); }
    bool Open()
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read_ = fds[0];
        write_ = fds[1];
        ::fcntl(read_, F_SETFL, ::fcntl(read_, F_GETFL) | O_NONBLOCK);
        return true;
    }
    void CloseWrite()
    {
        if (write_ >= 0)
            ::close(write_);
        write_ = -1;
    }
    void CloseRead()
    {
        if (read_ >= 0)
            ::close(read_);
        read_ = -1;
    }
    void Close()
    {
        CloseRead();
        CloseWrite();
    }
    int ReadEnd() const { return read_; }
    int WriteEnd() const { return write_; }

    // Reads what is there; closes the read end at end of file.
    void Drain(std::string& into)
    {
        char buffer[4096];
        while (read_ >= 0) {
            const ssize_t got = ::read(read_, buffer, sizeof buffer);
            if (got > 0) {
                const size_t room = kOutputCap - std::min(kOutputCap, into.size());
                into.append(buffer, std::min(room, static_cast<size_t>(got)));
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                CloseRead();
            return;
        }
    }

private:
    int read_ = -1;
    int write_ = -1;
};

void Describe(int status, CommandResult& result)
{
    if (WIFEXITED(status))
        result.ExitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.Failure = "прервана сигналом " + std::to_string(WTERMSIG(status));
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutMs,
                         const std::vector<std::string>& extraEnvironment)
{
    CommandResult result;
    if (argv.empty() || argv[0].empty()) {
        result.Failure = SystemErrorText(ENOENT);
        return result;
    }
    Pipe out;
    Pipe err;
    if (!out.Open() || !err.Open()) {
        result.Failure = SystemErrorText(errno);
        return result;
    }

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    std::vector<char*> env;
    for (const std::string& e : extraEnvironment)
        env.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e) {
        const std::string_view entry(*e);
        const std::string_view name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& extra : extraEnvironment)
            replaced = replaced || std::string_view(extra).substr(0, extra.find('=')) == name;
        if (!replaced)
            env.push_back(*e);
    }
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.WriteEnd(), 1);
    posix_spawn_file_actions_adddup2(&actions, err.WriteEnd(), 2);
    // The child starts with default signal handling and nothing blocked,
    // whatever the program has set up for itself.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    out.CloseWrite();
    err.CloseWrite();
    if (spawned != 0) {
        result.Failure = SystemErrorText(spawned);
        return result;
    }

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            // A helper it left behind may hold the pipes open: take what is
            // there and stop.
            out.Drain(result.Output);
            err.Drain(result.ErrorText);
            Describe(status, result);
            return result;
        }
        if (done < 0 && errno != EINTR) {
            result.Failure = SystemErrorText(errno);
            return result;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            result.Failure = "нет ответа за " + std::to_string((timeoutMs + 999) / 1000) + " с";
            return result;
        }
        pollfd fds[2] = {{out.ReadEnd(), POLLIN, 0}, {err.ReadEnd(), POLLIN, 0}};
        const int wait = static_cast<int>(std::min<long long>(left.count(), 20));
        if (out.ReadEnd() < 0 && err.ReadEnd() < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        else if (::poll(fds, 2, wait) > 0) {
            out.Drain(result.Output);
            err.Drain(result.ErrorText);
        }
    }
}

std::string CommandFailureText(const std::string& program, const CommandResult& result)
{
    std::string text = program + ": ";
    if (!result.Failure.empty())
        return text + result.Failure;
    const std::string said(Trim(result.ErrorText));
    if (!said.empty())
        return text + said;
    return text + "код завершения " + std::to_string(result.ExitCode);
}

std::string FindOnPath(const std::string& name)
{
    if (name.empty())
        return {};
    auto runnable = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               ::access(path.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos)
        return runnable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string_view list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(':', start);
        const std::string_view folder = list.substr(start, end == std::string_view::npos ? end : end - start);
        // An empty entry means the current folder.
        std::string candidate(folder.empty() ? std::string_view(".") : folder);
        candidate += '/';
        candidate += name;
        if (runnable(candidate))
            return candidate;
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

}  // namespace quilmo
