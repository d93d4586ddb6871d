#pragma once
// Character n-gram models of words, read from the generated statistics: how
// likely a string of characters is as a Malayalam word, or as an English one.
// A word is scored between two boundaries, so that what begins and ends
// words counts too. Symbols the model never saw (digits in Malayalam,
// Malayalam in English) cost kUnseenBits each.
//
// An English symbol is a character. A Malayalam symbol is a character, or a
// consonant with the virama after it (with a chillu's joiner after that):
// what may follow a dead consonant depends on which consonant it is (NA,
// virama, LLA is no Malayalam; LLA, virama, LLA is common), which a model of
// single characters loses as soon as it backs off past the virama.

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "plaintext/NgramRow.h"

namespace maravelundi {

enum class SymbolSplit : std::uint8_t {
  kCharacters,      // each character a symbol
  kDeadConsonants,  // a consonant and its virama (and a chillu's joiner) one symbol
};

class CharacterModel {
 public:
  static constexpr double kUnseenBits = 20.0;
  static constexpr int kMaxOrder = 7;  // n-grams of up to seven symbols

  CharacterModel(std::span<const plaintext_statistics::NgramRow> rows, int order, SymbolSplit split);

  // log2 of the probability of the word: never above 0, lower for words the
  // model finds less likely. Linear in the word's length.
  double WordLog2(std::u16string_view word) const;

  // log2 P(symbol | context): the context's symbols after a word's start
  // (a space in either stands for the boundary).
  double NextLog2(std::u16string_view context, std::u16string_view symbol) const;

  // Every symbol the model knows, the boundary (a space) first.
  std::vector<std::u16string> Alphabet() const;

  std::size_t RowCount() const { return rows_; }
  int Order() const { return order_; }

 private:
  using Key = std::uint64_t;  // up to seven symbols of 9 bits, the first in the lowest
  static constexpr int kSymbolBits = 9;
  static constexpr std::uint16_t kUnseen = (1u << kSymbolBits) - 1;

  // The symbols of a text, as ids.
  void Symbols(std::u16string_view text, std::vector<std::uint16_t>& out) const;
  std::size_t SymbolLength(std::u16string_view text, std::size_t i) const;
  std::uint16_t SymbolId(std::u16string_view symbol) const;
  // log2 P(symbol | the context), in hundredths of a bit.
  int Predict(const std::uint16_t* context, int length, std::uint16_t symbol) const;

  // An n-gram's row in an open-addressed table: every word scored looks up
  // a few n-grams per symbol, so a lookup must cost one probe or two.
  struct Slot {
    Key key = 0;  // 0: empty (every symbol id is at least 1)
    std::int16_t logProbability = 0;
    std::int16_t backOff = 0;
  };
  const Slot* Find(Key key) const;
  static std::size_t Hash(std::uint64_t key, int bits) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> (64 - bits));
  }

  int order_;
  SymbolSplit split_;
  std::vector<std::uint64_t> symbolTexts_;  // each symbol's units packed, sorted; its id is its position + 2
                                            // (1: the boundary, 0: no symbol)
  std::vector<std::pair<std::uint64_t, std::uint16_t>> symbolSlots_;  // packed text to id, open-addressed
  int symbolBits_ = 0;
  std::vector<Slot> slots_;
  int slotBits_ = 0;
  std::size_t rows_ = 0;
};

// The model of Malayalam words (hunspell-ml), which scores the canonical form.
const CharacterModel& MalayalamModel();
// The model of English words (hunspell-en-us), lower-cased.
const CharacterModel& EnglishModel();

// The form the Malayalam model reads: no zero width non-joiners, each atomic
// chillu as consonant, virama, zero width joiner, and the two-part vowel
// signs O, OO and AU as one character each. Converters and dictionaries
// disagree on exactly these.
std::u16string CanonicalMalayalam(std::u16string_view text);

// How English words are capitalised: log2 of the share of each shape, for a
// word's letters.
double EnglishCaseLog2(std::u16string_view word);

}  // namespace maravelundi
