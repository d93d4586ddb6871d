#include "office/OfficeConversion.h"

#include "office/OdfDocument.h"
#include "office/WordDocument.h"
#include "package/ZipPackage.h"

namespace maravelundi {
namespace {

PackageError NotOffice(DocumentFormat format) {
  return PackageError{PackageErrorCode::kNotAPackage, "",
                      "a " + std::string(DocumentFormatName(format)) + " document is not a DOCX or ODT package"};
}

}  // namespace

OfficeResult ConvertOfficeDocument(std::string_view packageBytes, DocumentFormat format, OutputKind output,
                                   const ConversionProfile& profile, const OfficeOptions& options,
                                   std::string_view title) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  if (output != OutputKind::kInPlace) {
    Outcome<Document> document = ReadOfficeDocument(packageBytes, format, profile, options);
    if (!document.Ok()) return document.Error();
    return ConvertDocument(document.Value(), output, profile, options.progress, title);
  }
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  return format == DocumentFormat::kDocx ? ConvertWordPackage(package.Value(), profile, options)
                                         : ConvertOdfPackage(package.Value(), profile, options);
}

Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const ConversionProfile& profile, const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  return format == DocumentFormat::kDocx ? ReadWordText(package.Value(), profile, options)
                                         : ReadOdfText(package.Value(), profile, options);
}

}  // namespace maravelundi
