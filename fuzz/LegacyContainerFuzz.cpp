// The .stst reader: the file's lines joined, deciphered with the legacy key
// and parsed by the runner's rules. What deciphers must encipher back to the
// same lines.

#include "FuzzSupport.h"
#include "model/LegacyContainer.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string pictures = fuzz::ScratchFolder("pictures");
    const std::vector<std::string> lines =
        DecipherLegacyText(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Check(DecipherLegacyText(BuildLegacyContainer(lines)) == lines,
                "deciphered lines do not encipher back to themselves");

    TextTestReadOptions options;
    options.PictureDir = pictures;
    auto parsed = ParseTestText(lines, options);
    if (!parsed) {
        fuzz::Check(parsed.error().Message == kLoadError, "an unexpected error text", parsed.error().Message);
        return 0;
    }
    fuzz::CheckParsedTest(*parsed);
    fuzz::CheckWritesBackStably(*parsed, options);
    return 0;
}
