#pragma once
// PowerPoint presentations (PPTX) converted in place. Text lives in the text
// bodies of shapes, grouped shapes and table cells, on the slides and on the
// layouts, masters, notes and handout pages behind them; each body is
// converted as one story, and only the runs set in a legacy font change,
// into runs in the Unicode font with all their other properties. A run
// without a typeface of its own takes the one PowerPoint would show it in:
// through the body's list style, the placeholder it fills on the layout and
// the master, the master's text styles and the presentation's defaults,
// with theme fonts ("+mn-lt") named by the master's theme. Every part that
// holds no converted text (charts, pictures, diagrams, the presentation
// itself) stays byte for byte; a part a relationship names but the package
// lacks is passed over.

#include <string>

#include "convert/ConversionProfile.h"
#include "office/OfficeConversion.h"
#include "package/PackageError.h"
#include "package/ZipPackage.h"

namespace maravelundi {

Outcome<std::string> ConvertSlidePackage(const ZipPackage& package, const ConversionProfile& profile,
                                         const OfficeOptions& options);

}  // namespace maravelundi
