#include "tools/Encryptor.h"

#include "model/FileIO.h"

namespace quilmo {

std::string NormalizeLineBreaks(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 32);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

Expected<std::string> LoadEncryptorSource(const std::string& path, uint64_t maxBytes)
{
    auto bytes = ReadWholeFile(path, maxBytes);
    if (!bytes)
        return bytes.error();
    return NormalizeLineBreaks(*bytes);
}

}  // namespace quilmo
