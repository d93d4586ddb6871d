#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"

namespace maravelundi {
namespace {

struct Piece {
  std::string font;  // UTF-8
  std::u16string text;
};

Document MakeDocument(const std::vector<Piece>& pieces) {
  Document doc;
  for (const auto& piece : pieces) doc.Append(piece.text, doc.InternFont(piece.font));
  return doc;
}

// The same characters, each in a format with its font and nothing else.
Document FontsOnly(const Document& doc) {
  std::vector<CharFormat> formats(doc.FormatCount());
  for (std::size_t f = 0; f < formats.size(); ++f) formats[f].fontName = doc.Format(static_cast<FormatId>(f)).fontName;
  return Document::FromParts(doc.Text(), doc.Runs(), formats);
}

// Writes, reads back and compares: the whole formats when the markup carries
// them, else the fonts. The markup goes into the failure message.
void ExpectRoundTrip(const Document& doc, const std::string& label, RtfWriteOptions options = {}) {
  const std::string markup = WriteRtf(doc, options);
  const RtfReading reading = ReadRtf(markup);
  ASSERT_TRUE(reading.Ok()) << label << ": " << reading.error->message << " at " << reading.error->offset
                            << "\n" << markup;
  const Document expected = options.formatting ? doc : FontsOnly(doc);
  EXPECT_TRUE(reading.document == expected) << label << "\n" << markup;
}

TEST(RtfWriterTest, WritesTheExpectedMarkup) {
  const Document doc = MakeDocument({{"rc1", u"a{\u00A7\u00A0\r\n"}, {"ML TT", u"\u0D15\t\n\r\uFFFD"}});
  EXPECT_EQ(WriteRtf(doc),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil rc1;}{\\f1\\fnil ML TT;}}\n"
            "\\f0 a\\{\\'a7\\'a0\\par\n"
            "\\f1 \\u3349\\'3f\\tab \\line \\'0d\\u-3\\'3f}\n");
}

TEST(RtfWriterTest, FontNamesAreEscaped) {
  const Document doc = MakeDocument({{"a;b{c}\\d \u201C\u0D15", u"x"}});
  const std::string markup = WriteRtf(doc);
  EXPECT_NE(markup.find("{\\f0\\fnil a\\u59\\'3fb\\{c\\}\\\\d \\'93\\u3349\\'3f;}"), std::string::npos) << markup;
}

TEST(RtfWriterTest, EmptyDocument) {
  EXPECT_EQ(WriteRtf(Document{}), "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl}\n}\n");
  ExpectRoundTrip(Document{}, "empty");
}

TEST(RtfWriterTest, RoundTrips) {
  std::u16string allGlyphs;
  for (int code = 0; code < 256; ++code) allGlyphs.push_back(GlyphChar(static_cast<std::uint8_t>(code)));

  const struct {
    const char* name;
    std::vector<Piece> pieces;
  } cases[] = {
      {"plain", {{"rc1", u"Hello"}}},
      {"every glyph byte", {{"rc1", allGlyphs}}},
      {"line ends", {{"rc1", u"a\r\nb\nc\rd\r\r\n\n\re\r"}}},
      {"CR LF split between fonts", {{"A", u"a\r"}, {"B", u"\nb"}}},
      {"CR LF across a font change in reverse", {{"A", u"\n"}, {"B", u"\r"}}},
      {"tabs and escapes", {{"A", u"\t{\\}\t"}}},
      {"outside the glyph bytes", {{"A", u"\u0D15\u0D4D\u0D37 \u2011\uFFFD\uFFFF\u0100"}}},
      {"surrogates paired and lone", {{"A", u"\U0001F600\xD800x\xDC00\xDC00\xD800"}}},
      {"symbol-font neighbours", {{"A", u"\uF01F\uF100"}}},
      {"font name with spaces", {{"ra1 ", u"x"}, {" lead", u"y"}}},
      {"font name with ';' and braces", {{"a;b", u"x"}, {"{x}\\y", u"y"}}},
      {"non-ASCII font names", {{"\u0D15 font", u"x"}, {"ML-TT\u201C", u"y"}, {"\U0001F600", u"z"}}},
      {"empty font name", {{"", u"x"}, {"B", u"y"}, {"", u"z"}}},
      {"control characters", {{"A", std::u16string(u"\0\x01\x1f\x7f", 4)}}},
      {"text starting with spaces and digits", {{"A", u" 1"}, {"B", u"  2"}, {"C", u"3\r\n4"}}},
  };
  for (const auto& c : cases) ExpectRoundTrip(MakeDocument(c.pieces), c.name);
}

