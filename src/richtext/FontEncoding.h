#pragma once
// What the bytes of a font's text stand for. A font's name decides first:
// a legacy Malayalam font draws one glyph per byte whatever character set it
// declares (they declare ANSI, symbol, none, Mac's 256 ...), and the font
// "Symbol" draws its symbols whatever it declares. Other fonts take the code
// page of their `\cpgN`, else of their `\fcharsetN`; a font that names no
// real character set (none, default, Mac's 256) takes the document's
// (`\ansicpgN`, `\mac`).

#include <cstdint>
#include <optional>
#include <string_view>

namespace maravelundi {

// Each byte is its glyph character (GlyphChar): the reading of legacy fonts,
// and of Windows-1252, which ANSI fonts are in.
inline constexpr int kGlyphBytes = 0;
// Each byte is what the font "Symbol" draws (SymbolChar); 42 is the number
// Windows gives that code page.
inline constexpr int kSymbolBytes = 42;
// A character set without a code page of its own: the document's applies.
inline constexpr int kDocumentBytes = -1;

enum class FontKind : std::uint8_t {
  Legacy,  // a Rachana font (ra1 ... rl6) or an ML-TT, ML, MLB or GIST font, in any case
  Symbol,  // the font "Symbol", any case
  Other,
};

FontKind KindOfFont(std::string_view name);

// What `\fcharsetN` says: a code page, kGlyphBytes or kDocumentBytes;
// nothing for a character set not known here.
std::optional<int> CodePageOfCharset(std::int64_t charset);

// What `\cpgN` says: the code page when it is one decoded here, kGlyphBytes
// for 1252; nothing for a code page not decoded here.
std::optional<int> CodePageOfCpg(std::int64_t codePage);

// What a font entry declared, as the two functions above read it.
struct FontDeclaration {
  std::optional<int> charset;  // from \fcharsetN
  std::optional<int> cpg;      // from \cpgN, which outranks \fcharsetN in whichever order they come
  bool symbolCharset = false;  // \fcharset2: a font whose bytes are its own symbols (Wingdings ...)
};

// The bytes of a font of this kind and declaration: kGlyphBytes,
// kSymbolBytes or a code page that CodePageDecoder decodes.
// `documentCodePage` is the document's, kGlyphBytes when it names none.
int BytesOfFont(FontKind kind, const FontDeclaration& declared, int documentCodePage);

// Whether U+F020-U+F0FF in text of this font stand for its bytes 0x20-0xFF:
// Word and LibreOffice write the bytes of symbol fonts (by name or by
// character set) and of legacy fonts that way. In other fonts they are the
// private-use characters they are (cp950 puts user-defined characters there).
bool TakesPrivateUseAsBytes(FontKind kind, const FontDeclaration& declared);

// The bytes of a font's name in the font table: in the code page its \cpg
// or character set names; Western and symbol fonts, and those that name
// none, have their names in the document's code page, as Word writes them.
int BytesOfFontName(const FontDeclaration& declared, int documentCodePage);

}  // namespace maravelundi
