#pragma once
// Writes a document as Rich Text: a font table naming every font used, and
// each character in its font. Reading the result back gives the same
// characters and fonts.

#include <string>

#include "richtext/ByteSink.h"
#include "richtext/Document.h"
#include "transcode/Progress.h"

namespace maravelundi {

// Hands the markup to `sink` in pieces, reporting progress run by run.
void WriteRtf(const Document& document, ByteSink& sink, ProgressSink* progress = nullptr);
std::string WriteRtf(const Document& document);

}  // namespace maravelundi
