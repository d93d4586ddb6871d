// A PDF's text layer as a document: font names read for what they say, the
// codes of a legacy font turned back from each way a PDF gives them, and
// boxes laid out into lines and paragraphs in reading order.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "convert/FontClassifier.h"
#include "pdf/IsolatedRead.h"
#include "pdf/PdfCodes.h"
#include "pdf/PdfFonts.h"
#include "pdf/PdfLayout.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

TEST(PdfFonts, NamesSayWhatFontTheyAre) {
  FontClassifier fonts(Generation::kAuto);
  const struct {
    std::string_view name;
    std::optional<std::string> legacy;
    bool saysNothing;
  } cases[] = {
      {"BAAAAA+ML-TTKarthika", "ML-TTKarthika", false},
      {"ML-TTKarthika,Bold", "ML-TTKarthika", false},
      {"ABCDEF+rl1-Bold", "rl1", false},
      {"ABCDEF+LiberationSans", std::nullopt, false},
      {"Abcdef+ML-TTKarthika", std::nullopt, false},  // no subset tag: lower case
      {"F1", std::nullopt, true},
      {"ABCDEF+TT12", std::nullopt, true},
      {"", std::nullopt, true},
      {"Arial", std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    EXPECT_EQ(LegacyFontNamed(c.name, fonts), c.legacy);
    EXPECT_EQ(SaysNothing(WithoutSubsetPrefix(c.name)), c.saysNothing);
  }
}

// The three ways codes come back, and the ones that cannot be known.
TEST(PdfCodes, EachFormOfTheCodesBecomesItsGlyphs) {
  DecodedCodes decoded;
  DecodeCodes(u"tI\u2026", decoded);          // Windows-1252 characters: 0x74 0x49 0x85
  DecodeCodes(u"\uF074\uF049\uF085", decoded);  // a symbol cmap's private use
  DecodeCodes(u"\u2022", decoded);              // 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x95 or 0x9D
  DecodeCodes(u"\u0D15", decoded);              // Malayalam Unicode already
  DecodeCodes(u"\u4E00", decoded);              // no code at all
  const std::u16string expected = std::u16string(u"tI") + GlyphChar(0x85) + u"tI" + GlyphChar(0x85) + GlyphChar(0x95) +
                                  u"\u0D15\u4E00";
  EXPECT_EQ(decoded.glyphs, expected);
  EXPECT_EQ(decoded.ambiguous, 1u);
  EXPECT_EQ(decoded.unicode, 1u);
  EXPECT_EQ(decoded.unknown, 1u);
}

PdfTextBox Box(std::u16string text, double left, double top, int page = 1, bool spaceAfter = true,
               std::string font = "Arial") {
  const double right = left + 10.0 * static_cast<double>(text.size());
  return PdfTextBox{std::move(text), left, top, right, top + 12, std::move(font), spaceAfter, page, {}};
}

std::string Laid(const std::vector<PdfTextBox>& boxes) {
  PdfLayoutCounts counts;
  const Document document = LayOutPdfText(
      boxes, [](const std::string& font) -> std::optional<std::string> {
        if (font == "ML-TTKarthika") return font;
        return std::nullopt;
      },
      "Manjari", counts);
  std::string text = ToUtf8(document.Text());
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) text.replace(at, 2, "|");
  return text;
}

