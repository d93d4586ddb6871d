#include "office/ConvertedFonts.h"

#include <array>
#include <string>

#include "richtext/GlyphString.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {

namespace {

bool DecideConvertedFont(Generation generation, bool legacyFamilies, std::string_view fontName) {
  if (TableForFont(generation, fontName) != nullptr) return true;
  // The other families convert to every output: the ML-TT ones spell them
  // again in ML-TT.
  return walk::KindOfFont(fontName, legacyFamilies).Malayalam();
}

// Every run asks, and a document uses a handful of fonts: the last few
// answers are kept, per thread, since a batch converts documents at once.
struct FontDecision {
  std::string font;
  Generation generation = Generation::kAuto;
  bool legacyFamilies = false;
  bool converted = false;
};
thread_local std::array<FontDecision, 8> recentDecisions;
thread_local std::size_t nextDecision = 0;

}  // namespace

bool IsConvertedFont(const EngineOptions& engine, std::string_view fontName) {
  const bool families = engine.unicode.legacyFamilies;
  for (const FontDecision& decision : recentDecisions) {
    if (decision.font == fontName && decision.generation == engine.generation && decision.legacyFamilies == families &&
        !decision.font.empty()) {
      return decision.converted;
    }
  }
  const bool converted = DecideConvertedFont(engine.generation, families, fontName);
  recentDecisions[nextDecision] = {std::string(fontName), engine.generation, families, converted};
  nextDecision = (nextDecision + 1) % recentDecisions.size();
  return converted;
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
