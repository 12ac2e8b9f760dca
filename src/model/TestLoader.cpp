#include "model/TestLoader.h"

#include <new>
#include <optional>

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

Expected<TextLines> ReadTextLines(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxTestFileBytes);
    if (!bytes)
        return Error{kLoadError};
    return TextLines(std::move(*bytes));
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
    if (ext != ".TXT" && ext != ".TST" && ext != ".STST" && ext != ".EST") {
        result.Outcome = OpenOutcome::WrongExtension;
        result.Message = kWrongFileType;
        return result;
    }

    // A picture folder made for this file, deleted again unless the load succeeds.
    std::string madeFolder;
    const auto failed = [&](std::string message) {
        result.Outcome = OpenOutcome::LoadFailed;
        result.Message = std::move(message);
        result.Test = ParsedTest{};
        result.TempDir.clear();
        result.Locked = 0;
        if (!madeFolder.empty())
            if (auto deleted = DeleteFolderRecursively(madeFolder); !deleted)
                result.CleanupError = deleted.error().Message;
    };

    try {
        std::string pictureDir = result.FileDir;
        std::optional<TextLines> lines;
        uint8_t locked = 0;
        if (ext == ".TXT" || ext == ".TST") {
            if (auto read = ReadTextLines(path))
                lines.emplace(std::move(*read));
        } else if (ext == ".STST") {
            if (auto text = ReadLegacyContainer(path))
                lines.emplace(std::move(*text));
        } else {
            const auto makeFolder = [&]() -> Expected<std::string> {
                if (!environment.NewGuid)
                    return Error{kLoadError};
                auto folder = MakeCheckTestFolder(environment.TempBase, result.FileDir, environment.NewGuid());
                if (folder)
                    madeFolder = *folder;
                return folder;
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
                lines.emplace(std::move(container.Text));
                pictureDir = container.Folder;
                locked = container.Locked;
            }
        }

        result.FileCrc = FileChecksum(path);
        if (!lines) {
            failed(kLoadError);
            return result;
        }

        TextTestReadOptions options;
        options.PictureDir = pictureDir;
        options.CountRule = CountLineRule::WithSubset;
        auto parsed = ParseTestText(*lines, options);
        lines.reset();
        if (!parsed) {
            failed(parsed.error().Message);
            return result;
        }
        if (environment.DrawSubset)
            ApplyRandomSubset(*parsed, random);
        result.Test = std::move(*parsed);
        result.TempDir = madeFolder;
        result.Locked = locked;
        result.Outcome = OpenOutcome::Loaded;
    } catch (const std::bad_alloc&) {
        // A test too large for the memory there is: refused like any bad file.
        failed(kLoadError);
        if (result.FileCrc == 0)
            result.FileCrc = FileChecksum(path);
    }
    return result;
}

}  // namespace quilmo
