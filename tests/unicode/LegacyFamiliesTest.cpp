// The other legacy font families and the modern spelling, as every Unicode
// output sees them through the walk.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "unicode/UnicodeBody.h"
#include "unicode/UnicodeDocument.h"

namespace maravelundi {
namespace {

using testing::Describe;

std::u16string Text(const Document& mltt, const UnicodeOptions& options) {
  return BuildUnicodeDocument(mltt, "U", nullptr, options).Text();
}

const UnicodeOptions kFamilies{.legacyFamilies = true};
const UnicodeOptions kModern{.legacyFamilies = true, .spelling = Spelling::kModern};

TEST(LegacyFamilies, ConvertByTheirOwnEncodingWithSignsInLogicalOrder) {
  struct Case {
    const char* font;
    const char* codes;
    std::u16string expected;
  };
  const Case cases[] = {
      // പ ൗ ര, then െ typed before ന്റ: പൗരന്റെ, not പരൗന്റെ
      {"ML-Nandini", "5D 75 63 73 E2", u"\u0D2A\u0D57\u0D30\u0D28\u0D4D\u0D31\u0D46"},
      // the font name in any case
      {"ml-nandini", "73 5D", u"\u0D2A\u0D46"},
      // two E signs before their consonant are one AI sign
      {"ML-Nandini", "73 73 5D", u"\u0D2A\u0D48"},
  };
  for (const Case& c : cases) {
    const Document mltt = testing::Doc({{c.font, c.codes}});
    EXPECT_EQ(Text(mltt, kFamilies), c.expected) << Describe(mltt);
  }
}

// Without the families (a generation chosen by hand), every "ML-" font is
// ML-TT, as it always was.
TEST(LegacyFamilies, AreOnlyReadWhenAsked) {
  const Document mltt = testing::Doc({{"ML-Nandini", "73 49"}});
  EXPECT_EQ(Text(mltt, {}), u"\u0D15\u0D46");  // through the ML-TT rules
  const Document other = testing::Doc({{"MLB-Karthika", "81"}});
  EXPECT_EQ(Text(other, {}), u"\u0081");
  EXPECT_EQ(Text(other, kFamilies), u"\u0D05");
}

// A sign never moves across another font's text, a line end or a space.
TEST(LegacyFamilies, SignsStayInTheirStretch) {
  const Document mltt = testing::Doc({{"ML-Nandini", "73"}, {"Arial", "41"}, {"ML-Nandini", "5D 73 0D 0A 5D"}});
  const Document unicode = BuildUnicodeDocument(mltt, "U", nullptr, kFamilies);
  EXPECT_EQ(Describe(unicode), "U:U+0D46 | Arial:41 | U:U+0D2A U+0D46 0D 0A U+0D2A");
}

// Each piece keeps the format of where it came from: a moved sign its
// consonant's.
TEST(LegacyFamilies, PiecesKeepTheirSourceFormats) {
  Document mltt;
  CharFormat sign, consonant;
  sign.fontName = consonant.fontName = "ML-Nandini";
  consonant.bold = true;
  mltt.Append(testing::Codes("73"), mltt.Intern(sign));
  mltt.Append(testing::Codes("5D"), mltt.Intern(consonant));
  const Document unicode = BuildUnicodeDocument(mltt, "U", nullptr, kFamilies);
  ASSERT_EQ(unicode.Text(), u"\u0D2A\u0D46");
  EXPECT_TRUE(unicode.Format(unicode.FormatAt(0)).bold);
  EXPECT_TRUE(unicode.Format(unicode.FormatAt(1)).bold);
}

TEST(ModernSpelling, RespellsEveryUnicodeOutput) {
  struct Case {
    const char* font;
    const char* codes;
    std::u16string legacy;
    std::u16string modern;
  };
  const Case cases[] = {
      // സ്‌നേഹം in ML-TT: the virama was visible only for want of a glyph
      {"ML-TTKarthika", "6B 76 74 5C 6C 77", u"\u0D38\u0D4D\u200C\u0D28\u0D47\u0D39\u0D02",
       u"\u0D38\u0D4D\u0D28\u0D47\u0D39\u0D02"},
      // chillu RA and chillu N as glyphs: atomic chillus
      {"ML-TTKarthika", "49 C0 20 4D B3", u"\u0D15\u0D30\u0D4D\u200D \u0D19\u0D28\u0D4D\u200D",
       u"\u0D15\u0D7C \u0D19\u0D7B"},
  };
  for (const Case& c : cases) {
    const Document mltt = testing::Doc({{c.font, c.codes}});
    EXPECT_EQ(Text(mltt, kFamilies), c.legacy) << Describe(mltt);
    EXPECT_EQ(Text(mltt, kModern), c.modern) << Describe(mltt);
  }
  // The HTML with character references too; in legacy spelling it is the
  // rules' output as it always was.
  const Document mltt = testing::Doc({{"ML-TTKarthika", "49 C0"}});
  EXPECT_EQ(BuildUnicodeBody(mltt, nullptr, kFamilies), "&#3349;&#3376;&#3405;&#8205;");
  EXPECT_EQ(BuildUnicodeBody(mltt, nullptr, kModern), "&#3349;&#3452;");
}

}  // namespace
}  // namespace maravelundi
