#include "editor/EditorDocument.h"

#include <new>

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// A test file larger than this is not a test.
constexpr uint64_t kMaxTestFileBytes = uint64_t(256) << 20;

// Lines before the first task block, and the picture line's place in a block.
constexpr size_t kHeaderLines = 6;
constexpr size_t kBlockLines = 10;
constexpr size_t kPictureLineInBlock = 3;

std::string Format1(const char* pattern, const std::string& value)
{
    return ReplaceAll(pattern, "%s", value);
}

}  // namespace

void ResetDocument(TEditorDocument& document)
{
    document = TEditorDocument{};
}

std::string EditorCaption(const std::string& fileName)
{
    if (fileName.empty())
        return kEditorTitle;
    return BareFileName(fileName) + " - " + kEditorTitle;
}

Expected<ParsedTest> ReadEditorTest(const std::string& path)
{
    try {
        auto bytes = ReadWholeFile(path, kMaxTestFileBytes);
        if (!bytes)
            return Error{kLoadError};
        TextTestReadOptions options;
        options.PictureDir = FolderOf(path);
        options.CountRule = CountLineRule::PlainInteger;
        TextLines lines(std::move(*bytes));
        return ParseTestText(lines, options);
    } catch (const std::bad_alloc&) {
        // A test too large for the memory there is: refused like any bad file.
        return Error{kLoadError};
    }
}

Expected<PictureDecision> EditorPictureLine(const std::string& imageFile, const std::string& dir,
                                            const AskYesNo& ask, UniquePictureNames& names)
{
    PictureDecision decision;
    const std::string path(Trim(imageFile));
    if (path.empty())
        return decision;

    if (!FileExists(path)) {
        if (ask(Format1("Файла: \"%s\" не существует.\r\nОчистить запись о картинке?", path))) {
            decision.ChangesImageFile = true;
            decision.NewImageFile.clear();
        } else {
            decision.Line = path;
        }
        return decision;
    }

    if (!dir.empty() && path.compare(0, dir.size(), dir) == 0) {
        decision.Line = path.substr(dir.size());
        return decision;
    }

    const std::string name = names.ClaimFile(path);
    decision.Line = name;
    const auto copied = OfferPictureCopy(path, dir, name,
                                         "Имя файла: \"%s\" нельзя сделать относительным.\r\n"
                                         "Скопировать изображение в папку с тестом?",
                                         ask);
    if (!copied)
        return copied.error();
    if (*copied) {
        decision.ChangesImageFile = true;
        decision.NewImageFile = dir + name;
    }
    return decision;
}

Expected<PictureDecision> EditorPictureLine(const std::string& imageFile, const std::string& dir,
                                            const AskYesNo& ask)
{
    UniquePictureNames names;
    return EditorPictureLine(imageFile, dir, ask, names);
}

UniquePictureNames PictureNamesInFolder(const std::vector<const TTask*>& tasks, const std::string& dir)
{
    UniquePictureNames names;
    for (const TTask* task : tasks) {
        const std::string path(Trim(task->ImageFile));
        if (!dir.empty() && path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 &&
            path.find('/', dir.size()) == std::string::npos && FileExists(path))
            names.Reserve(path.substr(dir.size()));
    }
    return names;
}

Expected<bool> OfferPictureCopy(const std::string& path, const std::string& dir, const std::string& name,
                                const char* question, const AskYesNo& ask)
{
    if (!ask(Format1(question, path)))
        return false;
    const std::string target = dir + name;
    if (FileExists(target) &&
        !ask(Format1("Файл: \"%s\" уже существует.\r\nЗаменить его?", target)))
        return true;
    Status copied = CopyFileBytes(path, target);
    if (!copied)
        return copied.error();
    return true;
}

Expected<EditorTestLines> BuildEditorTestLines(const TEditorDocument& document,
                                               const std::vector<const TTask*>& tasks,
                                               const std::string& dir, const AskYesNo& ask)
{
    EditorTestLines result;
    // The picture rule asks its questions task by task, in the order the
    // lines are built.
    result.Pictures.reserve(tasks.size());
    UniquePictureNames names = PictureNamesInFolder(tasks, dir);
    for (const TTask* task : tasks) {
        auto decision = EditorPictureLine(task->ImageFile, dir, ask, names);
        if (!decision)
            return decision.error();
        result.Pictures.push_back(std::move(*decision));
    }

    // Every other line is the text test writer's; its picture lines are
    // replaced by the rule's.
    TTestInfo info;
    info.Title = document.Title;
    info.Description = document.Description;
    info.Marks = document.Marks;
    std::vector<TTask> copies;
    copies.reserve(tasks.size());
    for (const TTask* task : tasks) {
        copies.push_back(*task);
        copies.back().ImageFile.clear();
    }
    result.Lines = WriteTestText(info, copies).Lines;
    const size_t firstBlock = kHeaderLines + document.Marks.size();
    for (size_t k = 0; k < tasks.size(); ++k)
        result.Lines[firstBlock + kBlockLines * k + kPictureLineInBlock] = result.Pictures[k].Line;
    return result;
}

Status WriteEditorTest(const std::string& path, TEditorDocument& document,
                       const std::vector<TTask*>& tasks, const AskYesNo& ask)
{
    const std::vector<const TTask*> view(tasks.begin(), tasks.end());
    auto built = BuildEditorTestLines(document, view, FolderOf(path), ask);
    if (!built)
        return built.error();
    Status written = WriteFileAtomically(path, Utf8ToCp1251(JoinLinesCrLf(built->Lines)));
    if (!written)
        return written;
    for (size_t k = 0; k < tasks.size(); ++k)
        if (built->Pictures[k].ChangesImageFile)
            tasks[k]->ImageFile = built->Pictures[k].NewImageFile;
    document.FileName = path;
    document.Modified = 0;
    return Ok();
}

}  // namespace quilmo
