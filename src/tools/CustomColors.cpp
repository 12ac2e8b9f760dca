#include "tools/CustomColors.h"

#include <cstdio>

#include "model/TextUtil.h"

namespace quilmo {

namespace {

std::string SlotName(int slot)
{
    return std::string("Color") + static_cast<char>('A' + slot);
}

std::optional<int32_t> ParseColor(std::string_view hex)
{
    if (hex.empty() || hex.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : hex) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(value);
}

}  // namespace

std::string ColorEntryValue(int32_t color)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.6X", static_cast<unsigned>(color));
    return buffer;
}

void CustomColorEntries::AddPress(int32_t correct, int32_t error)
{
    entries_.push_back("ColorA=" + ColorEntryValue(correct));
    entries_.push_back("ColorB=" + ColorEntryValue(error));
    entries_.push_back("ColorI=" + ColorEntryValue(correct));
    entries_.push_back("ColorJ=" + ColorEntryValue(error));
}

int CustomColorEntries::FindEntry(int slot) const
{
    const std::string name = SlotName(slot);
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string_view entry = entries_[i];
        const size_t eq = entry.find('=');
        if (eq != std::string_view::npos && EqualsIgnoreCase(entry.substr(0, eq), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::array<int32_t, 16> CustomColorEntries::Slots() const
{
    std::array<int32_t, 16> colors;
    for (int slot = 0; slot < 16; ++slot) {
        colors[static_cast<size_t>(slot)] = kWhite;
        const int at = FindEntry(slot);
        if (at < 0)
            continue;
        const std::string& entry = entries_[static_cast<size_t>(at)];
        if (const auto color = ParseColor(std::string_view(entry).substr(entry.find('=') + 1)))
            colors[static_cast<size_t>(slot)] = *color;
    }
    return colors;
}

void CustomColorEntries::StoreSlots(const std::array<int32_t, 16>& colors)
{
    for (int slot = 0; slot < 16; ++slot) {
        const std::string entry = SlotName(slot) + "=" + ColorEntryValue(colors[static_cast<size_t>(slot)]);
        const int at = FindEntry(slot);
        if (at >= 0)
            entries_[static_cast<size_t>(at)] = entry;
        else
            entries_.push_back(entry);
    }
}

}  // namespace quilmo
