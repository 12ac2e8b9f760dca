#pragma once
// What the fuzz targets share: a scratch folder, a guard that aborts on any
// write outside an allowed folder, and the checks every parsed test must pass.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/TextTestReader.h"

namespace quilmo::fuzz {

// Prints what went wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

inline void Check(bool condition, std::string_view what, std::string_view detail = {})
{
    if (!condition)
        Fail(what, detail);
}

// A folder of this process's own under $TMPDIR (else /tmp), made on first
// use and removed at exit; ends in '/'.
const std::string& ScratchRoot();
// A folder inside the scratch root, made when missing; ends in '/'.
std::string ScratchFolder(const std::string& name);

// Every entry below folder, as paths relative to it, sorted; folders end in
// '/', and anything that is neither a regular file nor a folder fails.
std::vector<std::string> ListTree(const std::string& folder);

// While one lives, every call that creates, changes or removes a file system
// entry (open for writing, creat, mkdir, unlink, rmdir, rename, link,
// symlink, truncate) must name a path inside `allowed`; any other aborts.
// Paths are judged as written, "." and ".." resolved, relative ones against
// the current folder or the descriptor they are relative to.
class WriteGuard {
public:
    explicit WriteGuard(std::string allowed);
    ~WriteGuard();
    WriteGuard(const WriteGuard&) = delete;
    WriteGuard& operator=(const WriteGuard&) = delete;
};

// The test-format bytes the targets get: Windows-1251 text split into lines.
std::vector<std::string> LinesOf(const uint8_t* data, size_t size);

// What every successful parse must hold, before any subset is drawn: the task
// list matches the count, a subset is smaller than the whole, every task has
// a known type, a key its type allows and the variant count its texts imply.
void CheckParsedTest(const ParsedTest& test);
// The part of that for one task: a known type, a key its type allows and the
// variant count its texts imply.
void CheckTask(const TTask& task);

// Writing a parsed test and reading the text back must give a test that
// writes the same text again: the writer and the reader agree. The pictures
// the text names are copied beside it first, as Save as does.
void CheckWritesBackStably(const ParsedTest& test, const TextTestReadOptions& options);

}  // namespace quilmo::fuzz
