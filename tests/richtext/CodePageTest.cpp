#include "richtext/CodePage.h"

#include <gtest/gtest.h>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct DecodeCase {
  int codePage;
  std::string bytes;
  std::u16string expected;
};

// One line per case: what a code page makes of some bytes, and how bad or
// cut-off bytes come out (one U+FFFD each, the text after them kept).
TEST(CodePageTest, Decodes) {
  const DecodeCase cases[] = {
      {932, "\x82\xa0\x8a\xbf", u"\u3042\u6f22"},          // Shift-JIS pairs
      {932, "a\xca\xdf", u"a\uff8a\uff9f"},                // half-width katakana, one byte each
      {932, "\x82\x20x", u"\uFFFD x"},                     // lead byte without its trail
      {932, "\x80\xfdx", u"\uFFFD\uFFFDx"},                // bytes that start nothing
      {932, "\x82\xa0\x82", u"\u3042\uFFFD"},              // cut off after a lead byte
      {936, "\xd6\xd0\xce\xc4", u"\u4e2d\u6587"},
      {949, "\xc7\xd1\xb1\xdb", u"\ud55c\uae00"},
      {950, "\xa4\xa4\xa4\xe5", u"\u4e2d\u6587"},
      {1361, "\x88\x61", u"\uac00"},
      {1251, "\xcf\xf0\xe8", u"\u041f\u0440\u0438"},
      {1253, "\xe1\xaa\xe2", u"\u03b1\uFFFD\u03b2"},        // 0xAA has no character
      {1258, "A\xec" "A", u"\u00c1A"},                  // a base letter waits for its combining mark
      {10000, "\x8e\xa5", u"\u00e9\u2022"},
      {437, "\xb3\xe1", u"\u2502\u00df"},
      {65001, "\xe0\xb4\x95", u"\u0d15"},
      {1250, "", u""},
      {4242, "\x93\x81", u"\u201c\u0081"},                 // no converter: the glyph convention
      {10007, "\x8f\xe0", u"\u041f\u0430"},                // Mac Cyrillic
      {866, "\x8f\xe0", u"\u041f\u0440"},                  // OEM Cyrillic
  };
  CodePageDecoder decoder;
  for (const auto& c : cases) {
    std::u16string out = u"<";
    decoder.Append(c.codePage, c.bytes, out);
    EXPECT_EQ(ToUtf8(out), ToUtf8(u"<" + c.expected)) << "code page " << c.codePage;
  }
}

// A lead and a trail byte the code page has no character for are still one
// character: the trail byte never comes back as ASCII. The user-defined
// areas give the private-use characters Windows gives them, first and last
// of each area here; cp950's 0x8468 is U+F0B7 as LibreOffice reads it too.
TEST(CodePageTest, DoubleBytePairsStayWhole) {
  const DecodeCase cases[] = {
      {932, "\x85\x40x", u"\uFFFDx"},     {932, "\x82\x7fx", u"\uFFFD\u007fx"},  // 0x7F trails nothing
      {949, "\xc9\x41", u"\uFFFD"},       {1361, "\xd4\x41", u"\uFFFDA"},       // 0xD4 leads nothing in Johab
      {932, "\xf0\x40", u"\ue000"},       {932, "\xf9\xfc", u"\ue757"},
      {936, "\xaa\xa1", u"\ue000"},       {936, "\xaf\xfe", u"\ue233"},
      {936, "\xf8\xa1", u"\ue234"},       {936, "\xfe\xfe", u"\ue4c5"},
      {936, "\xa1\x40", u"\ue4c6"},       {936, "\xa7\xa0", u"\ue765"},
      {949, "\xc9\xa1", u"\ue000"},       {949, "\xfe\xfe", u"\ue0bb"},
      {950, "\xfa\x40", u"\ue000"},       {950, "\xfe\xfe", u"\ue310"},
      {950, "\x8e\x40", u"\ue311"},       {950, "\xa0\xfe", u"\ueeb7"},
      {950, "\x81\x40", u"\ueeb8"},       {950, "\x8d\xfe", u"\uf6b0"},
      {950, "\x84\x68", u"\uf0b7"},       {950, "\xc6\xa1", u"\uf6b1"},
      {950, "\xc8\xfe", u"\uf848"},       {950, "a\x8e\x7e\xa4\xa4", u"a\ue34f\u4e2d"},
  };
  CodePageDecoder decoder;
  for (const auto& c : cases) {
    std::u16string out;
    decoder.Append(c.codePage, c.bytes, out);
    EXPECT_EQ(ToUtf8(out), ToUtf8(c.expected)) << "code page " << c.codePage << ", bytes of " << ToUtf8(c.expected);
  }
}

TEST(CodePageTest, ReportsWhatItCouldNotDecode) {
  CodePageDecoder decoder;
  std::u16string out;
  DecodeReport report = decoder.Append(932, "\x82\xa0\x85\x40\x80\xf0\x40", out);
  EXPECT_EQ(report.undecodable, 2u);  // the pair 0x8540 and the byte 0x80; 0xF040 is user-defined
  EXPECT_FALSE(report.noConverter);
  report = decoder.Append(4242, "abc", out);
  EXPECT_TRUE(report.noConverter);
  EXPECT_EQ(report.undecodable, 0u);
}

// More than one buffer of output, with a bad byte in the middle of it.
TEST(CodePageTest, LongTextDecodesWhole) {
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += "\x82\xa0";
  bytes += "\xff";
  for (int i = 0; i < 10000; ++i) bytes += "\x82\xa2";
  CodePageDecoder decoder;
  std::u16string out;
  decoder.Append(932, bytes, out);
  EXPECT_EQ(out, std::u16string(10000, u'\u3042') + u'\uFFFD' + std::u16string(10000, u'\u3044'));
}

}  // namespace
}  // namespace maravelundi
