#pragma once
// The byte cipher of enciphered tests: XOR with a repeating key, each result
// byte written as three decimal digits.

#include <optional>
#include <string>
#include <string_view>

namespace quilmo {

// The key of .stst files and of the encryptor.
inline constexpr std::string_view kLegacyKey = "LanternMosaic";
// The key of the text inside a check test (.est).
inline constexpr std::string_view kCheckTestKey =
    "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0-13579BDF-2468-ACE0-1357-9BDF2468ACE0-"
    "FEDCBA98-7654-3210-0123-456789ABCDEF";
// A check test starts with these 37 bytes: the length 36, then the text.
inline constexpr std::string_view kCheckTestSignature{"\x24" "A7A0C19E-66D9-4F51-B504-78A37DE5372E", 37};

// What deciphering a string that is not all numbers gives (UTF-8; Decipher
// returns its Windows-1251 bytes, since it works on bytes).
inline constexpr const char* kCipherError = "Произошла ошибка!";

class TCrypt {
public:
    // Every byte of text XOR the key byte at its position, as three digits
    // 000 to 255. An empty key leaves the bytes as they are.
    static std::string Encipher(std::string_view text, std::string_view key);
    // Groups of three characters, each read as an integer, XOR the key, modulo
    // 256; a last group of one or two characters is ignored. When a group is
    // not a number the result is kCipherError in Windows-1251.
    static std::string Decipher(std::string_view digits, std::string_view key);
    // The same, but nullopt where Decipher gives the error text.
    static std::optional<std::string> TryDecipher(std::string_view digits, std::string_view key);
};

// Deciphers digits handed over in slices of any size, as TCrypt::Decipher
// would the whole: a piece of whole turns of the key at a time, so that the
// digits are never held whole.
class PieceDecipher {
public:
    // expectedBytes: room made for the text at once (a number checked
    // against the data by the caller), so that a large text is not copied
    // as it grows.
    PieceDecipher(std::string_view key, size_t expectedBytes);

    void Put(std::string_view digits);
    // The text, or kCipherError in Windows-1251 when a group was not a number.
    std::string Finish();

private:
    void Flush();

    std::string_view key_;
    size_t pieceBytes_;
    std::string piece_;
    std::string text_;
    bool failed_ = false;
};

}  // namespace quilmo
