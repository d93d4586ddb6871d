// maravelundi-bench-generate GENERATION MEGABYTES SEED OUTPUT
// Writes a realistic document of about that size for the benchmarks.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "GenerateDocument.h"
#include "fileio/FileIo.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s 2|7 MEGABYTES SEED OUTPUT\n", argv[0]);
    return 2;
  }
  const auto generation = std::string(argv[1]) == "2" ? maravelundi::Generation::kVersion2
                                                      : maravelundi::Generation::kVersion7;
  const std::size_t bytes = static_cast<std::size_t>(std::atof(argv[2]) * 1000 * 1000);
  const std::string rtf = maravelundi::bench::GenerateRtf(generation, bytes, std::strtoull(argv[3], nullptr, 10));
  const auto written = maravelundi::WriteFileAtomically(argv[4], rtf);
  if (!written.Ok()) {
    std::fprintf(stderr, "%s\n", written.error->c_str());
    return 1;
  }
  return 0;
}
