#include "model/LegacyContainer.h"

#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// Three digits per byte of a text test that may be as large as 256 MiB.
constexpr uint64_t kMaxLegacyFileBytes = uint64_t(768) << 20;

}  // namespace

std::vector<std::string> DecipherLegacyText(std::string_view fileBytes)
{
    // Joining the lines turns any line end after the digits into a last,
    // incomplete group, which deciphering ignores.
    const std::string joined = JoinLinesCrLf(SplitLines(fileBytes));
    return SplitLines(Cp1251ToUtf8(TCrypt::Decipher(joined, kLegacyKey)));
}

Expected<std::vector<std::string>> ReadLegacyContainer(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxLegacyFileBytes);
    if (!bytes)
        return bytes.error();
    return DecipherLegacyText(*bytes);
}

std::string BuildLegacyContainer(const std::vector<std::string>& lines)
{
    return TCrypt::Encipher(Utf8ToCp1251(JoinLinesCrLf(lines)), kLegacyKey);
}

}  // namespace quilmo
