#pragma once
// Mac Roman, the code page of legacy fonts made on the Macintosh. Text copied
// out of such a font holds, for each code, the character Mac Roman gives it
// (0xB9 arrives as U+03C0, pi), where text of a font made on Windows holds
// the Windows-1252 character (GlyphString.h).

#include <cstdint>
#include <optional>

namespace maravelundi {

// The code a character stands for in Mac Roman: ASCII as itself, the
// characters of bytes 0x80-0xFF (and the older characters of a few of them)
// as their byte; nullopt for any other character.
std::optional<std::uint8_t> MacRomanCode(char16_t ch);

// The character Mac Roman gives a code.
char16_t MacRomanCharacter(std::uint8_t code);

}  // namespace maravelundi
