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

// What the engine is asked, as a whole conversion asks it: the other legacy
// families are known by name where the Rachana fonts are read by name too.
EngineOptions EngineFor(const OfficeOptions& options, InPlaceOutput output) {
  EngineOptions engine;
  engine.generation = options.generation;
  engine.output = output;
  engine.unicodeFont = options.unicodeFont;
  engine.unicode.legacyFamilies = options.generation == Generation::kAuto;
  engine.unicode.spelling = options.spelling;
  return engine;
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
  const EngineOptions engine = EngineFor(options, InPlaceOf(output));
  return format == DocumentFormat::kDocx ? ConvertWordPackage(package.Value(), engine, options)
                                         : ConvertOdfPackage(package.Value(), engine, options);
}

Outcome<Document> ReadOfficeDocument(std::string_view packageBytes, DocumentFormat format,
                                     const OfficeOptions& options) {
  if (format != DocumentFormat::kDocx && format != DocumentFormat::kOdt) return NotOffice(format);
  Outcome<ZipPackage> package = ZipPackage::Open(packageBytes, options.limits);
  if (!package.Ok()) return package.Error();
  const EngineOptions engine = EngineFor(options, InPlaceOutput::kUnicode);
  return format == DocumentFormat::kDocx ? ReadWordText(package.Value(), engine, options)
                                         : ReadOdfText(package.Value(), engine, options);
}

}  // namespace maravelundi
