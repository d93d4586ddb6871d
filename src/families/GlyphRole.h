#pragma once
// What part a legacy glyph plays when visual order becomes logical order,
// read from the Unicode text the glyph draws.

#include <cstdint>
#include <string_view>

#include "families/MalayalamLetters.h"

namespace maravelundi {

enum class GlyphRole : std::uint8_t {
  kUnmapped,        // the font's map names nothing: the character passes unchanged
  kOther,           // digits, punctuation, chillus, signs after a cluster: nothing moves across
  kConsonant,       // a consonant or conjunct glyph: one consonant of a cluster
  kDeadConsonant,   // a consonant glyph that ends in a virama (NA with virama)
  kSyllable,        // a consonant glyph that holds its vowel sign (KA with U, RA with EE)
  kVirama,          // the virama alone, drawn visible
  kPreBaseSign,     // the E or EE sign, typed before its cluster
  kRaSign,          // the RA sign, typed before its cluster
  kMedialSign,      // the YA or VA sign, typed after its consonant
  kVowelLetter,     // an independent vowel, which a following sign may complete
};

namespace glyph_role {

// Consonants joined by viramas, as one glyph draws them: "KA", "KA virama
// KA". Returns the length of that prefix of the text.
constexpr std::size_t ConsonantPrefix(std::u16string_view text) {
  using namespace malayalam;
  if (text.empty() || !IsConsonant(text[0])) return 0;
  std::size_t end = 1;
  while (end + 1 < text.size() && text[end] == kVirama && IsConsonant(text[end + 1])) end += 2;
  return end;
}

constexpr GlyphRole RoleOfConsonantGlyph(std::u16string_view text) {
  const std::size_t prefix = ConsonantPrefix(text);
  const std::u16string_view rest = text.substr(prefix);
  if (rest.empty()) return GlyphRole::kConsonant;
  if (rest == std::u16string_view(&malayalam::kVirama, 1)) return GlyphRole::kDeadConsonant;
  if (rest.back() == malayalam::kZwj) return GlyphRole::kOther;  // a chillu
  return GlyphRole::kSyllable;
}

}  // namespace glyph_role

constexpr GlyphRole RoleOfGlyphText(std::u16string_view text) {
  using namespace malayalam;
  if (text.empty()) return GlyphRole::kUnmapped;
  const char16_t first = text[0];
  if (IsConsonant(first)) return glyph_role::RoleOfConsonantGlyph(text);
  if (text.size() == 1) {
    if (first == kVirama) return GlyphRole::kVirama;
    if (first == kSignE || first == kSignEe) return GlyphRole::kPreBaseSign;
    if (IsIndependentVowel(first)) return GlyphRole::kVowelLetter;
    return GlyphRole::kOther;
  }
  if (text == u"\u0D4D\u0D30") return GlyphRole::kRaSign;
  if (text == u"\u0D4D\u0D2F" || text == u"\u0D4D\u0D35") return GlyphRole::kMedialSign;
  return GlyphRole::kOther;
}

}  // namespace maravelundi
