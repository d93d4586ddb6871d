#pragma once
// A plain-text file of legacy-font text, as people hold it: pasted out of old
// web pages, e-mails and PDFs, it arrives as Latin "garbage" in one of a few
// forms. The decoder reads the file's form, turns every character into the
// code it stands for, and keeps both readings of the codes (GlyphText.h).
//
//   - UTF-8, each code as its Windows-1252 or Mac Roman character, or as
//     U+F000 plus the code (a symbol font's private-use characters);
//   - UTF-16, little or big endian, after its byte order mark (or, without
//     one, where every other byte is zero);
//   - anything that is not UTF-8: one code per byte.
//
// A C1 control character (U+0080-U+009F) in decoded text stands for its own
// byte: text read as Latin-1 where it was Windows-1252 holds them. Line ends
// (CR LF, LF, CR, a vertical tab, a form feed, U+2028, U+2029) become '\n',
// each one a paragraph's end; NUL characters go. Decoding is total: every
// input gives a text.

#include <cstdint>
#include <string>
#include <string_view>

#include "plaintext/GlyphText.h"

namespace maravelundi {

enum class TextForm : std::uint8_t {
  kUtf8,
  kUtf16LittleEndian,
  kUtf16BigEndian,
  kBytes,  // not UTF-8: each byte a code
};

struct DecodedText {
  TextForm form = TextForm::kUtf8;
  bool byteOrderMark = false;
  bool privateUse = false;  // some codes came as U+F000 plus the code

  std::u16string characters;   // as decoded, line ends as '\n'
  std::u16string windows1252;  // the Windows-1252 reading
  std::u16string macRoman;     // the Mac Roman reading; empty where it is the same

  GlyphText Glyphs() const { return GlyphText{windows1252, macRoman, characters}; }
};

DecodedText DecodeLegacyText(std::string_view bytes);

// The name of a form, for messages: "UTF-8", "UTF-16LE", "UTF-16BE", "8-bit".
std::string_view TextFormName(TextForm form);

}  // namespace maravelundi
