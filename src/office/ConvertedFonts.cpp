#include "office/ConvertedFonts.h"

#include "richtext/GlyphString.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {

bool IsConvertedFont(const EngineOptions& engine, std::string_view fontName) {
  if (TableForFont(engine.generation, fontName) != nullptr) return true;
  // The other families convert to every output: the ML-TT ones spell them
  // again in ML-TT.
  return walk::KindOfFont(fontName, engine.unicode.legacyFamilies).Malayalam();
}

bool IsMlttFont(std::string_view fontName) { return fontName.starts_with("ML-"); }

char16_t GlyphOfStoredChar(char16_t stored) {
  if (stored >= 0xF020 && stored <= 0xF0FF) return GlyphChar(static_cast<std::uint8_t>(stored - 0xF000));
  return stored;
}

char16_t GlyphOfSymbolCode(unsigned code) {
  if (code >= 0xF000 && code <= 0xF0FF) code -= 0xF000;
  return code <= 0xFF ? GlyphChar(static_cast<std::uint8_t>(code)) : static_cast<char16_t>(code);
}

}  // namespace maravelundi
