#include "office/OfficeConversion.h"

#include "office/OdfDocument.h"
#include "office/SheetDocument.h"
#include "office/SlideDocument.h"
#include "office/WordDocument.h"

namespace maravelundi {
namespace {

PackageError NotOffice(DocumentFormat format) {
  return PackageError{PackageErrorCode::kNotAPackage, "",
                      "a " + std::string(DocumentFormatName(format)) +
                          " document is not a DOCX, ODT, XLSX, ODS, PPTX or ODP package"};
}

// A workbook or a presentation has no body to read as one text: it
// converts in place only.
PackageError NoBody(DocumentFormat format) {
  const bool sheet = ClassOf(format) == DocumentClass::kSpreadsheet;
  return PackageError{PackageErrorCode::kNotWordProcessing, "",
                      std::string(sheet ? "a spreadsheet" : "a presentation") + " converts in place, as " +
                          (sheet ? "a spreadsheet" : "a presentation") + " (" +
                          std::string(DocumentFormatName(format)) + "), and has no text output"};
}

bool IsPackage(DocumentFormat format) { return IsOwnPackage(format); }

}  // namespace

OfficeResult ConvertOfficeDocument(std::string_view packageBytes, DocumentFormat format, OutputKind output,
                                   const ConversionProfile& profile, const OfficeOptions& options,
                                   std::string_view title) {
  if (!IsPackage(format)) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  return ConvertOfficePackage(package.Value(), format, output, profile, options, title);
}

OfficeResult ConvertOfficePackage(const ZipPackage& package, DocumentFormat format, OutputKind output,
                                  const ConversionProfile& profile, const OfficeOptions& options,
                                  std::string_view title) {
  if (!IsPackage(format)) return NotOffice(format);
  if (ClassOf(format) != DocumentClass::kText) {
    if (output != OutputKind::kInPlace) return NoBody(format);
    if (format == DocumentFormat::kXlsx) return ConvertSheetPackage(package, profile, options);
    if (format == DocumentFormat::kPptx) return ConvertSlidePackage(package, profile, options);
    return ConvertOdfPackage(package, profile, options);  // ODS and ODP: OpenDocument, as ODT
  }
  if (output != OutputKind::kInPlace) {
    Outcome<Document> document = ReadOfficePackage(package, format, profile, options);
    if (!document.Ok()) return document.Error();
    return ConvertDocument(document.Value(), output, profile, options.progress, title);
  }
  return format == DocumentFormat::kDocx ? ConvertWordPackage(package, profile, options)
                                         : ConvertOdfPackage(package, profile, options);
}

Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const ConversionProfile& profile, const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  return ReadOfficePackage(package.Value(), format, profile, options);
}

Outcome<Document> ReadOfficePackage(const ZipPackage& package, DocumentFormat format, const ConversionProfile& profile,
                                    const OfficeOptions& options) {
  if (ClassOf(format) != DocumentClass::kText) return NoBody(format);
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  return format == DocumentFormat::kDocx ? ReadWordText(package, profile, options)
                                         : ReadOdfText(package, profile, options);
}

}  // namespace maravelundi
