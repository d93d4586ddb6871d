#pragma once
// The glyph table of one legacy source font: for each code it lists, the
// ML-TT glyph string that draws the same text; for every other input, the
// table's own no-match result.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "richtext/GlyphString.h"

namespace maravelundi {

// One row as the tables list it: a source code and its ML-TT codes.
struct GlyphRow {
  std::uint8_t key;
  std::string_view codes;
};

// Whether no key is listed twice; checked at compile time for every table.
template <std::size_t N>
constexpr bool KeysAreUnique(const GlyphRow (&rows)[N]) {
  std::array<bool, 256> seen{};
  for (const GlyphRow& row : rows) {
    if (seen[row.key]) return false;
    seen[row.key] = true;
  }
  return true;
}

// What a table gives for an input it has no row for.
enum class NoMatch {
  kEmpty,  // nothing
  kInput,  // the input itself
  kSpace,  // a single space
};

class FontTable {
 public:
  FontTable(std::span<const GlyphRow> rows, NoMatch noMatch);

  // The result for a glyph string. Only a single glyph character can match a
  // row; anything else (empty, longer, a character no code stands for, a code
  // without a row) gets the no-match result.
  std::u16string_view Lookup(std::u16string_view glyph) const;

  // The same for one character, without building a string; `ch` must outlive
  // the result, which may be `ch` itself.
  std::u16string_view Lookup(const char16_t& ch) const {
    if (const auto code = GlyphCode(ch); code && listed_[*code]) return values_[*code];
    return NoMatchFor(std::u16string_view(&ch, 1));
  }

  // The result for each of the 256 glyph characters, the no-match ones
  // included, decided once and packed in a fixed size: stage one looks
  // every character up and copies its result whole, then steps by its length.
  struct Packed {
    std::array<char16_t, 7> units;  // a result has at most kMaxResult; the rest is zero
    std::uint8_t length;
  };
  static constexpr std::size_t kMaxResult = 7;
  const Packed& ForCode(std::uint8_t code) const { return byCode_[code]; }

  // The rows as the table lists them.
  std::span<const GlyphRow> Rows() const { return rows_; }
  std::size_t RowCount() const { return rows_.size(); }
  NoMatch NoMatchResult() const { return noMatch_; }

 private:
  std::u16string_view NoMatchFor(std::u16string_view glyph) const;

  std::array<std::u16string, 256> values_;
  std::array<Packed, 256> byCode_{};
  std::array<bool, 256> listed_{};
  std::span<const GlyphRow> rows_;
  NoMatch noMatch_;
};

}  // namespace maravelundi
