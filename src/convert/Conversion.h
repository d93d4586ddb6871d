#pragma once
// One whole conversion of a source document into a new file: stage one and
// what the profile's target makes of it, then the chosen kind of output.

#include <string>
#include <string_view>

#include "convert/ConversionProfile.h"
#include "richtext/ByteSink.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

// What a conversion writes. The profile's target says what the legacy text
// becomes; the HTML and text outputs are Unicode's.
enum class OutputKind {
  kUnicodeHtml,  // the HTML document of Malayalam Unicode as character references
  kRichText,     // a new Rich Text document: Unicode with its formatting kept, or the ML-TT text
                 // (with break marks between unbound glyphs for ISM)
  kHtml5,        // a UTF-8 HTML5 document, formatting kept
  kText,         // UTF-8 plain text, one line per paragraph
  kInPlace,      // the document itself, its legacy text converted where it stands
};

inline constexpr std::string_view kDefaultTitle = "Maravelundi";

// Writes the bytes of the output file to `sink`; `output` is any kind but
// kInPlace, which needs the document's markup (ConvertRtfInPlace and the
// office layer). The HTML of character references and the ML-TT Rich Text are
// written as one print line, so they end with an extra CR LF. `title` is the
// HTML5 document's.
//
// With `mltt`, hands back the ML-TT document that the output was made from:
// stage one's document, or for ISM the finished one, whose Rich Text and a
// CR LF are the ISM file. A window keeps it to show and save. It is emptied
// before stage one, so an earlier result never sits in memory beside the new
// one; it must not be the source.
void ConvertDocument(const Document& source, OutputKind output, const ConversionProfile& profile, ByteSink& sink,
                     ProgressSink* progress = nullptr, std::string_view title = kDefaultTitle,
                     Document* mltt = nullptr);
// The same, letting go of the source as soon as stage one is done with it,
// which lowers the peak memory of large conversions.
void ConvertDocument(Document&& source, OutputKind output, const ConversionProfile& profile, ByteSink& sink,
                     ProgressSink* progress = nullptr, std::string_view title = kDefaultTitle,
                     Document* mltt = nullptr);
std::string ConvertDocument(const Document& source, OutputKind output, const ConversionProfile& profile,
                            ProgressSink* progress = nullptr, std::string_view title = kDefaultTitle);

// The source's text as the Unicode outputs hold it, formatting kept, with
// the profile's generation, spelling and Unicode font: what a writer of
// another format (a new DOCX or ODT) writes.
Document ConvertToUnicodeDocument(const Document& source, const ConversionProfile& profile,
                                  ProgressSink* progress = nullptr);

// The extension of a new file of that kind: ".html", ".rtf" or ".txt".
std::string_view OutputExtension(OutputKind output);

}  // namespace maravelundi
