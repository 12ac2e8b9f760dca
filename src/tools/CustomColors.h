#pragma once
// The colour dialog's custom colours, kept as a list of "ColorA=D8F5DC"
// entries: one entry per slot A to P, the colour as 6 upper-case hexadecimal
// digits of its 0x00BBGGRR value. A slot takes its colour from the first entry
// of its name, so entries added after that one change nothing.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quilmo {

inline constexpr int32_t kWhite = 0x00FFFFFF;

class CustomColorEntries {
public:
    // A press of "Выбрать": the right-answer colour for slots A and I, the
    // wrong-answer colour for slots B and J (the first two columns of the
    // dialog's two rows), added at the end of the list.
    void AddPress(int32_t correct, int32_t error);

    // Slots A to P: each from the first entry of its name; white when there
    // is none or its value is not a colour.
    std::array<int32_t, 16> Slots() const;

    // The dialog was confirmed: each slot is written into the first entry of
    // its name, or a new entry when there is none.
    void StoreSlots(const std::array<int32_t, 16>& colors);

    const std::vector<std::string>& Entries() const { return entries_; }

private:
    // Index of the first entry named after slot, or -1.
    int FindEntry(int slot) const;

    std::vector<std::string> entries_;
};

// "D8F5DC" for 0x00D8F5DC.
std::string ColorEntryValue(int32_t color);

}  // namespace quilmo
