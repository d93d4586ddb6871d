#pragma once
// poppler is not ours: a hostile PDF may make it loop or take all the
// memory there is. Each PDF is therefore read in a child process of its
// own, with a limit on its CPU time and on its address space; the reading
// comes back through a pipe, and a child that is killed, or dies, is a
// failure of that one document, never of the run (a batch goes on).

#include <cstdint>
#include <functional>

#include "job/PdfInput.h"

namespace maravelundi {

struct ReadLimits {
  std::uint64_t cpuSeconds = 120;
  std::uint64_t addressBytes = std::uint64_t{4} << 30;
};

// Runs `read` in a child process within the limits and hands its result
// back. `name` names the document in the failures.
Result<PdfReading> ReadIsolated(const std::function<Result<PdfReading>()>& read, const std::string& name,
                                const ReadLimits& limits);

}  // namespace maravelundi
