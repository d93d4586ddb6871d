#pragma once
// Windows-1252 differs from Latin-1 only in bytes 0x80-0x9F. Its characters
// for them are written here once; the inverse, character to byte, is derived
// from the same rows when compiling. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for themselves.

#include <algorithm>
#include <array>
#include <cstdint>

namespace maravelundi {

inline constexpr std::uint8_t kWindows1252First = 0x80;

inline constexpr std::array<char16_t, 32> kWindows1252High = {
    /* 80 */ 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    /* 88 */ 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    /* 90 */ 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    /* 98 */ 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct Windows1252Inverse {
  char16_t character;
  std::uint8_t byte;
};

// The rows above turned round and sorted by character, for a binary search.
inline constexpr std::array<Windows1252Inverse, 32> kWindows1252ByCharacter = [] {
  std::array<Windows1252Inverse, 32> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i] = {kWindows1252High[i], static_cast<std::uint8_t>(kWindows1252First + i)};
  }
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.character < b.character; });
  return rows;
}();

// No two bytes share a character, and none of them is a Latin-1 character
// 0xA0-0xFF or ASCII, which stand for their own byte.
static_assert(std::adjacent_find(kWindows1252ByCharacter.begin(), kWindows1252ByCharacter.end(),
                                 [](const auto& a, const auto& b) { return a.character == b.character; }) ==
              kWindows1252ByCharacter.end());
static_assert(std::none_of(kWindows1252High.begin(), kWindows1252High.end(),
                           [](char16_t ch) { return ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF); }));

}  // namespace maravelundi
