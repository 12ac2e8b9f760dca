#include "model/TextUtil.h"

#include <charconv>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quilmo {

namespace {

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

template <class Int>
std::optional<Int> ParseDecimal(std::string_view s)
{
    // from_chars takes no '+', and no blanks; a lone sign is not a number.
    size_t start = 0;
    if (!s.empty() && s[0] == '+') {
        start = 1;
        if (s.size() > 1 && s[1] == '-')
            return std::nullopt;
    }
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    if (first == last)
        return std::nullopt;
    Int value{};
    const auto [ptr, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

// Lower-case code point for the ASCII and Cyrillic capitals (including Ё and
// the capitals of the other Cyrillic alphabets that Windows-1251 carries).
inline uint32_t LowerCodePoint(uint32_t cp)
{
    if (cp >= 'A' && cp <= 'Z')
        return cp + 0x20;
    if (cp >= 0x0410 && cp <= 0x042F)
        return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F)
        return cp + 0x50;
    if (cp == 0x0490)
        return 0x0491;
    return cp;
}

// Decodes one UTF-8 sequence at s[i]; a malformed byte comes back as itself
// (offset by 0x110000 so it never equals a real code point) and length 1.
inline uint32_t NextCodePoint(std::string_view s, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    uint32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    }
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0x110000 + b0;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0x110000 + b0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += len;
    return cp;
}

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

// The first CR or LF in [p, end), or end; sixteen bytes at a time where the
// processor has SSE2 (every x86-64 does).
const char* FindLineEnd(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

std::string_view TrimLeft(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return s.substr(b);
}

std::string_view TrimRight(std::string_view s)
{
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return s.substr(0, e);
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(s);
    std::string out;
    size_t pos = s.find(from);
    if (pos == std::string_view::npos)
        return std::string(s);
    out.reserve(s.size());
    size_t start = 0;
    while (pos != std::string_view::npos) {
        out.append(s.data() + start, pos - start);
        out.append(to);
        start = pos + from.size();
        pos = s.find(from, start);
    }
    out.append(s.data() + start, s.size() - start);
    return out;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    const char* const begin = text.data();
    const char* const end = begin + text.size();

    // Count first, so the vector is sized from the lines really present.
    size_t count = 0;
    for (const char* p = begin; (p = FindLineEnd(p, end)) != end; ++p)
        if (*p == '\n' || p + 1 == end || p[1] != '\n')
            ++count;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        ++count;

    std::vector<std::string> lines;
    lines.reserve(count);
    const char* p = begin;
    while (p < end) {
        const char* q = FindLineEnd(p, end);
        lines.emplace_back(p, q);
        if (q < end && *q++ == '\r' && q < end && *q == '\n')
            ++q;
        p = q;
    }
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines)
{
    size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string EscapeCrLf(std::string_view s) { return ReplaceAll(s, "\r\n", "_CRLF_"); }
std::string UnescapeCrLf(std::string_view s) { return ReplaceAll(s, "_CRLF_", "\r\n"); }

std::optional<int32_t> ParseInt32(std::string_view s) { return ParseDecimal<int32_t>(s); }
std::optional<int64_t> ParseInt64(std::string_view s) { return ParseDecimal<int64_t>(s); }

int32_t StrToIntDef(std::string_view s, int32_t fallback)
{
    return ParseInt32(s).value_or(fallback);
}

std::string ToLowerUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const size_t start = i;
        const uint32_t cp = NextCodePoint(s, i);
        const uint32_t lower = LowerCodePoint(cp);
        if (lower == cp)
            out.append(s.data() + start, i - start);  // malformed bytes pass unchanged
        else
            AppendUtf8(out, lower);
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (LowerCodePoint(NextCodePoint(a, i)) != LowerCodePoint(NextCodePoint(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

std::u32string CaseFoldKey(std::string_view s)
{
    std::u32string key;
    key.reserve(s.size());
    size_t i = 0;
    while (i < s.size())
        key.push_back(LowerCodePoint(NextCodePoint(s, i)));
    return key;
}

}  // namespace quilmo
