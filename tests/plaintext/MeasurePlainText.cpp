// Measures the plain-text layer on real words (Debian's hunspell-ml and
// hunspell-en-us), for every family encoding with a map:
//
//   1. conversion: every dictionary word typed in the encoding (TypistEncoder),
//      held as people hold such text, decoded, made a document in the font
//      and converted by the pipeline (modern spelling, plain text), against
//      the dictionary's spelling;
//   2. the detector: texts of 200, 30 and 8 held-out words in random order,
//      found right when the font it names converts the text as the true font
//      does (encodings that share a byte layout are one answer), and how
//      often it names the encoding itself;
//   3. mixed text: held-out Malayalam words with held-out English words
//      among them, and common English words, through the pipeline: Malayalam
//      converted right, English kept as it was.
//
//   measure_plaintext [--quick] [--failures N] [--ml DIC] [--en DIC]
//
// --quick measures fewer texts and words; --failures N prints N failures of
// each kind. Seeds are fixed and printed. Reads the dictionaries only; writes
// only to standard output. A measurement, not a test: it asserts nothing.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "convert/Conversion.h"
#include "families/LegacyEncoding.h"
#include "families/SpellingFilter.h"
#include "families/TypistEncoder.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/FontDetector.h"
#include "plaintext/PlainTextDocument.h"
#include "plaintext/PlainTextMaterial.h"
#include "plaintext/WordLanguage.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

using testing::HeldAs;
using testing::Random;
using testing::TypistEncoder;

struct Settings {
  bool quick = false;
  int failures = 0;
  std::string malayalam = "/usr/share/hunspell/ml_IN.dic";
  std::string english = "/usr/share/hunspell/en_US.dic";
};

double Percent(std::size_t part, std::size_t whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

std::string Name(std::string_view name) { return std::string(name); }

// The pipeline's plain-text output of a document, split into lines.
std::vector<std::u16string> ConvertToLines(const Document& document) {
  ConversionProfile profile;
  profile.generation = Generation::kAuto;
  profile.spelling = Spelling::kModern;
  const std::u16string text = FromUtf8(ConvertDocument(document, OutputKind::kText, profile));
  std::vector<std::u16string> lines(1);
  for (const char16_t ch : text) {
    if (ch == u'\n') lines.emplace_back();
    else if (ch != u'\r') lines.back().push_back(ch);
  }
  return lines;
}

std::vector<std::u16string> SplitWords(std::u16string_view line) {
  std::vector<std::u16string> words;
  ForEachWord(line, [&](std::size_t b, std::size_t e) { words.emplace_back(line.substr(b, e - b)); });
  return words;
}

bool SameMalayalam(std::u16string_view converted, std::u16string_view dictionary) {
  return ModernSpelling(converted) == ModernSpelling(dictionary);
}

// Whether a dictionary word follows Malayalam's syllable structure: each
// vowel sign and virama after a consonant, anusvara and visarga after a
// letter or sign, each joiner after a virama. Some words of the dictionary
// were themselves converted from legacy fonts and kept a visual order ("the
// AI sign, then the virama of a VA sign"), or a joiner where none belongs;
// the converter writes those in logical order, and rightly differs.
bool WellFormed(std::u16string_view word) {
  const auto consonant = [](char16_t ch) { return ch >= 0x0D15 && ch <= 0x0D3A; };
  const auto sign = [](char16_t ch) { return (ch >= 0x0D3E && ch <= 0x0D4C) || ch == 0x0D57; };
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char16_t ch = word[i];
    const char16_t before = i > 0 ? word[i - 1] : 0;
    if ((sign(ch) || ch == 0x0D4D) && !consonant(before)) return false;
    if ((ch == 0x0D02 || ch == 0x0D03) && !(consonant(before) || sign(before) || (before >= 0x0D05 && before <= 0x0D14))) {
      return false;
    }
    if ((ch == 0x200C || ch == 0x200D) && before != 0x0D4D) return false;
  }
  return true;
}

std::u16string WithoutNonJoiners(std::u16string text) {
  std::erase(text, u'\u200C');
  return text;
}

// --- 1. Conversion of every word -----------------------------------------------

