#pragma once
// A legacy 8-bit font draws one glyph per byte. Rich text hands those bytes
// over as 16-bit characters: 0x00-0x7F and 0xA0-0xFF as themselves, 0x80-0x9F
// as the characters Windows-1252 gives them (0x93 arrives as U+201C). The five
// bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep
// their own value. Every glyph table compares such characters exactly.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "richtext/Windows1252.h"

namespace maravelundi {

// The character that stands for byte `code` of a legacy font.
constexpr char16_t GlyphChar(std::uint8_t code) {
  const std::size_t high = std::size_t{code} - kWindows1252First;  // wraps round below 0x80
  return high < kWindows1252High.size() ? kWindows1252High[high] : char16_t{code};
}

// The byte a character stands for, if it is one of the 256 glyph characters.
// Inline: every character of a conversion goes through it.
constexpr std::optional<std::uint8_t> GlyphCode(char16_t ch) {
  if (ch < kWindows1252First || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<std::uint8_t>(ch);
  const auto row = std::lower_bound(kWindows1252ByCharacter.begin(), kWindows1252ByCharacter.end(), ch,
                                    [](const Windows1252Inverse& r, char16_t c) { return r.character < c; });
  if (row == kWindows1252ByCharacter.end() || row->character != ch) return std::nullopt;
  return row->byte;
}

// Bytes of a legacy font, as glyph characters.
std::u16string GlyphString(std::string_view codes);

// Appends the UTF-8 of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// UTF-8 of a string of 16-bit units; a surrogate without its partner becomes
// U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-16 of a UTF-8 string; malformed sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace maravelundi
