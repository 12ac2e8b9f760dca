#pragma once
// The file checksum sent with every result: CRC-32 over the bytes above 0x20,
// up to the first 0x1A.

#include <cstdint>
#include <string>
#include <string_view>

namespace quilmo {

class ChecksumState {
public:
    // Feeds a chunk; returns false once the 0x1A end mark has been seen.
    bool Update(std::string_view bytes);
    uint32_t Value() const;

private:
    uint32_t crc_ = 0;  // zlib's running crc32
    bool ended_ = false;
};

uint32_t ChecksumBytes(std::string_view bytes);
// 0 when the file cannot be read.
uint32_t FileChecksum(const std::string& path);

}  // namespace quilmo
