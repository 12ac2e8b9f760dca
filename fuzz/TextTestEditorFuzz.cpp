// The text test reader with the editor's rules: the count line is a plain
// integer, and no subset is ever drawn.

#include "FuzzSupport.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string pictures = fuzz::ScratchFolder("pictures");
    TextTestReadOptions options;
    options.PictureDir = pictures;
    options.CountRule = CountLineRule::PlainInteger;

    auto parsed = ParseTestText(fuzz::LinesOf(data, size), options);
    if (!parsed) {
        fuzz::Check(parsed.error().Message == kLoadError, "an unexpected error text", parsed.error().Message);
        return 0;
    }
    fuzz::CheckParsedTest(*parsed);
    fuzz::Check(parsed->SubsetCount == 0, "a subset under the editor's rules");
    fuzz::CheckWritesBackStably(*parsed, options);
    return 0;
}
