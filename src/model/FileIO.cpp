#include "model/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quilmo {

namespace fs = std::filesystem;

namespace {

Error ReadError(const std::string& path, int err) { return Error{ReadErrorText(path, SystemErrorText(err))}; }
Error SaveError(const std::string& path, int err) { return Error{SaveErrorText(path, SystemErrorText(err))}; }

std::string FolderPart(const std::string& path)
{
    const size_t cut = path.rfind('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Makes a rename into the folder of path durable; a failure here loses nothing.
void SyncFolderOf(const std::string& path)
{
    const std::string folder = FolderPart(path);
    const int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// A file that becomes `target` only when Commit succeeds; until then the
// target is untouched, and a failed or abandoned write removes the temporary.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& target) : target_(target)
    {
        // Write through a symbolic link rather than replace the link itself.
        std::error_code ec;
        if (fs::is_symlink(target, ec)) {
            const fs::path real = fs::canonical(target, ec);
            if (!ec)
                target_ = real.string();
        }
    }
    ~AtomicFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!temp_.empty())
            ::unlink(temp_.c_str());
    }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // errno on failure, 0 on success.
    int Open()
    {
        static std::atomic<unsigned> counter{0};
        const std::string folder = FolderPart(target_);
        // Cut long names so the temporary's name stays within the file system's limit.
        const std::string base = target_.substr(folder.size(), 160);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto stamp = static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count());
            std::string name = folder + "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
                               std::to_string(counter++) + "-" + std::to_string(stamp % 100000);
            // 0666 lets the umask decide, as for any new file.
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = fd;
                temp_ = std::move(name);
                // Keep the permissions of the file being replaced.
                struct stat st {};
                if (::stat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    ::fchmod(fd_, st.st_mode & 07777);
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int Write(const char* p, size_t n) { return WriteAll(fd_, p, n) ? 0 : errno; }

    int Commit()
    {
        if (::fsync(fd_) != 0)
            return errno;
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            return errno;
        if (::rename(temp_.c_str(), target_.c_str()) != 0)
            return errno;
        temp_.clear();
        SyncFolderOf(target_);
        return 0;
    }

private:
    std::string target_;
    std::string temp_;
    int fd_ = -1;
};

// Empties the folder open as dirFd, depth first; remembers the last error.
void RemoveContents(int dirFd, int& lastError)
{
    ::fchmod(dirFd, S_IRWXU);  // a folder we may not write to cannot be emptied
    const int listFd = ::dup(dirFd);
    if (listFd < 0) {
        lastError = errno;
        return;
    }
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        lastError = errno;
        ::close(listFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name(e->d_name);
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        struct stat st {};
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            lastError = errno;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            const int sub = ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0) {
                RemoveContents(sub, lastError);
                ::close(sub);
            } else {
                lastError = errno;
            }
            if (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) != 0)
                lastError = errno;
        } else if (::unlinkat(dirFd, name.c_str(), 0) != 0) {
            lastError = errno;
        }
    }
}

}  // namespace

std::string SystemErrorText(int err)
{
    switch (err) {
    case ENOENT: return "Нет такого файла или папки";
    case EACCES:
    case EPERM: return "Нет прав доступа";
    case ENOSPC:
    case EDQUOT: return "Нет места на диске";
    case EROFS: return "Диск доступен только для чтения";
    case EISDIR: return "Это папка, а не файл";
    case ENOTDIR: return "Часть пути — не папка, а файл";
    case EMFILE:
    case ENFILE: return "Открыто слишком много файлов";
    case EFBIG: return "Файл слишком велик";
    default: break;
    }
    char buf[256];
    // The GNU strerror_r returns the text, which may not be in buf.
    return strerror_r(err, buf, sizeof buf);
}

namespace {

std::string FileErrorText(const char* action, const std::string& path, const std::string& reason)
{
    std::string text = std::string("Не удалось ") + action + " файл \"" + path + "\".";
    if (reason.empty())
        return text;
    text += " " + reason;
    const char last = reason.back();
    if (last != '.' && last != '!' && last != '?')
        text += '.';
    return text;
}

}  // namespace

