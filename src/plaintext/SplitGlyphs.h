#pragma once
// How a typist of a legacy font typed: a font's glyphs do not join, so one
// who wanted KA with the U sign saw that shape only by typing the font's KU
// glyph, where the font had one; the KA glyph and the U sign's glyph side by
// side look wrong. Text that splits what a font joins was typed in another
// font. ML-TT has KU, ML has not: text typed in ML holds KA and U apart.
//
// Only splits no typist had reason for count: not a consonant and a virama
// before another consonant (a conjunct the font lacks, or a virama meant to
// show), nor a virama with a consonant after it (a YA or VA sign meant
// apart), nor a consonant that belongs to a larger cluster. A sign typed
// before a consonant that is a cluster by itself splits the consonant's
// glyph with that sign (EE before RA where the font has REE); a consonant,
// a virama and a consonant split the font's conjunct of the two.

#include <cstddef>
#include <string_view>

#include "families/LegacyEncoding.h"

namespace maravelundi {

// How many glyphs of `encoding` a word of glyph characters splits. Linear
// in the word's length.
std::size_t CountSplitGlyphs(const LegacyEncoding& encoding, std::u16string_view glyphs);

}  // namespace maravelundi
