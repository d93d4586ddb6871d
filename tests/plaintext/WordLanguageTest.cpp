// English words among legacy-font Malayalam: which words are which, alone
// and in lines, and the line judge against an exhaustive search.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "families/TypistEncoder.h"
#include "plaintext/PlainTextFont.h"
#include "plaintext/PlainTextMaterial.h"
#include "plaintext/WordLanguage.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

constexpr char16_t kTyped = u'~';  // marks a word to type in the font: "~സ്നേഹം"

// A line as people hold it: English words as they are, Malayalam words (each
// marked with kTyped) typed in the encoding.
std::u16string TypeLine(const LegacyEncoding& encoding, std::u16string_view line) {
  const testing::TypistEncoder typist(encoding);
  std::u16string glyphs;
  ForEachWord(line, [&](std::size_t begin, std::size_t end) {
    if (!glyphs.empty()) glyphs.push_back(u' ');
    const std::u16string_view word = line.substr(begin, end - begin);
    if (word.front() != kTyped) {
      glyphs += word;
      return;
    }
    const auto typed = typist.Type(word.substr(1));
    EXPECT_TRUE(typed.has_value()) << ToUtf8(word);
    glyphs += typed.value_or(u"");
  });
  return glyphs;
}

// The kinds JudgeLine gives the words of a line: 'E', 'M' or 'N' each.
std::string Kinds(const PlainTextFont& font, std::u16string_view glyphs) {
  std::vector<WordScore> scores;
  ForEachWord(glyphs, [&](std::size_t b, std::size_t e) {
    scores.push_back(ScoreWord(font, glyphs.substr(b, e - b), glyphs.substr(b, e - b)));
  });
  std::vector<WordKind> kinds(scores.size());
  JudgeLine(scores, kinds);
  std::string out;
  for (const WordKind kind : kinds) out += kind == WordKind::kEnglish ? 'E' : kind == WordKind::kMalayalam ? 'M' : 'N';
  return out;
}

struct LineCase {
  std::u16string_view line;
  std::string_view kinds;
};

// The same lines in the encodings whose letters are Latin letters (ML-TT and
// its like) and in one that keeps ASCII as it is (MLB): words that read as
// Malayalam in the first are plain English in the second.
const LineCase kLines[] = {
    {u"~കേരളം ~സംസ്ഥാനം", "MM"},
    {u"~സ്നേഹം computer ~ഉണ്ട്", "MEM"},
    {u"~ഇത് the Government of India ~ആണ്", "MEEEEM"},
    {u"Kerala ~സർക്കാർ", "EM"},
    {u"~അവൻ PDF ~ഫയൽ ~അയച്ചു.", "MEMM"},
    {u"~വില 250 ~രൂപ", "MNM"},
    {u"\"Hello,\" ~അവൻ ~പറഞ്ഞു", "EMM"},
    {u"~മലയാളം ~ഭാഷ ~ഇന്ത്യയിലെ ~കേരളത്തിൽ", "MMMM"},
    {u"The quick brown fox jumps over the lazy dog", "EEEEEEEEE"},
};

TEST(WordLanguageTest, LinesInEveryLayout) {
  for (const std::string_view name : {"ML-TT", "ML", "MLB", "GIST-MLTT"}) {
    const LegacyEncoding& encoding = *FindLegacyEncodingByName(name);
    const PlainTextFont font = FontOfEncoding(encoding, GlyphReading::kWindows1252);
    for (const LineCase& c : kLines) {
      const std::u16string glyphs = TypeLine(encoding, c.line);
      EXPECT_EQ(Kinds(font, glyphs), c.kinds) << name << ": " << ToUtf8(c.line) << " typed " << ToUtf8(glyphs);
    }
  }
}

// Single words, each alone on a line, in the ML-TT layout.
TEST(WordLanguageTest, WordsAlone) {
  const LegacyEncoding& mltt = *FindLegacyEncodingByName("ML-TT");
  const PlainTextFont font = FontOfEncoding(mltt, GlyphReading::kWindows1252);
  struct WordCase {
    std::u16string_view word;
    WordKind kind;
  };
  const WordCase cases[] = {
      {u"~പ്രധാനമന്ത്രി", WordKind::kMalayalam},
      {u"~വിദ്യാഭ്യാസം", WordKind::kMalayalam},
      {u"~ഒരു", WordKind::kMalayalam},
      {u"~ഞാൻ", WordKind::kMalayalam},
      {u"international", WordKind::kEnglish},
      {u"Thiruvananthapuram", WordKind::kEnglish},
      {u"(software)", WordKind::kEnglish},
      {u"UNESCO", WordKind::kEnglish},
      {u"cat", WordKind::kEnglish},  // ends in the EE sign, which no Malayalam word does
      {u"1947", WordKind::kNeutral},
      {u"--", WordKind::kNeutral},
  };
  for (const WordCase& c : cases) {
    const std::u16string glyphs = TypeLine(mltt, c.word);
    const WordScore score = ScoreWord(font, glyphs, glyphs);
    EXPECT_EQ(score.Kind(), c.kind) << ToUtf8(c.word) << " typed " << ToUtf8(glyphs) << ": English "
                                    << score.english << ", Malayalam " << score.malayalam;
  }
}

// The judge's choice is the likeliest sequence of kinds: on random scores
// (seed printed) its total equals the best an exhaustive search finds.
TEST(WordLanguageTest, JudgeLineFindsTheLikeliestSequence) {
  constexpr std::uint64_t kSeed = 77;
  std::printf("seed %llu\n", static_cast<unsigned long long>(kSeed));
  testing::Random random(kSeed);
  const auto bits = [&] { return -static_cast<double>(random.Below(4000)) / 100.0; };
  const auto total = [](const std::vector<WordScore>& scores, const std::vector<WordKind>& kinds) {
    double sum = 0.0;
    bool english = false;  // the line begins among Malayalam
    for (std::size_t i = 0; i < scores.size(); ++i) {
      if (kinds[i] == WordKind::kNeutral) continue;
      const bool nowEnglish = kinds[i] == WordKind::kEnglish;
      if (nowEnglish != english) sum -= kLanguageSwitchBits;
      english = nowEnglish;
      sum += nowEnglish ? scores[i].english - kEnglishMarginBits : scores[i].malayalam;
    }
    return english ? sum - kLanguageSwitchBits : sum;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<WordScore> scores(1 + random.Below(9));
    for (WordScore& score : scores) {
      switch (random.Below(6)) {
        case 0: break;  // neutral
        case 1: score.english = bits(); break;
        default: score = WordScore{bits(), bits()}; break;
      }
    }
    std::vector<WordKind> kinds(scores.size());
    JudgeLine(scores, kinds);
    double best = -1e18;
    for (std::size_t mask = 0; mask < (std::size_t{1} << scores.size()); ++mask) {
      std::vector<WordKind> trial(scores.size());
      bool possible = true;
      for (std::size_t i = 0; i < scores.size(); ++i) {
        trial[i] = scores[i].Kind() == WordKind::kNeutral ? WordKind::kNeutral
                   : (mask >> i & 1)                       ? WordKind::kEnglish
                                                           : WordKind::kMalayalam;
        const double own = trial[i] == WordKind::kEnglish ? scores[i].english : scores[i].malayalam;
        possible = possible && (trial[i] == WordKind::kNeutral || own != kNoLikelihood);
      }
      if (possible) best = std::max(best, total(scores, trial));
    }
    EXPECT_NEAR(total(scores, kinds), best, 1e-6) << "round " << round;
  }
}

}  // namespace
}  // namespace maravelundi
