// The .est reader, through the runner's open-test operation, with its picture
// folder made in a scratch folder of its own. Nothing may be written outside
// that folder (the write guard aborts), and whatever the outcome, only the
// folder of a test that loaded may remain, holding plain files only.
//
// An input that starts with '$' (the signature's first byte) is the file as
// it stands. Any other input is a body: its first byte is dropped and the
// rest compressed behind the signature, so that mutations reach the fields
// inside the zlib stream. A body is also read by a plain reference reading of
// the layout here: the settings must be taken from its first sixteen bytes
// whatever follows, and a test that loads must have unpacked exactly the
// entries the layout holds, with their contents.

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>

#include "FuzzSupport.h"
#include "model/CheckTestContainer.h"
#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/FileIO.h"
#include "model/TestLoader.h"

using namespace quilmo;

namespace {

bool IsWholeFile(std::string_view input) { return !input.empty() && input[0] == kCheckTestSignature[0]; }

std::string_view BodyOf(std::string_view input) { return input.empty() ? input : input.substr(1); }

std::string FileBytes(std::string_view input)
{
    if (IsWholeFile(input))
        return std::string(input);
    const std::string_view body = BodyOf(input);
    // The smallest window and memory level: any zlib stream is one the reader
    // must take, and these cost a few kilobytes instead of a few hundred.
    z_stream zs{};
    if (deflateInit2(&zs, 1, Z_DEFLATED, 9, 1, Z_DEFAULT_STRATEGY) != Z_OK)
        fuzz::Fail("deflateInit2 failed");
    std::string packed(deflateBound(&zs, body.size()), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    zs.avail_in = static_cast<uInt>(body.size());
    zs.next_out = reinterpret_cast<Bytef*>(packed.data());
    zs.avail_out = static_cast<uInt>(packed.size());
    const int ret = deflate(&zs, Z_FINISH);
    packed.resize(packed.size() - zs.avail_out);
    deflateEnd(&zs);
    if (ret != Z_STREAM_END)
        fuzz::Fail("deflate failed");
    return std::string(kCheckTestSignature) + packed;
}

// The body's layout read field by field, nothing checked but the lengths.
struct ReferenceBody {
    std::optional<TModeConfig> Mode;
    uint8_t Locked = 0;
    bool Complete = false;                     // every entry present
    std::map<std::string, std::string> Files;  // UTF-8 name -> content; a later entry wins
};

ReferenceBody ReadReference(std::string_view body)
{
    ReferenceBody ref;
    size_t pos = 0;
    const auto take = [&](size_t n, std::string_view& out) {
        if (body.size() - pos < n)
            return false;
        out = body.substr(pos, n);
        pos += n;
        return true;
    };
    const auto takeLength = [&](int32_t& n) {
        std::string_view b;
        if (!take(4, b))
            return false;
        std::memcpy(&n, b.data(), 4);  // little-endian, as the machine is
        return n >= 0;
    };
    std::string_view field;
    if (!take(16, field))
        return ref;
    std::array<uint8_t, 16> block{};
    std::memcpy(block.data(), field.data(), 16);
    ref.Mode = DecodeModeBlock(block);
    int32_t length = 0;
    if (!take(1, field))
        return ref;
    ref.Locked = static_cast<uint8_t>(field[0]);
    if (!takeLength(length) || !take(size_t(length), field) || !takeLength(length))
        return ref;
    for (int32_t i = 0, count = length; i < count; ++i) {
        std::string_view name, content;
        if (!takeLength(length) || !take(size_t(length), name) || !takeLength(length) ||
            !take(size_t(length), content))
            return ref;
        ref.Files[Cp1251ToUtf8(name)] = std::string(content);
    }
    ref.Complete = true;
    return ref;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string scratch = fuzz::ScratchFolder("est");
    static const std::string in = fuzz::ScratchFolder("est/in");
    static const std::string temp = fuzz::ScratchFolder("est/temp");
    static const std::vector<std::string> untouched{"in/", "in/test.est", "temp/"};
    static int guids = 0;

    const std::string path = in + "test.est";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string bytes = FileBytes(input);
    {
        // A new file each time: rewriting one in place makes the file system
        // flush it on close, which slows the run down a hundredfold.
        ::unlink(path.c_str());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.flush())
            fuzz::Fail("cannot write the input file", path);
    }

    OpenTestEnvironment environment;
    environment.TempBase = temp;
    const int firstGuid = guids + 1;
    environment.NewGuid = [] { return "{FUZZ-" + std::to_string(++guids) + "}"; };
    environment.DrawSubset = false;
    TRandom random;
    OpenTestResult result;
    {
        fuzz::WriteGuard guard(temp);
        result = OpenTestFile(path, random, environment);
    }

    struct stat st {};
    fuzz::Check(::stat(path.c_str(), &st) == 0 && uint64_t(st.st_size) == bytes.size(),
                "the test file itself changed");
    fuzz::Check(guids <= firstGuid, "more than one picture folder made for one file");
    const std::vector<std::string> tree = fuzz::ListTree(scratch);
    std::optional<ReferenceBody> reference;
    if (!IsWholeFile(input)) {
        reference = ReadReference(BodyOf(input));
        if (result.Outcome != OpenOutcome::WrongSignature)
            fuzz::Check(result.Mode == reference->Mode, "the settings are not the body's first sixteen bytes");
    }

    switch (result.Outcome) {
    case OpenOutcome::WrongSignature:
        fuzz::Check(result.Message == kWrongSignature, "an unexpected message", result.Message);
        fuzz::Check(!result.Mode, "settings taken from a file with a wrong signature");
        fuzz::Check(tree == untouched, "a file with a wrong signature left entries behind");
        break;
    case OpenOutcome::LoadFailed:
        fuzz::Check(result.Message == kLoadError, "an unexpected message", result.Message);
        fuzz::Check(result.CleanupError.empty(), "the picture folder of a failed load was not deleted",
                    result.CleanupError);
        fuzz::Check(tree == untouched, "a failed load left entries behind");
        break;
    case OpenOutcome::Loaded: {
        const std::string folderName = "{FUZZ-" + std::to_string(firstGuid) + "}";
        fuzz::Check(result.TempDir == temp + folderName + "/", "the picture folder is not the one made",
                    result.TempDir);
        fuzz::Check(result.Mode.has_value(), "a loaded check test without its settings");
        for (const std::string& entry : tree) {
            if (std::find(untouched.begin(), untouched.end(), entry) != untouched.end() ||
                entry == "temp/" + folderName + "/")
                continue;
            const std::string prefix = "temp/" + folderName + "/";
            fuzz::Check(entry.rfind(prefix, 0) == 0 && entry.find('/', prefix.size()) == std::string::npos,
                        "an entry outside the picture folder, or a folder inside it", entry);
        }
        if (reference) {
            fuzz::Check(reference->Complete, "a test loaded from a body whose entries are cut short");
            fuzz::Check(result.Locked == reference->Locked, "the lock flag is not the body's");
            std::vector<std::string> expected;
            for (const auto& [name, content] : reference->Files) {
                expected.push_back("temp/" + folderName + "/" + name);
                fuzz::Check(ReadFile(result.TempDir + name) == content, "an entry unpacked with other bytes", name);
            }
            std::vector<std::string> unpacked;
            for (const std::string& entry : tree)
                if (entry.rfind("temp/" + folderName + "/", 0) == 0 && entry.back() != '/')
                    unpacked.push_back(entry);
            fuzz::Check(unpacked == expected, "the entries unpacked are not the body's");
        }
        fuzz::CheckParsedTest(result.Test);
        TextTestReadOptions options;
        options.PictureDir = result.TempDir;
        fuzz::CheckWritesBackStably(result.Test, options);
        {
            fuzz::WriteGuard guard(temp);
            const Status deleted = DeleteFolderRecursively(result.TempDir);
            fuzz::Check(deleted.has_value(), "the picture folder cannot be deleted",
                        deleted ? "" : deleted.error().Message);
        }
        fuzz::Check(fuzz::ListTree(scratch) == untouched, "deleting the picture folder left entries behind");
        break;
    }
    default:
        fuzz::Fail("an outcome a .est file cannot have");
    }
    return 0;
}
