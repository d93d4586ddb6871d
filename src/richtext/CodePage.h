#pragma once
// The code pages of non-Western fonts in Rich Text. A font declares its
// character set (`\fcharsetN`); text in such a font arrives as bytes of the
// matching Windows or Mac code page, double-byte ones (Japanese, Chinese,
// Korean) as pairs of `\'hh` escapes, and is decoded to UTF-16 here.
//
// Western, default and symbol fonts, and so every legacy 8-bit font, have no
// code page in this sense: their bytes stay glyph characters (GlyphString.h).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace maravelundi {

// The code page a `\fcharsetN` stands for, or 0 when the font's bytes keep
// the glyph convention: ANSI, default and symbol fonts, Mac Word's 256 and
// character sets not known here.
int CodePageOfCharset(std::int64_t charset);

// Whether `codePage` (as `\ansicpgN` or `\cpgN` give it) is one this file
// decodes; 1252 is not, since the glyph convention already reads it.
bool IsDecodedCodePage(std::int64_t codePage);

// Decodes bytes of the code pages above, keeping the converters it opened
// for the next call. One decoder serves one thread.
class CodePageDecoder {
 public:
  CodePageDecoder() = default;
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;
  ~CodePageDecoder();

  // Appends the text of `bytes` to `out`. A byte that starts no character of
  // the code page (or a lead byte cut off by the end) becomes U+FFFD and
  // decoding resumes at the next byte, so nothing is lost silently and every
  // call ends. A code page without a converter keeps the glyph convention.
  void Append(int codePage, std::string_view bytes, std::u16string& out);

 private:
  void* ConverterFor(int codePage);

  std::vector<std::pair<int, void*>> converters_;  // iconv descriptors by code page; null when unavailable
};

}  // namespace maravelundi
