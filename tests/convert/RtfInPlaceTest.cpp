// Rich Text converted in place: the text reads back as the Unicode
// conversion's text, and every byte that is not legacy-font text is still
// there.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "TestDocuments.h"
#include "convert/RtfInPlace.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeDocument.h"

namespace maravelundi {
namespace {

std::string InPlace(const std::string& markup, const ConversionProfile& profile = {}) {
  const RtfReading reading = ReadRtf(markup, RtfReadOptions{.sourceSpans = true, .sideStories = true});
  EXPECT_TRUE(reading.Ok()) << markup;
  StringSink sink;
  ConvertRtfInPlace(markup, reading, profile, sink);
  return sink.Bytes();
}

// What the rebuilt Unicode Rich Text holds: the same text is the oracle.
std::u16string UnicodeText(const std::string& markup) {
  const Document source = ReadRtf(markup).document;
  const UnicodeOptions unicode{.legacyFamilies = true};
  return BuildUnicodeDocument(Transcode(source, Generation::kAuto), "Manjari", nullptr, unicode).Text();
}

std::pair<std::u16string, std::u16string> SplitBreaks(const std::u16string& text) {
  std::u16string rest, breaks;
  for (char16_t ch : text) (ch == u'\r' || ch == u'\n' ? breaks : rest).push_back(ch);
  return {rest, breaks};
}

Document RandomRachanaDocument(std::mt19937& random) {
  Document doc;
  const FormatId fonts[] = {doc.InternFont("rc1"), doc.InternFont("rc2"), doc.InternFont("rc3"),
                            doc.InternFont("ra1"), doc.InternFont("ML-TTKarthika"), doc.InternFont("Arial")};
  const int length = static_cast<int>(random() % 80);
  for (int i = 0; i < length; ++i) {
    const unsigned pick = random() % 20;
    // Mostly letters and signs of the legacy fonts, now and then a line end.
    char16_t ch = pick == 0 ? u'\r' : pick == 1 ? u'\n' : GlyphChar(static_cast<std::uint8_t>(0x21 + random() % 0xDE));
    if (ch == u'\r') {
      doc.Append(u"\r\n", fonts[random() % 6]);
      continue;
    }
    doc.Append(ch, fonts[random() % 6]);
  }
  return doc;
}

TEST(RtfInPlace, ReadsBackAsTheUnicodeConversion) {
  const unsigned seed = 20261207;
  std::mt19937 random(seed);
  for (int round = 0; round < 3000; ++round) {
    const Document source = RandomRachanaDocument(random);
    const std::string markup = WriteRtf(source, RtfWriteOptions{.formatting = true});
    const RtfReading converted = ReadRtf(InPlace(markup));
    ASSERT_TRUE(converted.Ok());
    // A pre-base sign typed before a line break moves past it in the
    // rebuilt document, but stays before the \line that is still in the
    // file here: compare the text and the breaks apart.
    const auto [text, breaks] = SplitBreaks(converted.document.Text());
    const auto [expectedText, expectedBreaks] = SplitBreaks(UnicodeText(markup));
    ASSERT_EQ(testing::Hex(text), testing::Hex(expectedText))
        << "seed " << seed << " round " << round << ": " << testing::Describe(source);
    ASSERT_EQ(breaks, expectedBreaks) << "seed " << seed << " round " << round;
  }
}

// The forms a legacy byte takes in markup: plain, \'hh, and \uN with its
// fallback (as LibreOffice writes a legacy font), under \uc0, \uc1 and \uc2.
TEST(RtfInPlace, ReplacesEveryFormOfALegacyCharacter) {
  const std::string head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 rc1;}}\\f1 ";
  const std::u16string ka = u"\u0D15";
  struct Case {
    std::string body;
    std::u16string text;
  };
  const Case cases[] = {
      {"I}", ka},
      {"\\'49}", ka},
      {"\\u61513?}", ka},
      {"{\\uc0\\u61513}}", ka},
      {"{\\uc2\\u61513\\'3f\\'3f}}", ka},
      {"\\u61513\\'3f}", ka},
  };
  for (const Case& c : cases) {
    const std::string markup = head + c.body;
    const std::string out = InPlace(markup);
    EXPECT_EQ(ReadRtf(out).document.Text(), c.text) << markup << "\n" << out;
    EXPECT_EQ(out.find("61513"), std::string::npos) << out;
  }
}

// Everything that is not legacy text stays, byte for byte: paragraph
// properties, a table, a picture, a field, a header, a footnote, a
// superscript, colours, and the English text.
TEST(RtfInPlace, KeepsEverythingElse) {
  const std::string kept[] = {
      "{\\colortbl;\\red255\\green0\\blue0;}",
      "{\\header \\pard\\plain \\f0 Header text\\par}",
      "\\pard\\qc\\sb240\\sa120",
      "{\\*\\shppict{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a0000000d49484452}}",
      "\\trowd\\cellx2000\\cellx4000",
      "\\intbl",
      "\\cell",
      "\\row",
      "{\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}{\\fldrslt ",
      "{\\super 2}",
      "{\\footnote \\pard\\plain \\f0 A note.}",
      "\\cf1 ",
      "English words",
  };
  const std::string markup =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 rc1;}}" + kept[0] + kept[1] + kept[2] + "\\f1\\b\\fs48 ]e\\par " +
      kept[3] + "\\pard" + kept[4] + kept[5] + "\\f1 I" + kept[6] + "\\f0 " + kept[12] + kept[6] + kept[7] +
      "\\pard " + kept[8] + "\\f1 Ie}}" + kept[9] + kept[10] + kept[11] + "\\f1 I\\par}";
  const std::string out = InPlace(markup);
  for (const std::string& piece : kept) EXPECT_NE(out.find(piece), std::string::npos) << piece << "\n" << out;
  const RtfReading reading = ReadRtf(out);
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(reading.document.Text(), UnicodeText(markup));
  // The Unicode font is in the table, and the Malayalam carries its
  // complex-script size and weight.
  EXPECT_NE(out.find("{\\f2\\fnil\\fcharset0 Manjari;}}"), std::string::npos) << out;
  EXPECT_NE(out.find("{\\rtlch\\fcs1\\af2\\afs48\\ab\\ai0\\ltrch\\fcs0\\f2\\uc1 \\u3370\\'3f\\u3381\\'3f}"),
            std::string::npos)
      << out;
}

