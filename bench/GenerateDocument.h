#pragma once
// Realistic documents for measuring: paragraphs of natural length typed in the
// six fonts of one Rachana generation, with English runs in between, written
// as a word processor writes them. The same seed and size give the same bytes.

#include <cstdint>
#include <string>

#include "transcode/Transcoder.h"

namespace maravelundi::bench {

std::string GenerateRtf(Generation generation, std::size_t bytes, std::uint64_t seed);

}  // namespace maravelundi::bench
