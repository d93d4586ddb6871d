#include "office/OfficeConversion.h"

#include "convert/Conversion.h"
#include "office/OdfDocument.h"
#include "office/WordDocument.h"
#include "package/ZipPackage.h"

namespace maravelundi {
namespace {

PackageError NotOffice(DocumentFormat format) {
  return PackageError{PackageErrorCode::kNotAPackage, "",
                      "a " + std::string(DocumentFormatName(format)) + " document is not a DOCX or ODT package"};
}

InPlaceOutput InPlaceOf(OfficeOutput output) {
  switch (output) {
    case OfficeOutput::kMltt: return InPlaceOutput::kMltt;
    case OfficeOutput::kIsm: return InPlaceOutput::kIsm;
    default: return InPlaceOutput::kUnicode;
  }
}

OutputKind FlatOf(OfficeOutput output) {
  switch (output) {
    case OfficeOutput::kText: return OutputKind::kText;
    case OfficeOutput::kHtml5: return OutputKind::kHtml5;
    case OfficeOutput::kRtf: return OutputKind::kRtf;
    default: return OutputKind::kUnicode;
  }
}

}  // namespace

bool IsInPlaceOutput(OfficeOutput output) {
  return output == OfficeOutput::kUnicode || output == OfficeOutput::kMltt || output == OfficeOutput::kIsm;
}

OfficeResult ConvertOfficeDocument(std::string_view packageBytes, DocumentFormat format, OfficeOutput output,
                                   const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  if (!IsInPlaceOutput(output)) {
    Outcome<Document> document = ReadOfficeDocument(packageBytes, format, options);
    if (!document.Ok()) return document.Error();
    ConversionOptions conversion;
    conversion.unicodeFont = options.unicodeFont;
    conversion.title = options.title;
    return ConvertDocument(document.Value(), options.generation, FlatOf(output), options.progress, conversion);
  }
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  const EngineOptions engine{options.generation, InPlaceOf(output), options.unicodeFont};
  return format == DocumentFormat::kDocx ? ConvertWordPackage(package.Value(), engine, options)
                                         : ConvertOdfPackage(package.Value(), engine, options);
}

Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  return format == DocumentFormat::kDocx ? ReadWordText(package.Value(), options)
                                         : ReadOdfText(package.Value(), options);
}

}  // namespace maravelundi
