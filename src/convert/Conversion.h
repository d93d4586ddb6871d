#pragma once
// One whole conversion of a source document, as the Convert command runs it:
// stage one by the chosen generation's transcoder, then the chosen output.

#include <string>
#include <string_view>

#include "richtext/ByteSink.h"
#include "richtext/Document.h"
#include "transcode/Progress.h"
#include "transcode/Transcoder.h"

namespace maravelundi {

enum class OutputKind {
  kUnicode,  // the HTML document of Malayalam Unicode
  kIsm,      // ML-TT Rich Text with break marks between unbound glyphs
  kMltt,     // ML-TT Rich Text straight from stage one
};

// Writes the bytes of the output file to `sink`. Output files are written as
// one print line, so every output ends with an extra CR LF.
void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress = nullptr);
std::string ConvertDocument(const Document& source, Generation generation, OutputKind output,
                            ProgressSink* progress = nullptr);

// The extension of an output file: ".html" or ".rtf".
std::string_view OutputExtension(OutputKind output);

}  // namespace maravelundi
