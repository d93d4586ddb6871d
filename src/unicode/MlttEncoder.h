#pragma once
// Malayalam Unicode spelled in the ML-TT glyph encoding: the inverse of the
// entity table and of the walk's reordering. Unicode keeps letters in the
// order they are spoken; an ML-TT font draws them in the order they are
// seen, so a pre-base vowel sign (E, EE, AI, and the first half of O, OO and
// AU) and the RA sign go before the consonant cluster they belong to, and
// the second half of a two-part sign after it. Within a cluster the longest
// sequence the table has a glyph for wins (KA, virama, KA is one conjunct
// glyph).
//
// A character with no glyph passes unchanged; a zero width non-joiner, which
// ML-TT shows by not joining, is dropped. What comes out is glyph characters
// (see GlyphString.h), which the walk reads back as the same Unicode.

#include <string>
#include <string_view>

#include "families/LegacyEncoder.h"

namespace maravelundi {

std::u16string EncodeMltt(std::u16string_view unicode);

// The glyphs of the ML-TT fonts, as the entity table has them.
const GlyphInventory& MlttInventory();

}  // namespace maravelundi
