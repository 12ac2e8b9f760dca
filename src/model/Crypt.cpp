#include "model/Crypt.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "model/Cp1251.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

// The three digits of every byte value, padded to four for whole-word copies.
struct DigitTable {
    std::array<std::array<char, 4>, 256> Digits{};
    constexpr DigitTable()
    {
        for (int v = 0; v < 256; ++v)
            Digits[v] = {char('0' + v / 100), char('0' + v / 10 % 10), char('0' + v % 10), 0};
    }
};
constexpr DigitTable kDigits;

}  // namespace

std::string TCrypt::Encipher(std::string_view text, std::string_view key)
{
    const size_t n = text.size();
    // One spare byte: each group is written as four and overlapped by the next.
    std::string out(3 * n + 1, '\0');
    char* dst = out.data();
    const auto* src = reinterpret_cast<const unsigned char*>(text.data());
    const auto* k = reinterpret_cast<const unsigned char*>(key.data());
    const size_t klen = key.size();
    if (klen == 0) {
        for (size_t i = 0; i < n; ++i, dst += 3)
            std::memcpy(dst, kDigits.Digits[src[i]].data(), 4);
    } else {
        size_t ki = 0;
        for (size_t i = 0; i < n; ++i, dst += 3) {
            std::memcpy(dst, kDigits.Digits[src[i] ^ k[ki]].data(), 4);
            if (++ki == klen)
                ki = 0;
        }
    }
    out.resize(3 * n);
    return out;
}

std::string TCrypt::Decipher(std::string_view digits, std::string_view key)
{
    auto text = TryDecipher(digits, key);
    return text ? std::move(*text) : Utf8ToCp1251(kCipherError);
}

std::optional<std::string> TCrypt::TryDecipher(std::string_view digits, std::string_view key)
{
    const size_t groups = digits.size() / 3;
    std::string out(groups, '\0');
    const auto* src = reinterpret_cast<const unsigned char*>(digits.data());
    static constexpr unsigned char kNoKey = 0;
    const auto* k = key.empty() ? &kNoKey : reinterpret_cast<const unsigned char*>(key.data());
    const size_t klen = key.empty() ? 1 : key.size();
    size_t ki = 0;
    for (size_t i = 0; i < groups; ++i, src += 3) {
        const unsigned d0 = src[0] - unsigned('0');
        const unsigned d1 = src[1] - unsigned('0');
        const unsigned d2 = src[2] - unsigned('0');
        unsigned v = d0 * 100 + d1 * 10 + d2;
        if ((d0 > 9) | (d1 > 9) | (d2 > 9)) [[unlikely]] {
            // Not three plain digits: the integer rules (an optional sign) decide.
            const auto parsed = ParseInt32(std::string_view(reinterpret_cast<const char*>(src), 3));
            if (!parsed)
                return std::nullopt;
            v = static_cast<unsigned>(*parsed);
        }
        out[i] = static_cast<char>((v ^ k[ki]) & 0xFF);
        if (++ki == klen)
            ki = 0;
    }
    return out;
}

PieceDecipher::PieceDecipher(std::string_view key, size_t expectedBytes)
    : key_(key), pieceBytes_(3 * std::max<size_t>(key.size(), 1) * 4096)
{
    piece_.reserve(pieceBytes_);
    text_.reserve(expectedBytes);
}

void PieceDecipher::Put(std::string_view digits)
{
    while (!digits.empty() && !failed_) {
        const size_t n = std::min(pieceBytes_ - piece_.size(), digits.size());
        piece_.append(digits.substr(0, n));
        digits.remove_prefix(n);
        if (piece_.size() == pieceBytes_)
            Flush();
    }
}

std::string PieceDecipher::Finish()
{
    Flush();
    return failed_ ? Utf8ToCp1251(kCipherError) : std::move(text_);
}

void PieceDecipher::Flush()
{
    if (failed_)
        return;
    if (auto deciphered = TCrypt::TryDecipher(piece_, key_))
        text_ += *deciphered;
    else
        failed_ = true;
    piece_.clear();
}

}  // namespace quilmo
