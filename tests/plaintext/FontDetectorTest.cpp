// Finding the font of a text: a few texts per encoding (fixed seeds) found
// as an answer that converts them as their own font does, in both readings
// and every form a file holds them in; texts that are no legacy text found
// to be what they are.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "families/TypistEncoder.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/FontDetector.h"
#include "plaintext/PlainTextMaterial.h"
#include "plaintext/WordLanguage.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

using testing::HeldAs;

const std::vector<std::u16string>& Words() {
  static const std::vector<std::u16string> words =
      testing::HeldOutWords(testing::ReadDictionary("/usr/share/hunspell/ml_IN.dic"));
  return words;
}

// The first word two fonts make different things of, as "codes: one | other";
// empty where they make the same of every word, and are one answer.
std::string FirstDifference(const PlainTextFont& found, const PlainTextFont& truth, const GlyphText& text) {
  const std::u16string_view glyphs = text.Reading(found.reading);
  const std::u16string_view truthGlyphs = text.Reading(truth.reading);
  std::string difference;
  ForEachWord(glyphs, [&](std::size_t b, std::size_t e) {
    const std::u16string mine = FontToUnicode(found, glyphs.substr(b, e - b));
    const std::u16string theirs = FontToUnicode(truth, truthGlyphs.substr(b, e - b));
    if (difference.empty() && mine != theirs) {
      difference = ToUtf8(text.Characters().substr(b, e - b)) + ": " + ToUtf8(mine) + " | " + ToUtf8(theirs);
    }
  });
  return difference;
}

class FontDetectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Words().empty()) GTEST_SKIP() << "hunspell-ml is not installed";
  }
};

// Texts of 200 words, which measure_plaintext finds right every time.
TEST_F(FontDetectorTest, FindsEveryEncodingInItsOwnForm) {
  constexpr std::uint64_t kSeed = 5150;
  std::printf("seed %llu\n", static_cast<unsigned long long>(kSeed));
  testing::Random random(kSeed);
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const testing::TypistEncoder typist(encoding);
    const PlainTextFont truth = FontOfEncoding(encoding, NaturalReading(encoding));
    for (int text = 0; text < 3; ++text) {
      const testing::TypedText typed = TypeRandomWords(typist, Words(), 200, random);
      const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(typed.glyphs, encoding, HeldAs::kNatural));
      const FontGuess guess = DetectFont(decoded.Glyphs());
      SCOPED_TRACE(std::string(encoding.name) + ", text " + std::to_string(text));
      ASSERT_EQ(guess.kind, TextKind::kLegacy);
      EXPECT_EQ(FirstDifference(guess.font, truth, decoded.Glyphs()), "") << "found " << guess.font.encodingName;
      EXPECT_GT(guess.confidence, 0.5);
      EXPECT_EQ(guess.words, 200u);
      // The font the answer names is one --font takes, for the same encoding.
      const auto named = FindPlainTextFont(guess.font.fontName);
      ASSERT_TRUE(named.has_value()) << guess.font.fontName;
      EXPECT_EQ(named->encoding, guess.font.encoding);
      EXPECT_EQ(guess.font.encodingName, guess.font.encoding->name);
    }
  }
}

// A text of a Macintosh font held as Windows-1252 characters, or as bytes,
// or as private-use characters, is found all the same.
TEST_F(FontDetectorTest, FindsTheReadingAFileHolds) {
  constexpr std::uint64_t kSeed = 6160;
  std::printf("seed %llu\n", static_cast<unsigned long long>(kSeed));
  testing::Random random(kSeed);
  struct Case {
    std::string_view encoding;
    HeldAs form;
    GlyphReading reading;  // of the answer, where the form leaves a choice
  };
  const Case cases[] = {
      {"ML", HeldAs::kMacRoman, GlyphReading::kMacRoman},
      {"ML", HeldAs::kWindows1252, GlyphReading::kWindows1252},
      {"MLB", HeldAs::kMacRoman, GlyphReading::kMacRoman},
      {"MLB", HeldAs::kWindows1252, GlyphReading::kWindows1252},
      {"ML-TT", HeldAs::kMacRoman, GlyphReading::kMacRoman},
      {"ML-TT", HeldAs::kUtf16Be, GlyphReading::kWindows1252},
      {"ML", HeldAs::kBytes, GlyphReading::kWindows1252},
      {"GIST-MLTT", HeldAs::kPrivateUse, GlyphReading::kWindows1252},
  };
  for (const Case& c : cases) {
    const LegacyEncoding& encoding = *FindLegacyEncodingByName(c.encoding);
    SCOPED_TRACE(std::string(c.encoding) + " held as " + std::string(testing::HeldAsName(c.form)));
    const testing::TypedText typed = TypeRandomWords(testing::TypistEncoder(encoding), Words(), 200, random);
    const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(typed.glyphs, encoding, c.form));
    const FontGuess guess = DetectFont(decoded.Glyphs());
    ASSERT_EQ(guess.kind, TextKind::kLegacy);
    EXPECT_TRUE(decoded.Glyphs().Reading(guess.font.reading) == decoded.Glyphs().Reading(c.reading));
    EXPECT_EQ(FirstDifference(guess.font, FontOfEncoding(encoding, c.reading), decoded.Glyphs()), "")
        << "found " << guess.font.encodingName;
  }
}

