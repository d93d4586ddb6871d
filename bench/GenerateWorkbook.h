#pragma once
// Workbooks for the benchmarks: the text of the realistic documents cut into
// cell strings (each run of one font a shared string, shown in a cell whose
// style is set in that font), with a number in every fifth cell, ten cells a
// row, the way a register typed in Rachana fonts is kept in Excel.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "transcode/Transcoder.h"

namespace maravelundi::bench {

// The parts of an XLSX package (name, bytes) with `cells` cells.
std::vector<std::pair<std::string, std::string>> GenerateWorkbookParts(Generation generation, std::size_t cells,
                                                                       std::uint64_t seed);

}  // namespace maravelundi::bench
