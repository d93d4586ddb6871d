#pragma once
// Malayalam Unicode spelled in a legacy font's glyphs: the inverse of a
// font's table and of the reordering that reading it needs. Unicode keeps
// letters in the order they are spoken; a legacy font draws them in the
// order they are seen, so a pre-base vowel sign (E, EE, AI, and the first
// half of O, OO and AU) and the RA sign go before the consonant cluster they
// belong to, and the second half of a two-part sign after it. Within a
// cluster the longest sequence the font has a glyph for wins (KA, virama, KA
// is one conjunct glyph); where it has no glyph for the whole cluster, the
// signs go before its last consonant glyph, as a typist typed them.
//
// Which glyphs a font has is its inventory: the Unicode text each glyph
// draws, its code, and for a family spread over several fonts (Rachana's
// six), which font. A character with no glyph is handed on as it is; a zero
// width non-joiner, which a legacy font shows by not joining, is dropped.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace maravelundi {

struct InventoryGlyph {
  std::u16string text;  // what it draws; atomic chillus as consonant, virama, joiner
  // Its code; a few letters (II as I and the length mark) are two codes that
  // the fonts draw together.
  std::array<std::uint8_t, 2> codes{};
  std::uint8_t count = 1;
  std::uint8_t font = 0;  // which of a family's fonts holds it
};

class GlyphInventory {
 public:
  // Where two glyphs draw the same text, the first in the list wins.
  explicit GlyphInventory(const std::vector<InventoryGlyph>& glyphs);

  // The glyph of the longest prefix of `text` that has one, and how much of
  // `text` it draws; nullptr when not even the first character has one.
  const InventoryGlyph* Longest(std::u16string_view text, std::size_t& used) const;

 private:
  std::unordered_map<std::u16string, InventoryGlyph> byText_;
  std::size_t longest_ = 0;
};

// Where the result goes: each glyph with the index of the Unicode character
// it is placed at (a cluster's glyphs, its signs among them, at the
// cluster's first character), and each character that has no glyph.
class LegacyGlyphSink {
 public:
  virtual ~LegacyGlyphSink() = default;
  virtual void Glyph(const InventoryGlyph& glyph, std::size_t source) = 0;
  virtual void Unmapped(char16_t ch, std::size_t source) = 0;
};

void EncodeLegacy(const GlyphInventory& inventory, std::u16string_view unicode, LegacyGlyphSink& sink);

// Atomic chillus as consonant, virama and zero width joiner, the way every
// inventory holds them.
std::u16string DecomposeChillus(std::u16string_view text);

}  // namespace maravelundi
