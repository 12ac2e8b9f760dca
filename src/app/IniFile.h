#pragma once
// INI files read and written by the Windows private-profile rules that
// config.ini and language.txt follow.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Expected.h"

namespace quilmo {

class IniFile {
public:
    IniFile() = default;
    // Parses Windows-1251 bytes; never fails (what cannot be understood is ignored).
    static IniFile FromBytes(std::string_view bytes);
    // A missing or unreadable file gives an empty document.
    static IniFile Load(const std::string& path);
    // A missing file gives an empty document; a file that exists but cannot be
    // read (or is too large) gives its error, so that an update never replaces
    // lines it could not see.
    static Expected<IniFile> LoadForUpdate(const std::string& path);

    // Section and key names compare without regard to case. Values lose blanks
    // at both ends and one pair of enclosing quotes, and are cut to 2047 characters.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"; anything else gives the fallback.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // True for any integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's value in place, or appends the key to its section,
    // or the section to the end; other lines are kept as they are. A value that
    // would not read back as written (blanks at its ends, enclosing quotes) is
    // written in quotes; a line break in it becomes a blank.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    std::string ToBytes() const;  // Windows-1251, CR LF
    Status Save(const std::string& path) const;  // atomic replace

private:
    struct Line {
        std::string Text;  // the line as read or written, UTF-8
        std::string Key;   // "" for headers, comments, blanks and junk
        int Section = -1;  // index in sections_ of the header above (or of this header)
        bool IsHeader = false;
    };
    void AddLine(std::string text);
    bool InSection(const Line& line, std::string_view section) const;
    std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;

    std::vector<Line> lines_;
    std::vector<std::string> sections_;  // name of each header, in file order
};

}  // namespace quilmo
