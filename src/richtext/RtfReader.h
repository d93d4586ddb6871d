#pragma once
// Reads a Rich Text document into the document model: the text with each
// character's format (font, bold, italic, underline, size, colour). Bytes of
// legacy 8-bit fonts become glyph characters (see GlyphString.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "richtext/Document.h"

namespace maravelundi {

// What is wrong with a document, and the byte offset where it was found.
struct ParseError {
  std::string message;
  std::size_t offset = 0;
};

struct RtfReading {
  Document document;
  std::optional<ParseError> error;  // set when the bytes are not a readable RTF document

  bool Ok() const { return !error.has_value(); }
};

RtfReading ReadRtf(std::string_view bytes);

}  // namespace maravelundi