std::string ReadErrorText(const std::string& path, const std::string& reason)
{
    return FileErrorText("прочитать", path, reason);
}

std::string SaveErrorText(const std::string& path, const std::string& reason)
{
    return FileErrorText("сохранить", path, reason);
}

std::string AppendErrorText(const std::string& path, const std::string& reason)
{
    return FileErrorText("записать в", path, reason);
}

Status ReplaceWithTemporary(const std::string& temp, const std::string& target)
{
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return SaveError(target, errno);
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return SaveError(target, err);
    }
    ::close(fd);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return SaveError(target, errno);
    SyncFolderOf(target);
    return Ok();
}

bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += put;
        n -= static_cast<size_t>(put);
    }
    return true;
}

Expected<std::string> ReadWholeFile(const std::string& path, uint64_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadError(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return ReadError(path, err);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return ReadError(path, EISDIR);
    }
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return ReadError(path, EFBIG);
    }
    std::string bytes;
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t have = 0;
    // Once the size fstat gave is read, the file may still have grown (or be
    // a pipe): what more comes is read through a small buffer, so that the
    // common end of file costs no room beyond the file's own size.
    char more[65536];
    for (;;) {
        const bool full = have == bytes.size();
        const ssize_t got = full ? ::read(fd, more, sizeof more)
                                 : ::read(fd, bytes.data() + have, bytes.size() - have);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return ReadError(path, err);
        }
        if (got == 0)
            break;
        if (full) {
            if (have + static_cast<uint64_t>(got) > maxBytes) {
                ::close(fd);
                return ReadError(path, EFBIG);
            }
            bytes.append(more, static_cast<size_t>(got));
            // Read straight into the room the string grew by, within the cap.
            bytes.resize(static_cast<size_t>(std::min<uint64_t>(bytes.capacity(), maxBytes)));
        }
        have += static_cast<size_t>(got);
    }
    ::close(fd);
    bytes.resize(have);
    return bytes;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFile file(path);
    if (int err = file.Open())
        return SaveError(path, err);
    if (int err = file.Write(bytes.data(), bytes.size()))
        return SaveError(path, err);
    if (int err = file.Commit())
        return SaveError(path, err);
    return Ok();
}

Status AppendToFile(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return Error{AppendErrorText(path, SystemErrorText(errno))};
    if (!WriteAll(fd, bytes.data(), bytes.size())) {
        const int err = errno;
        ::close(fd);
        return Error{AppendErrorText(path, SystemErrorText(err))};
    }
    if (::close(fd) != 0)
        return Error{AppendErrorText(path, SystemErrorText(errno))};
    return Ok();
}

Status CopyFileBytes(const std::string& source, const std::string& target)
{
    std::error_code ec;
    if (fs::equivalent(source, target, ec) && !ec)
        return Ok();  // copying a file onto itself would only risk truncating it

    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return ReadError(source, errno);
    AtomicFile file(target);
    int err = file.Open();
    bool readFailed = false;
    char buf[65536];
    while (err == 0) {
        const ssize_t got = ::read(in, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            readFailed = true;
            break;
        }
        if (got == 0) {
            err = file.Commit();
            break;
        }
        err = file.Write(buf, static_cast<size_t>(got));
    }
    ::close(in);
    if (err)
        return readFailed ? ReadError(source, err) : SaveError(target, err);
    return Ok();
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

Status DeleteFolderRecursively(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty())
        return Ok();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Ok() : Status(Error{SystemErrorText(errno)});
    int lastError = 0;
    RemoveContents(fd, lastError);
    ::close(fd);
    if (::rmdir(folder.c_str()) != 0)
        lastError = errno;
    if (lastError != 0)
        return Error{SystemErrorText(lastError)};
    return Ok();
}

}  // namespace quilmo
