#pragma once
// Which fonts' text the engine converts, and how a word processor stores the
// bytes of such a font. The engine converts a Rachana font of the chosen
// generation through its glyph table, takes an ML-TT font ("ML-") as already
// in the ML-TT encoding, and with the other legacy families on, converts
// their fonts by their own encodings (to ML-TT too, for the ML-TT outputs);
// anything else it copies, so text in any other font is left exactly where
// and as it is.

#include <string_view>

#include <cstdint>

namespace maravelundi {


// The glyph character (GlyphChar) of a character stored in a legacy font's
// text: Word and LibreOffice store the bytes of a font that declares the
// symbol character set as U+F020..U+F0FF; every other character stands for
// itself, as Rich Text hands the bytes over.
char16_t GlyphOfStoredChar(char16_t stored);

// The glyph character of a w:sym's w:char (hex, "F06B" or "6B").
char16_t GlyphOfSymbolCode(unsigned code);

}  // namespace maravelundi