TEST(PdfLayout, BoxesBecomeLinesAndParagraphsInReadingOrder) {
  const struct {
    std::string_view what;
    std::vector<PdfTextBox> boxes;
    std::string expected;
  } cases[] = {
      {"words of a line; the lines of a paragraph joined; a wide gap ends it",
       {Box(u"aaaa", 0, 0), Box(u"bbbb", 50, 0), Box(u"cccccccc", 0, 14), Box(u"dd", 0, 40)},
       "aaaa bbbb cccccccc|dd|"},
      {"a line the next line's first word would have fitted on ends its paragraph",
       {Box(u"aaaaaaaaaaaaaaaa", 0, 0), Box(u"bb", 0, 14), Box(u"cc", 0, 28), Box(u"cccccccccccc", 30, 28),
        Box(u"dddd", 0, 42)},
       "aaaaaaaaaaaaaaaa bb|cc cccccccccccc dddd|"},
      {"a symbol font's line is one box: its first word is its share",
       {Box(u"aaaaaaaaaaaaaaaa", 0, 0), Box(u"bbbbbbbbbbbbbbbb", 0, 14), Box(u"c\uF020ccccccccccccc", 0, 28)},
       "aaaaaaaaaaaaaaaa bbbbbbbbbbbbbbbb c\uF020ccccccccccccc|"},
      {"two columns: the second begins up the page",
       {Box(u"left", 0, 0), Box(u"column", 0, 14), Box(u"right", 300, 0), Box(u"column", 300, 14)},
       "left column|right column|"},
      {"every page ends a paragraph", {Box(u"one", 0, 0), Box(u"two", 0, 14, 2)}, "one|two|"},
      {"no space where the library saw none", {Box(u"half", 0, 0, 1, false), Box(u"way", 40, 0)}, "halfway|"},
      {"a table row's cells stand apart", {Box(u"cell", 0, 0, 1, false), Box(u"next", 100, 0)}, "cell next|"},
      {"nothing", {}, ""},
      // ML-TT: a line beginning with a vowel sign (m, the AA sign) or ending
      // in a sign typed before its consonant (t, the EE sign) was wrapped
      // inside a word; one beginning with such a sign was not.
      {"the glyphs of a legacy font say where a word was wrapped",
       {Box(u"aaaaaaaaaaaaaaaa", 0, 0, 1, false, "ML-TTKarthika"), Box(u"mbn", 0, 14, 1, false, "ML-TTKarthika"),
        Box(u"aaaaaaaaaaaaaaat", 0, 28, 1, false, "ML-TTKarthika"), Box(u"\\m", 0, 42, 1, false, "ML-TTKarthika"),
        Box(u"aaaaaaaaaaaaaaaa", 0, 56, 1, false, "ML-TTKarthika"), Box(u"tcm", 0, 70, 1, false, "ML-TTKarthika")},
       "aaaaaaaaaaaaaaaambn aaaaaaaaaaaaaaat\\m aaaaaaaaaaaaaaaa tcm|"},
      {"a symbol font's full line ends inside a word unless a space ends it",
       {Box(u"\uF061\uF061\uF061\uF061\uF061\uF061\uF061\uF061", 0, 0, 1, false, "ML-TTKarthika"),
        Box(u"\uF062\uF062\uF062\uF062\uF062\uF062\uF062\uF020", 0, 14, 1, false, "ML-TTKarthika"),
        Box(u"\uF063\uF063\uF063\uF063\uF063\uF063\uF063\uF063", 0, 28, 1, false, "ML-TTKarthika")},
       "aaaaaaaabbbbbbb cccccccc|"},
      // Such text breaks only after a backslash, or anywhere in a full line.
      {"a symbol font's line stopping short where no line breaks ends its paragraph",
       {Box(u"\uF061\uF061\uF061\uF061\uF061\uF061\uF061\uF061", 0, 0, 1, false, "ML-TTKarthika"),
        Box(u"\uF062\uF062", 0, 14, 1, false, "ML-TTKarthika"),
        Box(u"\uF063\uF063\uF063\uF063\\", 0, 28, 1, false, "ML-TTKarthika"),
        Box(u"\uF064\uF064\uF064\uF064\uF064\uF064\uF064\uF064", 0, 42, 1, false, "ML-TTKarthika")},
       "aaaaaaaabb|cccc\\dddddddd|"},
      // A line may break after ML-TT's NA or before its NTA inside a word,
      // and after NA at a space: the likelier reading of the two decides.
      // "A\\" and "\u00B4cw" are one word (ANANTHARAM); "]cnioe\\" and
      // "aebmfw" are two (PARISEELANA MALAYALAM).
      {"where a line may break inside a word, the likelier word decides",
       {Box(u"aaaaaaaaaaaaaaaaaaaaaa", 0, 0, 1, true, "ML-TTKarthika"), Box(u"A\\", 230, 0, 1, false, "ML-TTKarthika"),
        Box(u"\u00B4cw", 0, 14, 1, true, "ML-TTKarthika"), Box(u"aaaaaaaaaaaaaa", 40, 14, 1, true, "ML-TTKarthika"),
        Box(u"]cnioe\\", 190, 14, 1, false, "ML-TTKarthika"), Box(u"aebmfw", 0, 28, 1, false, "ML-TTKarthika")},
       "aaaaaaaaaaaaaaaaaaaaaa A\\\u00B4cw aaaaaaaaaaaaaa ]cnioe\\ aebmfw|"},
  };
  for (const auto& c : cases) EXPECT_EQ(Laid(c.boxes), c.expected) << c.what;
}

