// Decoding plain-text files of legacy-font text: each form a file can hold
// the codes in gives the same glyphs, and any bytes at all give a text.

#include <gtest/gtest.h>

#include <string>

#include "families/LegacyEncoding.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/MacRoman.h"
#include "plaintext/PlainTextMaterial.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

using testing::HeldAs;

std::string Hex(std::u16string_view text) {
  std::string out;
  char buffer[8];
  for (const char16_t unit : text) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(unit));
    out += buffer;
  }
  return out;
}

struct DecodeCase {
  const char* what;
  std::string_view bytes;
  TextForm form;
  std::u16string_view windows1252;
  std::u16string_view macRoman;  // empty: the same as windows1252
};

const DecodeCase kCases[] = {
    {"ASCII", "Hcp hm", TextForm::kUtf8, u"Hcp hm", u""},
    {"Windows-1252 characters in UTF-8", "\xC3\x8F\xE2\x80\x9C", TextForm::kUtf8, u"\u00CF\u201C",
     u"\u00EC\u00D2"},  // Mac Roman reads I-diaeresis as 0xEC, the left quote as 0xD2
    {"Mac Roman characters in UTF-8", "\xCF\x80\xE2\x88\x82", TextForm::kUtf8, u"\u03C0\u2202",
     u"\u00B9\u00B6"},  // pi is 0xB9, the partial differential 0xB6
    {"a ligature only Mac Roman has", "\xEF\xAC\x81", TextForm::kUtf8, u"\uFB01", u"\u00DE"},
    {"older Mac Roman characters", "\xC2\xA4\xE2\x84\xA6\xEF\xA3\xBF", TextForm::kUtf8, u"\u00A4\u2126\uF8FF",
     u"\u00DB\u00BD\u00F0"},
    {"private use", "\xEF\x82\xB9\xEF\x81\x81\xEF\x82\x93", TextForm::kUtf8, u"\u00B9A\u201C", u""},
    {"C1 controls stand for their bytes", "\xC2\x93\xC2\x81", TextForm::kUtf8, u"\u201C\u0081", u""},
    {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" "ab", TextForm::kUtf8, u"ab", u""},
    {"not UTF-8: bytes", "\xB9\xFF\x93 a", TextForm::kBytes, u"\u00B9\u00FF\u201C a", u""},
    {"a byte order mark before bytes", "\xEF\xBB\xBF\xFF", TextForm::kBytes, u"\u00EF\u00BB\u00BF\u00FF", u""},
    {"UTF-16 little endian", std::string_view("\xFF\xFE" "A\0\xC0\x03", 6), TextForm::kUtf16LittleEndian,
     u"A\u03C0", u"A\u00B9"},
    {"UTF-16 big endian", std::string_view("\xFE\xFF\0A\xF0\xB9", 6), TextForm::kUtf16BigEndian, u"A\u00B9",
     u""},
    {"UTF-16 little endian without a mark", std::string_view("H\0c\0p\0 \0h\0m\0", 12),
     TextForm::kUtf16LittleEndian, u"Hcp hm", u""},
    {"UTF-16 cut in half a unit", std::string_view("\xFF\xFE" "A\0B", 5), TextForm::kUtf16LittleEndian,
     u"A\uFFFD", u""},
    {"line ends", "a\r\nb\rc\nd\r\n\r\ne\x0B" "f\x0C" "g\xE2\x80\xA8h\xE2\x80\xA9", TextForm::kUtf8,
     u"a\nb\nc\nd\n\ne\nf\ng\nh\n", u""},
    {"line ends among bytes", "\xFF\r\n\xFF\r", TextForm::kBytes, u"\u00FF\n\u00FF\n", u""},
    {"NUL goes", std::string_view("a\0b\xFF", 4), TextForm::kBytes, u"ab\u00FF", u""},
    {"Malayalam Unicode stays", "\xE0\xB4\x95\xE0\xB4\xBE", TextForm::kUtf8, u"\u0D15\u0D3E", u""},
    {"a character outside the first plane", "\xF0\x9F\x98\x80", TextForm::kUtf8, u"\xD83D\xDE00", u""},
    {"an overlong sequence is no UTF-8", "\xC0\xAF", TextForm::kBytes, u"\u00C0\u00AF", u""},
    {"an encoded surrogate is no UTF-8", "\xED\xA0\x80", TextForm::kBytes, u"\u00ED\u00A0\u20AC", u""},
};

TEST(DecodeLegacyTextTest, EachFormGivesItsCodes) {
  for (const DecodeCase& c : kCases) {
    SCOPED_TRACE(c.what);
    const DecodedText text = DecodeLegacyText(c.bytes);
    EXPECT_EQ(text.form, c.form);
    EXPECT_EQ(Hex(text.windows1252), Hex(c.windows1252));
    EXPECT_EQ(Hex(text.macRoman), Hex(c.macRoman));
    EXPECT_EQ(text.characters.size(), text.windows1252.size());
  }
}

TEST(DecodeLegacyTextTest, PrivateUseAndByteOrderMarksAreReported) {
  EXPECT_TRUE(DecodeLegacyText("\xEF\x82\xB9").privateUse);
  EXPECT_FALSE(DecodeLegacyText("\xC2\xB9").privateUse);
  EXPECT_TRUE(DecodeLegacyText("\xEF\xBB\xBF" "a").byteOrderMark);
  EXPECT_TRUE(DecodeLegacyText("\xFE\xFF\0a").byteOrderMark);
  EXPECT_FALSE(DecodeLegacyText("a").byteOrderMark);
}

// The Mac Roman reading gives the glyph character of each code: e-acute is
// Mac Roman's 0x8E, whose glyph character is Windows-1252's Z-caron.
TEST(DecodeLegacyTextTest, CharactersKeepWhatTheReaderSees) {
  const DecodedText text = DecodeLegacyText("\xEF\x82\xB9 \xCF\x80 caf\xC3\xA9");
  EXPECT_EQ(Hex(text.characters), Hex(u"\uF0B9 \u03C0 caf\u00E9"));
  EXPECT_EQ(Hex(text.windows1252), Hex(u"\u00B9 \u03C0 caf\u00E9"));
  EXPECT_EQ(Hex(text.macRoman), Hex(u"\u00B9 \u00B9 caf\u017D"));
}

TEST(DecodeLegacyTextTest, MacRomanRoundTripsEveryHighCode) {
  for (int code = 0x80; code <= 0xFF; ++code) {
    const char16_t ch = MacRomanCharacter(static_cast<std::uint8_t>(code));
    EXPECT_EQ(MacRomanCode(ch), code) << std::hex << code;
  }
  EXPECT_EQ(MacRomanCharacter(0xB9), u'\u03C0');
  EXPECT_EQ(MacRomanCharacter(0xDE), u'\uFB01');
  EXPECT_EQ(MacRomanCode(u'\u0D15'), std::nullopt);
}

// Every code a font can have, held in each form a file can hold it, reads
// back as the same glyphs in the reading that form implies.
TEST(DecodeLegacyTextTest, EveryHeldFormGivesTheSameGlyphs) {
  std::u16string glyphs;
  for (int code = 0x21; code <= 0xFF; ++code) {
    if (code == 0x7F) continue;
    glyphs.push_back(GlyphChar(static_cast<std::uint8_t>(code)));
    if (code % 16 == 0) glyphs += u" ";
    if (code % 64 == 0) glyphs += u"\n";
  }
  const LegacyEncoding& windowsKeyed = *FindLegacyEncodingByName("ML-TT");
  const LegacyEncoding& macKeyed = *FindLegacyEncodingByName("ML");
  struct FormCase {
    HeldAs form;
    const LegacyEncoding& encoding;
    GlyphReading reading;
  };
  const FormCase cases[] = {
      {HeldAs::kNatural, windowsKeyed, GlyphReading::kWindows1252},
      {HeldAs::kNatural, macKeyed, GlyphReading::kMacRoman},
      {HeldAs::kWindows1252, macKeyed, GlyphReading::kWindows1252},
      {HeldAs::kMacRoman, windowsKeyed, GlyphReading::kMacRoman},
      {HeldAs::kPrivateUse, macKeyed, GlyphReading::kWindows1252},
      {HeldAs::kPrivateUse, macKeyed, GlyphReading::kMacRoman},
      {HeldAs::kBytes, windowsKeyed, GlyphReading::kWindows1252},
      {HeldAs::kBytes, windowsKeyed, GlyphReading::kMacRoman},
      {HeldAs::kUtf16Le, macKeyed, GlyphReading::kMacRoman},
      {HeldAs::kUtf16Be, windowsKeyed, GlyphReading::kWindows1252},
  };
  for (const FormCase& c : cases) {
    SCOPED_TRACE(std::string(testing::HeldAsName(c.form)) + " of " + std::string(c.encoding.name));
    const DecodedText text = DecodeLegacyText(testing::HoldCodes(glyphs, c.encoding, c.form));
    EXPECT_EQ(Hex(text.Glyphs().Reading(c.reading)), Hex(glyphs));
  }
}

// Decoding is total: random bytes of any length, plain or after a byte
// order mark, give a text whose readings line up and hold no CR or NUL.
TEST(DecodeLegacyTextTest, AnyBytesGiveAText) {
  constexpr std::uint64_t kSeed = 4242;
  std::printf("seed %llu\n", static_cast<unsigned long long>(kSeed));
  testing::Random random(kSeed);
  const std::string_view prefixes[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(prefixes[random.Below(4)]);
    const std::size_t length = random.Below(64);
    const bool ascii = random.Below(2) == 0;
    for (std::size_t i = 0; i < length; ++i) {
      bytes.push_back(static_cast<char>(ascii && random.Below(8) != 0 ? random.Below(0x80) : random.Below(256)));
    }
    SCOPED_TRACE("round " + std::to_string(round));
    const DecodedText text = DecodeLegacyText(bytes);
    ASSERT_EQ(text.characters.size(), text.windows1252.size());
    ASSERT_TRUE(text.macRoman.empty() || text.macRoman.size() == text.windows1252.size());
    EXPECT_EQ(text.windows1252.find_first_of(std::u16string_view(u"\r\0", 2)), std::u16string::npos);
    if (text.form == TextForm::kBytes) {
      EXPECT_TRUE(text.macRoman.empty()) << "bytes are codes: one reading";
      EXPECT_LE(text.windows1252.size(), bytes.size());
    }
    if (!bytes.empty() && text.windows1252.empty()) {
      // Only NULs and byte order marks vanish.
      EXPECT_EQ(bytes.find_first_not_of(std::string_view("\0\xEF\xBB\xBF\xFF\xFE", 6)), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace maravelundi
