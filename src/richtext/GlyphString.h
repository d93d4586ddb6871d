#pragma once
// A legacy 8-bit font draws one glyph per byte. Rich text hands those bytes
// over as 16-bit characters: 0x00-0x7F and 0xA0-0xFF as themselves, 0x80-0x9F
// as the characters Windows-1252 gives them (0x93 arrives as U+201C). The five
// bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep
// their own value. Every glyph table compares such characters exactly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>


namespace maravelundi {

// The character that stands for byte `code` of a legacy font.
char16_t GlyphChar(std::uint8_t code);

// The byte a character stands for, if it is one of the 256 glyph characters.
// Inline: every character of a conversion goes through it.
constexpr std::optional<std::uint8_t> GlyphCode(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<std::uint8_t>(ch);
  switch (ch) {
    case 0x0081: case 0x008D: case 0x008F: case 0x0090: case 0x009D: return static_cast<std::uint8_t>(ch);
    case 0x20AC: return 0x80;
    case 0x201A: return 0x82;
    case 0x0192: return 0x83;
    case 0x201E: return 0x84;
    case 0x2026: return 0x85;
    case 0x2020: return 0x86;
    case 0x2021: return 0x87;
    case 0x02C6: return 0x88;
    case 0x2030: return 0x89;
    case 0x0160: return 0x8A;
    case 0x2039: return 0x8B;
    case 0x0152: return 0x8C;
    case 0x017D: return 0x8E;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x02DC: return 0x98;
    case 0x2122: return 0x99;
    case 0x0161: return 0x9A;
    case 0x203A: return 0x9B;
    case 0x0153: return 0x9C;
    case 0x017E: return 0x9E;
    case 0x0178: return 0x9F;
    default: return std::nullopt;
  }
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
