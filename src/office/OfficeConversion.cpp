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

TextTarget TargetOf(OfficeOutput output) {
  switch (output) {
    case OfficeOutput::kMltt: return TextTarget::kMltt;
    case OfficeOutput::kIsm: return TextTarget::kIsm;
    default: return TextTarget::kUnicode;
  }
}

ConversionProfile ProfileFor(const OfficeOptions& options, TextTarget target) {
  ConversionProfile profile;
  profile.generation = options.generation;
  profile.target = target;
  profile.unicodeFont = options.unicodeFont;
  profile.spelling = options.spelling;
  return profile;
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
    conversion.spelling = options.spelling;
    return ConvertDocument(document.Value(), options.generation, FlatOf(output), options.progress, conversion);
  }
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  const ConversionProfile profile = ProfileFor(options, TargetOf(output));
  return format == DocumentFormat::kDocx ? ConvertWordPackage(package.Value(), profile, options)
                                         : ConvertOdfPackage(package.Value(), profile, options);
}

Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  const ConversionProfile profile = ProfileFor(options, TextTarget::kUnicode);
  return format == DocumentFormat::kDocx ? ReadWordText(package.Value(), profile, options)
                                         : ReadOdfText(package.Value(), profile, options);
}

}  // namespace maravelundi
