// Word processors' packages, hostile or not: detection and every conversion
// end in a result or an error value, never a crash. A Unicode conversion
// leaves no legacy text behind, so converting its result again changes
// nothing; the text read for the flat outputs is a well-formed document.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "office/OfficeConversion.h"
#include "package/DocumentFormat.h"

namespace {

using namespace maravelundi;

// Small limits keep each input quick; the checks are the same.
OfficeOptions FuzzOptions() {
  OfficeOptions options;
  options.limits.maxEntries = 256;
  options.limits.maxPartSize = 4 << 20;
  options.limits.maxTotalSize = 16 << 20;
  options.limits.maxXmlDepth = 128;
  return options;
}

void CheckConvertsOnceAndForAll(const std::string& package, DocumentFormat format, const OfficeOptions& options) {
  const OfficeResult once = ConvertOfficeDocument(package, format, OutputKind::kInPlace, ConversionProfile{}, options);
  if (!once.Ok()) return;
  const FormatDetection detected = DetectDocumentFormat(once.Value(), options.limits);
  if (detected.error || detected.format != format) fuzz::Fail("a converted package is not of its input's format");
  const OfficeResult twice = ConvertOfficeDocument(once.Value(), format, OutputKind::kInPlace, ConversionProfile{}, options);
  if (!twice.Ok()) fuzz::Fail("a converted package does not convert again");
  if (twice.Value() != once.Value()) fuzz::Fail("converting a converted package changed it");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const OfficeOptions options = FuzzOptions();
  const FormatDetection detected = DetectDocumentFormat(bytes, options.limits);
  if (detected.error) {
    if (detected.format != DocumentFormat::kUnknown) fuzz::Fail("an error came with a format");
    return 0;
  }
  if (!IsOwnPackage(detected.format)) return 0;
  CheckConvertsOnceAndForAll(bytes, detected.format, options);
  const std::pair<OutputKind, TextTarget> outputs[] = {
      {OutputKind::kInPlace, TextTarget::kMltt}, {OutputKind::kInPlace, TextTarget::kIsm}, {OutputKind::kText, TextTarget::kUnicode}};
  for (const auto& [output, target] : outputs) {
    const OfficeResult result =
        ConvertOfficeDocument(bytes, detected.format, output, ConversionProfile{.target = target}, options);
    if (result.Ok() && output == OutputKind::kInPlace && !DetectDocumentFormat(result.Value(), options.limits).error &&
        DetectDocumentFormat(result.Value(), options.limits).format != detected.format) {
      fuzz::Fail("an ML-TT package is not of its input's format");
    }
  }
  const Outcome<Document> text = ReadOfficeDocument(bytes, detected.format, ConversionProfile{}, options);
  if (text.Ok()) fuzz::CheckWellFormed(text.Value());
  return 0;
}
