// maravelundi-bench-floor INPUT OUTPUT_BYTES OUTPUT
// The I/O floor of a conversion on this machine: reads INPUT whole and writes
// OUTPUT_BYTES bytes to OUTPUT the way the converter writes its output
// (64 KiB pieces into a temporary file, synced, then renamed into place), and
// prints the seconds that took. A conversion cannot be faster than this.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fileio/FileIo.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s INPUT OUTPUT_BYTES OUTPUT\n", argv[0]);
    return 2;
  }
  const std::size_t outputBytes = std::strtoull(argv[2], nullptr, 10);
  const std::string piece(std::size_t{1} << 16, 'x');
  const auto start = std::chrono::steady_clock::now();
  std::string input;
  if (const auto failure = maravelundi::ReadWholeFile(argv[1], input)) {
    std::fprintf(stderr, "%s\n", maravelundi::Describe(*failure).c_str());
    return 1;
  }
  maravelundi::AtomicFile output(argv[3]);
  for (std::size_t left = outputBytes; left > 0;) {
    const std::size_t size = std::min(left, piece.size());
    output.Write(std::string_view(piece).substr(0, size));
    left -= size;
  }
  if (const auto failure = output.Commit()) {
    std::fprintf(stderr, "%s\n", maravelundi::Describe(*failure).c_str());
    return 1;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%.4f\n", seconds.count());
  return 0;
}
