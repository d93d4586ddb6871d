// The Unicode walk: each ordering rule, the ties between them, fonts, and
// what reaches the HTML unchanged.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "unicode/UnicodeBody.h"
#include "unicode/UnicodeRules.h"

namespace maravelundi {
namespace {

using testing::Describe;
using testing::Doc;

constexpr const char* kMl = "ML-TTRevathi";

struct Case {
  const char* what;
  Document doc;
  std::string body;
};

void Check(const Case& c) { EXPECT_EQ(BuildUnicodeBody(c.doc), c.body) << c.what << ": " << Describe(c.doc); }

TEST(UnicodeRules, AreTwentyNineInOrder) {
  const auto rules = UnicodeRules();
  ASSERT_EQ(rules.size(), 29u);
  for (std::size_t i = 0; i < rules.size(); ++i) EXPECT_EQ(rules[i].number, static_cast<int>(i + 1));
}

TEST(UnicodeBody, EachRule) {
  const Case cases[] = {
      {"1: consonant, ra sign, vowel sign AI", Doc({{kMl, "73 73 7B 49"}}), "&#3349;&#3405;&#3376;&#3400;"},
      {"1 at the end of the text", Doc({{kMl, "73 73 7B"}}), "&#3405;&#3376;&#3400;"},
      {"2: vocalic L keeps what follows", Doc({{kMl, "76 2D 66 49"}}), "&#3340;&#3349;"},
      {"3: vocalic LL keeps what follows", Doc({{kMl, "66 2D 6E 49"}}), "&#3425;&#3349;"},
      {"4: PA virama NA", Doc({{kMl, "5D 76 5C"}}), "&#3370;&#3405;&#3368;"},
      {"5: consonant, vowel sign AI", Doc({{kMl, "73 73 49"}}), "&#3349;&#3400;"},
      {"6: visible virama before NA", Doc({{kMl, "49 76 5C"}}), "&#3349;&#3405;&#8204;&#3368;"},
      {"6: a virama at the end", Doc({{kMl, "49 76"}}), "&#3349;&#3405;&#8204;"},
      {"7: the break mark after the virama goes", Doc({{kMl, "76 2D 62"}}), "&#3405;&#8204;&#3375;"},
      {"8: virama before a pre-base sign", Doc({{kMl, "76 73 49 6D"}}), "&#3405;&#8204;&#3349;&#3402;"},
      {"9: virama, break mark, pre-base sign", Doc({{kMl, "76 2D 74 49"}}), "&#3405;&#8204;&#3349;&#3399;"},
      {"10: vowel sign O", Doc({{kMl, "73 49 6D"}}), "&#3349;&#3402;"},
      {"11: vowel sign OO", Doc({{kMl, "74 49 6D"}}), "&#3349;&#3403;"},
      {"12: vowel sign AU", Doc({{kMl, "73 49 75"}}), "&#3349;&#3404;"},
      {"13: 74 75 is no unit and passes as it is", Doc({{kMl, "74 49 75"}}), "&#3349;tu"},
      {"14: ra sign then E", Doc({{kMl, "73 7B 49"}}), "&#3349;&#3405;&#3376;&#3398;"},
      {"15: ra sign then EE", Doc({{kMl, "74 7B 49"}}), "&#3349;&#3405;&#3376;&#3399;"},
      {"16: ya sign then E", Doc({{kMl, "73 49 79"}}), "&#3349;&#3405;&#3375;&#3398;"},
      {"17: ya sign then EE", Doc({{kMl, "74 49 79"}}), "&#3349;&#3405;&#3375;&#3399;"},
      {"18: II", Doc({{kMl, "43 75"}}), "&#3336;"},
      {"19: UU", Doc({{kMl, "44 75"}}), "&#3338;"},
      {"20: AU", Doc({{kMl, "48 75"}}), "&#3348;"},
      {"21: OO", Doc({{kMl, "48 6D"}}), "&#3347;"},
      {"22: AI", Doc({{kMl, "73 46"}}), "&#3344;"},
      {"23: va sign then EE", Doc({{kMl, "74 49 7A"}}), "&#3349;&#3405;&#3381;&#3399;"},
      {"24: va sign then E", Doc({{kMl, "73 49 7A"}}), "&#3349;&#3405;&#3381;&#3398;"},
      {"25: chillu RA before SA-RRA-RRA", Doc({{kMl, "C0 74 CC"}}),
       "&#3376;&#3405;&#8205;&#8204;&#3384;&#3405;&#3377;&#3405;&#3377;&#3399;"},
      {"26: the same across a break mark", Doc({{kMl, "C0 2D 74 CC"}}),
       "&#3376;&#3405;&#8205;&#8204;&#3384;&#3405;&#3377;&#3405;&#3377;&#3399;"},
      {"27: ra sign after its consonant", Doc({{kMl, "7B 49"}}), "&#3349;&#3405;&#3376;"},
      {"27: a pre-base sign at the end", Doc({{kMl, "49 73"}}), "&#3349;&#3398;"},
      {"28: RRA-RRA with the ya sign", Doc({{kMl, "E4 79"}}), "&#3377;&#3405;&#3377;&#3391;&#3375;"},
      {"29: one code by itself", Doc({{kMl, "49 6D 77"}}), "&#3349;&#3390;&#3330;"},
  };
  for (const Case& c : cases) Check(c);
}

TEST(UnicodeBody, OrderDecidesTies) {
  const Case cases[] = {
      {"rule 5, then 6D by itself", Doc({{kMl, "73 73 49 6D"}}), "&#3349;&#3400;&#3390;"},
      {"rule 10 before rule 22", Doc({{kMl, "73 46 6D"}}), "&#3342;&#3402;"},
      {"rule 4 before rule 6", Doc({{kMl, "5D 76 5C 49 76 5C"}}), "&#3370;&#3405;&#3368;&#3349;&#3405;&#8204;&#3368;"},
      {"rule 2 before rule 7", Doc({{kMl, "76 2D 66"}}), "&#3340;"},
      {"rule 25 before rule 29", Doc({{kMl, "C0 74 49"}}), "&#3376;&#3405;&#8205;&#3349;&#3399;"},
      {"a consumed position is not visited again", Doc({{kMl, "73 73 73 49"}}), "&#3398;&#3400;&#3349;"},
  };
  for (const Case& c : cases) Check(c);
}

TEST(UnicodeBody, FontsAndLineEnds) {
  const Case cases[] = {
      {"empty", Doc({}), ""},
      {"line break in another font", Doc({{"Arial", "0D 0A"}}), "<p>\r\n<br>\r\n"},
      {"line break in the ML-TT font", Doc({{kMl, "0D 0A"}}), "<p>\r\n"},
      {"other fonts are copied, not reordered", Doc({{"Arial", "73 49 6D 76"}}), "sImv"},
      {"look-ahead crosses into another font", Doc({{kMl, "73"}, {"Arial", "49 6D 41"}}), "&#3349;&#3402;A"},
      {"only the starting position's font counts", Doc({{"Arial", "73"}, {kMl, "49 6D"}}), "s&#3349;&#3390;"},
      {"any font beginning ML- is ML-TT", Doc({{"ML-TTKarthika", "49"}}), "&#3349;"},
      {"the prefix is case-sensitive", Doc({{"ml-TTRevathi", "49"}}), "I"},
      {"non-ASCII text of other fonts is kept", Doc({{"Arial", "E9 93"}}), "\xC3\xA9\xE2\x80\x9C"},
  };
  for (const Case& c : cases) Check(c);
}

TEST(UnicodeBody, EscapesTextThatReachesTheHtmlUnchanged) {
  const Case cases[] = {
      {"markup in another font", Doc({{"Arial", "3C 62 3E 26 22"}}), "&lt;b&gt;&amp;\""},
      {"markup in the ML-TT font", Doc({{kMl, "3C 26 3E"}}), "&lt;&amp;&gt;"},
      {"a unit moved by a rule", Doc({{kMl, "7B 3C"}}), "&lt;&#3405;&#3376;"},
      {"table values are not escaped", Doc({{kMl, "22 FE"}}), "`-"},
  };
  for (const Case& c : cases) Check(c);
}

TEST(UnicodeBody, SurrogatesSurviveOnlyInPairs) {
  Document doc;
  const FormatId arial = doc.InternFont("Arial");
  const FormatId ml = doc.InternFont(kMl);
  doc.Append(u"\U0001F600", arial);    // a pair, copied: one code point
  doc.Append(u"{\xD83D\xDE00", ml);    // the ra sign moves between the two halves
  EXPECT_EQ(BuildUnicodeBody(doc), "\xF0\x9F\x98\x80\xEF\xBF\xBD&#3405;&#3376;\xEF\xBF\xBD");
}

}  // namespace
}  // namespace maravelundi
