#include "richtext/GlyphString.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <set>

namespace maravelundi {
namespace {

// The system's own Windows-1252 converter, an implementation of the code
// page independent of ours; nullopt for the bytes it leaves undefined.
std::optional<char16_t> SystemWindows1252(std::uint8_t byte) {
  const iconv_t converter = iconv_open("UTF-16LE", "CP1252");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[4] = {};
  char* inPtr = in;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t inLeft = 1, outLeft = sizeof out;
  const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || outLeft != 2) return std::nullopt;
  return static_cast<char16_t>(out[0] | out[1] << 8);
}

TEST(GlyphStringTest, HighBytesTakeWindows1252CharactersBothWays) {
  ASSERT_EQ(SystemWindows1252(0x80), u'\u20AC') << "no CP1252 converter to compare with";
  int undefined = 0;
  for (int code = 0x80; code <= 0x9F; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << code);
    const std::optional<char16_t> expected = SystemWindows1252(byte);
    if (!expected) ++undefined;
    EXPECT_EQ(GlyphChar(byte), expected.value_or(char16_t(code)));
    EXPECT_EQ(GlyphCode(GlyphChar(byte)), byte);
  }
  EXPECT_EQ(undefined, 5);
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
