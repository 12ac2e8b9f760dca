#include "FuzzSupport.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "model/Cp1251.h"
#include "model/PicturePath.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo::fuzz {

void Fail(std::string_view what, std::string_view detail)
{
    std::fprintf(stderr, "\n*** fuzz check failed: %.*s", int(what.size()), what.data());
    if (!detail.empty())
        std::fprintf(stderr, ": %.*s", int(detail.size()), detail.data());
    std::fprintf(stderr, "\n");
    std::abort();
}

const std::string& ScratchRoot()
{
    // Never destroyed: the exit handler that removes the folder runs after
    // the destructors of statics made later than it.
    static const std::string* const root = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/quilmo-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            Fail("cannot make the scratch folder", std::strerror(errno));
        auto* folder = new std::string(pattern + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchRoot(), ec);
        });
        return folder;
    }();
    return *root;
}

std::string ScratchFolder(const std::string& name)
{
    const std::string folder = ScratchRoot() + name + "/";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        Fail("cannot make a scratch folder", folder);
    return folder;
}

namespace {

void ListInto(const std::string& folder, const std::string& prefix, std::vector<std::string>& out)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        Fail("cannot list a folder", folder);
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::lstat((folder + name).c_str(), &st) != 0)
            Fail("cannot stat an entry", folder + name);
        if (S_ISDIR(st.st_mode)) {
            out.push_back(prefix + name + "/");
            ListInto(folder + name + "/", prefix + name + "/", out);
        } else if (S_ISREG(st.st_mode)) {
            out.push_back(prefix + name);
        } else {
            Fail("an entry that is neither a file nor a folder", folder + name);
        }
    }
    ::closedir(dir);
}

}  // namespace

std::vector<std::string> ListTree(const std::string& folder)
{
    std::vector<std::string> out;
    ListInto(folder.back() == '/' ? folder : folder + "/", "", out);
    std::sort(out.begin(), out.end());
    return out;
}

// ---- The write guard -------------------------------------------------------

namespace {

std::atomic<bool> g_guarding{false};
std::string g_allowed;  // ends in '/'

// "." and ".." resolved as written, without touching the file system.
std::string Normalise(const std::string& path)
{
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        const std::string part = path.substr(pos, next - pos);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = next + 1;
    }
    std::string out;
    for (const auto& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::string FolderOfDescriptor(int dirfd)
{
    char buf[4096];
    if (dirfd == AT_FDCWD) {
        if (!::getcwd(buf, sizeof buf))
            return "/";
        return buf;
    }
    const std::string link = "/proc/self/fd/" + std::to_string(dirfd);
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n <= 0)
        return "/";
    return std::string(buf, size_t(n));
}

void Judge(const char* call, int dirfd, const char* path)
{
    if (!g_guarding.load(std::memory_order_relaxed))
        return;
    const std::string p = path ? path : "";
    const std::string full = Normalise(!p.empty() && p[0] == '/' ? p : FolderOfDescriptor(dirfd) + "/" + p);
    // The allowed folder itself may be made or removed, and anything inside it.
    if (full + "/" == g_allowed || full.rfind(g_allowed, 0) == 0)
        return;
    g_guarding = false;
    Fail("a write outside the scratch folder", std::string(call) + " " + full);
}

bool Writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

template <class F>
F Real(const char* name)
{
    static_assert(sizeof(F) == sizeof(void*));
    void* f = ::dlsym(RTLD_NEXT, name);
    if (!f)
        Fail("no such function to forward to", name);
    F out;
    std::memcpy(&out, &f, sizeof f);
    return out;
}

mode_t ModeArgument(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? mode_t(va_arg(args, int)) : 0;
}

}  // namespace

WriteGuard::WriteGuard(std::string allowed)
{
    if (allowed.empty() || allowed.back() != '/')
        allowed += '/';
    g_allowed = Normalise(allowed) + "/";
    g_guarding = true;
}

WriteGuard::~WriteGuard() { g_guarding = false; }

}  // namespace quilmo::fuzz

