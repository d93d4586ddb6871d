#pragma once
// Reads a Rich Text document into the document model: the text with each
// character's format (font, bold, italic, underline, size, colour). Bytes of
// legacy 8-bit fonts become glyph characters (see GlyphString.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/Document.h"

namespace maravelundi {

// Why bytes are not a readable document. Callers and tests decide by the
// code; the message is for people.
enum class ParseErrorCode : std::uint8_t {
  Empty,            // no bytes at all
  NotRtf,           // the bytes do not begin with {\rtf
  UnclosedGroups,   // the file ends with groups still open
  TruncatedBinary,  // a \binN whose N bytes run past the end of the file
  NestingTooDeep,   // groups nested deeper than any writer nests them
  TooLarge,         // more text than the document model can index
};

// What is wrong with a document, and the byte offset where it was found.
struct ParseError {
  ParseErrorCode code = ParseErrorCode::NotRtf;
  std::string message;
  std::size_t offset = 0;
};

// Something the reader read but could not honour; the document is read all
// the same. Each kind is reported once per subject (one code page, one font
// number), and a hostile file gets no more than a bounded number in all.
enum class ReadWarningCode : std::uint8_t {
  UnknownCodePage,   // \ansicpgN or \cpgN names a code page not decoded here
  UnknownCharset,    // \fcharsetN names a character set not known here
  UndecodableBytes,  // bytes the font's code page has no character for: U+FFFD
  SkippedBinary,     // \binN data, which carries no text
  UnresolvedFont,    // \fN with no font table entry: the default font stands in
  StrayCloseBrace,   // a '}' closed the document early and text went on after it
  IgnoredAfterEnd,   // bytes after the document's last brace, not read
  SecondDocument,    // a further {\rtf document after the first, not read
  TooManyWarnings,   // the last one: further warnings were dropped
};

struct ReadWarning {
  ReadWarningCode code;
  std::string message;
  std::size_t offset = 0;
};

struct RtfReading {
  Document document;
  std::optional<ParseError> error;  // set when the bytes are not a readable RTF document
  std::vector<ReadWarning> warnings;  // in the order found

  bool Ok() const { return !error.has_value(); }
};

RtfReading ReadRtf(std::string_view bytes);

}  // namespace maravelundi