// A legacy font's box is read as its glyphs in its font's name; Malayalam
// Unicode in it is kept in the Unicode font; other fonts as they came.
TEST(PdfLayout, EachBoxInItsFontsName) {
  PdfLayoutCounts counts;
  const std::vector<PdfTextBox> boxes = {Box(u"\uF074I\u2022\u0D15", 0, 0, 1, true, "ML-TTKarthika"),
                                         Box(u"English", 60, 0)};
  const Document document = LayOutPdfText(
      boxes, [](const std::string& font) -> std::optional<std::string> {
        if (font == "ML-TTKarthika") return font;
        return std::nullopt;
      },
      "Manjari", counts);
  std::vector<std::string> runs;
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    runs.push_back(document.Format(document.Runs()[r].format).fontName + ":" +
                   ToUtf8(std::u16string_view(document.Text()).substr(document.Runs()[r].begin,
                                                                      document.RunEnd(r) - document.Runs()[r].begin)));
  }
  EXPECT_EQ(runs, (std::vector<std::string>{"ML-TTKarthika:tI" + ToUtf8(std::u16string(1, GlyphChar(0x95))),
                                            "Manjari:\xE0\xB4\x95 ", "Arial:English\r\n"}));
  EXPECT_EQ(counts.codes.ambiguous, 1u);
  EXPECT_EQ(counts.ambiguousPages, std::vector<int>{1});
  EXPECT_EQ(counts.legacyCharacters, 4u);
}

}  // namespace
}  // namespace maravelundi

namespace maravelundi {
namespace {

// The reading comes back from the child whole; a child that runs past its
// CPU time or its memory fails that document alone, saying why.
TEST(IsolatedRead, TheReadingComesBackAndARunawayReadFailsAlone) {
  const auto reading = [] {
    PdfReading made;
    CharFormat legacy, kept;
    legacy.fontName = "ML-TTKarthika";
    kept.fontName = "Arial";
    made.document.Append(u"tIcfw ", made.document.Intern(legacy));
    made.document.Append(u"English\r\n", made.document.Intern(kept));
    made.details = {"one", "two"};
    made.notices = {"three"};
    return Result<PdfReading>(std::move(made));
  };
  const Result<PdfReading> back = ReadIsolated(reading, "a.pdf", {});
  ASSERT_TRUE(back.Ok()) << Describe(back.Error());
  const Result<PdfReading> here = reading();
  EXPECT_TRUE(back.Value().document == here.Value().document);
  EXPECT_EQ(back.Value().details, here.Value().details);
  EXPECT_EQ(back.Value().notices, here.Value().notices);

  const Result<PdfReading> refused = ReadIsolated(
      [] { return Result<PdfReading>(Failure{FailureCode::kEncrypted, "", "needs its password", {}, std::nullopt}); },
      "b.pdf", {});
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Error().code, FailureCode::kEncrypted);
  EXPECT_EQ(refused.Error().subject, "b.pdf");

  // One second of CPU time, spent at once.
  const Result<PdfReading> spinning = ReadIsolated(
      [] {
        volatile std::uint64_t spin = 0;
        for (;;) spin = spin + 1;
        return Result<PdfReading>(PdfReading{});
      },
      "c.pdf", ReadLimits{1, std::uint64_t{4} << 30});
  ASSERT_FALSE(spinning.Ok());
  EXPECT_NE(spinning.Error().message.find("more than 1 s of CPU time"), std::string::npos) << spinning.Error().message;
}

}  // namespace
}  // namespace maravelundi
