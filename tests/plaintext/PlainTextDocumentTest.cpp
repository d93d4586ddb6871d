// Plain text as a document for the pipeline: paragraphs, fonts by word, the
// font named by --font in any case, and what the pipeline makes of it.

#include <gtest/gtest.h>

#include <string>

#include "convert/Conversion.h"
#include "families/TypistEncoder.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/PlainTextDocument.h"
#include "plaintext/PlainTextFont.h"
#include "plaintext/PlainTextMaterial.h"
#include "richtext/GlyphString.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {
namespace {

// Each run as "font:text", text in UTF-8 with CR LF shown as "|".
std::string Runs(const Document& document) {
  std::string out;
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    const std::size_t begin = document.Runs()[r].begin;
    std::u16string text(document.Text().substr(begin, document.RunEnd(r) - begin));
    std::string shown;
    for (const char ch : ToUtf8(text)) {
      if (ch == '\n') continue;
      shown += ch == '\r' ? '|' : ch;
    }
    out += "[" + document.Format(document.Runs()[r].format).fontName + ":" + shown + "]";
  }
  return out;
}

std::string ToText(const Document& document) {
  ConversionProfile profile;
  profile.generation = Generation::kAuto;
  profile.spelling = Spelling::kModern;
  return ConvertDocument(document, OutputKind::kText, profile);
}

std::u16string Type(std::string_view encodingName, std::u16string_view word) {
  return testing::TypistEncoder(*FindLegacyEncodingByName(encodingName)).Type(word).value();
}

TEST(PlainTextDocumentTest, LinesWordsAndFonts) {
  const PlainTextFont font = *FindPlainTextFont("ml-ttkarthika");
  const std::u16string text = Type("ML-TT", u"കേരളം") + u" PDF " + Type("ML-TT", u"ഫയൽ") + u"\n\n" +
                              Type("ML-TT", u"ഒന്ന്") + u" 2 \"Hello\"";
  const DecodedText decoded = DecodeLegacyText(ToUtf8(text));
  const PlainTextDocument built = BuildPlainTextDocument(decoded.Glyphs(), font);
  EXPECT_EQ(Runs(built.document),
            "[ML-TTKarthika:tIcfw ][Arial:PDF ][ML-TTKarthika:^bÂ||H¶v 2 ][Arial:\"Hello\"]");
  EXPECT_EQ(built.englishWords, 2u);
  EXPECT_EQ(built.legacyWords, 4u);

  const PlainTextDocument all = BuildPlainTextDocument(decoded.Glyphs(), font, PlainTextOptions{.convertAll = true});
  EXPECT_EQ(Runs(all.document), "[ML-TTKarthika:tIcfw PDF ^bÂ||H¶v 2 \"Hello\"]");
  EXPECT_EQ(all.englishWords, 0u);
}

// Through the pipeline: Malayalam converted, English kept, a line a
// paragraph, in each of the layouts that treat Latin letters apart.
TEST(PlainTextDocumentTest, ThePipelineConvertsTheLegacyWordsOnly) {
  for (const std::string_view name : {"ML-TTRevathi", "ML-Karthika", "MLB-TTKarthika", "MLB-Karthika",
                                      "ML-TTSarada-Normal", "GIST-MLTTAswathi"}) {
    const PlainTextFont font = *FindPlainTextFont(name);
    const std::string_view encoding = font.encoding->name;
    const std::u16string text = Type(encoding, u"സ്നേഹം") + u" Computer " + Type(encoding, u"ഉണ്ട്") + u"\r\n" +
                                Type(encoding, u"പ്രധാനമന്ത്രി") + u" (Delhi)";
    for (const testing::HeldAs form : {testing::HeldAs::kNatural, testing::HeldAs::kBytes}) {
      const DecodedText decoded = DecodeLegacyText(testing::HoldCodes(text, *font.encoding, form));
      const PlainTextFont read = FontOfEncoding(*font.encoding, form == testing::HeldAs::kBytes
                                                                    ? GlyphReading::kWindows1252
                                                                    : NaturalReading(*font.encoding));
      EXPECT_EQ(ToText(BuildPlainTextDocument(decoded.Glyphs(), read).document),
                "സ്നേഹം Computer ഉണ്ട്\nപ്രധാനമന്ത്രി (Delhi)")
          << name << " held as " << testing::HeldAsName(form);
    }
  }
}

TEST(PlainTextDocumentTest, ARachanaFontConvertsThroughItsTable) {
  const PlainTextFont font = *FindPlainTextFont("RL1");
  EXPECT_EQ(font.fontName, "rl1");
  EXPECT_EQ(font.encodingName, "Rachana 7");
  // Whatever the font's table makes of the codes, the document names the
  // font so that the pipeline reads them through the same table: what the
  // pipeline writes for the document is what it writes for the same text
  // typed straight into a document in that font.
  const std::u16string glyphs = u"abc DEF\nghi";
  const DecodedText decoded = DecodeLegacyText(ToUtf8(glyphs));
  Document direct;
  const FormatId rl1 = direct.InternFont("rl1");
  direct.Append(u"abc DEF\r\nghi", rl1);
  EXPECT_EQ(ToText(BuildPlainTextDocument(decoded.Glyphs(), font, PlainTextOptions{.convertAll = true}).document),
            ToText(direct));
}

TEST(PlainTextDocumentTest, FontsByAnyNameListed) {
  for (const LegacyFontName& known : KnownLegacyFonts()) {
    std::string upper(known.name);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const auto font = FindPlainTextFont(upper);
    if (known.encoding == nullptr) {
      EXPECT_FALSE(font.has_value()) << known.name << " has no map";
      continue;
    }
    ASSERT_TRUE(font.has_value()) << known.name;
    EXPECT_EQ(font->fontName, known.name) << "the name as listed, whatever the case asked";
    EXPECT_EQ(font->encoding, known.encoding);
    EXPECT_EQ(font->reading, NaturalReading(*known.encoding));
  }
  for (const GlyphTableDescriptor& table : kGlyphTables) {
    for (const std::string_view name : table.fontNames) {
      const auto font = FindPlainTextFont(name);
      ASSERT_TRUE(font.has_value()) << name;
      EXPECT_NE(font->rachana, nullptr);
      EXPECT_EQ(font->encoding, nullptr);
    }
  }
  EXPECT_FALSE(FindPlainTextFont("Arial").has_value());
  EXPECT_FALSE(FindPlainTextFont("").has_value());
  EXPECT_FALSE(FindPlainTextFont("rl7").has_value());
  // Each encoding's own font is one the list names for it.
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const PlainTextFont font = FontOfEncoding(encoding, GlyphReading::kMacRoman);
    ASSERT_TRUE(FindPlainTextFont(font.fontName).has_value()) << font.fontName;
    EXPECT_EQ(FindPlainTextFont(font.fontName)->encoding, &encoding);
    EXPECT_EQ(font.reading, GlyphReading::kMacRoman);
  }
}

TEST(PlainTextDocumentTest, UnchangedTextKeepsItsCharacters) {
  const DecodedText decoded = DecodeLegacyText("caf\xC3\xA9\r\n\xEF\x82\xB9");
  EXPECT_EQ(Runs(UnchangedDocument(decoded.Glyphs())), "[Arial:café|\xEF\x82\xB9]");
}

}  // namespace
}  // namespace maravelundi
