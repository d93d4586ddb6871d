// Glyphs a word splits in two where the font has one glyph for both: the
// typing habit that tells fonts of one layout apart.

#include <gtest/gtest.h>

#include "families/LegacyEncoding.h"
#include "plaintext/SplitGlyphs.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// ML-TT has glyphs for KU (E6), REE (E8), N with virama (E5) and NNU (EC);
// ML has none of these. Both have NTA (B4) and KKA (A1).
struct SplitCase {
  std::string_view codes;  // ML-TT's letters: I KA, p U, t EE, c RA, \ NA, v virama, X TA, { RA sign
  std::size_t mltt;
  std::size_t ml;
  const char* why;
};

const SplitCase kCases[] = {
    {"Ip", 1, 0, "KA and U where the font has KU"},
    {"tc", 1, 0, "EE typed before RA where the font has REE"},
    {"tcv", 0, 0, "RA with a virama after it is a larger cluster"},
    {"stc", 0, 0, "two signs before RA are AI, not EE"},
    {"\\v", 1, 0, "NA and a virama ending the word where the font has N with virama"},
    {"\\vX", 1, 1, "NA, virama, TA where the font has NTA"},
    {"\\vXn", 1, 1, "the same before a vowel sign"},
    {"\\vXv", 0, 0, "NA, virama, TA, virama: part of a longer cluster"},
    {"\xB6p", 1, 0, "NNA and U where the font has NNU"},
    {"{Ip", 0, 0, "KA after the RA sign belongs to KRA, so KA with U is no KU"},
    {"IvI", 1, 1, "KA, virama, KA where the font has KKA"},
    {"hn", 0, 0, "VA and I: no glyph has both"},
    {"IpIp", 2, 0, "each split counts"},
    {"", 0, 0, "nothing"},
    {"I", 0, 0, "one glyph"},
    {"I\xFF", 0, 0, "a code the font does not map"},
};

TEST(SplitGlyphsTest, CountsTheSplitsOnlyAnotherFontExplains) {
  const LegacyEncoding& mltt = *FindLegacyEncodingByName("ML-TT");
  const LegacyEncoding& ml = *FindLegacyEncodingByName("ML");
  for (const SplitCase& c : kCases) {
    const std::u16string glyphs = GlyphString(c.codes);
    EXPECT_EQ(CountSplitGlyphs(mltt, glyphs), c.mltt) << "ML-TT " << c.codes << ": " << c.why;
    EXPECT_EQ(CountSplitGlyphs(ml, glyphs), c.ml) << "ML " << c.codes << ": " << c.why;
  }
}

}  // namespace
}  // namespace maravelundi
