#pragma once
// The encryptor's work on whole files: plain tests to .stst digits and back
// with the legacy key.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Expected.h"

namespace quilmo {

inline constexpr const char* kEncryptorOpenError = "Ошибка открытия файла!";
inline constexpr const char* kEncryptorSaveError = "Ошибка при сохранении файла.";

// Every lone CR and every lone LF becomes CR LF; nothing else changes, so a
// final line break is there only if the bytes end with one.
std::string NormalizeLineBreaks(std::string_view bytes);

// A source file's bytes with NormalizeLineBreaks applied; fails with the
// system's text when it cannot be read or is larger than maxBytes.
Expected<std::string> LoadEncryptorSource(const std::string& path, uint64_t maxBytes);

// The largest file each direction reads: three digits per byte of a text test.
inline constexpr uint64_t kMaxPlainSourceBytes = uint64_t(256) << 20;
inline constexpr uint64_t kMaxEncipheredSourceBytes = uint64_t(768) << 20;

}  // namespace quilmo
