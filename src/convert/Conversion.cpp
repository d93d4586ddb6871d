#include "convert/Conversion.h"

#include "ism/FinishIsmText.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeHtml.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {

constexpr std::string_view kPrintLineEnd = "\r\n";

// Stage two, from the ML-TT document, which it may let go of as soon as the
// next document is built from it.
void WriteOutput(Document mltt, OutputKind output, ByteSink& sink, ProgressSink* progress,
                 const ConversionOptions& options) {
  switch (output) {
    case OutputKind::kUnicode: {
      Utf8Builder html(&sink);
      AppendUnicodeHtml(mltt, html, progress);
      html.AppendAscii(kPrintLineEnd);
      html.Finish();
      return;
    }
    case OutputKind::kIsm: {
      const Document finished = FinishIsmText(mltt, progress);
      mltt = Document();
      WriteRtf(finished, sink, progress);
      break;
    }
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

}  // namespace

void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress, const ConversionOptions& options) {
  WriteOutput(Transcode(source, generation, progress), output, sink, progress, options);
}

void ConvertDocument(Document&& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress, const ConversionOptions& options) {
  Document mltt = Transcode(source, generation, progress);
  source = Document();  // stage two no longer needs it
  WriteOutput(std::move(mltt), output, sink, progress, options);
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
