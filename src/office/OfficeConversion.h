#pragma once
// Word processors' documents, DOCX and ODT, converted as wholes. In place,
// every part of the package is copied unchanged but the XML that holds text,
// and in that only the text set in a legacy Malayalam font changes, each
// converted run keeping all its other properties. The new files (text, HTML,
// Rich Text) read the document's body as a rich text document and convert it
// as Rich Text input converts.

#include <string>
#include <string_view>

#include "convert/Conversion.h"
#include "convert/ConversionProfile.h"
#include "package/DocumentFormat.h"
#include "package/PackageError.h"
#include "package/PackageLimits.h"
#include "package/ZipPackage.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

struct OfficeOptions {
  PackageLimits limits;
  ProgressSink* progress = nullptr;
};

using OfficeResult = Outcome<std::string>;

// The output's bytes, or what is wrong with the package (the part named);
// `format` is kDocx or kOdt, as DetectDocumentFormat found it. kInPlace
// gives a package of the same format, its legacy text in the profile's
// target; the other outputs convert the body, `title` naming an HTML5 one.
OfficeResult ConvertOfficeDocument(std::string_view packageBytes, DocumentFormat format, OutputKind output,
                                   const ConversionProfile& profile, const OfficeOptions& options = {},
                                   std::string_view title = kDefaultTitle);

// The same for a package already open, as format detection opened it.
OfficeResult ConvertOfficePackage(const ZipPackage& package, DocumentFormat format, OutputKind output,
                                  const ConversionProfile& profile, const OfficeOptions& options = {},
                                  std::string_view title = kDefaultTitle);

// The body's text with its character formats, paragraphs ended by CR LF, as
// the Rich Text reader gives a document: the source of the new files. The
// profile says which fonts are legacy fonts, whose text reads as glyphs.
Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const ConversionProfile& profile, const OfficeOptions& options = {});
Outcome<Document> ReadOfficePackage(const ZipPackage& package, DocumentFormat format, const ConversionProfile& profile,
                                    const OfficeOptions& options = {});

}  // namespace maravelundi
