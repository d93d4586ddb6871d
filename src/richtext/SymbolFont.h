#pragma once
// The font "Symbol" draws Greek letters and mathematical signs where other
// fonts draw Latin ones: its byte 0x61 is α, 0xB7 is •. Text set in it comes
// as those bytes (or as U+F020-U+F0FF, the private-use copies of them), and
// reads as the characters the font shows.

#include <cstdint>

namespace maravelundi {

// The character the font "Symbol" draws for `byte`. A control byte is
// itself; another byte it draws nothing for is U+F000 plus the byte.
char16_t SymbolChar(std::uint8_t byte);

}  // namespace maravelundi
