#pragma once
// A DOCX package: the parts that hold text (the main document, headers,
// footers, footnotes, endnotes, comments), found through the main part's
// relationships, with its styles and theme.

#include <string>

#include "office/OfficeConversion.h"
#include "convert/ConversionProfile.h"
#include "package/ZipPackage.h"

namespace maravelundi {

// The package with its text parts converted in place.
Outcome<std::string> ConvertWordPackage(const ZipPackage& package, const ConversionProfile& profile,
                                        const OfficeOptions& options);

// The main document's body as a rich text document.
Outcome<Document> ReadWordText(const ZipPackage& package, const ConversionProfile& profile,
                               const OfficeOptions& options);

}  // namespace maravelundi
