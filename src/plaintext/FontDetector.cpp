#include "plaintext/FontDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "plaintext/SplitGlyphs.h"
#include "plaintext/WordLanguage.h"

namespace maravelundi {
namespace {

// A text is legacy Malayalam when at least this share of its words (that
// are not digits or punctuation) read as Malayalam in the best font.
constexpr double kLegacyShare = 0.5;

// A text is Malayalam Unicode when at least this share of its characters
// (outside white space) are Malayalam.
constexpr double kUnicodeShare = 0.5;

// The confidence weighs each other answer by 2^(-difference / this): the
// models are surer of themselves than they have reason to be.
constexpr double kConfidenceScaleBits = 4.0;

// What a word costs for each glyph of the encoding it splits in two
// (SplitGlyphs.h): text that splits what a font joins was typed in another.
constexpr double kSplitGlyphBits = 8.0;

constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325u;
constexpr std::uint64_t kFnvPrime = 0x100000001B3u;

std::uint64_t Mix(std::uint64_t hash, char16_t unit) { return (hash ^ unit) * kFnvPrime; }

// How often text comes in an encoding, as far as anyone can tell: as often
// as the fonts that use it. Where the words cannot tell two encodings apart
// (ML reads byte E5 as NU, ML-TT Aswathi as N with virama, and a word ending
// in either reads well), the one with 66 fonts is likelier than the one with
// 2. A quarter of log2 of the number of fonts the maps name for it: enough to
// settle such a word, too little to outweigh any other evidence (measured on
// texts of other seeds than measure_plaintext's).
constexpr double kPriorWeight = 0.25;

double PriorLog2(const LegacyEncoding& encoding) {
  const auto fonts = KnownLegacyFonts();
  const auto count = std::count_if(fonts.begin(), fonts.end(), [&](const LegacyFontName& f) {
    return f.encoding == &encoding;
  });
  return std::log2(static_cast<double>(std::max<std::ptrdiff_t>(count, 1)));
}

struct Word {
  std::size_t begin;
  std::size_t end;
  double english;
};

std::vector<Word> SampleWords(const GlyphText& text, std::size_t maxWords) {
  std::vector<Word> words;
  const std::u16string_view characters = text.Characters();
  const std::u16string_view sample = text.windows1252;
  std::size_t i = 0;
  while (i < sample.size() && words.size() < maxWords) {
    while (i < sample.size() && IsWordSeparator(sample[i])) ++i;
    const std::size_t begin = i;
    while (i < sample.size() && !IsWordSeparator(sample[i])) ++i;
    if (i > begin) words.push_back(Word{begin, i, EnglishWordLog2(characters.substr(begin, i - begin))});
  }
  return words;
}

double UnicodeMalayalamShare(const GlyphText& text, const std::vector<Word>& words) {
  std::size_t malayalam = 0;
  std::size_t all = 0;
  for (const Word& word : words) {
    for (std::size_t i = word.begin; i < word.end; ++i) {
      malayalam += text.windows1252[i] >= 0x0D00 && text.windows1252[i] <= 0x0D7F;
    }
    all += word.end - word.begin;
  }
  return all == 0 ? 0.0 : static_cast<double>(malayalam) / static_cast<double>(all);
}

FontCandidate Score(const GlyphText& text, const std::vector<Word>& words, const PlainTextFont& font) {
  const std::u16string_view glyphs = text.Reading(font.reading);
  FontCandidate candidate{font};
  std::uint64_t hash = kFnvOffset;
  for (const Word& word : words) {
    const std::u16string_view codes = glyphs.substr(word.begin, word.end - word.begin);
    const MalayalamReading reading = ReadAsMalayalam(font, codes);
    const double split = static_cast<double>(CountSplitGlyphs(*font.encoding, codes)) * kSplitGlyphBits;
    const WordScore score{word.english, reading.log2 - split};
    const WordKind kind = score.Kind();
    hash = Mix(hash, static_cast<char16_t>(kind));
    if (kind == WordKind::kNeutral) continue;
    candidate.log2Likelihood += score.Best();
    if (kind == WordKind::kEnglish) {
      ++candidate.englishWords;
    } else {
      ++candidate.malayalamWords;
      for (const char16_t unit : reading.unicode) hash = Mix(hash, unit);
    }
  }
  candidate.output = hash;
  candidate.log2Likelihood += kPriorWeight * PriorLog2(*font.encoding);
  return candidate;
}

std::vector<FontCandidate> Rank(const GlyphText& text, const std::vector<Word>& words) {
  std::vector<FontCandidate> candidates;
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    candidates.push_back(Score(text, words, FontOfEncoding(encoding, GlyphReading::kWindows1252)));
    if (text.ReadsApart()) candidates.push_back(Score(text, words, FontOfEncoding(encoding, GlyphReading::kMacRoman)));
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const FontCandidate& a, const FontCandidate& b) {
    return a.log2Likelihood > b.log2Likelihood;
  });
  // Among the answers that make the same of every word as the best, the
  // encoding whose maps were keyed by the reading, then the commonest, then
  // the first listed.
  const std::uint64_t best = candidates.front().output;
  const auto alike = std::stable_partition(candidates.begin(), candidates.end(),
                                           [&](const FontCandidate& c) { return c.output == best; });
  std::stable_sort(candidates.begin(), alike, [](const FontCandidate& a, const FontCandidate& b) {
    const bool aNatural = NaturalReading(*a.font.encoding) == a.font.reading;
    const bool bNatural = NaturalReading(*b.font.encoding) == b.font.reading;
    if (aNatural != bNatural) return aNatural;
    return a.log2Likelihood > b.log2Likelihood;
  });
  return candidates;
}

double Confidence(const std::vector<FontCandidate>& ranked) {
  const FontCandidate& best = ranked.front();
  double others = 0.0;
  for (const FontCandidate& candidate : ranked) {
    if (candidate.output == best.output) continue;
    others += std::exp2((candidate.log2Likelihood - best.log2Likelihood) / kConfidenceScaleBits);
  }
  return 1.0 / (1.0 + others);
}

}  // namespace

std::vector<FontCandidate> RankFonts(const GlyphText& text, const DetectorOptions& options) {
  return Rank(text, SampleWords(text, options.maxWords));
}

FontGuess DetectFont(const GlyphText& text, const DetectorOptions& options) {
  const std::vector<Word> words = SampleWords(text, options.maxWords);
  FontGuess guess;
  guess.words = words.size();
  if (words.empty()) return guess;
  if (const double share = UnicodeMalayalamShare(text, words); share >= kUnicodeShare) {
    guess.kind = TextKind::kUnicodeMalayalam;
    guess.confidence = share;
    return guess;
  }
  const std::vector<FontCandidate> ranked = Rank(text, words);
  const FontCandidate& best = ranked.front();
  const std::size_t judged = best.malayalamWords + best.englishWords;
  const double share = judged == 0 ? 0.0 : static_cast<double>(best.malayalamWords) / static_cast<double>(judged);
  if (share < kLegacyShare) {
    guess.kind = TextKind::kEnglish;
    guess.confidence = 1.0 - share;
    return guess;
  }
  guess.kind = TextKind::kLegacy;
  guess.font = best.font;
  guess.confidence = Confidence(ranked);
  return guess;
}

std::string_view TextKindName(TextKind kind) {
  switch (kind) {
    case TextKind::kEmpty: return "empty";
    case TextKind::kLegacy: return "legacy";
    case TextKind::kUnicodeMalayalam: return "Unicode Malayalam";
    case TextKind::kEnglish: return "English";
  }
  return "";
}

}  // namespace maravelundi
