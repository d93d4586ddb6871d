#include "convert/Conversion.h"

#include <stdexcept>

#include "convert/InPlaceConversion.h"
#include "convert/MlttStage.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeDocument.h"
#include "unicode/UnicodeHtml.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {

constexpr std::string_view kPrintLineEnd = "\r\n";

// What the profile's target makes of the output: the ML-TT ones are Rich
// Text only, the way back text only (a document goes back in place).
ConversionProfile ForOutput(OutputKind output, const ConversionProfile& profile) {
  if (output == OutputKind::kInPlace) throw std::invalid_argument("a document converted in place needs its markup");
  if (profile.target == TextTarget::kLegacy && output != OutputKind::kText) {
    throw std::invalid_argument("the way back writes text, or a document in place");
  }
  ConversionProfile adjusted = profile;
  if (output != OutputKind::kRichText && profile.target != TextTarget::kLegacy) adjusted.target = TextTarget::kUnicode;
  return adjusted;
}

// The way back's text: each code of the legacy font as its Windows-1252
// character in UTF-8, or as its byte; what the font has no glyph for, and
// everything else, as it is (in raw bytes, a character no byte stands for
// as '?'). A paragraph ends in a line feed.
void WriteLegacyText(const Document& source, const ConversionProfile& profile, ByteSink& sink) {
  std::vector<bool> replaceable(source.Size());
  const std::u16string_view text = source.Text();
  for (std::size_t i = 0; i < text.size(); ++i) replaceable[i] = text[i] != u'\r' && text[i] != u'\n';
  const PlacedText placed = ConvertInPlace(source, replaceable, profile);
  std::u16string out;
  PlacedCursor pieces(placed);
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += pieces.At(i);
    if (placed.replaced[i]) continue;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;  // the LF ends the line
    out.push_back(text[i] == u'\r' ? u'\n' : text[i]);
  }
  if (!profile.legacyBytes) {
    Utf8Builder utf8(&sink);
    utf8.Append(out);
    utf8.Finish();
    return;
  }
  std::string bytes;
  bytes.reserve(out.size());
  for (const char16_t ch : out) {
    const auto code = GlyphCode(ch);
    bytes.push_back(code ? static_cast<char>(*code) : '?');
  }
  sink.Write(bytes);
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
  if (profile.target == TextTarget::kLegacy) return WriteLegacyText(source, profile, sink);
  mltt = ConvertToMltt(source, profile, progress);
  if (releasedSource != nullptr) *releasedSource = Document();
  WriteOutput(mltt, output, profile, sink, progress, title);
}

}  // namespace

Document ConvertToUnicodeDocument(const Document& source, const ConversionProfile& profile, ProgressSink* progress) {
  ConversionProfile unicode = profile;
  unicode.target = TextTarget::kUnicode;
  return BuildUnicodeDocument(ConvertToMltt(source, unicode, progress), unicode.unicodeFont, progress,
                              unicode.Unicode());
}

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
