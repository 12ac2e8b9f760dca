#include "app/ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace quilmo {

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

}  // namespace

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? size_t(size) : 16384);
    passwd pw {};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && pw.pw_dir)
        return pw.pw_dir;
    return {};
}

std::string ExecutablePath()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return WithSlash(exe.parent_path().string());
}

std::string ConfigFallbackFolder(const char* xdgConfigHome, const char* home)
{
    // Relative values are invalid and ignored.
    if (xdgConfigHome && *xdgConfigHome == '/')
        return WithSlash(xdgConfigHome) + "quilmo/";
    if (home && *home == '/')
        return WithSlash(home) + ".config/quilmo/";
    return {};
}

std::string ChooseProgramFolder(const std::string& exeFolder)
{
    if (!exeFolder.empty() && access(exeFolder.c_str(), W_OK) == 0)
        return WithSlash(exeFolder);
    const std::string home = HomeFolder();
    const std::string folder = ConfigFallbackFolder(std::getenv("XDG_CONFIG_HOME"), home.c_str());
    if (folder.empty())
        return WithSlash(exeFolder);
    // A failure shows later, as the error of whatever cannot be written there.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

}  // namespace quilmo
