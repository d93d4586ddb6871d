// The ML-TT unit to character reference table.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "transcode/GlyphTables.h"
#include "unicode/GlyphToEntity.h"
#include "unicode/UnicodeBody.h"

namespace maravelundi {
namespace {

using testing::Codes;

std::string Utf8(std::u16string_view s) { return ToUtf8(s); }

TEST(GlyphToEntity, HoldsOneHundredFortyTwoCodesAndTenPairs) {
  std::size_t singles = 0;
  for (int code = 0; code < 256; ++code) {
    if (EntityRowValue(std::u16string(1, GlyphChar(static_cast<std::uint8_t>(code))))) ++singles;
  }
  EXPECT_EQ(singles, 142u);  // the table's 131 and eleven glyphs typed in ML-TT fonts
  for (const char* pair : {"43 75", "44 75", "5C 70", "73 46", "48 6D", "48 75", "73 73", "73 6D", "74 6D", "73 75"}) {
    EXPECT_TRUE(EntityRowValue(Codes(pair))) << pair;
  }
}

TEST(GlyphToEntity, MapsUnits) {
  struct Case {
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"49", "&#3349;"}, {"76", "&#3405;"}, {"77", "&#3330;"}, {"78", "&#3331;"},
      {"41", "&#3333;"}, {"48", "&#3346;"}, {"6C", "&#3385;"}, {"5C", "&#3368;"}, {"5D", "&#3370;"},
      {"43 75", "&#3336;"}, {"43", "&#3335;"}, {"75", "&#3415;"}, {"5C 70", "&#3340;"},
      {"73 73", "&#3400;"}, {"73", "&#3398;"}, {"74", "&#3399;"}, {"73 6D", "&#3402;"}, {"74 6D", "&#3403;"},
      {"A1", "&#3349;&#3405;&#3349;"}, {"CC", "&#3384;&#3405;&#3377;&#3405;&#3377;"}, {"E5", "&#3368;&#3405;"},
      {"AC", "&#3363;&#3405;&#8205;"}, {"B3", "&#3368;&#3405;&#8205;"}, {"C0", "&#3376;&#3405;&#8205;"},
      {"C2", "&#3378;&#3405;&#8205;"}, {"C4", "&#3379;&#3405;&#8205;"}, {"CD", "&#3361;&#3405;&#3361;"},
      {"79", "&#3405;&#3375;"}, {"7A", "&#3405;&#3381;"}, {"7B", "&#3405;&#3376;"},
      {"2D", ""}, {"FE", "-"}, {"22", "`"},
      // glyphs typed directly in ML-TT fonts
      {"E6", "&#3349;&#3393;"}, {"E7", "&#3349;&#3405;&#3349;&#3393;"}, {"E8", "&#3376;&#3399;"},
      {"E9", "&#3363;&#3393;"}, {"EA", "&#3376;&#3393;"}, {"EB", "&#3368;&#3393;"},
      {"EC", "&#3368;&#3405;&#3368;&#3393;"}, {"ED", "&#3375;&#3405;&#3349;&#3405;&#3349;"},
      {"F2", "&#3368;&#3405;&#3374;"}, {"7C", "&#3405;&#3375;&#3393;"}, {"7D", "&#3405;&#3375;&#3394;"},
      {"0D", "<p>\r\n"}, {"0A", ""},
      // Not keys: back unchanged, unescaped.
      {"0D 0A", "\r\n"}, {"20", " "}, {"31", "1"}, {"3C", "<"}, {"26", "&"}, {"49 6D", "Im"}, {"74 75", "tu"},
      {"", ""}, {"A0", "\xC2\xA0"}, {"EE", "\xC3\xAE"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8(GlyphToEntity(Codes(c.key))), c.expected) << c.key;
  EXPECT_EQ(GlyphToEntity(u"\u0D15"), u"\u0D15");
}

// The eleven typed glyphs are new meanings for text typed in ML-TT fonts
// only: no row of any Rachana table produces one of them. What does reach
// the walk is the code itself where version 7's first font passes a code it
// has no row for through unchanged: that code then draws, and reads as, the
// ML-TT glyph (as it always drew in the ISM output).
TEST(GlyphToEntity, TypedGlyphsComeFromNoRachanaRow) {
  const std::u16string typed = Codes("E6 E7 E8 E9 EA EB EC ED F2 7C 7D");
  for (const GlyphTableDescriptor& table : kGlyphTables) {
    for (const GlyphRow& row : table.rows) {
      for (char code : row.codes) {
        EXPECT_EQ(typed.find(GlyphChar(static_cast<std::uint8_t>(code))), std::u16string::npos)
            << table.name << " row " << int(row.key);
      }
    }
    for (int code = 0; code < 256; ++code) {
      const char16_t input = GlyphChar(static_cast<std::uint8_t>(code));
      const std::u16string result = MapGlyph(table, std::u16string(1, input));
      const bool passedThrough = table.noMatch == NoMatch::kInput && result == std::u16string(1, input);
      if (passedThrough) continue;
      for (char16_t ch : result) EXPECT_EQ(typed.find(ch), std::u16string::npos) << table.name << " code " << code;
    }
  }
}

// A word typists wrote with the KA-U glyph: it used to come out as "æ" and
// the rest of the word.
TEST(UnicodeBody, TypedGlyphsConvertInWords) {
  // കു റ യ ു, െ before മ, ന്ന, virama
  const Document mltt = testing::Doc({{"ML-TTKarthika", "E6 64 62 70 73 61 B6 76"}});
  EXPECT_EQ(BuildUnicodeBody(mltt),
            "&#3349;&#3393;&#3377;&#3375;&#3393;&#3374;&#3398;&#3368;&#3405;&#3368;&#3405;&#8204;");
}

}  // namespace
}  // namespace maravelundi
