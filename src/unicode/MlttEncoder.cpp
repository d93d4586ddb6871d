#include "unicode/MlttEncoder.h"

#include "families/LegacyEncoder.h"
#include "richtext/GlyphString.h"
#include "unicode/GlyphToEntity.h"

namespace maravelundi {
namespace {

// The entity table read backwards: the Unicode each unit writes, and its
// ML-TT codes, in table order (where two units write the same text, the
// first wins). The break mark writes nothing and is left out.
std::vector<InventoryGlyph> MlttGlyphs() {
  std::vector<InventoryGlyph> glyphs;
  for (const EntityRow& row : EntityTableRows()) {
    InventoryGlyph glyph;
    AppendReferencedText(row.value, glyph.text);
    if (glyph.text.empty() || row.key.empty() || row.key.size() > glyph.codes.size()) continue;
    glyph.count = static_cast<std::uint8_t>(row.key.size());
    for (std::size_t c = 0; c < row.key.size(); ++c) glyph.codes[c] = static_cast<std::uint8_t>(row.key[c]);
    glyphs.push_back(std::move(glyph));
  }
  return glyphs;
}

class MlttSink final : public LegacyGlyphSink {
 public:
  void Glyph(const InventoryGlyph& glyph, std::size_t) override {
    for (std::size_t c = 0; c < glyph.count; ++c) out_.push_back(GlyphChar(glyph.codes[c]));
  }
  void Unmapped(char16_t ch, std::size_t) override { out_.push_back(ch); }
  std::u16string out_;
};

}  // namespace

const GlyphInventory& MlttInventory() {
  static const GlyphInventory inventory(MlttGlyphs());
  return inventory;
}

std::u16string EncodeMltt(std::u16string_view unicode) {
  MlttSink sink;
  EncodeLegacy(MlttInventory(), unicode, sink);
  return std::move(sink.out_);
}

}  // namespace maravelundi
