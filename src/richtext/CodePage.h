#pragma once
// The code pages of non-Western text in Rich Text. Text in a font with a
// character set, or in a document with a code page (FontEncoding.h says
// which applies), arrives as bytes of the matching Windows or Mac code page,
// double-byte ones (Japanese, Chinese, Korean) as pairs of `\'hh` escapes,
// and is decoded to UTF-16 here.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace maravelundi {

// Whether `codePage` (as `\ansicpgN` or `\cpgN` give it) is one this file
// decodes; 1252 is not, since the glyph convention already reads it.
bool IsDecodedCodePage(std::int64_t codePage);

// What decoding some bytes met besides text.
struct DecodeReport {
  bool noConverter = false;    // the system has no converter: the bytes stayed glyphs
  std::size_t undecodable = 0;  // characters that became U+FFFD
};

// Decodes bytes of the code pages above, keeping the converters it opened
// for the next call. One decoder serves one thread.
class CodePageDecoder {
 public:
  CodePageDecoder() = default;
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;
  ~CodePageDecoder();

  // Appends the text of `bytes` to `out`. A lead and a trail byte form one
  // character even where the code page has none for them: the private-use
  // character of a user-defined area, else U+FFFD. Any other byte that
  // starts no character (or a lead byte cut off by the end) becomes U+FFFD
  // and decoding resumes at the next byte, so nothing is lost silently and
  // every call ends. A code page without a converter keeps the glyph
  // convention.
  DecodeReport Append(int codePage, std::string_view bytes, std::u16string& out);

 private:
  void* ConverterFor(int codePage);
  // Writes the character for the undecodable bytes at the start of `rest`
  // and says how many it took.
  static std::size_t StepOverUndecodable(int codePage, std::string_view rest, std::u16string& out,
                                         DecodeReport& report);

  std::vector<std::pair<int, void*>> converters_;  // iconv descriptors by code page; null when unavailable
};

}  // namespace maravelundi