struct ConversionTally {
  std::size_t typed = 0, right = 0, rightIgnoringNonJoiners = 0, keptAsEnglish = 0, rightConvertingAll = 0;
  std::size_t wellFormed = 0, wellFormedRight = 0;
};

ConversionTally MeasureConversion(const LegacyEncoding& encoding, const std::vector<std::u16string>& words,
                                  const Settings& settings) {
  const TypistEncoder typist(encoding);
  std::vector<const std::u16string*> typedWords;
  std::u16string glyphs;
  for (std::size_t i = 0; i < words.size(); i += settings.quick ? 20 : 1) {
    const auto typed = typist.Type(words[i]);
    if (!typed) continue;
    glyphs += *typed;
    glyphs.push_back(u'\n');
    typedWords.push_back(&words[i]);
  }
  const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(glyphs, encoding, HeldAs::kNatural));
  const PlainTextFont font = FontOfEncoding(encoding, NaturalReading(encoding));
  const PlainTextDocument document = BuildPlainTextDocument(decoded.Glyphs(), font);
  const std::vector<std::u16string> lines = ConvertToLines(document.document);
  const std::vector<std::u16string> all =
      ConvertToLines(BuildPlainTextDocument(decoded.Glyphs(), font, PlainTextOptions{.convertAll = true}).document);
  ConversionTally tally;
  int shown = settings.failures;
  for (std::size_t i = 0; i < typedWords.size(); ++i) {
    const std::u16string& word = *typedWords[i];
    const std::u16string& line = i < lines.size() ? lines[i] : std::u16string();
    ++tally.typed;
    const bool right = SameMalayalam(line, word);
    tally.right += right;
    tally.rightIgnoringNonJoiners +=
        right || WithoutNonJoiners(ModernSpelling(line)) == WithoutNonJoiners(ModernSpelling(word));
    tally.rightConvertingAll += i < all.size() && SameMalayalam(all[i], word);
    if (WellFormed(word)) {
      ++tally.wellFormed;
      tally.wellFormedRight += right;
    }
    if (!right && shown-- > 0) std::cout << "    " << ToUtf8(word) << " -> " << ToUtf8(line) << "\n";
  }
  tally.keptAsEnglish = document.englishWords;
  return tally;
}

// --- 2. The detector ----------------------------------------------------------------

struct DetectorTally {
  std::size_t texts = 0, right = 0, sameEncoding = 0;
  double confidenceRight = 0, confidenceWrong = 0;
};

// What a font makes of every word of the text, for comparing answers.
std::u16string ConvertWords(const PlainTextFont& font, const GlyphText& text) {
  std::u16string out;
  const std::u16string_view glyphs = text.Reading(font.reading);
  ForEachWord(glyphs, [&](std::size_t b, std::size_t e) {
    out += FontToUnicode(font, glyphs.substr(b, e - b));
    out.push_back(u' ');
  });
  return out;
}

DetectorTally MeasureDetector(const LegacyEncoding& encoding, const std::vector<std::u16string>& words,
                              std::size_t length, std::size_t texts, HeldAs form, std::uint64_t seed,
                              int& shown) {
  const TypistEncoder typist(encoding);
  Random random(seed);
  DetectorTally tally;
  const PlainTextFont truth = FontOfEncoding(encoding, form == HeldAs::kMacRoman ? GlyphReading::kMacRoman
                                                       : form == HeldAs::kWindows1252 ? GlyphReading::kWindows1252
                                                                                      : NaturalReading(encoding));
  for (std::size_t t = 0; t < texts; ++t) {
    const testing::TypedText typed = TypeRandomWords(typist, words, length, random);
    const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(typed.glyphs, encoding, form));
    const GlyphText text = decoded.Glyphs();
    const FontGuess guess = DetectFont(text);
    ++tally.texts;
    const bool right = guess.kind == TextKind::kLegacy && ConvertWords(guess.font, text) == ConvertWords(truth, text);
    tally.right += right;
    tally.sameEncoding += guess.kind == TextKind::kLegacy && guess.font.encoding == &encoding;
    (right ? tally.confidenceRight : tally.confidenceWrong) += guess.confidence;
    if (!right && shown-- > 0) {
      std::cout << "    " << encoding.name << " " << length << " words: found " << TextKindName(guess.kind) << " "
                << guess.font.encodingName << " (" << guess.confidence << "): " << ToUtf8(typed.glyphs.substr(0, 120))
                << "\n";
    }
  }
  return tally;
}

