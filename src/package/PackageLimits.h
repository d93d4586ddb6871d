#pragma once
// How much a package may hold before it is taken for an attack rather than a
// document. The sizes are what the parts expand to; the defaults leave room
// for documents of hundreds of megabytes of text.

#include <cstddef>
#include <cstdint>

namespace maravelundi {

struct PackageLimits {
  std::size_t maxEntries = 20000;
  std::uint64_t maxPartSize = std::uint64_t{512} << 20;    // one part, expanded
  std::uint64_t maxTotalSize = std::uint64_t{2} << 30;     // all parts, expanded
  // Word processors' XML deflates twenty- or thirtyfold; a zip bomb reaches a
  // thousand. Parts smaller than the floor may expand as they like.
  std::uint64_t maxRatio = 300;
  std::uint64_t ratioFloor = std::uint64_t{1} << 20;
  // Tables in tables and text boxes in paragraphs nest a few dozen deep.
  std::size_t maxXmlDepth = 256;
};

}  // namespace maravelundi
