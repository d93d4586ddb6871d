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

enum class WordChoice : std::uint8_t {
  kEvery,
  // Only the words the character models of plain-text detection were not
  // trained on (every tenth word of the dictionary, the tenth of each ten,
  // counted as tools/plaintext/generate_statistics.py counts them): what a
  // measure of those models' judgement must be made of.
  kHeldOut,
};

// Rich Text of about `bytes` bytes, or nothing when the dictionary cannot be
// read or holds no Malayalam word.
std::optional<std::string> GenerateWordsRtf(const std::filesystem::path& dictionary, std::size_t bytes,
                                            std::uint64_t seed, WordChoice choice = WordChoice::kEvery);

}  // namespace maravelundi::bench
