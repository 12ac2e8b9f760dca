#include "model/TestLoader.h"

#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/FileIO.h"
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
                            const OpenTestEnvironment& /*environment*/)
{
    OpenTestResult result;
    if (path.empty() || !FileExists(path))
        return result;

    result.FileName = path;
    result.FileDir = FolderOf(path);

    const std::string ext = UpperExtension(path);
    std::string pictureDir = result.FileDir;
    Expected<std::vector<std::string>> lines = Error{kLoadError};
    if (ext == ".TXT" || ext == ".TST") {
        lines = ReadTextLines(path);
    } else {
        result.Outcome = OpenOutcome::WrongExtension;
        result.Message = kWrongFileType;
        return result;
    }

    result.FileCrc = FileChecksum(path);
    if (!lines) {
        result.Outcome = OpenOutcome::LoadFailed;
        result.Message = lines.error().Message;
        return result;
    }

    TextTestReadOptions options;
    options.PictureDir = pictureDir;
    options.CountRule = CountLineRule::WithSubset;
    auto parsed = ParseTestText(*lines, options);
    if (!parsed) {
        result.Outcome = OpenOutcome::LoadFailed;
        result.Message = parsed.error().Message;
        return result;
    }
    ApplyRandomSubset(*parsed, random);
    result.Test = std::move(*parsed);
    result.Outcome = OpenOutcome::Loaded;
    return result;
}

}  // namespace quilmo
