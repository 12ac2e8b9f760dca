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

std::string DecipherLegacyBytes(std::string_view fileBytes)
{
    // The file's lines each followed by CR LF: a NUL ends the text, every line
    // break becomes CR LF, and a last line without one gets it. Any line end
    // after the digits thus becomes a last, incomplete group, which
    // deciphering ignores.
    fileBytes = fileBytes.substr(0, fileBytes.find('\0'));
    PieceDecipher decipher(kLegacyKey, fileBytes.size() / 3 + 1);
    const char* p = fileBytes.data();
    const char* const end = p + fileBytes.size();
    while (p < end) {
        const char* q = FindLineEnd(p, end);
        decipher.Put(std::string_view(p, static_cast<size_t>(q - p)));
        decipher.Put("\r\n");
        if (q < end && *q++ == '\r' && q < end && *q == '\n')
            ++q;
        p = q;
    }
    return decipher.Finish();
}

std::vector<std::string> DecipherLegacyText(std::string_view fileBytes)
{
    return SplitLines(Cp1251ToUtf8(DecipherLegacyBytes(fileBytes)));
}

Expected<std::string> ReadLegacyContainer(const std::string& path)
{
    auto bytes = ReadWholeFile(path, kMaxLegacyFileBytes);
    if (!bytes)
        return bytes.error();
    return DecipherLegacyBytes(*bytes);
}

std::string BuildLegacyContainer(const std::vector<std::string>& lines)
{
    return TCrypt::Encipher(Utf8ToCp1251(JoinLinesCrLf(lines)), kLegacyKey);
}

}  // namespace quilmo
