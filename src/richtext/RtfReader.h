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

// Where a character of the document came from in the markup: bytes
// [begin, end). A character read from a text byte, a `\'hh` byte or a
// `\uN` (with the fallback it drops) is `fromText`: those bytes are the
// character and nothing else, so a writer may put another text in their
// place and leave every other byte of the file as it was. A character a
// control word stands for (\par, \tab, \emdash) is not.
struct SourceSpan {
  std::uint32_t begin = 0;
  std::uint32_t end : 31 = 0;
  std::uint32_t fromText : 1 = 0;
};

struct RtfReadOptions {
  bool sourceSpans = false;  // fill RtfReading::sourceSpans (and sideSpans)
  // Read the shown text outside the body's flow (headers and footers, notes,
  // comments, the text of shapes and text boxes) into RtfReading::side;
  // without it that text is skipped, as the flat outputs want it.
  bool sideStories = false;
};

struct RtfReading {
  Document document;
  std::optional<ParseError> error;  // set when the bytes are not a readable RTF document
  std::vector<ReadWarning> warnings;  // in the order found
  // With RtfReadOptions::sourceSpans: one span per character of the document.
  std::vector<SourceSpan> sourceSpans = {};
  // With RtfReadOptions::sideStories: the shown text outside the body, each
  // destination in the order it appears, ended as a paragraph (a CR LF that
  // no markup stands for, its span empty at the destination's closing
  // brace, where it ends without one); and with sourceSpans its spans.
  Document side = {};
  std::vector<SourceSpan> sideSpans = {};
  // The offset of the brace that closes the (first) font table (no table:
  // nullopt), and a font number neither the tables nor the text use: where
  // and as what a writer adds a font.
  std::optional<std::size_t> fontTableEnd = {};
  std::int32_t unusedFontNumber = 0;

  bool Ok() const { return !error.has_value(); }
};

RtfReading ReadRtf(std::string_view bytes, const RtfReadOptions& options = {});

}  // namespace maravelundi
