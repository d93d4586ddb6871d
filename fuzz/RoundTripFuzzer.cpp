// What the writer writes reads back as the same document: with formatting,
// the same characters in the same formats; without, the same characters in
// the same fonts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "FuzzChecks.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace {

using namespace maravelundi;

bool SameTextAndFonts(const Document& a, const Document& b) {
  if (a.Text() != b.Text()) return false;
  RunCursor left(a), right(b);
  for (std::size_t i = 0; i < a.Size(); ++i) {
    if (a.Format(left.FormatAt(i)).fontName != b.Format(right.FormatAt(i)).fontName) return false;
  }
  return true;
}

Document ReadBack(const std::string& written) {
  RtfReading again = ReadRtf(written);
  if (!again.Ok()) {
    std::fprintf(stderr, "%s\n", written.c_str());
    fuzz::Fail("the writer's document does not read back");
  }
  return std::move(again.document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RtfReading first = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!first.Ok()) return 0;
  const std::string formatted = WriteRtf(first.document, RtfWriteOptions{.formatting = true});
  if (!(ReadBack(formatted) == first.document)) {
    std::fprintf(stderr, "%s\n", formatted.c_str());
    fuzz::Fail("the writer's formatted document reads back differently");
  }
  const std::string plain = WriteRtf(first.document);
  if (!SameTextAndFonts(ReadBack(plain), first.document)) {
    std::fprintf(stderr, "%s\n", plain.c_str());
    fuzz::Fail("the writer's document reads back with other characters or fonts");
  }
  return 0;
}
