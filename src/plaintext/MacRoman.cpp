#include "plaintext/MacRoman.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "plaintext/MacRomanRows.h"

namespace maravelundi {
namespace {

using plaintext_statistics::CodeCharacterRow;
using plaintext_statistics::kMacRomanAliases;
using plaintext_statistics::kMacRomanRows;

constexpr bool EveryHighCodeInOrder() {
  if (std::size(kMacRomanRows) != 128) return false;
  for (std::size_t i = 0; i < std::size(kMacRomanRows); ++i) {
    if (kMacRomanRows[i].code != 0x80 + i || kMacRomanRows[i].character < 0x80) return false;
  }
  return true;
}
static_assert(EveryHighCodeInOrder(), "one character for each of the bytes 0x80-0xFF, in order, none ASCII");

// Every character once, sorted, for a binary search.
constexpr auto kByCharacter = [] {
  std::array<CodeCharacterRow, std::size(kMacRomanRows) + std::size(kMacRomanAliases)> rows{};
  auto end = std::copy(std::begin(kMacRomanRows), std::end(kMacRomanRows), rows.begin());
  std::copy(std::begin(kMacRomanAliases), std::end(kMacRomanAliases), end);
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.character < b.character; });
  return rows;
}();

static_assert(std::adjacent_find(kByCharacter.begin(), kByCharacter.end(), [](const auto& a, const auto& b) {
                return a.character == b.character;
              }) == kByCharacter.end(),
              "no character stands for two bytes");

}  // namespace

std::optional<std::uint8_t> MacRomanCode(char16_t ch) {
  if (ch < 0x80) return static_cast<std::uint8_t>(ch);
  const auto row = std::lower_bound(kByCharacter.begin(), kByCharacter.end(), ch,
                                    [](const CodeCharacterRow& r, char16_t c) { return r.character < c; });
  if (row == kByCharacter.end() || row->character != ch) return std::nullopt;
  return row->code;
}

char16_t MacRomanCharacter(std::uint8_t code) {
  return code < 0x80 ? char16_t{code} : kMacRomanRows[code - 0x80].character;
}

}  // namespace maravelundi
