#pragma once
// One whole conversion of a source document, as the Convert command runs it:
// stage one by the chosen generation's transcoder, then the chosen output.

#include <string>
#include <string_view>

#include "richtext/ByteSink.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeDocument.h"

namespace maravelundi {

enum class OutputKind {
  kUnicode,  // the HTML document of Malayalam Unicode as character references
  kIsm,      // ML-TT Rich Text with break marks between unbound glyphs
  kMltt,     // ML-TT Rich Text straight from stage one
  kRtf,      // Unicode Rich Text, formatting kept
  kHtml5,    // a UTF-8 HTML5 document, formatting kept
  kText,     // UTF-8 plain text, one line per paragraph
};

struct ConversionOptions {
  std::string unicodeFont = std::string(kDefaultUnicodeFont);  // for Malayalam in the rtf and html5 outputs
  std::string title = "Maravelundi";                           // of the html5 document
  Spelling spelling = Spelling::kLegacy;                       // of every Unicode output
};

// Writes the bytes of the output file to `sink`. The unicode, ism and mltt
// files are written as one print line, so they end with an extra CR LF.
//
// With `mltt`, hands back the ML-TT document that the output was made from:
// stage one's document, or for ism the finished one, whose Rich Text and a
// CR LF are the ism file. A window keeps it to show and save. It is emptied
// before stage one, so an earlier result never sits in memory beside the new
// one; it must not be the source.
void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress = nullptr, const ConversionOptions& options = {},
                     Document* mltt = nullptr);
// The same, letting go of the source as soon as stage one is done with it,
// which lowers the peak memory of large conversions.
void ConvertDocument(Document&& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress = nullptr, const ConversionOptions& options = {},
                     Document* mltt = nullptr);
std::string ConvertDocument(const Document& source, Generation generation, OutputKind output,
                            ProgressSink* progress = nullptr, const ConversionOptions& options = {});

// The extension of an output file: ".html", ".rtf" or ".txt".
std::string_view OutputExtension(OutputKind output);

}  // namespace maravelundi
