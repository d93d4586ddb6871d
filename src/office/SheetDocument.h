#pragma once
// Excel workbooks (XLSX) converted in place. A cell's text takes its font
// from the cell's style (styles.xml: cellXfs, fonts), or, run by run, from
// the rich text of the string itself (<r><rPr><rFont>); a comment's runs
// from their own properties. Where either is a
// legacy font the text is converted: the string's runs come back in the
// Unicode font, the cell's style gets a twin whose font is the Unicode one,
// and everything else in the package stays byte for byte.
//
// One shared string may be shown by a cell in a legacy font and by another
// in Arial: the cells that need it converted get a string of their own,
// appended to the table, and the rest keep the original. Numbers, dates,
// formulas, sheet names, charts and pictures are not text a font is applied
// to as typed, and stay as they are; so do a formula's literal strings.

#include <string>

#include "convert/ConversionProfile.h"
#include "office/OfficeConversion.h"
#include "package/PackageError.h"
#include "package/ZipPackage.h"

namespace maravelundi {

Outcome<std::string> ConvertSheetPackage(const ZipPackage& package, const ConversionProfile& profile,
                                         const OfficeOptions& options);

}  // namespace maravelundi
