#include "richtext/GlyphString.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

namespace maravelundi {
namespace {

// Bytes 0x80-0x9F as Windows-1252 names them, copied from the code page's
// published mapping; the five bytes it leaves undefined stand for themselves.
constexpr std::array<char16_t, 32> kWindows1252High = {
    /* 80 */ 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    /* 88 */ 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    /* 90 */ 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    /* 98 */ 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

TEST(GlyphStringTest, HighBytesTakeWindows1252CharactersBothWays) {
  for (int i = 0; i < 32; ++i) {
    const auto code = static_cast<std::uint8_t>(0x80 + i);
    SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int(code));
    EXPECT_EQ(GlyphChar(code), kWindows1252High[i]);
    EXPECT_EQ(GlyphCode(kWindows1252High[i]), code);
  }
}

TEST(GlyphStringTest, OtherBytesAreTheirOwnCharacter) {
  for (int code = 0; code < 256; ++code) {
    if (code >= 0x80 && code <= 0x9F) continue;
    EXPECT_EQ(GlyphChar(static_cast<std::uint8_t>(code)), char16_t(code)) << code;
  }
}

// Over all 65536 units: exactly the 256 glyph characters have a code, and
// each leads back to the byte it came from.
TEST(GlyphStringTest, GlyphCodeInvertsGlyphCharAndNothingElse) {
  std::set<char16_t> glyphs;
  for (int code = 0; code < 256; ++code) {
    const char16_t ch = GlyphChar(static_cast<std::uint8_t>(code));
    glyphs.insert(ch);
    EXPECT_EQ(GlyphCode(ch), code);
  }
  ASSERT_EQ(glyphs.size(), 256u);
  for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const auto ch = static_cast<char16_t>(unit);
    EXPECT_EQ(GlyphCode(ch).has_value(), glyphs.count(ch) == 1) << std::hex << unit;
  }
}

TEST(GlyphStringTest, GlyphStringMapsEachByte) {
  EXPECT_EQ(GlyphString(std::string_view("a\x93\x81\xa0\0", 5)), std::u16string(u"a\u201C\u0081\u00A0\0", 5));
  EXPECT_EQ(GlyphString(""), u"");
}

struct Utf8Case {
  const char* name;
  std::u16string utf16;
  std::string utf8;
};

TEST(GlyphStringTest, ToUtf8) {
  const Utf8Case cases[] = {
      {"ascii", u"ab", "ab"},
      {"two and three bytes", u"\u00E9\u0D15", "\xC3\xA9\xE0\xB4\x95"},
      {"valid pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
      {"lone high", u"a\xD83D" u"b", "a\xEF\xBF\xBD" "b"},
      {"lone high at end", u"a\xD83D", "a\xEF\xBF\xBD"},
      {"lone low", u"\xDE00" u"b", "\xEF\xBF\xBD" "b"},
      {"pair reversed", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"high then pair", u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.name;
}

TEST(GlyphStringTest, FromUtf8) {
  const Utf8Case cases[] = {
      {"ascii", u"ab", "ab"},
      {"two and three bytes", u"\u00E9\u0D15", "\xC3\xA9\xE0\xB4\x95"},
      {"four bytes become a pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
      // Each byte of a bad sequence becomes one U+FFFD and the character
      // after it survives.
      {"truncated before ascii", u"\uFFFD\uFFFDA", "\xE0\xB4" "A"},
      {"truncated at end", u"a\uFFFD", "a\xC3"},
      {"stray continuation", u"\uFFFDa", "\x80" "a"},
      {"overlong", u"\uFFFD\uFFFD", "\xC0\x80"},
      {"encoded surrogate", u"\uFFFD\uFFFD\uFFFD", "\xED\xA0\x80"},
      {"beyond U+10FFFF", u"\uFFFD\uFFFD\uFFFD\uFFFD", "\xF4\x90\x80\x80"},
      {"invalid lead byte", u"\uFFFDx", "\xFF" "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.name;
}

TEST(GlyphStringTest, Utf8RoundTripsEveryScalarValueOfTheBmp) {
  std::u16string all;
  for (std::uint32_t unit = 1; unit <= 0xFFFF; ++unit) {
    if (unit < 0xD800 || unit > 0xDFFF) all.push_back(static_cast<char16_t>(unit));
  }
  EXPECT_EQ(FromUtf8(ToUtf8(all)), all);
}

}  // namespace
}  // namespace maravelundi
