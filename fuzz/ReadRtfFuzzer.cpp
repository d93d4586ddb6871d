// The reader takes any bytes: it reads them or says what is wrong, and never
// crashes, hangs or reads out of bounds.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzChecks.h"
#include "richtext/RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace maravelundi;
  const RtfReading reading = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (reading.Ok()) fuzz::CheckWellFormed(reading.document);
  else if (reading.error->message.empty() || reading.error->offset > size) fuzz::Fail("error without a reason or place");
  return 0;
}
