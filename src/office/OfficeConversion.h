#pragma once
// Word processors' documents, DOCX and ODT, converted as wholes. The outputs
// of the same format convert in place: every part of the package is copied
// unchanged but the XML that holds text, and in that only the text set in a
// legacy Malayalam font changes, each converted run keeping all its other
// properties. The flat outputs (text, HTML, Rich Text) read the document's
// body as a rich text document and convert it as Rich Text input converts.

#include <string>
#include <string_view>

#include "families/Spelling.h"
#include "package/DocumentFormat.h"
#include "package/PackageError.h"
#include "package/PackageLimits.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "transcode/GlyphTables.h"
#include "unicode/UnicodeDocument.h"

namespace maravelundi {

enum class OfficeOutput {
  kUnicode,      // the same format; legacy text in Malayalam Unicode, in the Unicode font
  kMltt,         // the same format; legacy text in the ML-TT encoding, in "ML-TTRevathi"
  kIsm,          // as kMltt, with break marks between unbound glyphs
  kText,         // UTF-8 plain text of the body
  kHtml5,        // an HTML5 document of the body
  kRtf,          // Unicode Rich Text of the body
  kUnicodeHtml,  // the HTML document of character references of the body
};

struct OfficeOptions {
  Generation generation = Generation::kAuto;
  std::string unicodeFont = std::string(kDefaultUnicodeFont);
  std::string title = "Maravelundi";  // of an HTML5 output
  Spelling spelling = Spelling::kLegacy;  // of the Malayalam of every Unicode output
  PackageLimits limits;
  ProgressSink* progress = nullptr;
};

using OfficeResult = Outcome<std::string>;

// The output's bytes, or what is wrong with the package (the part named);
// `format` is kDocx or kOdt, as DetectDocumentFormat found it.
OfficeResult ConvertOfficeDocument(std::string_view packageBytes, DocumentFormat format, OfficeOutput output,
                                   const OfficeOptions& options = {});

// The body's text with its character formats, paragraphs ended by CR LF, as
// the Rich Text reader gives a document: the source of the flat outputs.
Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const OfficeOptions& options = {});

// Whether an output keeps the input's format (a DOCX stays a DOCX).
bool IsInPlaceOutput(OfficeOutput output);

}  // namespace maravelundi
