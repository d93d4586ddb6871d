#pragma once
// The canonical compositions of the Malayalam block (UnicodeData.txt): the
// two-part vowel signs O, OO and AU, each the E or EE sign followed by the AA
// or AU length mark. Every other Malayalam character is already in
// Normalization Form C, and none of these three pairs is excluded from
// composition, so joining them is all that NFC asks of converted text.

namespace maravelundi {

struct Composition {
  char16_t first, second, composed;
};

inline constexpr Composition kMalayalamCompositions[] = {
    {0x0D46, 0x0D3E, 0x0D4A},  // E + AA = O
    {0x0D47, 0x0D3E, 0x0D4B},  // EE + AA = OO
    {0x0D46, 0x0D57, 0x0D4C},  // E + AU length mark = AU
};

// The precomposed character for `first` followed by `second`, or 0.
constexpr char16_t ComposeMalayalam(char16_t first, char16_t second) {
  for (const Composition& c : kMalayalamCompositions) {
    if (c.first == first && c.second == second) return c.composed;
  }
  return 0;
}

}  // namespace maravelundi
