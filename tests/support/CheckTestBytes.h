#pragma once
// Check tests and enciphered texts built by hand in the tests, with zlib's
// one-shot compress2 and a plain printf cipher, so that our own writer and
// cipher are checked against the byte layout rather than against themselves.

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quilmo::testing {

inline const std::string kHandSignature = std::string("\x24") + "A7A0C19E-66D9-4F51-B504-78A37DE5372E";
inline constexpr std::string_view kHandLegacyKey = "LanternMosaic";
inline constexpr std::string_view kHandCheckTestKey =
    "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0-13579BDF-2468-ACE0-1357-9BDF2468ACE0-"
    "FEDCBA98-7654-3210-0123-456789ABCDEF";

inline std::string HandEncipher(std::string_view text, std::string_view key)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char group[8];
        std::snprintf(group, sizeof group, "%03u",
                      unsigned(static_cast<unsigned char>(text[i]) ^
                               static_cast<unsigned char>(key[i % key.size()])));
        out += group;
    }
    return out;
}

// The decompressed body of a check test, field by field.
class HandBody {
public:
    HandBody& U8(uint8_t v)
    {
        bytes_ += char(v);
        return *this;
    }
    HandBody& I32(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            bytes_ += char((u >> shift) & 0xFF);
        return *this;
    }
    HandBody& Raw(std::string_view s)
    {
        bytes_ += s;
        return *this;
    }
    // The mode block in its order: seven flags, the reserved byte, two limits.
    HandBody& Mode(uint8_t orderTask, uint8_t orderVariant, uint8_t education, uint8_t saveResult,
                   uint8_t sendResult, uint8_t saveConfig, uint8_t timeLimit, uint8_t reserved,
                   int32_t limitTest, int32_t limitTask)
    {
        return U8(orderTask).U8(orderVariant).U8(education).U8(saveResult).U8(sendResult)
            .U8(saveConfig).U8(timeLimit).U8(reserved).I32(limitTest).I32(limitTask);
    }
    // L and the text (Windows-1251) enciphered with the check-test key.
    HandBody& Text(std::string_view cp1251)
    {
        const std::string digits = HandEncipher(cp1251, kHandCheckTestKey);
        return I32(int32_t(digits.size())).Raw(digits);
    }
    HandBody& File(std::string_view name, std::string_view content)
    {
        return I32(int32_t(name.size())).Raw(name).I32(int32_t(content.size())).Raw(content);
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

inline std::string HandCompress(const std::string& body, int level = 9)
{
    uLongf size = compressBound(body.size());
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(body.data()), body.size(), level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

inline std::string HandUncompress(std::string_view stream, size_t expectedSize)
{
    std::string out(expectedSize + 1, '\0');
    uLongf size = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                   reinterpret_cast<const Bytef*>(stream.data()), stream.size()) != Z_OK)
        throw std::runtime_error("uncompress failed");
    out.resize(size);
    return out;
}

inline std::string HandContainer(const HandBody& body)
{
    return kHandSignature + HandCompress(body.Bytes());
}

}  // namespace quilmo::testing
