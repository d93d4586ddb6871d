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
std::optional<std::uint8_t> GlyphCode(char16_t ch);

// Bytes of a legacy font, as glyph characters.
std::u16string GlyphString(std::string_view codes);

// UTF-8 of a string of 16-bit units; a surrogate without its partner becomes
// U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-16 of a UTF-8 string; malformed sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

}  // namespace maravelundi
