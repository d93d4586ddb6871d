// The ISM finishing pass: where break marks go, which font they take, and
// that the pass is its own fixed point.

#include <gtest/gtest.h>

#include <random>

#include "TestDocuments.h"
#include "ism/FinishIsmText.h"

namespace maravelundi {
namespace {

using testing::Describe;
using testing::Doc;

constexpr const char* kMl = "ML-TTRevathi";

TEST(SignClasses, AreExactSubstringsOfTheirClasses) {
  struct Case {
    std::u16string_view s;
    bool post, pre;
  };
  const Case cases[] = {
      {u"", true, true},     {u"m", true, false},  {u"s", false, true},  {u"{", false, true},
      {u" ", true, false},   {u"v", true, false},  {u"S", false, false}, {u"M", false, false},
      {u"mno", true, false}, {u"mo", false, false}, {u"st", false, true}, {u"ts", false, false},
      {u"z ", true, false},  {u"-", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPostBaseSign(c.s), c.post) << testing::Hex(c.s);
    EXPECT_EQ(IsPreBaseSign(c.s), c.pre) << testing::Hex(c.s);
  }
}

TEST(FinishIsmText, PlacesBreakMarks) {
  struct Case {
    const char* what;
    Document before;
    std::string after;
  };
  const Case cases[] = {
      {"IKm: the vowel sign stays with K", Doc({{kMl, "49 4B 6D"}}), "ML-TTRevathi:49 2D 4B 6D"},
      {"sIKm: the pre-base sign stays with I", Doc({{kMl, "73 49 4B 6D"}}), "ML-TTRevathi:73 49 2D 4B 6D"},
      {"no mark beside a space", Doc({{kMl, "49 4B 20 4A 4C"}}), "ML-TTRevathi:49 2D 4B 20 4A 2D 4C"},
      {"mark before the ra sign, none after", Doc({{kMl, "49 7B 4A"}}), "ML-TTRevathi:49 2D 7B 4A"},
      {"an existing mark is enough", Doc({{kMl, "49 76 2D 4A"}}), "ML-TTRevathi:49 76 2D 4A"},
      {"the ya sign binds", Doc({{kMl, "49 79"}}), "ML-TTRevathi:49 79"},
      {"two letters", Doc({{kMl, "49 4B"}}), "ML-TTRevathi:49 2D 4B"},
      {"upper half counts as letters", Doc({{kMl, "A1 49"}}), "ML-TTRevathi:A1 2D 49"},
      {"Windows-1252 characters count as letters", Doc({{kMl, "93 49"}}), "ML-TTRevathi:93 2D 49"},
      {"brackets and grave accent are consonants", Doc({{kMl, "5B 60"}}), "ML-TTRevathi:5B 2D 60"},
      {"digits, punctuation and line breaks take none", Doc({{kMl, "49 31 4B 0D 0A 4C 2E 40 4D"}}),
       "ML-TTRevathi:49 31 4B 0D 0A 4C 2E 40 4D"},
      {"empty", Doc({}), ""},
      {"one character", Doc({{kMl, "49"}}), "ML-TTRevathi:49"},
      {"first character in another font: no mark", Doc({{"Arial", "49"}, {kMl, "4B"}}),
       "Arial:49 | ML-TTRevathi:4B"},
      {"the prefix is case-sensitive", Doc({{"ml-TTRevathi", "49 4B"}}), "ml-TTRevathi:49 4B"},
      {"short font names never match", Doc({{"ML", "49 4B"}}), "ML:49 4B"},
      {"second character in another font: a mark in the first one's font",
       Doc({{kMl, "49"}, {"Arial", "4B"}}), "ML-TTRevathi:49 2D | Arial:4B"},
      {"any font starting ML- counts", Doc({{"ML-TTKarthika", "49 4B"}}), "ML-TTKarthika:49 2D 4B"},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(FinishIsmText(c.before)), c.after) << c.what;
}

TEST(FinishIsmText, NegativeCharactersAreNotLetters) {
  // Read as signed 16-bit numbers, characters from U+8000 up are negative.
  Document doc;
  const FormatId ml = doc.InternFont(kMl);
  doc.Append(u"I\uE000K\u0D15I", ml);
  EXPECT_EQ(FinishIsmText(doc).Text(), u"I\uE000K-\u0D15-I");
}

// Random ML-TT documents: the pass must only ever add marks, each after a
// letter in an ML- font, and must leave its own result alone.
TEST(FinishIsmText, IsIdempotentAndOnlyAddsMarks) {
  const unsigned seed = 20261207;
  std::mt19937 random(seed);
  const std::u16string alphabet = u"IJKLmnopqrstuvwxyz {-\\]fAB01\r\n\u00A1\u00E4\u201C";
  for (int round = 0; round < 500; ++round) {
    Document doc;
    const FormatId fonts[] = {doc.InternFont(kMl), doc.InternFont("Arial")};
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      doc.Append(alphabet[random() % alphabet.size()], fonts[random() % 4 == 0 ? 1 : 0]);
    }
    const Document once = FinishIsmText(doc);
    const Document twice = FinishIsmText(once);
    ASSERT_TRUE(once == twice) << "seed " << seed << " round " << round << ": " << Describe(doc);
    // Removing the added marks gives the input back.
    std::u16string withoutAdded;
    std::size_t j = 0;
    for (char16_t ch : once.Text()) {
      if (j < doc.Size() && ch == doc.Text()[j]) {
        withoutAdded.push_back(ch);
        ++j;
      } else {
        ASSERT_EQ(ch, u'-') << "seed " << seed << " round " << round;
      }
    }
    ASSERT_EQ(withoutAdded, doc.Text()) << "seed " << seed << " round " << round;
  }
}

}  // namespace
}  // namespace maravelundi
