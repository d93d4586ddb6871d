#include "transcode/FontTable.h"

#include <algorithm>
#include <stdexcept>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {
constexpr char16_t kSpace[] = u" ";
}

FontTable::FontTable(std::span<const GlyphRow> rows, NoMatch noMatch)
    : rows_(rows), noMatch_(noMatch) {
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    values_[it->key] = GlyphString(it->codes);
    listed_[it->key] = true;
  }
  for (std::size_t code = 0; code < byCode_.size(); ++code) {
    const char16_t glyph = GlyphChar(static_cast<std::uint8_t>(code));
    const std::u16string_view result = Lookup(std::u16string_view(&glyph, 1));
    if (result.size() > kMaxResult) throw std::logic_error("a glyph table's result is longer than it may be");
    std::copy(result.begin(), result.end(), byCode_[code].units.begin());
    byCode_[code].length = static_cast<std::uint8_t>(result.size());
  }
}

std::u16string_view FontTable::Lookup(std::u16string_view glyph) const {
  if (glyph.size() == 1) {
    if (const auto code = GlyphCode(glyph[0]); code && listed_[*code]) return values_[*code];
  }
  return NoMatchFor(glyph);
}

std::u16string_view FontTable::NoMatchFor(std::u16string_view glyph) const {
  switch (noMatch_) {
    case NoMatch::kInput: return glyph;
    case NoMatch::kSpace: return kSpace;
    case NoMatch::kEmpty: break;
  }
  return {};
}

}  // namespace maravelundi