// --- 3. Mixed text ------------------------------------------------------------------

struct MixedTally {
  std::size_t malayalam = 0, malayalamRight = 0;
  std::size_t english[2] = {}, englishKept[2] = {};  // by the pool the word came from
};

struct MixedShape {
  std::size_t longestRun;  // English comes in runs of 1 to this many words
  const std::vector<std::u16string>* pools[2];  // each English word from either, half and half
};

// Lines of ten words: Malayalam, with an English run starting at a word one
// time in five.
MixedTally MeasureMixed(const LegacyEncoding& encoding, const std::vector<std::u16string>& malayalam,
                        const MixedShape& shape, std::size_t lines, std::uint64_t seed, int& shown) {
  const TypistEncoder typist(encoding);
  Random random(seed);
  std::u16string glyphs;
  struct Expected {
    int pool;  // -1: Malayalam
    std::u16string word;
  };
  std::vector<std::vector<Expected>> expected;
  for (std::size_t l = 0; l < lines; ++l) {
    expected.emplace_back();
    std::size_t englishLeft = 0;
    for (int w = 0; w < 10; ++w) {
      if (w > 0) glyphs.push_back(u' ');
      if (englishLeft == 0 && random.Below(5) == 0) englishLeft = 1 + random.Below(shape.longestRun);
      if (englishLeft > 0) {
        --englishLeft;
        const int pool = shape.pools[1] != nullptr && random.Below(2) == 1 ? 1 : 0;
        const std::vector<std::u16string>& words = *shape.pools[pool];
        const std::u16string& word = words[random.Below(words.size())];
        glyphs += word;
        expected.back().push_back(Expected{pool, word});
        continue;
      }
      const testing::TypedText typed = TypeRandomWords(typist, malayalam, 1, random);
      glyphs += typed.glyphs;
      expected.back().push_back(Expected{-1, typed.words.front()});
    }
    glyphs.push_back(u'\n');
  }
  const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(glyphs, encoding, HeldAs::kNatural));
  const PlainTextDocument document =
      BuildPlainTextDocument(decoded.Glyphs(), FontOfEncoding(encoding, NaturalReading(encoding)));
  const std::vector<std::u16string> converted = ConvertToLines(document.document);
  MixedTally tally;
  for (std::size_t l = 0; l < expected.size(); ++l) {
    const std::vector<std::u16string> got = SplitWords(l < converted.size() ? converted[l] : u"");
    for (std::size_t w = 0; w < expected[l].size(); ++w) {
      const Expected& e = expected[l][w];
      const std::u16string out = w < got.size() ? got[w] : u"";
      bool right = false;
      if (e.pool >= 0) {
        ++tally.english[e.pool];
        right = out == e.word;
        tally.englishKept[e.pool] += right;
      } else {
        ++tally.malayalam;
        right = SameMalayalam(out, e.word);
        tally.malayalamRight += right;
      }
      if (!right && shown-- > 0) {
        std::cout << "    " << encoding.name << (e.pool >= 0 ? " English " : " Malayalam ") << ToUtf8(e.word)
                  << " -> " << ToUtf8(out) << "\n";
      }
    }
  }
  return tally;
}

// Common English words, which a dictionary of word types does not know are
// common: short ones among them type Malayalam words in the ML-TT layout.
constexpr std::u16string_view kCommonEnglish[] = {
    u"the",   u"of",    u"and",   u"to",    u"in",   u"is",    u"you",   u"that",  u"it",    u"he",   u"was",
    u"for",   u"on",    u"are",   u"as",    u"with", u"his",   u"they",  u"I",     u"at",    u"be",   u"this",
    u"have",  u"from",  u"or",    u"one",   u"had",  u"by",    u"word",  u"but",   u"not",   u"what", u"all",
    u"were",  u"we",    u"when",  u"your",  u"can",  u"said",  u"there", u"use",   u"an",    u"each", u"which",
    u"she",   u"do",    u"how",   u"their", u"if",   u"will",  u"up",    u"other", u"about", u"out",  u"many",
    u"then",  u"them",  u"these", u"so",    u"some", u"her",   u"would", u"make",  u"like",  u"him",  u"into",
    u"time",  u"has",   u"look",  u"two",   u"more", u"write", u"go",    u"see",   u"number", u"no", u"way",
    u"could", u"people", u"my",   u"than",  u"first", u"water", u"been", u"call",  u"who",   u"oil",  u"its",
    u"now",   u"find",  u"long",  u"down",  u"day",  u"did",   u"get",   u"come",  u"made",  u"may",  u"part",
    u"The",   u"In",    u"It",    u"This",  u"PDF",  u"Kerala", u"India", u"Email", u"Page",  u"Note", u"OK",
};

}  // namespace
}  // namespace maravelundi

