// The way back: Malayalam Unicode spelled in a legacy font's codes, in any
// writable font (a Rachana family's six fonts too), reads back through the
// converter as the words it came from; documents converted in place keep
// everything but their Malayalam Unicode, which takes the legacy font in both
// slots; what a font has no glyph for stays as it was and is counted.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestDocuments.h"
#include "convert/Conversion.h"
#include "convert/FontClassifier.h"
#include "convert/InPlaceConversion.h"
#include "convert/LegacyTarget.h"
#include "convert/RtfInPlace.h"
#include "families/LegacyEncoding.h"
#include "families/SpellingFilter.h"
#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"

namespace maravelundi {
namespace {

// Words with every hard case of visual order: pre-base signs before a
// cluster or its last consonant, two-part signs round it, the RA sign,
// conjuncts, chillus, letters fonts write in two glyphs.
constexpr std::u16string_view kWords[] = {
    u"കൈ",     u"പൗരന്റെ", u"ദാരിദ്ര്യം", u"ഐക്യം",  u"ഈശ്വരൻ", u"ഔദ്യോഗിക", u"ഓണം",    u"പൊന്ന്",
    u"രേഖ",     u"ക്രിസ്തു",  u"പ്രേമം",     u"ശ്രീ",     u"സ്വന്തം",  u"ചക്ക്",      u"സ്നേഹം", u"സ്ത്രീ",
    u"വിദ്യാർത്ഥി", u"അംഗങ്ങളായില്ലെങ്കിൽ", u"കേരളത്തിൽ", u"മലയാളം", u"ഊഞ്ഞാൽ", u"കുട്ടികൾ",
};

// Spells text in a target as a document: each glyph in its font, what has
// no glyph in "Arial".
class Spelled final : public LegacyGlyphSink {
 public:
  explicit Spelled(const LegacyTarget& target) {
    for (const std::string& font : target.fonts) fonts_.push_back(document.InternFont(font));
  }
  void Glyph(const InventoryGlyph& glyph, std::size_t) override {
    for (std::size_t c = 0; c < glyph.count; ++c) document.Append(GlyphChar(glyph.codes[c]), fonts_[glyph.font]);
  }
  void Unmapped(char16_t ch, std::size_t) override {
    document.Append(ch, document.InternFont("Arial"));
    ++unmapped;
  }
  Document document;
  int unmapped = 0;

 private:
  std::vector<FormatId> fonts_;
};

std::string ModernText(const Document& document) {
  return ConvertDocument(document, OutputKind::kText, ConversionProfile{.spelling = Spelling::kModern});
}

TEST(WayBack, NamesTheWritableFontsInAnyCase) {
  const struct {
    std::string_view name;
    std::size_t fonts;  // 0: not writable
  } cases[] = {
      {"ML-TTKarthika", 1}, {"ml-ttkarthika", 1}, {"ML-Nandini", 1}, {"MLB-Karthika", 1}, {"GIST-MLTTAswathi", 1},
      {"rl", 6},            {"RC", 6},            {"ra", 6},         {"rkr", 6},          {"rl1", 0},
      {"Arial", 0},         {"ML-Jaya", 0},  // a known font whose map is missing
  };
  for (const auto& c : cases) {
    const auto target = LegacyTargetNamed(c.name);
    EXPECT_EQ(target ? target->fonts.size() : 0u, c.fonts) << c.name;
  }
}

// Every word spelled in a font of each encoding, and in both Rachana
// generations, reads back through the converter as itself.
TEST(WayBack, WordsReadBackInEveryWritableFont) {
  std::vector<std::string> fonts = {"rl", "ra"};
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    for (const LegacyFontName& font : KnownLegacyFonts()) {
      if (font.encoding != &encoding) continue;
      fonts.emplace_back(font.name);
      break;
    }
  }
  ASSERT_GE(fonts.size(), 10u);
  for (const std::string& font : fonts) {
    const auto target = LegacyTargetNamed(font);
    ASSERT_TRUE(target) << font;
    for (const std::u16string_view word : kWords) {
      Spelled spelled(*target);
      EncodeForTarget(*target, word, spelled);
      EXPECT_EQ(spelled.unmapped, 0) << font << ": " << ToUtf8(word);
      EXPECT_EQ(ModernText(spelled.document), ToUtf8(ModernSpelling(word)))
          << font << ": " << ToUtf8(word) << " as " << testing::Describe(spelled.document);
    }
  }
}

// A Unicode document converted in place to a legacy font reads back, through
// the converter, as the Unicode it was; English stays in its own font.
TEST(WayBack, DocumentsConvertedInPlaceReadBackAsTheirUnicode) {
  const std::string words = "\\u3374?\\u3378?\\u3375?\\u3390?\\u3379?\\u3330? \\u3349?\\u3399?\\u3376?\\u3379?\\u3378?";
  const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Manjari;}{\\f1 Arial;}}\\f0 " + words + "\\f1  English\\par}";
  const Document unicode = ReadRtf(rtf).document;
  for (const std::string_view font : {"ML-TTKarthika", "ML-Nandini", "rl", "ra"}) {
    SCOPED_TRACE(font);
    const ConversionProfile back{.target = TextTarget::kLegacy, .legacyFont = std::string(font)};
    const RtfReading reading = ReadRtf(rtf, RtfReadOptions{.sourceSpans = true, .sideStories = true});
    StringSink sink;
    ConvertRtfInPlace(rtf, reading, back, sink);
    const Document legacy = ReadRtf(sink.Bytes()).document;
    EXPECT_EQ(legacy.FontAt(legacy.Text().find(u"English")), "Arial");
    EXPECT_EQ(LegacyTargetNamed(font)->fonts.front().substr(0, 2), legacy.FontAt(0).substr(0, 2));
    EXPECT_EQ(ModernText(legacy), ModernText(unicode)) << sink.Bytes();
  }
}