TEST_F(FontDetectorTest, TextsThatAreNoLegacyText) {
  struct Case {
    const char* what;
    std::string_view utf8;
    TextKind kind;
  };
  const Case cases[] = {
      {"English", "The committee will meet on Tuesday to discuss the budget for the new library.", TextKind::kEnglish},
      {"English with figures", "Total: 1,250 items (2019), shipped to Kochi and Delhi.", TextKind::kEnglish},
      {"Unicode Malayalam", "\xE0\xB4\xAE\xE0\xB4\xB2\xE0\xB4\xAF\xE0\xB4\xBE\xE0\xB4\xB3\xE0\xB4\x82 "
                            "\xE0\xB4\xAD\xE0\xB4\xBE\xE0\xB4\xB7",
       TextKind::kUnicodeMalayalam},
      {"empty", "", TextKind::kEmpty},
      {"white space only", " \r\n\t ", TextKind::kEmpty},
  };
  for (const Case& c : cases) {
    const DecodedText decoded = DecodeLegacyText(c.utf8);
    EXPECT_EQ(DetectFont(decoded.Glyphs()).kind, c.kind) << c.what;
  }
}

// Every family's encoding is a candidate in each reading the text has; a
// Rachana font never is, since plain text cannot say which of its six fonts
// each character was in.
TEST_F(FontDetectorTest, CandidatesAreTheFamiliesInBothReadings) {
  const DecodedText mac = DecodeLegacyText("\xCF\x80 Hcp");  // pi: the readings differ
  const DecodedText plain = DecodeLegacyText("Hcp hm");
  EXPECT_EQ(RankFonts(mac.Glyphs()).size(), 2 * LegacyEncodings().size());
  const std::vector<FontCandidate> ranked = RankFonts(plain.Glyphs());
  EXPECT_EQ(ranked.size(), LegacyEncodings().size());
  for (const FontCandidate& candidate : ranked) {
    EXPECT_NE(candidate.font.encoding, nullptr);
    EXPECT_EQ(candidate.font.rachana, nullptr);
  }
  // The answers alike to the best come first, then the rest by likelihood.
  const auto alike = std::find_if(ranked.begin(), ranked.end(), [&](const FontCandidate& c) {
    return c.output != ranked.front().output;
  });
  for (auto c = alike; c != ranked.end(); ++c) {
    EXPECT_LE(c->log2Likelihood, ranked.front().log2Likelihood);
    if (c + 1 != ranked.end()) {
      EXPECT_GE(c->log2Likelihood, (c + 1)->log2Likelihood);
    }
  }
}

// A long text is judged by its first words only: the answer for a text and
// for the same text with a great deal more after it agree.
TEST_F(FontDetectorTest, LooksAtTheFirstWordsOnly) {
  const LegacyEncoding& encoding = *FindLegacyEncodingByName("ML-TT");
  testing::Random random(8);
  const testing::TypedText typed = TypeRandomWords(testing::TypistEncoder(encoding), Words(), 50, random);
  std::u16string longer = typed.glyphs;
  for (int i = 0; i < 200; ++i) longer += u" qqqq";
  const DecodedText shortText = DecodeLegacyText(ToUtf8(typed.glyphs));
  const DecodedText longText = DecodeLegacyText(ToUtf8(longer));
  const FontGuess a = DetectFont(shortText.Glyphs(), DetectorOptions{.maxWords = 50});
  const FontGuess b = DetectFont(longText.Glyphs(), DetectorOptions{.maxWords = 50});
  EXPECT_EQ(a.words, 50u);
  EXPECT_EQ(b.words, 50u);
  EXPECT_EQ(a.font, b.font);
  EXPECT_DOUBLE_EQ(a.confidence, b.confidence);
}

}  // namespace
}  // namespace maravelundi
