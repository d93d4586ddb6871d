#include "office/OfficeConversion.h"

#include "office/OdfDocument.h"
#include "office/SheetDocument.h"
#include "office/WordDocument.h"

namespace maravelundi {
namespace {

PackageError NotOffice(DocumentFormat format) {
  return PackageError{PackageErrorCode::kNotAPackage, "",
                      "a " + std::string(DocumentFormatName(format)) + " document is not a DOCX, ODT or XLSX package"};
}

// A workbook has no body to read as one text: it converts in place only.
PackageError NoBody() {
  return PackageError{PackageErrorCode::kNotWordProcessing, "",
                      "a spreadsheet converts in place, as a spreadsheet (xlsx), and has no text output"};
}

bool IsPackage(DocumentFormat format) {
  return format == DocumentFormat::kDocx || format == DocumentFormat::kOdt || format == DocumentFormat::kXlsx;
}

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
  if (format == DocumentFormat::kXlsx) {
    if (output != OutputKind::kInPlace) return NoBody();
    return ConvertSheetPackage(package, profile, options);
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
  if (format == DocumentFormat::kXlsx) return NoBody();
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  return format == DocumentFormat::kDocx ? ReadWordText(package, profile, options)
                                         : ReadOdfText(package, profile, options);
}

}  // namespace maravelundi
