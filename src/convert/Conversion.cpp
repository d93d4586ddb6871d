#include "convert/Conversion.h"

#include "ism/FinishIsmText.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeHtml.h"

namespace maravelundi {
namespace {
constexpr std::string_view kPrintLineEnd = "\r\n";
}

void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress) {
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
  }
  sink.Write(kPrintLineEnd);
}

std::string ConvertDocument(const Document& source, Generation generation, OutputKind output,
                            ProgressSink* progress) {
  StringSink sink;
  ConvertDocument(source, generation, output, sink, progress);
  return std::move(sink.Bytes());
}

std::string_view OutputExtension(OutputKind output) {
  return output == OutputKind::kUnicode ? ".html" : ".rtf";
}

}  // namespace maravelundi
