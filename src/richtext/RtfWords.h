#pragma once
// The control words the reader acts on, as a table: each with what it does.

#include <cstdint>
#include <string_view>

namespace maravelundi {

// What a control word does to the reader. Words not listed are formatting the
// document model does not carry and are ignored (`\pard` among them: it
// leaves character formatting as it was); among them also `\loch`,
// `\hich`, `\dbch` and `\afN`: the font a writer names with `\fN` is the font
// of the characters that follow, whichever of those it sets (Word puts the
// Japanese font under `\dbch\f17`, LibreOffice repeats the Latin one as
// `\hich\af7\loch\f7`), and the associated font `\af` of right-to-left and
// East Asian text never changes it.
enum class WordAction : std::uint8_t {
  Char,           // a character word such as \emdash: `value` is the character
  Par,            // paragraph end: CR LF
  Break,          // \page, \sect: a paragraph end unless one was just written
  Line,           // line break inside a paragraph: LF
  Tab,
  Cell,           // end of a table cell: TAB, as the cells read in a row
  Row,            // end of a table row: CR LF
  Font,           // \fN: select a font, or number the next font table entry
  DefaultFont,    // \deffN
  Charset,        // \fcharsetN of a font table entry
  FontCodePage,   // \cpgN of a font table entry, which outranks its \fcharset
  DocCodePage,    // \ansicpgN, or `value` for \mac, \pc, \pca
  Plain,          // \plain: character formatting back to the defaults
  Bold,           // \b, \b0
  Italic,         // \i, \i0
  Underline,      // \ul and each kind of underline; a parameter of 0 ends it
  NoUnderline,    // \ulnone
  FontSize,       // \fsN, in half-points
  Colour,         // \cfN: an index into the colour table
  ColourTable,    // \colortbl
  ColourPart,     // \redN, \greenN, \blueN of a colour table entry: `value` 0, 1, 2
  UnicodeSkip,    // \ucN
  Unicode,        // \uN
  UnicodePair,    // \upr: an ANSI and a Unicode version of the same content
  UnicodeBranch,  // \ud: the Unicode version inside \upr
  FontTable,      // \fonttbl
  Skip,           // a destination whose content is not body text
  SideStory,      // text a word processor shows outside the body's flow: headers, notes,
                  // comments, text boxes; read as a story of its own when asked, else skipped
  Transparent,    // a destination whose content reads as the group around it
  Binary,         // \binN: N bytes of data, which the tokenizer steps over
};

struct WordRow {
  std::string_view name;
  WordAction action;
  std::uint16_t value = 0;
};

// The row of a control word, or nullptr for one the reader ignores.
const WordRow* FindWord(std::string_view name);

}  // namespace maravelundi
