// What the writer writes reads back as the same characters in the same fonts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "FuzzChecks.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace maravelundi;
  const RtfReading first = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!first.Ok()) return 0;
  const std::string written = WriteRtf(first.document);
  const RtfReading again = ReadRtf(written);
  if (!again.Ok()) {
    std::fprintf(stderr, "%s\n", written.c_str());
    fuzz::Fail("the writer's document does not read back");
  }
  if (!(again.document == first.document)) {
    std::fprintf(stderr, "%s\n", written.c_str());
    fuzz::Fail("the writer's document reads back differently");
  }
  return 0;
}
