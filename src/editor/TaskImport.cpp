#include "editor/TaskImport.h"

#include <new>

#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextTestReader.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr uint64_t kMaxTestFileBytes = uint64_t(256) << 20;
constexpr int64_t kBlockLines = 10;

Error ImportError() { return Error{kImportError}; }

}  // namespace

namespace {

Expected<ImportedTasks> ReadImportTasks(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxTestFileBytes);
    if (!bytes)
        return ImportError();
    // Only the lines the counts name are ever cut out of the text.
    TextLines lines(std::move(*bytes));
    if (!lines.Has(4))
        return ImportError();

    ImportedTasks imported;
    imported.Title = lines.Line(0);
    const int64_t taskCount = StrToIntDef(Trim(lines.Raw(2)), -1);
    const int64_t markCount = StrToIntDef(Trim(lines.Raw(4)), -1);
    if (taskCount <= 0)
        return ImportError();
    // The mark count only tells where the first block begins; every block must
    // lie within the file before anything is read or sized from the counts.
    const int64_t firstQuestion = 6 + markCount + 1;
    const int64_t end = firstQuestion + kBlockLines * taskCount - 1;
    if (firstQuestion < 0 || !lines.Has(static_cast<size_t>(end - 1)))
        return ImportError();

    const std::string folder = FolderOf(path);
    PictureLookup pictures;
    for (int64_t k = 0; k < taskCount; ++k) {
        auto task = ReadTaskBlock(lines, static_cast<size_t>(firstQuestion + kBlockLines * k), folder,
                                  pictures);
        if (!task)
            return ImportError();
        imported.Tasks.push_back(std::move(*task));
    }
    return imported;
}

}  // namespace

Expected<ImportedTasks> ReadImportFile(const std::string& path)
{
    try {
        return ReadImportTasks(path);
    } catch (const std::bad_alloc&) {
        // A file too large for the memory there is: refused like any bad file.
        return ImportError();
    }
}

std::string ImportDoneText(size_t count, const std::string& path, const std::string& title)
{
    return "Добавлено " + std::to_string(count) + " заданий\r\nиз файла: \"" + path +
           "\".\r\nЗаголовок теста: \"" + title + "\".";
}

}  // namespace quilmo
