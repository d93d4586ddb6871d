// The reader takes any bytes: it reads them or says what is wrong, and never
// crashes, hangs or reads out of bounds.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzChecks.h"
#include "richtext/ReadWarningLog.h"
#include "richtext/RtfReader.h"

// Warnings stay few whatever the input, each with a reason and a place in
// it, in the order of the bytes, the note that others were dropped last.
void CheckWarnings(const std::vector<maravelundi::ReadWarning>& warnings, std::size_t size) {
  using namespace maravelundi;
  if (warnings.size() > ReadWarningLog::kMaxWarnings + 1) fuzz::Fail("more warnings than the bound");
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    if (warnings[i].message.empty() || warnings[i].offset > size) fuzz::Fail("warning without a reason or place");
    if (i > 0 && warnings[i].offset < warnings[i - 1].offset) fuzz::Fail("warnings out of order");
    const bool noteBelongs = i + 1 == warnings.size() && warnings.size() > ReadWarningLog::kMaxWarnings;
    if ((warnings[i].code == ReadWarningCode::TooManyWarnings) != noteBelongs) {
      fuzz::Fail("the note of dropped warnings out of place");
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace maravelundi;
  const RtfReading reading = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (reading.Ok()) fuzz::CheckWellFormed(reading.document);
  else if (reading.error->message.empty() || reading.error->offset > size) fuzz::Fail("error without a reason or place");
  CheckWarnings(reading.warnings, size);
  return 0;
}
