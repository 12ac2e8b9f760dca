#include "runner/TestSaving.h"

#include <filesystem>

#include "model/CheckTestContainer.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextTestWriter.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

TextTestWriteResult TestText(const TTestInfo& info, const std::vector<TTask>& tasks, const SaveQuestions& questions)
{
    TextTestWriteResult text = WriteTestText(info, tasks);
    for (const std::string& missing : text.MissingPictures)
        questions.MissingPicture(missing);
    return text;
}

}  // namespace

bool SaveCheckTest(const std::string& path, const TTestInfo& info, const std::vector<TTask>& tasks,
                   const TModeConfig& mode, uint8_t locked, const SaveQuestions& questions)
{
    const TextTestWriteResult text = TestText(info, tasks, questions);
    const auto bytes = BuildCheckTest(mode, locked, text.Lines, text.Pictures);
    return bytes && WriteFileAtomically(path, *bytes);
}

Status SaveTextTest(const std::string& path, const TTestInfo& info, const std::vector<TTask>& tasks,
                    const SaveQuestions& questions)
{
    const TextTestWriteResult text = TestText(info, tasks, questions);
    if (Status written = WriteFileAtomically(path, Utf8ToCp1251(JoinLinesCrLf(text.Lines))); !written)
        return written;
    const std::string folder = FolderOf(path);
    for (const SavedPicture& picture : text.Pictures) {
        const std::string target = folder + picture.Name;
        std::error_code ec;
        if (std::filesystem::exists(target, ec) && !questions.Replace(target))
            continue;
        // A picture that is its own target is left as it is.
        if (Status copied = CopyFileBytes(picture.Path, target); !copied)
            return copied;
    }
    return Ok();
}

}  // namespace quilmo