TEST(WayBack, WordAndOpenDocumentKeepTheirFormatAndTakeTheLegacyFont) {
  const std::string malayalam = "\xE0\xB4\xAE\xE0\xB4\xB2\xE0\xB4\xAF\xE0\xB4\xBE\xE0\xB4\xB3\xE0\xB4\x82";  // മലയാളം
  const std::string docx = test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"Manjari\" w:hAnsi=\"Manjari\" w:cs=\"Manjari\"/><w:b/></w:rPr><w:t>" +
      malayalam + "</w:t></w:r><w:r><w:t xml:space=\"preserve\"> English</w:t></w:r></w:p>"));
  const std::string odt = test::BuildOdt(test::OdtParts().Body("<text:p>" + malayalam + " English</text:p>"));
  for (const auto& [format, package] : {std::pair{DocumentFormat::kDocx, docx}, std::pair{DocumentFormat::kOdt, odt}}) {
    for (const std::string_view font : {"ML-TTKarthika", "rl"}) {
      SCOPED_TRACE(std::string(DocumentFormatName(format)) + " " + std::string(font));
      const ConversionProfile back{.target = TextTarget::kLegacy, .legacyFont = std::string(font)};
      const OfficeResult legacy = ConvertOfficeDocument(package, format, OutputKind::kInPlace, back);
      ASSERT_TRUE(legacy.Ok()) << Describe(legacy.Error());
      // Read back as legacy text in its fonts, it is the Malayalam again.
      const OfficeResult text = ConvertOfficeDocument(legacy.Value(), format, OutputKind::kText,
                                                      ConversionProfile{.spelling = Spelling::kModern});
      ASSERT_TRUE(text.Ok());
      EXPECT_EQ(text.Value(), malayalam + " English\n");
      const Outcome<Document> read = ReadOfficeDocument(legacy.Value(), format, ConversionProfile{});
      ASSERT_TRUE(read.Ok());
      EXPECT_TRUE(IsConvertedFont(Generation::kAuto, read.Value().FontAt(0))) << read.Value().FontAt(0);
    }
  }
}

// Text goes back as a program set in the font takes it pasted: each code as
// its Windows-1252 character, or as the raw bytes; English stays, and a
// paragraph ends in a line feed.
TEST(WayBack, TextGoesBackAsCodes) {
  Document unicode;
  unicode.Append(u"\u0D2E\u0D32\u0D2F\u0D3E\u0D33\u0D02 \u0D15\u0D4D\u0D15 and English\r\n",
                 unicode.InternFont(""));  // മലയാളം ക്ക
  ConversionProfile back{.target = TextTarget::kLegacy, .legacyFont = "ML-TTKarthika"};
  EXPECT_EQ(ConvertDocument(unicode, OutputKind::kText, back), "aebmfw \xC2\xA1 and English\n");
  back.legacyBytes = true;
  EXPECT_EQ(ConvertDocument(unicode, OutputKind::kText, back), "aebmfw \xA1 and English\n");
  EXPECT_THROW(ConvertDocument(unicode, OutputKind::kHtml5, back), std::invalid_argument);
}

// What a font has no glyph for stays as it was, in its own font, and is
// counted; the rest of the word is spelled.
TEST(WayBack, WhatAFontCannotWriteStaysAndIsCounted) {
  Document story;
  story.Append(u"\u0D15\u0D79\u0D15", story.InternFont("Manjari"));  // KA, the date mark, KA
  const ConversionProfile back{.target = TextTarget::kLegacy, .legacyFont = "ML-TTKarthika"};
  const PlacedText placed = ConvertInPlace(story, std::vector<bool>(story.Size(), true), back);
  EXPECT_EQ(placed.unmapped, u"\u0D79");
  std::u16string kept, spelled;
  for (std::size_t p = 0, begin = 0; p < placed.pieces.size(); begin = placed.pieces[p++].textEnd) {
    const std::u16string_view text = std::u16string_view(placed.text).substr(begin, placed.pieces[p].textEnd - begin);
    (placed.pieces[p].font == PlacedText::kKept ? kept : spelled) += text;
  }
  EXPECT_EQ(kept, u"\u0D79");
  EXPECT_EQ(spelled, u"II");  // KA twice, in ML-TT
}

}  // namespace
}  // namespace maravelundi
