#include "model/Checksum.h"

#include <zlib.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace quilmo {

namespace {

constexpr size_t kBlock = 16384;

// Copies the bytes above 0x20 of p[0, n) to out and returns their number.
// Branch-free: every byte is stored, the position advances only for the kept.
size_t FilterPortable(const unsigned char* p, size_t n, unsigned char* out)
{
    size_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        out[kept] = c;
        kept += c > 0x20;
    }
    return kept;
}

#if defined(__x86_64__) && defined(__GNUC__)
// For each eight-bit keep mask: the shuffle that packs the kept bytes of eight
// to the front, and how many there are.
struct PackTable {
    uint8_t Shuffle[256][8];
    uint8_t Count[256];
};

constexpr PackTable MakePackTable()
{
    PackTable t{};
    for (unsigned mask = 0; mask < 256; ++mask) {
        unsigned k = 0;
        for (unsigned bit = 0; bit < 8; ++bit)
            if (mask & (1u << bit))
                t.Shuffle[mask][k++] = static_cast<uint8_t>(bit);
        t.Count[mask] = static_cast<uint8_t>(k);
        for (; k < 8; ++k)
            t.Shuffle[mask][k] = 0x80;  // zero, overwritten by the next store
    }
    return t;
}
constexpr PackTable kPack = MakePackTable();

// Sixteen bytes per step: compare, then pack each half with one shuffle.
// out needs eight bytes of room past the kept ones.
__attribute__((target("ssse3"))) size_t FilterSsse3(const unsigned char* p, size_t n, unsigned char* out)
{
    // Bytes compare as signed: shifting by 0x80 makes "above 0x20" a signed test.
    const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i limit = _mm_set1_epi8(static_cast<char>(0x20 ^ 0x80));
    size_t kept = 0;
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpgt_epi8(_mm_xor_si128(v, bias), limit)));
        if (mask == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + kept), v);
            kept += 16;
            continue;
        }
        const unsigned lo = mask & 0xFF;
        const unsigned hi = mask >> 8;
        const __m128i loShuffle = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPack.Shuffle[lo]));
        const __m128i hiShuffle = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPack.Shuffle[hi]));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + kept), _mm_shuffle_epi8(v, loShuffle));
        kept += kPack.Count[lo];
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + kept),
                         _mm_shuffle_epi8(_mm_srli_si128(v, 8), hiShuffle));
        kept += kPack.Count[hi];
    }
    return kept + FilterPortable(p + i, n - i, out + kept);
}

size_t Filter(const unsigned char* p, size_t n, unsigned char* out)
{
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3 ? FilterSsse3(p, n, out) : FilterPortable(p, n, out);
}
#else
size_t Filter(const unsigned char* p, size_t n, unsigned char* out) { return FilterPortable(p, n, out); }
#endif

// Drops the bytes <= 0x20 and feeds the rest to crc32 block by block.
uint32_t FeedFiltered(uint32_t crc, const unsigned char* p, size_t n)
{
    unsigned char buf[kBlock + 16];
    while (n > 0) {
        const size_t take = n < kBlock ? n : kBlock;
        const size_t kept = Filter(p, take, buf);
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
