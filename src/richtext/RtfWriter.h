#pragma once
// Writes a document as Rich Text: a font table naming every font used, and
// each character in its font. Reading the result back gives the same
// characters and fonts; with formatting asked for, the same whole formats.

#include <string>

#include "richtext/ByteSink.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

struct RtfWriteOptions {
  // Bold, italic, underline, size and colour too. Without it the markup
  // carries fonts only, and runs that differ in nothing else are written as
  // one, byte for byte as documents without formatting always were.
  bool formatting = false;
};

// Hands the markup to `sink` in pieces, reporting progress run by run.
void WriteRtf(const Document& document, ByteSink& sink, ProgressSink* progress = nullptr);
void WriteRtf(const Document& document, ByteSink& sink, const RtfWriteOptions& options,
              ProgressSink* progress = nullptr);
std::string WriteRtf(const Document& document);
std::string WriteRtf(const Document& document, const RtfWriteOptions& options);

}  // namespace maravelundi
