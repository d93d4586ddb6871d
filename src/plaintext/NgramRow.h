#pragma once
// The shapes of the generated statistics (MalayalamModel.h, EnglishModel.h
// and MacRomanRows.h, written by tools/plaintext/generate_statistics.py).

#include <cstdint>
#include <string_view>

namespace maravelundi::plaintext_statistics {

// One n-gram of a character model in back-off form: log2 P(last symbol |
// the symbols before it), and the weight by which a longer context that
// ends in this n-gram backs off to it; both in hundredths of a bit. A space
// stands for a word's boundary.
struct NgramRow {
  std::u16string_view gram;
  std::int16_t logProbability;
  std::int16_t backOff;
};

// A byte of a code page and the character it stands for.
struct CodeCharacterRow {
  std::uint8_t code;
  char16_t character;
};

}  // namespace maravelundi::plaintext_statistics
