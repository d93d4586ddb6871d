#pragma once
// A legacy font's codes as a PDF's text layer gives them back, in one of
// three ways: as Windows-1252 characters (a TrueType font with a Windows
// Unicode cmap, the usual case), as private-use U+F020..U+F0FF (a symbol
// cmap), or as whatever the font's ToUnicode map says. Each becomes the
// glyph character of its code, as every reader of ours hands legacy text
// over. Some codes cannot be known: WinAnsi shows 0x7F, 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D all as a bullet (and 0x95 is one), and 0xA0 as a space;
// they are counted, never guessed at silently. Malayalam Unicode that a
// ToUnicode map gives already is Unicode, and is kept as it is.

#include <cstddef>
#include <string>
#include <string_view>

namespace maravelundi {

struct DecodedCodes {
  std::u16string glyphs;        // the glyph characters; Unicode Malayalam and unknown characters as they are
  std::size_t ambiguous = 0;    // bullets: one of several codes
  std::size_t unicode = 0;      // Malayalam Unicode already
  std::size_t unknown = 0;      // characters that stand for no code
};

// Appends the decoding of `text` to `into`.
void DecodeCodes(std::u16string_view text, DecodedCodes& into);

bool IsMalayalamUnicode(char16_t ch);

}  // namespace maravelundi
