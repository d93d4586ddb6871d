#pragma once
// The legacy font plain text is read in: a font of one of the families
// (families/LegacyEncoding.h), or one of the Rachana fonts (transcode), with
// the reading of its codes (GlyphText.h). The text goes into a document under
// the font's name, so that the conversion reads it by that name as it reads
// any document's fonts.

#include <optional>
#include <string>
#include <string_view>

#include "families/LegacyEncoding.h"
#include "plaintext/GlyphText.h"
#include "transcode/FontTable.h"

namespace maravelundi {

struct PlainTextFont {
  std::string_view fontName;      // as --list-fonts lists it ("ML-TTKarthika", "rl1")
  std::string_view encodingName;  // as --list-fonts prints it ("ML-TT", "Rachana 7")
  const LegacyEncoding* encoding = nullptr;  // a family's encoding; nullptr for a Rachana font
  const FontTable* rachana = nullptr;        // a Rachana font's glyph table
  GlyphReading reading = GlyphReading::kWindows1252;

  bool operator==(const PlainTextFont&) const = default;
};

// A font by any name --list-fonts lists, in any letter case, read as its
// family's maps are keyed; nullopt for a name it does not list, or whose
// family has no map.
std::optional<PlainTextFont> FindPlainTextFont(std::string_view name);

// The encoding's font the document names: ML-TTRevathi for the ML-TT layout,
// which every ML-TT output is written in, else the first name listed for it.
PlainTextFont FontOfEncoding(const LegacyEncoding& encoding, GlyphReading reading);

// The reading the encoding's maps were keyed by: Mac Roman for the families
// whose fonts were made on the Macintosh.
GlyphReading NaturalReading(const LegacyEncoding& encoding);

// The family encoding whose converter reads the font's text: its own, or for
// a Rachana font the ML-TT layout its table writes.
const LegacyEncoding& ConvertingEncoding(const PlainTextFont& font);

// Glyph characters of the font as codes of ConvertingEncoding: themselves,
// or what a Rachana font's table makes of them.
std::u16string CodesInEncoding(const PlainTextFont& font, std::u16string_view glyphs);

// The Unicode that glyph characters of the font draw, in logical order and
// legacy spelling: the converting encoding's converter on their codes. What
// the detector and the word judge score; the conversion itself is the
// pipeline's.
std::u16string FontToUnicode(const PlainTextFont& font, std::u16string_view glyphs);

}  // namespace maravelundi
