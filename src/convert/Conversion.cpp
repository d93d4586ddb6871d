#include "convert/Conversion.h"

#include "ism/FinishIsmText.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeHtml.h"

namespace maravelundi {
namespace {
constexpr std::string_view kPrintLineEnd = "\r\n";
}

std::string ConvertDocument(const Document& source, Generation generation, OutputKind output,
                            ProgressSink* progress) {
  const Document mltt = Transcode(source, generation, progress);
  std::string bytes;
  switch (output) {
    case OutputKind::kUnicode: bytes = BuildUnicodeHtml(mltt, progress); break;
    case OutputKind::kIsm: bytes = WriteRtf(FinishIsmText(mltt, progress)); break;
    case OutputKind::kMltt: bytes = WriteRtf(mltt); break;
  }
  bytes.append(kPrintLineEnd);
  return bytes;
}

std::string_view OutputExtension(OutputKind output) {
  return output == OutputKind::kUnicode ? ".html" : ".rtf";
}

}  // namespace maravelundi
