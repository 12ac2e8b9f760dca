#pragma once
// Reading all tasks of another test, to be appended to the one being edited.

#include <string>
#include <vector>

#include "model/Expected.h"
#include "model/TestModel.h"

namespace quilmo {

inline constexpr const char* kImportError = "Ошибка загрузки теста для добавления заданий!";

struct ImportedTasks {
    std::string Title;
    std::vector<TTask> Tasks;
};

// The title and the tasks of the text test at path, read as the editor opens a
// test (pictures joined to that test's folder). Fails with kImportError when
// the count is not a number above 0, when lines are missing or when the file
// cannot be read; the description and the marks are not used.
Expected<ImportedTasks> ReadImportFile(const std::string& path);

// "Добавлено n заданий\r\nиз файла: "path".\r\nЗаголовок теста: "title"."
std::string ImportDoneText(size_t count, const std::string& path, const std::string& title);

}  // namespace quilmo
