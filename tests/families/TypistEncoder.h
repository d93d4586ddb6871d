#pragma once
// Types a Unicode word in a legacy font the way a typist did: each letter or
// conjunct by the longest glyph the font has for it, a pre-base vowel sign
// (E, EE, the first half of O, OO, AU, both halves of AI) and the RA sign
// before their cluster, before its last consonant glyph where the font has no
// glyph for the whole cluster. The letters II, UU, AI, OO, AU, which no
// legacy font has, are typed as their two glyphs.
//
// Written apart from the converter, from the typist's side, so that a round
// trip through both checks one against the other.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "families/LegacyEncoding.h"

namespace maravelundi::testing {

class TypistEncoder {
 public:
  explicit TypistEncoder(const LegacyEncoding& encoding);

  // The word's glyph string (see GlyphString.h), or nothing when the font has
  // no glyph for some part of it.
  std::optional<std::u16string> Type(std::u16string_view word) const;

 private:
  std::map<std::u16string, std::uint8_t, std::less<>> codeOf_;
  std::size_t longest_ = 0;
};

}  // namespace maravelundi::testing
