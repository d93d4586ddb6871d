#pragma once
// The legacy 8-bit Malayalam font families: for each encoding (one byte
// layout, shared by many typefaces) the Unicode text every glyph draws, and
// every known font name with the encoding it uses. The tables are generated
// from public glyph maps by tools/fontmaps/generate_tables.py and built into
// the program; nothing is read at run time.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "families/GlyphRole.h"

namespace maravelundi {

struct LegacyGlyph {
  std::u16string_view text;  // Unicode, in visual order; empty where the map names nothing
  GlyphRole role;
};

struct LegacyEncoding {
  std::string_view name;  // "ML-TT", "ML", "MLB", ...
  // The ML-TT layout: the Unicode walk converts these fonts, so a caller
  // keeps that path for them; the table is here for listing and measuring.
  bool mltt;
  std::array<LegacyGlyph, 256> glyphs;

  const LegacyGlyph& Glyph(std::uint8_t code) const { return glyphs[code]; }
};

struct LegacyFontName {
  std::string_view name;             // as the font's makers spell it
  const LegacyEncoding* encoding;    // nullptr: a known font whose map is missing
};

// Every encoding, the ML-TT layout first.
std::span<const LegacyEncoding> LegacyEncodings();

// Every known font name, in case-insensitive order.
std::span<const LegacyFontName> KnownLegacyFonts();

// The encoding of a font name, in any letter case; nullptr for a name the
// maps do not know or whose map is missing.
const LegacyEncoding* FindLegacyEncoding(std::string_view fontName);

// Whether a font is in the ML-TT encoding by the rule every pass has always
// read font names with: its name begins "ML-". With the other families
// known, FindLegacyEncoding tells the ML-TT fonts from the rest.
inline bool IsMlttFontName(std::string_view fontName) { return fontName.starts_with("ML-"); }

// The encoding with this name ("ML", "MLB", ...), or nullptr.
const LegacyEncoding* FindLegacyEncodingByName(std::string_view encodingName);

}  // namespace maravelundi
