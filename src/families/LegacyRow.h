#pragma once
// The shapes of the generated legacy glyph tables (LegacyRows*.h and
// LegacyFontIndex.h, written by tools/fontmaps/generate_tables.py).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace maravelundi::legacy_rows {

// One code of a legacy font and the Unicode text its glyph draws, in visual
// order; empty where the font's map names nothing.
struct LegacyRow {
  std::uint8_t code;
  std::u16string_view text;
};

struct LegacyEncodingRows {
  std::string_view name;
  bool mltt;                          // the ML-TT layout, which the Unicode walk converts
  std::span<const LegacyRow> rows;    // 256 rows, code 0x00 first
};

struct LegacyFontRow {
  std::string_view name;
  std::size_t encoding;               // position in kEncodingRows, or kNoMap
};

}  // namespace maravelundi::legacy_rows
