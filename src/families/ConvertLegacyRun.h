#pragma once
// Legacy glyphs to Unicode in logical order. A legacy font draws one glyph per
// code and the typist typed them in the order they appear: a pre-base vowel
// sign (E, EE) or the RA sign before the consonant cluster it belongs to, the
// two halves of O, OO and AU around it, AI as two E signs. The converter maps
// each code through its encoding's table and moves such signs after their
// cluster, glyph by glyph, so that a glyph that already holds its sign stays
// whole and nothing moves across a space, a letter of another kind or the end
// of the run.
//
// A virama the font drew visible before a consonant is followed by a zero
// width non-joiner, so that a Unicode font shows it as the legacy font did.
// In modern spelling it is followed by one only where the typist chose to
// show it, because the font could have joined the two consonants: where the
// font lacked the conjunct glyph, a Unicode font forms the conjunct. Modern
// spelling then also runs the result through a SpellingFilter.

#include <string>
#include <string_view>
#include <type_traits>

#include "families/LegacyEncoding.h"
#include "families/Spelling.h"
#include "families/UnicodePieceSink.h"

namespace maravelundi {

// Converts one run of glyph characters (see GlyphString.h) that are all set
// in fonts of `encoding`, within one paragraph. Hands each piece of Unicode
// to `sink` in logical order with the index in `glyphs` whose format it
// takes: a moved sign takes its consonant's. A character the encoding does
// not map passes unchanged. Linear in the run's length.
void ConvertLegacyRun(const LegacyEncoding& encoding, std::u16string_view glyphs, UnicodePieceSink& sink,
                      Spelling spelling = Spelling::kLegacy);

template <typename Function>
  requires std::invocable<Function&, std::u16string_view, std::size_t>
void ConvertLegacyRun(const LegacyEncoding& encoding, std::u16string_view glyphs, Function&& piece,
                      Spelling spelling = Spelling::kLegacy) {
  FunctionPieceSink<std::remove_reference_t<Function>> sink(piece);
  ConvertLegacyRun(encoding, glyphs, static_cast<UnicodePieceSink&>(sink), spelling);
}

// The whole run's Unicode text.
std::u16string ConvertLegacyText(const LegacyEncoding& encoding, std::u16string_view glyphs,
                                 Spelling spelling = Spelling::kLegacy);

}  // namespace maravelundi
