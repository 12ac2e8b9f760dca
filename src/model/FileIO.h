#pragma once
// Whole-file reads and writes that never leave a half-written file behind.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Expected.h"

namespace quilmo {

// Reads a whole file; fails with ReadErrorText. Files larger than
// maxBytes fail too, so hostile input cannot exhaust memory.
Expected<std::string> ReadWholeFile(const std::string& path,
                                    uint64_t maxBytes = uint64_t(1) << 30);

// Writes bytes to a temporary file in the same folder and renames it over path
// once complete; on failure the old file is untouched. The error is
// SaveErrorText.
Status WriteFileAtomically(const std::string& path, std::string_view bytes);

// For a file written by other code (a library that writes by name): makes the
// finished temporary durable, renames it over target and makes the rename
// durable, as WriteFileAtomically does. On failure the temporary is left for
// the caller to remove.
Status ReplaceWithTemporary(const std::string& temp, const std::string& target);

// Appends bytes (result.txt is only ever appended to).
Status AppendToFile(const std::string& path, std::string_view bytes);

// Copies a file; a source and target that are the same file are left intact.
Status CopyFileBytes(const std::string& source, const std::string& target);

bool FileExists(const std::string& path);

// Writes all n bytes to a file descriptor, going on after interruptions;
// false with errno set on failure.
bool WriteAll(int fd, const char* p, size_t n);

// Deletes every file and subfolder (symbolic links are removed, never
// followed), then the folder. A folder that does not exist is nothing to do.
// Fails with the system's text for the last error; it goes on after an error.
Status DeleteFolderRecursively(const std::string& path);

// The text for errno: Russian for the common cases (no such file, no
// permission, disk full, read-only file system, a folder where a file should
// be and the reverse, too many open files, too large), the system's own text
// otherwise. No final full stop.
std::string SystemErrorText(int err);

// A message naming the file: "Не удалось сохранить файл "path". Нет места на диске."
// The file functions above fail with these.
std::string ReadErrorText(const std::string& path, const std::string& reason);
std::string SaveErrorText(const std::string& path, const std::string& reason);
std::string AppendErrorText(const std::string& path, const std::string& reason);

}  // namespace quilmo