// Interposed over the C library's functions for the whole process; they only
// judge while a WriteGuard lives, and always forward to the real function.
using quilmo::fuzz::Judge;
using quilmo::fuzz::ModeArgument;
using quilmo::fuzz::Real;
using quilmo::fuzz::Writes;

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    if (Writes(flags))
        Judge("open", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    if (Writes(flags))
        Judge("open64", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    if (Writes(flags))
        Judge("openat", dirfd, path);
    static const auto real = Real<int (*)(int, const char*, int, ...)>("openat");
    return real(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    if (Writes(flags))
        Judge("openat64", dirfd, path);
    static const auto real = Real<int (*)(int, const char*, int, ...)>("openat64");
    return real(dirfd, path, flags, mode);
}

int creat(const char* path, mode_t mode)
{
    Judge("creat", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, mode_t)>("creat");
    return real(path, mode);
}

int mkdir(const char* path, mode_t mode)
{
    Judge("mkdir", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, mode_t)>("mkdir");
    return real(path, mode);
}

int mkdirat(int dirfd, const char* path, mode_t mode)
{
    Judge("mkdirat", dirfd, path);
    static const auto real = Real<int (*)(int, const char*, mode_t)>("mkdirat");
    return real(dirfd, path, mode);
}

int unlink(const char* path)
{
    Judge("unlink", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*)>("unlink");
    return real(path);
}

int unlinkat(int dirfd, const char* path, int flags)
{
    Judge("unlinkat", dirfd, path);
    static const auto real = Real<int (*)(int, const char*, int)>("unlinkat");
    return real(dirfd, path, flags);
}

int rmdir(const char* path)
{
    Judge("rmdir", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*)>("rmdir");
    return real(path);
}

int rename(const char* from, const char* to)
{
    Judge("rename", AT_FDCWD, from);
    Judge("rename", AT_FDCWD, to);
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}

int renameat(int fromfd, const char* from, int tofd, const char* to)
{
    Judge("renameat", fromfd, from);
    Judge("renameat", tofd, to);
    static const auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
    return real(fromfd, from, tofd, to);
}

int link(const char* from, const char* to)
{
    Judge("link", AT_FDCWD, to);
    static const auto real = Real<int (*)(const char*, const char*)>("link");
    return real(from, to);
}

int symlink(const char* target, const char* path)
{
    Judge("symlink", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, const char*)>("symlink");
    return real(target, path);
}

int truncate(const char* path, off_t length)
{
    Judge("truncate", AT_FDCWD, path);
    static const auto real = Real<int (*)(const char*, off_t)>("truncate");
    return real(path, length);
}

}  // extern "C"

namespace quilmo::fuzz {

std::vector<std::string> LinesOf(const uint8_t* data, size_t size)
{
    return SplitLines(Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(data), size)));
}

void CheckParsedTest(const ParsedTest& test)
{
    if (test.TaskCount <= 0)
        Check(test.Tasks.empty(), "tasks read for a count of 0 or less");
    else
        Check(test.Tasks.size() == size_t(test.TaskCount), "the task list does not match the count");
    if (test.SubsetCount > 0)
        Check(test.SubsetCount < test.TaskCount, "a subset of M >= T tasks");

    for (const TTask& task : test.Tasks)
        CheckTask(task);
}

void CheckTask(const TTask& task)
{
    Check(task.VariantCount == LastNonEmptyVariant(task.Variants),
          "VariantCount is not the last non-empty variant");
    int32_t marked = 0;
    std::vector<int32_t> places;
    for (int32_t a : task.Answers) {
        Check(a >= 0, "a negative key entry");
        if (a > 0) {
            ++marked;
            places.push_back(a);
        }
    }
    switch (task.TaskType) {
    case SingleChoice:
        Check(marked <= 1, "a single-choice task with more than one right variant");
        [[fallthrough]];
    case MultipleChoice:
        for (int32_t a : task.Answers)
            Check(a <= 1, "a choice task with a key entry above 1");
        break;
    case Ordering:
        std::sort(places.begin(), places.end());
        Check(std::adjacent_find(places.begin(), places.end()) == places.end(),
              "two variants share a place");
        break;
    default:
        Fail("an unknown task type", std::to_string(task.TaskType));
    }
}

namespace {

TextTestWriteResult WriteBack(const ParsedTest& test)
{
    TTestInfo info;
    info.Title = test.Title;
    info.Description = test.Description;
    info.Marks = test.Marks;
    return WriteTestText(info, test.Tasks);
}

// What Save as does with the pictures the text names: copies them beside the
// text under their bare names.
std::string CopyPictures(const std::vector<SavedPicture>& pictures)
{
    namespace fs = std::filesystem;
    static const std::string folder = ScratchFolder("written-pictures");
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        fs::remove(entry.path(), ec);
    for (const SavedPicture& picture : pictures) {
        const std::string target = folder + picture.Name;
        if (!fs::exists(target, ec) && !fs::copy_file(picture.Path, target, ec))
            Fail("cannot copy a picture", picture.Path);
    }
    return folder;
}

}  // namespace

void CheckWritesBackStably(const ParsedTest& test, const TextTestReadOptions& options)
{
    const TextTestWriteResult first = WriteBack(test);
    const std::vector<std::string>& written = first.Lines;
    TextTestReadOptions beside = options;
    if (!first.Pictures.empty())
        beside.PictureDir = CopyPictures(first.Pictures);
    auto reread = ParseTestText(written, beside);
    Check(reread.has_value(), "a test as written does not read back");
    Check(reread->Tasks.size() == test.Tasks.size(), "a written test reads back with another task count");
    Check(reread->Marks == test.Marks, "a written test reads back with other marks");
    Check(reread->Title == test.Title, "a written title reads back otherwise", reread->Title);
    const std::vector<std::string> again = WriteBack(*reread).Lines;
    for (size_t i = 0; i < std::min(written.size(), again.size()); ++i)
        if (written[i] != again[i])
            Fail("line " + std::to_string(i) + " is written otherwise the second time",
                 written[i] + " | " + again[i]);
    Check(written.size() == again.size(), "the second writing has another line count");
}

}  // namespace quilmo::fuzz