// Random documents through the writer and back, with and without formatting.
// The seed is fixed and printed, so a failure can be replayed.
TEST(RtfWriterTest, RandomDocumentsRoundTrip) {
  constexpr std::uint32_t kSeed = 20240611;
  std::mt19937 random(kSeed);
  const std::vector<std::string> fonts = {"rc1", "ra1 ", " rkr2", "a;b", "\u0D15 font", "{x}\\y", "", "ML-TT\u201C"};
  auto below = [&](std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random); };
  // Half the runs plain, so that neighbours often share a font and differ in
  // the rest; colours from a few, black and automatic among them.
  const std::vector<std::optional<Rgb>> colours = {std::nullopt, Rgb{}, Rgb{255, 0, 0}, Rgb{1, 2, 3}, Rgb{0, 0, 255}};
  auto RandomFormat = [&](const std::string& font) {
    CharFormat format;
    format.fontName = font;
    if (below(2) == 0) return format;
    format.bold = below(2) == 1;
    format.italic = below(2) == 1;
    format.underline = below(2) == 1;
    const std::uint32_t size = below(4);
    format.halfPoints = static_cast<std::uint16_t>(size == 0 ? 24 : size == 1 ? 1 + below(0xFFFF) : 16 + 2 * below(20));
    format.colour = colours[below(static_cast<std::uint32_t>(colours.size()))];
    return format;
  };

  for (int round = 0; round < 400; ++round) {
    Document doc;
    const std::uint32_t runs = below(8);
    for (std::uint32_t r = 0; r < runs; ++r) {
      std::u16string text;
      const std::uint32_t length = 1 + below(40);
      for (std::uint32_t i = 0; i < length; ++i) {
        const std::uint32_t kind = below(10);
        if (kind < 4) {
          text.push_back(GlyphChar(static_cast<std::uint8_t>(below(256))));
        } else if (kind == 4) {
          text += u"\r\n";
        } else if (kind == 5) {
          text.push_back(u"\r\n\t"[below(3)]);
        } else if (kind < 9) {
          // Any 16-bit unit, lone surrogates included, except the range the
          // reader keeps for symbol-font bytes.
          char16_t unit;
          do unit = static_cast<char16_t>(below(0x10000));
          while (unit >= 0xF020 && unit <= 0xF0FF);
          text.push_back(unit);
        } else {
          const std::uint32_t cp = 0x10000 + below(0x100000);
          text.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
          text.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
      }
      doc.Append(text, doc.Intern(RandomFormat(fonts[below(static_cast<std::uint32_t>(fonts.size()))])));
    }
    const std::string label = "seed " + std::to_string(kSeed) + ", round " + std::to_string(round);
    ExpectRoundTrip(doc, label);
    ExpectRoundTrip(doc, label + ", formatted", RtfWriteOptions{.formatting = true});
    // Without formatting the markup depends on the fonts alone.
    EXPECT_EQ(WriteRtf(doc), WriteRtf(FontsOnly(doc))) << label;
    if (HasFailure()) return;
  }
}

// U+F020..U+F0FF come back as they were in an ordinary font, where they are
// private-use characters (cp950 puts user-defined ones there); in a symbol
// or legacy font the reader takes them for the font's bytes, the one loss.
TEST(RtfWriterTest, PrivateUseSymbolRange) {
  struct Case {
    const char* font;
    std::u16string back;
  };
  const Case cases[] = {
      {"A", u"\uF041\uF093"},
      {"rc1", u"A\u201C"},
      {"Symbol", u"\u0391\uF093"},
  };
  for (const auto& c : cases) {
    const RtfReading reading = ReadRtf(WriteRtf(MakeDocument({{c.font, u"\uF041\uF093"}})));
    ASSERT_TRUE(reading.Ok());
    EXPECT_EQ(reading.document.Text(), c.back) << c.font;
  }
}

// In the font "Symbol" a byte reads as what that font draws, so characters
// whose glyph byte draws something else there go as \uN and come back.
TEST(RtfWriterTest, SymbolFontTextComesBack) {
  const std::u16string text = u"a\\{}\u00D7\u00F7\u00AC\u03B1\u2022\u00B0\u20AC\u2026 (1)\uF8E5";
  const RtfReading reading = ReadRtf(WriteRtf(MakeDocument({{"Symbol", text}, {"A", u"a\u00D7"}})));
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(reading.document.Text(), text + u"a\u00D7");
}

}  // namespace
}  // namespace maravelundi
