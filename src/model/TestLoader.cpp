#include "model/TestLoader.h"

#include "model/CheckTestContainer.h"
#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/LegacyContainer.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// A test file larger than this is not a test: refuse it rather than read it.
constexpr uint64_t kMaxTestFileBytes = uint64_t(256) << 20;

Expected<std::vector<std::string>> ReadTextLines(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxTestFileBytes);
    if (!bytes)
        return Error{kLoadError};
    return SplitLines(Cp1251ToUtf8(*bytes));
}

}  // namespace

std::string UpperExtension(const std::string& path)
{
    const std::string name = BareFileName(path);
    const auto dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return ext;
}

OpenTestResult OpenTestFile(const std::string& path, TRandom& random,
                            const OpenTestEnvironment& environment)
{
    OpenTestResult result;
    if (path.empty() || !FileExists(path))
        return result;

    result.FileName = path;
    result.FileDir = FolderOf(path);

    const std::string ext = UpperExtension(path);
    std::string pictureDir = result.FileDir;
    Expected<std::vector<std::string>> lines = Error{kLoadError};
    // A picture folder made for this file, deleted again unless the load succeeds.
    std::string madeFolder;
    uint8_t locked = 0;
    const auto failed = [&](std::string message) {
        result.Outcome = OpenOutcome::LoadFailed;
        result.Message = std::move(message);
        if (!madeFolder.empty())
            if (auto deleted = DeleteFolderRecursively(madeFolder); !deleted)
                result.CleanupError = deleted.error().Message;
        return result;
    };

    if (ext == ".TXT" || ext == ".TST") {
        lines = ReadTextLines(path);
    } else if (ext == ".STST") {
        lines = ReadLegacyContainer(path);
        if (!lines)
            lines = Error{kLoadError};
    } else if (ext == ".EST") {
        const auto makeFolder = [&]() -> Expected<std::string> {
            if (!environment.NewGuid)
                return Error{kLoadError};
            return MakeCheckTestFolder(environment.TempBase, result.FileDir, environment.NewGuid());
        };
        CheckTestReadResult container = ReadCheckTest(path, makeFolder);
        if (container.Status == CheckTestStatus::WrongSignature) {
            result.Outcome = OpenOutcome::WrongSignature;
            result.Message = kWrongSignature;
            return result;
        }
        result.Mode = container.Mode;
        madeFolder = container.Folder;
        if (container.Status == CheckTestStatus::Read) {
            lines = SplitLines(Cp1251ToUtf8(container.Text));
            pictureDir = container.Folder;
            locked = container.Locked;
        }
    } else {
        result.Outcome = OpenOutcome::WrongExtension;
        result.Message = kWrongFileType;
        return result;
    }

    result.FileCrc = FileChecksum(path);
    if (!lines)
        return failed(lines.error().Message);

    TextTestReadOptions options;
    options.PictureDir = pictureDir;
    options.CountRule = CountLineRule::WithSubset;
    auto parsed = ParseTestText(std::move(*lines), options);
    if (!parsed)
        return failed(parsed.error().Message);
    if (environment.DrawSubset)
        ApplyRandomSubset(*parsed, random);
    result.Test = std::move(*parsed);
    result.TempDir = madeFolder;
    result.Locked = locked;
    result.Outcome = OpenOutcome::Loaded;
    return result;
}

}  // namespace quilmo
