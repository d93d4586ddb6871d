#pragma once
// The shape of the double-byte code pages (Japanese, Chinese, Korean): which
// bytes lead a two-byte character and which may follow, and the
// user-defined areas that Windows maps to private-use characters.

#include <cstdint>
#include <optional>

namespace maravelundi {

// Whether `codePage` has two-byte characters led by `lead` and completed by
// `trail`. Such a pair is one character even where the code page assigns it
// none: its second byte is not a character of its own.
bool IsDoubleBytePair(int codePage, std::uint8_t lead, std::uint8_t trail);

// The private-use character Windows gives a pair of a user-defined area
// (cp932 0xF040-0xF9FC from U+E000, and the areas of 936, 949 and 950).
std::optional<char16_t> UserDefinedChar(int codePage, std::uint8_t lead, std::uint8_t trail);

}  // namespace maravelundi
