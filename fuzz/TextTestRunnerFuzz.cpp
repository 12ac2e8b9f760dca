// The text test reader with the runner's rules: a "T (M)" count draws a
// random subset. Every input must parse or fail cleanly; what parses must
// hold together and write back stably.

#include "FuzzSupport.h"
#include "model/Random.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Picture lines are resolved against an empty folder of our own.
    static const std::string pictures = fuzz::ScratchFolder("pictures");
    TextTestReadOptions options;
    options.PictureDir = pictures;
    options.CountRule = CountLineRule::WithSubset;

    auto parsed = ParseTestText(fuzz::LinesOf(data, size), options);
    if (!parsed) {
        fuzz::Check(parsed.error().Message == kLoadError, "an unexpected error text", parsed.error().Message);
        return 0;
    }
    fuzz::CheckParsedTest(*parsed);
    const int32_t subset = parsed->SubsetCount;
    TRandom random(static_cast<uint32_t>(size));
    ApplyRandomSubset(*parsed, random);
    if (subset > 0)
        fuzz::Check(parsed->TaskCount == subset && parsed->Tasks.size() == size_t(subset),
                    "the subset drawn does not hold M tasks");
    fuzz::CheckWritesBackStably(*parsed, options);
    return 0;
}
