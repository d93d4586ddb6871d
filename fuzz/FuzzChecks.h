#pragma once
// What every fuzz target checks of a document it got from the reader: the
// runs cover the text in order and name formats that exist. A broken
// invariant aborts with the input saved by the fuzzer.

#include <cstdio>
#include <cstdlib>

#include "richtext/Document.h"

namespace maravelundi::fuzz {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline void CheckWellFormed(const Document& document) {
  const auto& runs = document.Runs();
  if (document.Empty() != runs.empty()) Fail("runs and text disagree on emptiness");
  for (std::size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].format >= document.FormatCount()) Fail("run names a format that does not exist");
    if (r == 0 && runs[r].begin != 0) Fail("first run does not start the text");
    if (r > 0 && runs[r].begin <= runs[r - 1].begin) Fail("runs out of order or empty");
    if (r > 0 && runs[r].format == runs[r - 1].format) Fail("neighbouring runs share a format");
    if (runs[r].begin >= document.Size()) Fail("run begins past the text");
  }
}

}  // namespace maravelundi::fuzz
