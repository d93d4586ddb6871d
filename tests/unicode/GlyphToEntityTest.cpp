// The ML-TT unit to character reference table.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "unicode/GlyphToEntity.h"

namespace maravelundi {
namespace {

using testing::Codes;

std::string Utf8(std::u16string_view s) { return ToUtf8(s); }

TEST(GlyphToEntity, HoldsOneHundredThirtyOneCodesAndTenPairs) {
  std::size_t singles = 0;
  for (int code = 0; code < 256; ++code) {
    if (EntityRowValue(std::u16string(1, GlyphChar(static_cast<std::uint8_t>(code))))) ++singles;
  }
  EXPECT_EQ(singles, 131u);
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
      {"0D", "<p>\r\n"}, {"0A", ""},
      // Not keys: back unchanged, unescaped.
      {"0D 0A", "\r\n"}, {"20", " "}, {"31", "1"}, {"3C", "<"}, {"26", "&"}, {"49 6D", "Im"}, {"74 75", "tu"},
      {"", ""}, {"A0", "\xC2\xA0"}, {"E6", "\xC3\xA6"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8(GlyphToEntity(Codes(c.key))), c.expected) << c.key;
  EXPECT_EQ(GlyphToEntity(u"\u0D15"), u"\u0D15");
}

}  // namespace
}  // namespace maravelundi
