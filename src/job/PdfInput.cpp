#include "job/PdfInput.h"

namespace maravelundi {

Failure NoPdfReader(const std::string& name) {
  return Failure{FailureCode::kNoSuchConversion, name,
                 "a PDF is read by the command line and the window (maravelundi-cli, with poppler), not here", {},
                 std::nullopt};
}

}  // namespace maravelundi
