#include "office/ConvertedFonts.h"

#include "richtext/GlyphString.h"

namespace maravelundi {

char16_t GlyphOfStoredChar(char16_t stored) {
  if (stored >= 0xF020 && stored <= 0xF0FF) return GlyphChar(static_cast<std::uint8_t>(stored - 0xF000));
  return stored;
}

char16_t GlyphOfSymbolCode(unsigned code) {
  if (code >= 0xF000 && code <= 0xF0FF) code -= 0xF000;
  return code <= 0xFF ? GlyphChar(static_cast<std::uint8_t>(code)) : static_cast<char16_t>(code);
}

}  // namespace maravelundi
