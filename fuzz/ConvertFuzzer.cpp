// Whole conversions of whatever the reader accepts: both generations, the
// ISM, ML-TT and Unicode outputs. The Unicode output is always one complete
// HTML document of valid UTF-8, and the ISM pass is its own fixed point.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzChecks.h"
#include "convert/Conversion.h"
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
    for (const OutputKind output : {OutputKind::kIsm, OutputKind::kMltt}) {
      const std::string rtf = ConvertDocument(reading.document, generation, output);
      if (!ReadRtf(rtf).Ok()) fuzz::Fail("an RTF output does not read back");
    }
  }
  return 0;
}