// Every destination whose text a word processor shows is converted, with the
// complex-script size and weight of its own runs; those that show no text
// stay byte for byte. Each case holds the legacy letter KA ("I" in rc1).
TEST(RtfInPlace, ConvertsEveryDestinationThatShowsText) {
  const std::string head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 rc1;}}\\f0 Body ";
  const std::string shown[] = {
      "{\\header\\pard\\plain\\f1 I\\par}",
      "{\\headerl\\pard\\plain\\f1 I\\par}",
      "{\\footerf\\pard\\plain\\f1 I}",
      "{\\super\\chftn}{\\footnote\\pard\\plain\\f1\\b\\fs18 I}",
      "{\\super\\chftn}{\\footnote\\ftnalt\\pard\\plain\\f1 I}",
      "{\\*\\atnid A}\\chatn{\\*\\annotation{\\*\\atnref 0}\\pard\\plain\\f1 I}",
      "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt\\pard\\plain\\f1 I\\par}}}",
      "{\\*\\do\\dobxcolumn{\\dptxbx{\\dptxbxtext\\pard\\plain\\f1 I\\par}}}",
      "{\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}{\\fldrslt\\f1 I}}",
      "{\\listtext\\f1 I\\tab}",
      "{\\pntext\\f1 I\\tab}",
      "\\trowd\\cellx2000\\pard\\intbl\\f1 I\\cell\\row",
  };
  for (const std::string& destination : shown) {
    const std::string markup = head + destination + "\\par}";
    const std::string out = InPlace(markup);
    EXPECT_EQ(out.find("\\f1 I"), std::string::npos) << markup << "\n" << out;
    const RtfReading reading = ReadRtf(out, RtfReadOptions{.sideStories = true});
    EXPECT_NE((reading.document.Text() + reading.side.Text()).find(u"\u0D15"), std::u16string::npos) << out;
  }
  EXPECT_NE(InPlace(head + shown[3] + "}").find("\\afs18\\ab\\ai0"), std::string::npos);

  const std::string quiet[] = {
      "{\\*\\bkmkstart \\f1 I}",
      "{\\field{\\*\\fldinst \\f1 I}{\\fldrslt x}}",
      "{\\*\\formfield{\\*\\ffname \\f1 I}}",
      "{\\stylesheet{\\s1\\f1 I;}}",
      "{\\info{\\title \\f1 I}}",
      "{\\*\\datafield \\f1 I}",
      "{\\xe \\f1 I}",
      "{\\pict\\pngblip \\f1 I}",
  };
  for (const std::string& destination : quiet) {
    const std::string markup = head + destination + "\\par}";
    std::string out = InPlace(markup);
    const std::string font = "{\\f2\\fnil\\fcharset0 Manjari;}";
    if (const std::size_t at = out.find(font); at != std::string::npos) out.erase(at, font.size());
    EXPECT_EQ(out, markup);
  }
}

// Without a font table, the Unicode font comes in a table of its own, and
// the document still reads as before.
TEST(RtfInPlace, AddsAFontTableWhereThereIsNone) {
  const std::string out = InPlace("{\\rtf1\\ansi\\f0 I}");
  EXPECT_EQ(out, "{\\rtf1{\\fonttbl{\\f1\\fnil\\fcharset0 Manjari;}}\\ansi\\f0 I}");
  EXPECT_EQ(ReadRtf(out).document.Text(), u"I");
}

// The Unicode font takes a number no font has: one past the highest, or,
// where the highest is the largest a number reads as, the lowest free one.
TEST(RtfInPlace, TheUnicodeFontTakesAFreeNumber) {
  const std::pair<std::string, std::string_view> cases[] = {
      {"{\\rtf1{\\fonttbl{\\f0 rc1;}{\\f7 Arial;}}\\f0 a\\f7 x}", "\\f8\\fnil\\fcharset0 Manjari;"},
      {"{\\rtf1{\\fonttbl{\\f0 rc1;}{\\f2147483647 Arial;}}\\f0 a\\f1 x\\f2147483647 y}",
       "\\f2\\fnil\\fcharset0 Manjari;"},
  };
  for (const auto& [markup, entry] : cases) {
    const std::string out = InPlace(markup);
    EXPECT_NE(out.find(entry), std::string::npos) << out;
    const Document converted = ReadRtf(out).document;
    EXPECT_EQ(converted.FontAt(0), "Manjari") << out;
    EXPECT_EQ(converted.FontAt(converted.Size() - 1), "Arial") << out;
  }
}

}  // namespace
}  // namespace maravelundi
