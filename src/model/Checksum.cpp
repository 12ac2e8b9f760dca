#include "model/Checksum.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quilmo {

namespace {

constexpr size_t kBlock = 16384;

// Drops the bytes <= 0x20 and feeds the rest to crc32 block by block. The
// copy is branch-free: every byte is stored, the position advances only for
// the ones kept.
uint32_t FeedFiltered(uint32_t crc, const unsigned char* p, size_t n)
{
    unsigned char buf[kBlock];
    while (n > 0) {
        const size_t take = n < kBlock ? n : kBlock;
        size_t kept = 0;
        for (size_t i = 0; i < take; ++i) {
            const unsigned char c = p[i];
            buf[kept] = c;
            kept += c > 0x20;
        }
        crc = static_cast<uint32_t>(crc32(crc, buf, static_cast<uInt>(kept)));
        p += take;
        n -= take;
    }
    return crc;
}

}  // namespace

bool ChecksumState::Update(std::string_view bytes)
{
    if (ended_)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    if (const void* eof = std::memchr(p, 0x1A, n)) {
        n = static_cast<size_t>(static_cast<const unsigned char*>(eof) - p);
        ended_ = true;
    }
    crc_ = FeedFiltered(crc_, p, n);
    return !ended_;
}

uint32_t ChecksumState::Value() const { return crc_; }

uint32_t ChecksumBytes(std::string_view bytes)
{
    ChecksumState state;
    state.Update(bytes);
    return state.Value();
}

uint32_t FileChecksum(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    ChecksumState state;
    static thread_local char buf[1 << 16];
    uint32_t result = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            break;  // a read error gives 0
        }
        if (got == 0 || !state.Update(std::string_view(buf, static_cast<size_t>(got)))) {
            result = state.Value();
            break;
        }
    }
    ::close(fd);
    return result;
}

}  // namespace quilmo
