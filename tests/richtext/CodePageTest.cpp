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
  };
  CodePageDecoder decoder;
  for (const auto& c : cases) {
    std::u16string out = u"<";
    decoder.Append(c.codePage, c.bytes, out);
    EXPECT_EQ(ToUtf8(out), ToUtf8(u"<" + c.expected)) << "code page " << c.codePage;
  }
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

TEST(CodePageTest, CharsetsWithoutCodePageKeepGlyphs) {
  for (const int charset : {0, 1, 2, 3, 79, 256, -1}) EXPECT_EQ(CodePageOfCharset(charset), 0) << charset;
  EXPECT_EQ(CodePageOfCharset(204), 1251);
  EXPECT_FALSE(IsDecodedCodePage(1252));
}

}  // namespace
}  // namespace maravelundi
