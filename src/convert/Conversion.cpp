#include "convert/Conversion.h"

#include "convert/FamiliesAsMltt.h"
#include "ism/FinishIsmText.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeHtml.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {

constexpr std::string_view kPrintLineEnd = "\r\n";

// Stage two, from the ML-TT document, which it leaves holding the document the
// output was made from. The ISM pass replaces it with the finished document
// as soon as that is built, so the two never outlive each other for long.
void WriteOutput(Document& mltt, OutputKind output, ByteSink& sink, ProgressSink* progress,
                 const ConversionOptions& options, const UnicodeOptions& unicode) {
  const auto unicodeDocument = [&] { return BuildUnicodeDocument(mltt, options.unicodeFont, progress, unicode); };
  switch (output) {
    case OutputKind::kUnicode: {
      Utf8Builder html(&sink);
      AppendUnicodeHtml(mltt, html, progress, unicode);
      html.AppendAscii(kPrintLineEnd);
      html.Finish();
      return;
    }
    case OutputKind::kIsm:
      mltt = FinishIsmText(mltt, progress);
      WriteRtf(mltt, sink, progress);
      break;
    case OutputKind::kMltt: WriteRtf(mltt, sink, progress); break;
    case OutputKind::kRtf:
      WriteRtf(unicodeDocument(), sink, RtfWriteOptions{.formatting = true}, progress);
      return;
    case OutputKind::kHtml5:
      WriteHtml5(unicodeDocument(), options.title, options.unicodeFont, sink);
      return;
    case OutputKind::kText:
      WriteUnicodeText(unicodeDocument(), sink);
      return;
  }
  sink.Write(kPrintLineEnd);
}

// Both stages, announced to `progress` before each begins. `releasedSource`,
// when given, is the source, let go of once stage one is done with it.
void Convert(const Document& source, Document* releasedSource, Generation generation, OutputKind output,
             ByteSink& sink, ProgressSink* progress, const ConversionOptions& options, Document& mltt) {
  mltt = Document();
  ReportStage(progress, ConversionStage::kTranscode);
  mltt = Transcode(source, generation, progress);
  if (releasedSource != nullptr) *releasedSource = Document();
  ReportStage(progress, ConversionStage::kOutput);
  // The other legacy families are known by name where the fonts are read by
  // name too; a generation chosen by hand keeps every "ML-" font ML-TT.
  const UnicodeOptions unicode{.legacyFamilies = generation == Generation::kAuto, .spelling = options.spelling};
  const bool mlttOutput = output == OutputKind::kIsm || output == OutputKind::kMltt;
  if (mlttOutput && unicode.legacyFamilies) ReencodeFamiliesAsMltt(mltt);
  WriteOutput(mltt, output, sink, progress, options, unicode);
}

}  // namespace

void ConvertDocument(const Document& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress, const ConversionOptions& options, Document* mltt) {
  Document local;
  Convert(source, nullptr, generation, output, sink, progress, options, mltt != nullptr ? *mltt : local);
}

void ConvertDocument(Document&& source, Generation generation, OutputKind output, ByteSink& sink,
                     ProgressSink* progress, const ConversionOptions& options, Document* mltt) {
  Document local;
  Convert(source, &source, generation, output, sink, progress, options, mltt != nullptr ? *mltt : local);
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
