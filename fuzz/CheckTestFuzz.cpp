// The .est reader, through the runner's open-test operation, with its picture
// folder made in a scratch folder of its own. Nothing may be written outside
// that folder (the write guard aborts), and whatever the outcome, only the
// folder of a test that loaded may remain, holding plain files only.
//
// An input that starts with '$' (the signature's first byte) is the file as
// it stands. Any other input is a body: its first byte is dropped and the
// rest compressed behind the signature, so that mutations reach the fields
// inside the zlib stream.

#include <sys/stat.h>
#include <zlib.h>

#include <fstream>

#include "FuzzSupport.h"
#include "model/CheckTestContainer.h"
#include "model/Crypt.h"
#include "model/TestLoader.h"

using namespace quilmo;

namespace {

std::string FileBytes(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (!input.empty() && input[0] == kCheckTestSignature[0])
        return std::string(input);
    const std::string_view body = input.empty() ? input : input.substr(1);
    uLongf packedSize = compressBound(body.size());
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(body.data()), body.size(), 1) != Z_OK)
        fuzz::Fail("compress2 failed");
    packed.resize(packedSize);
    return std::string(kCheckTestSignature) + packed;
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
    const std::string bytes = FileBytes(data, size);
    {
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
