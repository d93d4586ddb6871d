#include "office/ConvertedFonts.h"

#include <array>
#include <string>

#include "richtext/GlyphString.h"
#include "convert/FontClassifier.h"

namespace maravelundi {

namespace {

// A document uses a handful of fonts, asked about at every run.
struct FontDecision {
  std::string font;
  Generation generation = Generation::kAuto;
  bool converted = false;
};
thread_local std::array<FontDecision, 8> recentDecisions;
thread_local std::size_t nextDecision = 0;

}  // namespace

bool IsConvertedFont(const ConversionProfile& profile, std::string_view fontName) {
  for (const FontDecision& decision : recentDecisions) {
    if (decision.font == fontName && decision.generation == profile.generation && !decision.font.empty()) {
      return decision.converted;
    }
  }
  const bool converted = IsConvertedFont(profile.generation, fontName);
  recentDecisions[nextDecision] = {std::string(fontName), profile.generation, converted};
  nextDecision = (nextDecision + 1) % recentDecisions.size();
  return converted;
}

char16_t GlyphOfStoredChar(char16_t stored) {
  if (stored >= 0xF020 && stored <= 0xF0FF) return GlyphChar(static_cast<std::uint8_t>(stored - 0xF000));
  return stored;
}

char16_t GlyphOfSymbolCode(unsigned code) {
  if (code >= 0xF000 && code <= 0xF0FF) code -= 0xF000;
  return code <= 0xFF ? GlyphChar(static_cast<std::uint8_t>(code)) : static_cast<char16_t>(code);
}

}  // namespace maravelundi
