// Temporary stand-ins for the model functions the settings code needs, until
// the real model sources are merged. Minimal on purpose.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/Regional.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

const char32_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t ToUnicode(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b < 0xC0)
        return kHigh[b - 0x80];
    return 0x0410 + (b - 0xC0);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int FromUnicode(char32_t c)
{
    if (c < 0x80)
        return int(c);
    if (c >= 0x0410 && c <= 0x044F)
        return int(c - 0x0410 + 0xC0);
    for (int i = 0; i < 64; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when malformed.
size_t DecodeUtf8(std::string_view s, size_t i, char32_t& c)
{
    const unsigned char b = s[i];
    size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    c = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < n; ++k) {
        const unsigned char t = s[i + k];
        if ((t & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (t & 0x3F);
    }
    return n;
}

char32_t FoldCase(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0x0410 && c <= 0x042F)
        return c + 32;
    if (c == 0x0401)
        return 0x0451;
    return c;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    for (unsigned char b : bytes)
        AppendUtf8(out, ToUnicode(b));
    return out;
}

std::string Utf8ToCp1251(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const size_t n = DecodeUtf8(text, i, c);
        if (n == 0) {
            out += '?';
            ++i;
            continue;
        }
        const int b = FromUnicode(c);
        out += b < 0 ? '?' : char(b);
        i += n;
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20)
        s.remove_suffix(1);
    return s;
}

std::optional<int32_t> ParseInt32(std::string_view s)
{
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if (i == s.size())
        return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > int64_t(1) << 31)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return int32_t(v);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = 0, cb = 0;
        size_t na = DecodeUtf8(a, i, ca), nb = DecodeUtf8(b, j, cb);
        if (na == 0) { ca = 0xFFFD00 + static_cast<unsigned char>(a[i]); na = 1; }
        if (nb == 0) { cb = 0xFFFD00 + static_cast<unsigned char>(b[j]); nb = 1; }
        if (FoldCase(ca) != FoldCase(cb))
            return false;
        i += na;
        j += nb;
    }
    return i == a.size() && j == b.size();
}

std::string SystemErrorText(int err)
{
    return std::strerror(err);
}

Expected<std::string> ReadWholeFile(const std::string& path, uint64_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Error{SystemErrorText(errno)};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || uint64_t(st.st_size) > maxBytes) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : EFBIG;
        ::close(fd);
        return Error{SystemErrorText(err)};
    }
    std::string data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return Error{SystemErrorText(err)};
        }
        if (n == 0)
            break;
        if (data.size() + size_t(n) > maxBytes) {
            ::close(fd);
            return Error{SystemErrorText(EFBIG)};
        }
        data.append(buf, size_t(n));
    }
    ::close(fd);
    return data;
}

Status WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return Error{SystemErrorText(errno)};
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return Error{SystemErrorText(err)};
        }
        done += size_t(n);
    }
    if (::close(fd) != 0 || std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return Error{SystemErrorText(err)};
    }
    return Ok();
}

TDateTime LocalNow()
{
    timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t {};
    localtime_r(&ts.tv_sec, &t);
    return TDateTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                     int(ts.tv_nsec / 1000000)};
}

}  // namespace quilmo
