#pragma once
// The ordered rules that put ML-TT text, stored in visual order, into Unicode
// logical order. At each position the first rule whose pattern matches the
// next four characters is applied: it appends its pieces and uses up its
// positions. Look-ahead past the end of the text reads as empty.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace maravelundi {

struct PatternCell {
  enum class Kind : std::uint8_t {
    kAny,  // any character, or none
    kIs,   // exactly this character
    kIn,   // one of these characters, or none (past the end)
  };
  Kind kind = Kind::kAny;
  char16_t ch = 0;
  std::u16string_view set;
};

inline constexpr std::size_t kMaxOutputPieces = 3;

struct OutputPiece {
  enum class Kind : std::uint8_t {
    kNone,
    kUnitAt,  // the entity of the character `offset` positions on (empty past the end)
    kUnit,    // the entity of a fixed unit
    kText,    // character references written out
  };
  Kind kind = Kind::kNone;
  std::uint8_t offset = 0;
  std::u16string_view unit;
  std::string_view text;
  // The position, counted from the rule's first, whose character format the
  // piece takes: its own for a letter, its consonant's for a sign that the
  // rule moves behind the consonant.
  std::uint8_t from = 0;
};

struct UnicodeRule {
  int number;
  std::array<PatternCell, 4> pattern;
  std::array<OutputPiece, kMaxOutputPieces> output;
  std::size_t consumed;
};

std::span<const UnicodeRule> UnicodeRules();

}  // namespace maravelundi
