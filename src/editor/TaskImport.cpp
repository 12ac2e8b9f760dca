#include "editor/TaskImport.h"

#include "model/Cp1251.h"
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

Expected<ImportedTasks> ReadImportFile(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxTestFileBytes);
    if (!bytes)
        return ImportError();
    const std::vector<std::string> lines = SplitLines(Cp1251ToUtf8(*bytes));
    if (lines.size() < 5)
        return ImportError();

    ImportedTasks imported;
    imported.Title = lines[0];
    const int64_t taskCount = StrToIntDef(Trim(lines[2]), -1);
    const int64_t markCount = StrToIntDef(Trim(lines[4]), -1);
    if (taskCount <= 0)
        return ImportError();
    // The mark count only tells where the first block begins; every block must
    // lie within the file before anything is read or sized from the counts.
    const int64_t firstQuestion = 6 + markCount + 1;
    const int64_t end = firstQuestion + kBlockLines * taskCount - 1;
    if (firstQuestion < 0 || end > static_cast<int64_t>(lines.size()))
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

std::string ImportDoneText(size_t count, const std::string& path, const std::string& title)
{
    return "Добавлено " + std::to_string(count) + " заданий\r\nиз файла: \"" + path +
           "\".\r\nЗаголовок теста: \"" + title + "\".";
}

}  // namespace quilmo
