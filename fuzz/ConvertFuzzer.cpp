// Whole conversions of whatever the reader accepts: both generations and
// fonts read by name, every output, in both spellings, and in place. The Unicode output is always one complete
// HTML document of valid UTF-8, and the ISM pass is its own fixed point.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzChecks.h"
#include "convert/Conversion.h"
#include "convert/RtfInPlace.h"
#include "ism/FinishIsmText.h"
#include "richtext/RtfReader.h"
#include "unicode/UnicodeHtml.h"

namespace {

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > s.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    if (length == 3) {
      const unsigned cp = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
      if (cp >= 0xD800 && cp <= 0xDFFF) return false;  // a surrogate never reaches the output
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace maravelundi;
  const RtfReading reading = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!reading.Ok()) return 0;
  for (const Generation generation : {Generation::kVersion2, Generation::kVersion7}) {
    const Document mltt = Transcode(reading.document, generation);
    fuzz::CheckWellFormed(mltt);
    const Document ism = FinishIsmText(mltt);
    fuzz::CheckWellFormed(ism);
    if (!(FinishIsmText(ism) == ism)) fuzz::Fail("the ISM pass changed its own result");
    const std::string html = BuildUnicodeHtml(mltt);
    if (!html.starts_with("<html>\r\n") || !html.ends_with("</font></body>\r\n</html>\r\n")) {
      fuzz::Fail("the HTML document is not whole");
    }
    if (!IsValidUtf8(html)) fuzz::Fail("the HTML document is not valid UTF-8");
    for (const TextTarget target : {TextTarget::kIsm, TextTarget::kMltt}) {
      const std::string rtf =
          ConvertDocument(reading.document, OutputKind::kRichText, ConversionProfile{.generation = generation, .target = target});
      if (!ReadRtf(rtf).Ok()) fuzz::Fail("an RTF output does not read back");
    }
  }
  // Fonts read by name: the other legacy families too, spelled again in
  // ML-TT for the ML-TT outputs; and the outputs with the formatting kept,
  // in both spellings.
  for (const TextTarget target : {TextTarget::kIsm, TextTarget::kMltt, TextTarget::kUnicode}) {
    if (!ReadRtf(ConvertDocument(reading.document, OutputKind::kRichText, ConversionProfile{.target = target})).Ok()) {
      fuzz::Fail("an RTF output does not read back");
    }
  }
  for (const Spelling spelling : {Spelling::kLegacy, Spelling::kModern}) {
    const ConversionProfile profile{.spelling = spelling};
    for (const OutputKind output : {OutputKind::kHtml5, OutputKind::kText}) {
      if (!IsValidUtf8(ConvertDocument(reading.document, output, profile))) {
        fuzz::Fail("a Unicode output is not valid UTF-8");
      }
    }
  }
  // The document converted in place, from a reading that keeps the sources.
  const std::string_view markup(reinterpret_cast<const char*>(data), size);
  const RtfReading traced = ReadRtf(markup, RtfReadOptions{.sourceSpans = true, .sideStories = true});
  StringSink inPlace;
  ConvertRtfInPlace(markup, traced, ConversionProfile{}, inPlace);
  if (!ReadRtf(inPlace.Bytes()).Ok()) fuzz::Fail("the document converted in place does not read back");
  return 0;
}
