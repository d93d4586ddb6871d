// The character models: the generated rows read back as a model whose every
// context's distribution sums to one, the symbols the Malayalam model counts,
// and the canonical form both models and dictionaries are compared in.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "plaintext/CharacterModel.h"
#include "plaintext/PlainTextMaterial.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// Back-off weights are what make each context's probabilities sum to one:
// a wrong weight, a row read under the wrong key, or a symbol split apart
// from how the rows were counted shows here. Contexts are random words of
// the model's own alphabet (seed printed), up to a word's start.
void ExpectDistributionsSumToOne(const CharacterModel& model, std::uint64_t seed) {
  std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
  testing::Random random(seed);
  const std::vector<std::u16string> alphabet = model.Alphabet();
  for (int round = 0; round < 60; ++round) {
    std::u16string context = u" ";
    const std::size_t length = random.Below(static_cast<std::size_t>(model.Order()) + 1);
    for (std::size_t i = 0; i < length; ++i) context += alphabet[1 + random.Below(alphabet.size() - 1)];
    double sum = 0.0;
    for (const std::u16string& symbol : alphabet) sum += std::exp2(model.NextLog2(context, symbol));
    // Rounding each row to a hundredth of a bit moves a sum by a few parts
    // in a hundred at most.
    EXPECT_NEAR(sum, 1.0, 0.06) << "after \"" << ToUtf8(context) << "\"";
  }
}

TEST(CharacterModelTest, EveryContextSumsToOne) {
  ExpectDistributionsSumToOne(MalayalamModel(), 31);
  ExpectDistributionsSumToOne(EnglishModel(), 32);
}

TEST(CharacterModelTest, DeadConsonantsAreOneMalayalamSymbol) {
  const std::vector<std::u16string> alphabet = MalayalamModel().Alphabet();
  const auto has = [&](std::u16string_view symbol) {
    return std::find(alphabet.begin(), alphabet.end(), symbol) != alphabet.end();
  };
  EXPECT_TRUE(has(u"ന്"));
  EXPECT_TRUE(has(u"ന്\u200D"));
  EXPECT_TRUE(has(u"ക"));
  EXPECT_EQ(alphabet.front(), u" ");
  const std::vector<std::u16string> english = EnglishModel().Alphabet();
  EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](const auto& s) { return s.size() == 1; }));
}

TEST(CharacterModelTest, WordsTheModelsKnowBeatNoise) {
  struct Case {
    const CharacterModel& model;
    std::u16string_view word;
    std::u16string_view noise;  // the same length, not a word
  };
  const Case cases[] = {
      {MalayalamModel(), u"സ്നേഹം", u"ംഹേസ്ന"},
      {MalayalamModel(), u"കേരളം", u"ളംകേര"},
      {EnglishModel(), u"computer", u"qxzkjvbw"},
      {EnglishModel(), u"language", u"gnaulgea"},
  };
  for (const Case& c : cases) {
    EXPECT_GT(c.model.WordLog2(c.word), c.model.WordLog2(c.noise) + 5) << ToUtf8(c.word);
    EXPECT_LT(c.model.WordLog2(c.word), 0.0);
  }
  // A symbol the model never saw costs what the header says, after backing
  // off all the way.
  EXPECT_LE(EnglishModel().NextLog2(u" ", u"ക"), -CharacterModel::kUnseenBits);
  EXPECT_LE(MalayalamModel().NextLog2(u" ", u"x"), -CharacterModel::kUnseenBits);
}

TEST(CharacterModelTest, CanonicalMalayalam) {
  struct Case {
    std::u16string_view text;
    std::u16string_view canonical;
  };
  const Case cases[] = {
      {u"അവന്\u200D", u"അവന്\u200D"},             // a chillu as the dictionary writes it
      {u"അവൻ", u"അവന്\u200D"},                     // an atomic chillu, the same
      {u"ആഴ്\u200Cച", u"ആഴ്ച"},                    // no non-joiners
      {u"കൊ", u"കൊ"},                             // composed O stays
      {u"ക\u0D46\u0D3E", u"കൊ"},                  // E and AA compose
      {u"ക\u0D47\u0D3E", u"കോ"},                  // EE and AA
      {u"ക\u0D46\u0D57", u"കൌ"},                  // E and the AU length mark
      {u"\u0D46\u200C\u0D3E", u"\u0D4A"},         // composed across a non-joiner that goes
      {u"abc", u"abc"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(CanonicalMalayalam(c.text)), ToUtf8(c.canonical)) << ToUtf8(c.text);
}

TEST(CharacterModelTest, EnglishCapitalisation) {
  // All lower case is the commonest shape, then a capital first, then all
  // capitals; anything else is rarest.
  const double lower = EnglishCaseLog2(u"kerala");
  const double capitalised = EnglishCaseLog2(u"Kerala");
  const double upper = EnglishCaseLog2(u"KERALA");
  const double mixed = EnglishCaseLog2(u"KeRaLa");
  EXPECT_GT(lower, capitalised);
  EXPECT_GT(capitalised, upper);
  EXPECT_GT(upper, mixed);
  EXPECT_EQ(EnglishCaseLog2(u"I"), capitalised);
  EXPECT_EQ(EnglishCaseLog2(u"café"), lower);
}

}  // namespace
}  // namespace maravelundi
