#pragma once
// An ODT package: content.xml (the body, notes, annotations, text boxes) and
// styles.xml (headers and footers, and the common styles both parts use).

#include <string>

#include "office/OfficeConversion.h"
#include "convert/ConversionProfile.h"
#include "package/ZipPackage.h"

namespace maravelundi {

Outcome<std::string> ConvertOdfPackage(const ZipPackage& package, const ConversionProfile& profile,
                                       const OfficeOptions& options);

// The body of content.xml as a rich text document; notes, annotations and
// the record of deleted text are left out.
Outcome<Document> ReadOdfText(const ZipPackage& package, const ConversionProfile& profile,
                              const OfficeOptions& options);

}  // namespace maravelundi
