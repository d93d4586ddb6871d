#pragma once
// Which consonant clusters the legacy fonts could draw joined. A typist who
// typed a visible virama inside a cluster that the font could draw joined (a
// conjunct glyph, or the YA, RA or VA sign glyph) chose to show the virama; a
// visible virama inside any other cluster was all the font could draw.

#include <string_view>

#include "families/LegacyEncoding.h"

namespace maravelundi {

// Whether `encoding` draws consonants `left`, a virama, consonants `right`
// as one glyph (`left` and `right` as glyphs write them: "YA", "KA virama
// KA"), or has a sign glyph for `right`, a single consonant.
bool EncodingJoins(const LegacyEncoding& encoding, std::u16string_view left, std::u16string_view right);

// For text whose font is not known: whether any legacy encoding has a glyph
// of exactly consonant `first`, virama, consonant `second`, or a sign glyph
// for `second`.
bool LegacyFontsJoin(char16_t first, char16_t second);

}  // namespace maravelundi
