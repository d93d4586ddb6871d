#include "convert/Conversion.h"

#include "ism/FinishIsmText.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeHtml.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {
constexpr std::string_view kPrintLineEnd = "\r\n";
}

void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress, const ConversionOptions& options) {
  const Document mltt = Transcode(source, generation, progress);
  switch (output) {
    case OutputKind::kUnicode: {
      Utf8Builder html(&sink);
      AppendUnicodeHtml(mltt, html, progress);
      html.AppendAscii(kPrintLineEnd);
      html.Finish();
      return;
    }
    case OutputKind::kIsm: WriteRtf(FinishIsmText(mltt, progress), sink, progress); break;
    case OutputKind::kMltt: WriteRtf(mltt, sink, progress); break;
    case OutputKind::kRtf:
      WriteRtf(BuildUnicodeDocument(mltt, options.unicodeFont, progress), sink, RtfWriteOptions{.formatting = true},
               progress);
      return;
    case OutputKind::kHtml5:
      WriteHtml5(BuildUnicodeDocument(mltt, options.unicodeFont, progress), options.title, options.unicodeFont, sink);
      return;
    case OutputKind::kText:
      WriteUnicodeText(BuildUnicodeDocument(mltt, options.unicodeFont, progress), sink);
      return;
  }
  sink.Write(kPrintLineEnd);
}

std::string ConvertDocument(const Document& source, Generation generation, OutputKind output,
                            ProgressSink* progress, const ConversionOptions& options) {
  StringSink sink;
  ConvertDocument(source, generation, output, sink, progress, options);
  return std::move(sink.Bytes());
}

std::string_view OutputExtension(OutputKind output) {
  switch (output) {
    case OutputKind::kUnicode:
    case OutputKind::kHtml5: return ".html";
    case OutputKind::kText: return ".txt";
    case OutputKind::kIsm:
    case OutputKind::kMltt:
    case OutputKind::kRtf: break;
  }
  return ".rtf";
}

}  // namespace maravelundi
