#include "convert/Conversion.h"

#include <stdexcept>

#include "convert/MlttStage.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeDocument.h"
#include "unicode/UnicodeHtml.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {

constexpr std::string_view kPrintLineEnd = "\r\n";

// What the profile's target makes of the output: the ML-TT ones are Rich
// Text only.
ConversionProfile ForOutput(OutputKind output, const ConversionProfile& profile) {
  if (output == OutputKind::kInPlace) throw std::invalid_argument("a document converted in place needs its markup");
  ConversionProfile adjusted = profile;
  if (output != OutputKind::kRichText) adjusted.target = TextTarget::kUnicode;
  return adjusted;
}

// Stage two, from the ML-TT document.
void WriteOutput(const Document& mltt, OutputKind output, const ConversionProfile& profile, ByteSink& sink,
                 ProgressSink* progress, std::string_view title) {
  const auto unicodeDocument = [&] { return BuildUnicodeDocument(mltt, profile.unicodeFont, progress, profile.Unicode()); };
  switch (output) {
    case OutputKind::kUnicodeHtml: {
      Utf8Builder html(&sink);
      AppendUnicodeHtml(mltt, html, progress, profile.Unicode());
      html.AppendAscii(kPrintLineEnd);
      html.Finish();
      return;
    }
    case OutputKind::kRichText:
      if (profile.target == TextTarget::kUnicode) {
        WriteRtf(unicodeDocument(), sink, RtfWriteOptions{.formatting = true}, progress);
        return;
      }
      WriteRtf(mltt, sink, progress);
      sink.Write(kPrintLineEnd);
      return;
    case OutputKind::kHtml5: WriteHtml5(unicodeDocument(), title, profile.unicodeFont, sink); return;
    case OutputKind::kText: WriteUnicodeText(unicodeDocument(), sink); return;
    case OutputKind::kInPlace: break;
  }
}

// Both stages. `releasedSource`, when given, is the source, let go of once
// stage one is done with it.
void Convert(const Document& source, Document* releasedSource, OutputKind output, const ConversionProfile& asked,
             ByteSink& sink, ProgressSink* progress, std::string_view title, Document& mltt) {
  const ConversionProfile profile = ForOutput(output, asked);
  mltt = Document();
  mltt = ConvertToMltt(source, profile, progress);
  if (releasedSource != nullptr) *releasedSource = Document();
  WriteOutput(mltt, output, profile, sink, progress, title);
}

}  // namespace

void ConvertDocument(const Document& source, OutputKind output, const ConversionProfile& profile, ByteSink& sink,
                     ProgressSink* progress, std::string_view title, Document* mltt) {
  Document local;
  Convert(source, nullptr, output, profile, sink, progress, title, mltt != nullptr ? *mltt : local);
}

void ConvertDocument(Document&& source, OutputKind output, const ConversionProfile& profile, ByteSink& sink,
                     ProgressSink* progress, std::string_view title, Document* mltt) {
  Document local;
  Convert(source, &source, output, profile, sink, progress, title, mltt != nullptr ? *mltt : local);
}

std::string ConvertDocument(const Document& source, OutputKind output, const ConversionProfile& profile,
                            ProgressSink* progress, std::string_view title) {
  StringSink sink;
  ConvertDocument(source, output, profile, sink, progress, title);
  return std::move(sink.Bytes());
}

std::string_view OutputExtension(OutputKind output) {
  switch (output) {
    case OutputKind::kUnicodeHtml:
    case OutputKind::kHtml5: return ".html";
    case OutputKind::kText: return ".txt";
    case OutputKind::kRichText:
    case OutputKind::kInPlace: break;
  }
  return ".rtf";
}

}  // namespace maravelundi
