#pragma once
// Whether a word of legacy-font text is English, typed in a Latin font among
// the Malayalam, or Malayalam typed in the legacy font. A word is a maximal
// run of characters that are not white space. The judge weighs two
// likelihoods: the word's characters as an English word (the English model,
// how English words are capitalised, and the punctuation at its edges), and
// what the font makes of its codes as a Malayalam word (the Malayalam model).
// "the" typed in ML-TT draws "vela", a Malayalam word too: such a word goes
// to whichever model finds it likelier, and English has to beat Malayalam by
// kEnglishMarginBits, since in legacy text a Malayalam word is the rule.
//
// The words of a line are judged together (JudgeLine): English comes in
// phrases, so a short word that reads well either way goes with its
// neighbours.

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "plaintext/PlainTextFont.h"

namespace maravelundi {

enum class WordKind : std::uint8_t {
  kNeutral,  // neither letters nor Malayalam: digits, punctuation
  kEnglish,
  kMalayalam,
};

inline constexpr double kNoLikelihood = -std::numeric_limits<double>::infinity();

// How much likelier, in bits, a word must be as English than as Malayalam to
// be kept as English, and what changing language between two words of a
// line costs (a line begins and ends in Malayalam): a single English word
// among Malayalam must be 4.5 bits likelier as English, a run of English
// words less each. measure_plaintext weighs these: Malayalam words lost to
// English against English words converted, alone and in phrases.
inline constexpr double kEnglishMarginBits = 0.5;
inline constexpr double kLanguageSwitchBits = 2.0;

struct WordScore {
  double english = kNoLikelihood;    // log2 likelihood as an English word; none without a Latin letter
  double malayalam = kNoLikelihood;  // log2 likelihood of what the font draws; none without Malayalam

  WordKind Kind() const {
    if (english == kNoLikelihood && malayalam == kNoLikelihood) return WordKind::kNeutral;
    return english - kEnglishMarginBits > malayalam ? WordKind::kEnglish : WordKind::kMalayalam;
  }
  // The likelihood of the word under the kind it is judged to be.
  double Best() const { return std::max(english - kEnglishMarginBits, malayalam); }
};

// The kind of each word of a line: the likeliest sequence of English and
// Malayalam for the words' scores, each change of language costing
// kLanguageSwitchBits. A neutral word stays neutral and does not part its
// neighbours. `kinds` has one place per score. Linear.
void JudgeLine(std::span<const WordScore> scores, std::span<WordKind> kinds);

// White space ends words: space, tab, the line ends, no-break space.
constexpr bool IsWordSeparator(char16_t ch) {
  return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\v' || ch == u'\f';
}

// Calls `word(begin, end)` for each word of the text, in order.
template <typename Function>
void ForEachWord(std::u16string_view text, Function&& word) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsWordSeparator(text[i])) ++i;
    const std::size_t begin = i;
    while (i < text.size() && !IsWordSeparator(text[i])) ++i;
    if (i > begin) word(begin, i);
  }
}

// The word's characters as an English word: its letters lower-cased through
// the English model, its capitals as English capitalises, and the quotes,
// brackets and stops at its edges at a small cost each.
double EnglishWordLog2(std::u16string_view characters);

// Unicode text as a Malayalam word, in its canonical form, without the
// punctuation at its edges (which costs a little, as for English); none for
// text without a Malayalam character. Anything else that is no Malayalam
// (a code the font left unconverted) costs what an unseen character does.
double MalayalamWordLog2(std::u16string_view unicode);

// What a word's codes draw in `font`, and how likely that is as a Malayalam
// word (MalayalamWordLog2). A sign typed before its consonant (E, EE, the RA
// sign) that ends the word, before any closing punctuation, has no
// consonant to go with: no typist ends a word so, and such a reading costs
// an unseen symbol more. "cat" in ML-TT ends in the EE sign.
struct MalayalamReading {
  std::u16string unicode;
  double log2 = kNoLikelihood;
};
MalayalamReading ReadAsMalayalam(const PlainTextFont& font, std::u16string_view glyphs);

// Both likelihoods of one word, its codes read in `font`.
WordScore ScoreWord(const PlainTextFont& font, std::u16string_view glyphs, std::u16string_view characters);

}  // namespace maravelundi