int main(int argc, char** argv) {
  using namespace maravelundi;
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--quick") settings.quick = true;
    else if (arg == "--failures" && i + 1 < argc) settings.failures = std::atoi(argv[++i]);
    else if (arg == "--ml" && i + 1 < argc) settings.malayalam = argv[++i];
    else if (arg == "--en" && i + 1 < argc) settings.english = argv[++i];
    else {
      std::cerr << "usage: measure_plaintext [--quick] [--failures N] [--ml DIC] [--en DIC]\n";
      return 2;
    }
  }
  const std::vector<std::u16string> malayalam = testing::ReadDictionary(settings.malayalam);
  const std::vector<std::u16string> english = testing::ReadDictionary(settings.english);
  if (malayalam.empty() || english.empty()) {
    std::cerr << "no words in " << settings.malayalam << " or " << settings.english << "\n";
    return 1;
  }
  const std::vector<std::u16string> heldMalayalam = testing::HeldOutWords(malayalam);
  const std::vector<std::u16string> heldEnglish = testing::HeldOutWords(english);
  std::printf("%zu Malayalam words (%zu held out), %zu English stems (%zu held out)%s\n\n", malayalam.size(),
              heldMalayalam.size(), english.size(), heldEnglish.size(), settings.quick ? ", quick" : "");

  std::printf("1. Conversion of every word, a word a line, held as the encoding's own code page, in its font, "
              "through the pipeline (modern spelling):\n   right with English words kept (and but for non-joiners), "
              "words kept as English, right converting all,\n   right among the words spelled in logical "
              "order (WellFormed)\n");
  std::printf("%-26s %8s %16s %16s %8s %16s %20s\n", "encoding", "typed", "right", "but non-joiners", "English",
              "converting all", "well formed: right");
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const auto t = MeasureConversion(encoding, malayalam, settings);
    std::printf("%-26s %8zu %8zu %6.2f%% %8zu %6.2f%% %8zu %8zu %6.2f%% %8zu %8zu %6.2f%%\n",
                Name(encoding.name).c_str(), t.typed, t.right, Percent(t.right, t.typed), t.rightIgnoringNonJoiners,
                Percent(t.rightIgnoringNonJoiners, t.typed), t.keptAsEnglish, t.rightConvertingAll,
                Percent(t.rightConvertingAll, t.typed), t.wellFormed, t.wellFormedRight,
                Percent(t.wellFormedRight, t.wellFormed));
  }

  const std::size_t scale = settings.quick ? 5 : 1;
  struct Length {
    std::size_t words, texts;
  };
  const Length lengths[] = {{200, 100 / scale}, {30, 500 / scale}, {8, 1000 / scale}};
  const std::uint64_t detectorSeed = 20240;
  std::printf("\n2. The detector on held-out words in random order (seed %llu + encoding), held in the encoding's "
              "own code page:\n   right (converts as the true font) / names the encoding itself; mean confidence "
              "when right | wrong\n",
              static_cast<unsigned long long>(detectorSeed));
  std::printf("%-26s", "encoding");
  for (const Length& length : lengths) std::printf(" %21zu words", length.words);
  std::printf("\n");
  int shown = settings.failures;
  std::size_t e = 0;
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    std::printf("%-26s", Name(encoding.name).c_str());
    for (const Length& length : lengths) {
      const auto t = MeasureDetector(encoding, heldMalayalam, length.words, length.texts, HeldAs::kNatural,
                                     detectorSeed + e, shown);
      std::printf(" %6.1f%% %5.1f%% %.2f|%.2f", Percent(t.right, t.texts), Percent(t.sameEncoding, t.texts),
                  t.right ? t.confidenceRight / t.right : 0.0,
                  t.texts > t.right ? t.confidenceWrong / (t.texts - t.right) : 0.0);
      std::fflush(stdout);
    }
    std::printf("\n");
    ++e;
  }

  std::printf("\n   30-word texts held in other forms: right\n%-26s", "encoding");
  const HeldAs forms[] = {HeldAs::kWindows1252, HeldAs::kMacRoman, HeldAs::kBytes, HeldAs::kPrivateUse,
                          HeldAs::kUtf16Le};
  for (const HeldAs form : forms) std::printf(" %13s", std::string(testing::HeldAsName(form)).c_str());
  std::printf("\n");
  e = 0;
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    std::printf("%-26s", Name(encoding.name).c_str());
    for (const HeldAs form : forms) {
      const auto t = MeasureDetector(encoding, heldMalayalam, 30, 100 / scale, form, detectorSeed + 100 + e, shown);
      std::printf(" %12.1f%%", Percent(t.right, t.texts));
    }
    std::printf("\n");
    ++e;
  }

  const std::uint64_t mixedSeed = 7;
  std::printf("\n3. Mixed text: lines of ten held-out Malayalam words, an English run starting at a word one time in "
              "five (seed %llu + encoding)\n   a: single held-out English stems; b: runs of 1 to 4 words, each a "
              "common English word or a held-out stem\n",
              static_cast<unsigned long long>(mixedSeed));
  std::printf("%-26s %16s %16s %16s %16s %16s\n", "encoding", "a: Malayalam", "a: English kept", "b: Malayalam",
              "b: common kept", "b: stems kept");
  e = 0;
  const std::vector<std::u16string> common(std::begin(kCommonEnglish), std::end(kCommonEnglish));
  const MixedShape single{1, {&heldEnglish, nullptr}};
  const MixedShape phrases{4, {&common, &heldEnglish}};
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const auto a = MeasureMixed(encoding, heldMalayalam, single, 2000 / scale, mixedSeed + e, shown);
    const auto b = MeasureMixed(encoding, heldMalayalam, phrases, 2000 / scale, mixedSeed + 50 + e, shown);
    std::printf("%-26s %15.2f%% %15.2f%% %15.2f%% %15.2f%% %15.2f%%\n", Name(encoding.name).c_str(),
                Percent(a.malayalamRight, a.malayalam), Percent(a.englishKept[0], a.english[0]),
                Percent(b.malayalamRight, b.malayalam), Percent(b.englishKept[0], b.english[0]),
                Percent(b.englishKept[1], b.english[1]));
    std::fflush(stdout);
    ++e;
  }

  const std::uint64_t otherSeed = 99;
  std::printf("\n4. Texts that are no legacy text (seed %llu): found to be what they are\n",
              static_cast<unsigned long long>(otherSeed));
  std::printf("%-40s %12s %12s %12s\n", "text", "200 words", "30 words", "8 words");
  struct Other {
    const char* what;
    TextKind kind;
    const std::vector<std::u16string>* pools[2];
  };
  const Other others[] = {
      {"English: held-out stems", TextKind::kEnglish, {&heldEnglish, nullptr}},
      {"English: common words and held-out stems", TextKind::kEnglish, {&common, &heldEnglish}},
      {"Unicode Malayalam: held-out words", TextKind::kUnicodeMalayalam, {&heldMalayalam, nullptr}},
  };
  for (const Other& other : others) {
    std::printf("%-40s", other.what);
    for (const Length& length : lengths) {
      Random random(otherSeed + length.words);
      std::size_t right = 0;
      for (std::size_t t = 0; t < length.texts; ++t) {
        std::u16string text;
        for (std::size_t w = 0; w < length.words; ++w) {
          const int pool = other.pools[1] != nullptr && random.Below(2) == 1 ? 1 : 0;
          if (w > 0) text.push_back(u' ');
          text += (*other.pools[pool])[random.Below(other.pools[pool]->size())];
        }
        const DecodedText decoded = DecodeLegacyText(ToUtf8(text));
        right += DetectFont(decoded.Glyphs()).kind == other.kind;
      }
      std::printf(" %11.1f%%", Percent(right, length.texts));
    }
    std::printf("\n");
  }
  return 0;
}
