#include "model/Cp1251.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quilmo {

namespace {

// Code points of the bytes 0x80 to 0xFF. 0x98 has no character in
// Windows-1251; it keeps U+0098 so that it survives a round trip.
constexpr std::array<uint16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// The UTF-8 bytes of every byte value, packed little-endian into the low three
// bytes, with the length in the top byte: decoding is one lookup and one
// four-byte store per character.
constexpr std::array<uint32_t, 256> MakeDecodeTable()
{
    std::array<uint32_t, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned cp = b < 0x80 ? b : kHigh[b - 0x80];
        if (cp < 0x80)
            t[b] = cp | 1u << 24;
        else if (cp < 0x800)
            t[b] = (0xC0 | (cp >> 6)) | (0x80 | (cp & 0x3F)) << 8 | 2u << 24;
        else
            t[b] = (0xE0 | (cp >> 12)) | (0x80 | ((cp >> 6) & 0x3F)) << 8 | (0x80 | (cp & 0x3F)) << 16 |
                   3u << 24;
    }
    return t;
}
constexpr auto kDecode = MakeDecodeTable();

// Reverse lookup for the two ranges the table uses above ASCII; 0 means
// "no byte" (U+0000 is ASCII and never looked up here).
constexpr uint32_t kLowBase = 0x0080, kLowEnd = 0x0500;
constexpr uint32_t kPunctBase = 0x2010, kPunctEnd = 0x2130;

struct EncodeTables {
    std::array<uint8_t, kLowEnd - kLowBase> Low{};
    std::array<uint8_t, kPunctEnd - kPunctBase> Punct{};
};

constexpr EncodeTables MakeEncodeTables()
{
    EncodeTables t{};
    for (unsigned i = 0; i < 128; ++i) {
        const unsigned cp = kHigh[i];
        if (cp >= kLowBase && cp < kLowEnd)
            t.Low[cp - kLowBase] = static_cast<uint8_t>(0x80 + i);
        else if (cp >= kPunctBase && cp < kPunctEnd)
            t.Punct[cp - kPunctBase] = static_cast<uint8_t>(0x80 + i);
    }
    return t;
}
constexpr auto kEncode = MakeEncodeTables();

inline char EncodeCodePoint(uint32_t cp)
{
    uint8_t b = 0;
    if (cp >= kLowBase && cp < kLowEnd)
        b = kEncode.Low[cp - kLowBase];
    else if (cp >= kPunctBase && cp < kPunctEnd)
        b = kEncode.Punct[cp - kPunctBase];
    return b ? static_cast<char>(b) : '?';
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    // The exact size first: one table lookup per byte, no branches.
    size_t total = 0;
    for (size_t i = 0; i < n; ++i)
        total += kDecode[in[i]] >> 24;

    // Every character is stored as four bytes and the position advanced by its
    // length; the slack at the end absorbs the last store. No branch on the
    // byte: text that mixes Cyrillic and ASCII would mispredict at every blank.
    std::string out;
    out.resize(total + 4);
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    for (size_t i = 0; i < n; ++i) {
        const uint32_t e = kDecode[in[i]];
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(o, &e, 4);  // the length byte is overwritten next
        } else {
            o[0] = static_cast<unsigned char>(e);
            o[1] = static_cast<unsigned char>(e >> 8);
            o[2] = static_cast<unsigned char>(e >> 16);
        }
        o += e >> 24;
    }
    out.resize(total);
    return out;
}

std::string Utf8ToCp1251(std::string_view text)
{
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    std::string out;
    out.resize(n);  // never longer than the UTF-8 text
    char* o = out.data();
    size_t i = 0;
    while (i < n) {
        const unsigned char b0 = in[i];
        if (b0 < 0x80) {
            *o++ = static_cast<char>(b0);
            ++i;
            continue;
        }
        // Length and lowest valid code point of the sequence b0 starts.
        size_t len = 0;
        uint32_t cp = 0, min = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            len = 2, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            len = 3, cp = b0 & 0x0F, min = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            len = 4, cp = b0 & 0x07, min = 0x10000;
        }
        if (len == 0) {  // stray continuation byte or invalid lead byte
            *o++ = '?';
            ++i;
            continue;
        }
        size_t k = 1;
        while (k < len && i + k < n && (in[i + k] & 0xC0) == 0x80) {
            cp = (cp << 6) | (in[i + k] & 0x3F);
            ++k;
        }
        // A truncated sequence is one '?' for the bytes it did have.
        if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            *o++ = '?';
        else
            *o++ = EncodeCodePoint(cp);
        i += k;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

}  // namespace quilmo
