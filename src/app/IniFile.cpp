#include "app/IniFile.h"

#include <cerrno>
#include <sys/stat.h>

#include "model/Cp1251.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr size_t kMaxValueChars = 2047;
// Real settings files are a few kilobytes; anything this big is not one.
constexpr uint64_t kMaxFileBytes = uint64_t(256) << 10;

// The first n characters of UTF-8 text (one Windows-1251 byte each).
std::string_view FirstChars(std::string_view s, size_t n)
{
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            continue;  // continuation byte
        if (chars == n)
            return s.substr(0, i);
        ++chars;
    }
    return s;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view StripQuotes(std::string_view v)
{
    if (v.size() >= 2 && IsQuote(v.front()) && v.front() == v.back())
        return v.substr(1, v.size() - 2);
    return v;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "0x" and up to eight significant hex digits, taken as a 32-bit pattern so
// that colours such as 0xFF000008 read as the negative system colour they are.
std::optional<int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    uint32_t v = 0;
    int significant = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        if (v != 0 || d != 0)
            ++significant;
        if (significant > 8)
            return std::nullopt;
        v = (v << 4) | uint32_t(d);
    }
    return static_cast<int32_t>(v);
}

// A value that would not read back as written (blanks at its ends, enclosing
// quotes) is put in quotes, which the reader removes; a line break would
// start a new line of the file, so it becomes a blank.
std::string EncodeValue(std::string_view value)
{
    std::string v(value);
    for (char& c : v)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!v.empty() && (Trim(v).size() != v.size() || StripQuotes(v).size() != v.size()))
        return std::string("\"").append(v).append("\"");
    return v;
}

}  // namespace

void IniFile::AddLine(std::string text)
{
    Line line;
    const std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        std::string_view name = t.substr(1);
        name = name.substr(0, name.find(']'));
        sections_.emplace_back(Trim(name));
        line.IsHeader = true;
        line.Section = int(sections_.size()) - 1;
    } else {
        line.Section = int(sections_.size()) - 1;
        const size_t eq = t.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string_view::npos)
            line.Key = std::string(Trim(t.substr(0, eq)));
    }
    line.Text = std::move(text);
    lines_.push_back(std::move(line));
}

IniFile IniFile::FromBytes(std::string_view bytes)
{
    IniFile ini;
    const std::string text = Cp1251ToUtf8(bytes);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            ini.AddLine(text.substr(start));
            break;
        }
        ini.AddLine(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return ini;
}

Expected<IniFile> IniFile::LoadForUpdate(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return IniFile{};
        return Error{ReadErrorText(path, SystemErrorText(errno))};
    }
    // Opening a pipe or a device could block the program for good.
    if (!S_ISREG(st.st_mode))
        return Error{ReadErrorText(path, SystemErrorText(S_ISDIR(st.st_mode) ? EISDIR : EINVAL))};
    auto bytes = ReadWholeFile(path, kMaxFileBytes);
    if (!bytes)
        return bytes.error();
    return FromBytes(*bytes);
}

IniFile IniFile::Load(const std::string& path)
{
    auto ini = LoadForUpdate(path);
    return ini ? std::move(*ini) : IniFile{};
}

bool IniFile::InSection(const Line& line, std::string_view section) const
{
    return line.Section >= 0 && EqualsIgnoreCase(sections_[size_t(line.Section)], section);
}

std::optional<size_t> IniFile::FindKey(std::string_view section, std::string_view key) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (!line.Key.empty() && InSection(line, section) && EqualsIgnoreCase(line.Key, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const
{
    const auto i = FindKey(section, key);
    if (!i)
        return std::nullopt;
    const std::string& text = lines_[*i].Text;
    std::string_view v = Trim(std::string_view(text).substr(text.find('=') + 1));
    return std::string(FirstChars(StripQuotes(v), kMaxValueChars));
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const
{
    auto v = Value(section, key);
    return v ? std::move(*v) : std::string(fallback);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t fallback) const
{
    const auto v = Value(section, key);
    if (!v)
        return fallback;
    const std::string_view s = *v;
    std::optional<int32_t> n;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        n = ParseHex(s.substr(2));
    else
        n = ParseInt32(s);
    return n.value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string encoded = EncodeValue(value);
    if (const auto i = FindKey(section, key)) {
        Line& line = lines_[*i];
        line.Text = line.Key + "=" + encoded;
        return;
    }
    Line added;
    added.Key = std::string(key);
    added.Text = added.Key + "=" + encoded;

    // After the last key line of the (first) section of that name.
    std::optional<size_t> header;
    size_t insertAt = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (!header) {
            if (line.IsHeader && InSection(line, section)) {
                header = i;
                insertAt = i + 1;
            }
        } else if (line.Section != lines_[*header].Section) {
            break;
        } else if (!line.Key.empty()) {
            insertAt = i + 1;
        }
    }
    if (header) {
        added.Section = lines_[*header].Section;
        lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), std::move(added));
        return;
    }
    sections_.emplace_back(section);
    Line headerLine;
    headerLine.Text.append("[").append(section).append("]");
    headerLine.IsHeader = true;
    headerLine.Section = int(sections_.size()) - 1;
    added.Section = headerLine.Section;
    lines_.push_back(std::move(headerLine));
    lines_.push_back(std::move(added));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::ToBytes() const
{
    std::string text;
    for (const Line& line : lines_) {
        text += line.Text;
        text += "\r\n";
    }
    return Utf8ToCp1251(text);
}

Status IniFile::Save(const std::string& path) const
{
    return WriteFileAtomically(path, ToBytes());
}

}  // namespace quilmo
