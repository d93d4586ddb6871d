#pragma once
// Documents of real words: Malayalam words from a hunspell dictionary, in
// random order, spelled in ML-TT and typed in "ML-TTKarthika", paragraphs of
// 30 to 120 words. They measure the Unicode walk on the words people write
// rather than on generated glyph sequences.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace maravelundi::bench {

// Rich Text of about `bytes` bytes, or nothing when the dictionary cannot be
// read or holds no Malayalam word.
std::optional<std::string> GenerateWordsRtf(const std::filesystem::path& dictionary, std::size_t bytes,
                                            std::uint64_t seed);

}  // namespace maravelundi::bench
