// Character formatting through the reader and the writer: bold, italic,
// underline, size and colour as Word, WordPad, LibreOffice and TextEdit
// write them, and the writer's formatted and unformatted markup.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;

// One format as a short label: "[font+b+i+u@28#ff0000]", naming only what
// differs from the defaults (plain, 24 half-points, automatic colour).
std::string Label(const CharFormat& format) {
  std::string out = "[" + format.fontName;
  if (format.bold) out += "+b";
  if (format.italic) out += "+i";
  if (format.underline) out += "+u";
  if (format.halfPoints != 24) out += "@" + std::to_string(format.halfPoints);
  if (format.colour) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", format.colour->red, format.colour->green, format.colour->blue);
    out += hex;
  }
  return out + "]";
}

// A document as one line: each run's label and its text in UTF-8.
std::string Describe(const Document& doc) {
  std::string out;
  for (std::size_t r = 0; r < doc.Runs().size(); ++r) {
    const auto& run = doc.Runs()[r];
    out += Label(doc.Format(run.format));
    out += ToUtf8(std::u16string_view(doc.Text()).substr(run.begin, doc.RunEnd(r) - run.begin));
  }
  return out;
}

struct ReadCase {
  const char* name;
  std::string markup;
  std::string expected;  // as Describe writes it
};

void RunCases(const std::vector<ReadCase>& cases) {
  for (const auto& c : cases) {
    const RtfReading reading = ReadRtf(c.markup);
    ASSERT_TRUE(reading.Ok()) << c.name << ": " << reading.error->message;
    EXPECT_EQ(Describe(reading.document), c.expected) << c.name;
  }
}

// A body in font A (\f0, the default) and font B (\f1).
std::string Body(const std::string& body) { return "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}" + body + "}"; }

// The same with a colour table: 1 red, 2 blue, 3 black, 4 without components.
std::string Coloured(const std::string& body) {
  return Body("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green0\\blue0;;}" + body);
}

TEST(RtfFormattingTest, WritersShapes) {
  RunCases({
      {"Word: {\\b bold}", Body("a{\\b bold}c"), "[A]a[A+b]bold[A]c"},
      {"WordPad: \\b ... \\b0 and a document size",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n\\viewkind4\\uc1\\pard\\sa200\\sl276"
       "\\slmult1\\f0\\fs22\\lang9 plain \\b bold\\b0  plain\\par\r\n}",
       "[Calibri@22]plain [Calibri+b@22]bold[Calibri@22] plain\r\n"},
      {"WordPad: \\i\\ul, ended one by one", Body("\\i\\ul both\\i0  under\\ulnone  none"),
       "[A+i+u]both[A+u] under[A] none"},
      {"Word 2003: attributes after \\rtlch and \\ltrch",
       Body("\\pard\\plain \\ltrpar\\ql \\rtlch\\fcs1 \\af0\\afs28 \\ltrch\\fcs0 \\fs28\\insrsid1 x{\\rtlch\\fcs1 "
            "\\ab\\af0\\afs28 \\ltrch\\fcs0 \\b\\fs28\\insrsid2 y}\\par}"),
       "[A@28]x[A+b@28]y[A@28]\r\n"},
      {"LibreOffice: {\\hich\\af7\\loch\\f7\\loch\\b ...}",
       "{\\rtf1\\ansi\\deff4{\\fonttbl{\\f4\\froman\\fprq2\\fcharset0 Liberation Serif;}{\\f7\\fnil\\fprq2\\fcharset2 "
       "rc1;}}\n{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n\\pard\\plain \\s0\\ql\\hich\\af4\\loch"
       "\\f4\\loch {\\hich\\af7\\loch\\f7\\loch\\b\\ab \\u61601\\'3f}{\\hich\\af7\\loch\\f7\\loch\\i\\ai\\ul\\ulc0\\cf2 "
       "\\u61538\\'3f}{\\hich\\af7\\loch\\f7\\loch\\fs32\\afs32 \\u61601\\'3f}\\par }",
       "[rc1+b]\u00A1[rc1+i+u#ff0000]b[rc1@32]\u00A1[Liberation Serif]\r\n"},
      {"TextEdit: \\fs24 and \\cf0 are the defaults",
       "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;}\n{\\colortbl;\\red255\\green255\\blue255;}\n"
       "\\pard\\f0\\fs24 \\cf0 Hello\\\n}",
       "[Helvetica]Hello\r\n"},
  });
}

TEST(RtfFormattingTest, Attributes) {
  RunCases({
      {"\\b1 on, \\b0 off", Body("\\b1 a\\b0 b"), "[A+b]a[A]b"},
      {"\\i on, \\i0 off", Body("\\i a\\i0 b"), "[A+i]a[A]b"},
      {"\\ul0 ends underline", Body("\\ul a\\ul0 b"), "[A+u]a[A]b"},
      {"dotted", Body("\\uld a\\ulnone b"), "[A+u]a[A]b"},
      {"double", Body("\\uldb a\\ulnone b"), "[A+u]a[A]b"},
      {"words only", Body("\\ulw a\\ulnone b"), "[A+u]a[A]b"},
      {"wave", Body("\\ulwave a\\ulnone b"), "[A+u]a[A]b"},
      {"thick dash dot dot", Body("\\ulthdashdd a\\ulnone b"), "[A+u]a[A]b"},
      {"double wave", Body("\\ululdbwave a\\ulnone b"), "[A+u]a[A]b"},
      {"a kind with 0 ends it", Body("\\uldash a\\uldash0 b"), "[A+u]a[A]b"},
      {"underline colour is no underline", Body("\\ulc2 a"), "[A]a"},
      {"\\fs28", Body("\\fs28 a\\fs24 b"), "[A@28]a[A]b"},
      {"\\fs without a number is 24", Body("\\fs40 a\\fs b"), "[A@40]a[A]b"},
      {"\\fs0 is 24", Body("\\fs40 a\\fs0 b"), "[A@40]a[A]b"},
      {"negative \\fs is 24", Body("\\fs-8 a"), "[A]a"},
      {"huge \\fs is clamped", Body("\\fs99999999999 a"), "[A@65535]a"},
      {"odd half-points kept", Body("\\fs21 a"), "[A@21]a"},
      {"\\plain resets everything, font back to \\deff",
       "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}{\\colortbl;\\red1\\green2\\blue3;}"
       "\\f0\\b\\i\\ul\\fs28\\cf1 x\\plain y}",
       "[A+b+i+u@28#010203]x[B]y"},
      {"\\pard keeps character formatting", Body("\\b\\fs30 a\\par\\pard b"), "[A+b@30]a\r\nb"},
      {"nested groups restore", Body("a{\\b b{\\i c{\\plain\\f1 d}e}f}g"), "[A]a[A+b]b[A+b+i]c[B]d[A+b+i]e[A+b]f[A]g"},
      {"\\plain in a group ends with it", Body("\\b a{\\plain b}c"), "[A+b]a[A]b[A+b]c"},
      {"formatting in a skipped destination does not leak", Body("a{\\*\\foo\\b x}{\\info\\i y}b"), "[A]ab"},
      {"\\b in the font table stays there", "{\\rtf1{\\fonttbl{\\f0\\b A;}}\\f0 a}", "[A]a"},
      {"same format again is one run", Body("\\b a\\b0\\b b"), "[A+b]ab"},
      {"format change before any text", Body("\\b\\i\\i0 a"), "[A+b]a"},
      {"attributes survive a font change", Body("\\b a\\f1 b"), "[A+b]a[B+b]b"},
      {"a double-byte pair split by a format change",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset128 J;}}\\f0 \\'82{\\b \\'82\\'a0}}", "[J]\uFFFD[J+b]\u3042"},
  });
}

TEST(RtfFormattingTest, Colours) {
  RunCases({
      {"\\cf2 with a colour table", Coloured("\\cf1 r\\cf2 b\\cf0 a"), "[A#ff0000]r[A#0000ff]b[A]a"},
      {"black is a colour, not automatic", Coloured("\\cf3 k"), "[A#000000]k"},
      {"an entry without components is automatic", Coloured("\\cf4 x"), "[A]x"},
      {"an index past the table is automatic", Coloured("\\cf5 x\\cf99999999999 y"), "[A]xy"},
      {"a negative index is automatic", Coloured("\\cf-1 x"), "[A]x"},
      {"\\cf without a number is automatic", Coloured("\\cf1 x\\cf y"), "[A#ff0000]x[A]y"},
      {"no colour table: automatic", Body("\\cf1 x"), "[A]x"},
      {"missing components are 0", Body("{\\colortbl;\\green255;\\blue7\\red300;}\\cf1 g\\cf2 m"),
       "[A#00ff00]g[A#ff0007]m"},
      {"a first entry with components", Body("{\\colortbl\\red1\\green1\\blue1;}\\cf0 x"), "[A#010101]x"},
      {"the last entry without its ';'", Body("{\\colortbl;\\red9}\\cf1 x"), "[A#090000]x"},
      {"Word's theme words in entries",
       Body("{\\colortbl;\\red0\\green0\\blue0;\\caccentone\\ctint255\\cshade191\\red79\\green129\\blue189;}"
            "{\\*\\expandedcolortbl;\\csgenericrgb\\c100000\\c0\\c0;}\\cf2 x"),
       "[A#4f81bd]x"},
      {"a colour table after the text", Body("\\cf1 x{\\colortbl;\\red0\\green128\\blue0;}"), "[A#008000]x"},
      {"the first colour table stands",
       Body("{\\colortbl;\\red255\\green0\\blue0;}{\\colortbl;\\red0\\green255\\blue0;}\\cf1 x"), "[A#ff0000]x"},
      {"colour words outside the table do nothing", Body("\\red255 x\\cf1 y"), "[A]xy"},
      {"text in the table is not body text", Body("{\\colortbl;\\red1 junk;}x"), "[A]x"},
      {"\\plain ends the colour", Coloured("\\cf2 x\\plain y"), "[A#0000ff]x[A]y"},
  });
}

// Formatting read by the reader is what decides runs: a bold word in the
// middle of a legacy-font run splits it, and the pieces keep their font.
TEST(RtfFormattingTest, RunsFollowFormats) {
  const RtfReading reading = ReadRtf(Body("\\f1 ab{\\b cd}ef{\\b gh}"));
  ASSERT_TRUE(reading.Ok());
  const Document& doc = reading.document;
  ASSERT_EQ(doc.Runs().size(), 4u);
  EXPECT_EQ(doc.FormatCount(), 2u);  // the two bold words share a format
  EXPECT_EQ(doc.Runs()[1].format, doc.Runs()[3].format);
  for (const FormatRun& run : doc.Runs()) EXPECT_EQ(doc.Format(run.format).fontName, "B");
}

// A document from (format, text) pieces.
Document MakeDocument(const std::vector<std::pair<CharFormat, std::u16string>>& pieces) {
  Document doc;
  for (const auto& [format, text] : pieces) doc.Append(text, doc.Intern(format));
  return doc;
}

CharFormat Format(const std::string& font, bool bold, bool italic, bool underline, std::uint16_t halfPoints = 24,
                  std::optional<Rgb> colour = std::nullopt) {
  CharFormat format;
  format.fontName = font;
  format.bold = bold;
  format.italic = italic;
  format.underline = underline;
  format.halfPoints = halfPoints;
  format.colour = colour;
  return format;
}

const Rgb kRed{255, 0, 0};

TEST(RtfFormattingTest, FormattedMarkup) {
  const Document doc = MakeDocument({
      {Format("A", false, false, false), u"a"},
      {Format("A", true, false, false), u"b"},
      {Format("B", false, true, true, 28, kRed), u"c"},
      {Format("A", false, false, false, 24, Rgb{}), u"d"},
      {Format("A", false, false, false), u"e"},
  });
  EXPECT_EQ(WriteRtf(doc, RtfWriteOptions{.formatting = true}),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil A;}{\\f1\\fnil B;}}"
            "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}\n"
            "\\f0 a\\f0\\b b\\f1\\b0\\i\\ul\\fs28\\cf1 c\\f0\\i0\\ulnone\\fs24\\cf2 d\\f0\\cf0 e}\n");
}

// The default markup carries fonts only, as it always has: bold does not
// appear, and runs of one font are written as one.
TEST(RtfFormattingTest, DefaultMarkupIgnoresFormatting) {
  const Document doc = MakeDocument({
      {Format("A", false, false, false), u"a\r"},
      {Format("A", true, false, true, 30, kRed), u"\nb"},
      {Format("B", false, true, false), u"c"},
  });
  const std::string expected =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil A;}{\\f1\\fnil B;}}\n"
      "\\f0 a\\par\nb\\f1 c}\n";
  EXPECT_EQ(WriteRtf(doc), expected);
  EXPECT_EQ(WriteRtf(doc, RtfWriteOptions{}), expected);
  StringSink sink;
  WriteRtf(doc, sink);
  EXPECT_EQ(sink.Bytes(), expected);
}

// Size 0 is the one format the markup cannot carry: the reader takes \fs0
// for the default size.
TEST(RtfFormattingTest, ZeroSizeComesBackAsDefault) {
  const Document doc = MakeDocument({{Format("A", true, false, false, 0), u"x"}});
  const RtfReading reading = ReadRtf(WriteRtf(doc, RtfWriteOptions{.formatting = true}));
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(Describe(reading.document), "[A+b]x");
}

// Every document that ships with the sources, and the real-world corpus when
// it is beside the checkout: read, written with formatting, read back, the
// same document.
TEST(RtfFormattingTest, DocumentsReadBackWhole) {
  const fs::path source(MARAVELUNDI_SOURCE_DIR);
  std::vector<fs::path> files;
  for (const fs::path& folder : {source / "fuzz" / "corpus", source / "samples",
                                source / ".." / "shared" / "corpus" / "rtf-real" / "files"}) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.is_regular_file() && entry.path().extension() == ".rtf") files.push_back(entry.path());
    }
  }
  ASSERT_FALSE(files.empty());
  std::size_t formatted = 0;
  for (const fs::path& path : files) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const RtfReading first = ReadRtf(bytes);
    if (!first.Ok()) continue;
    const std::string written = WriteRtf(first.document, RtfWriteOptions{.formatting = true});
    const RtfReading again = ReadRtf(written);
    ASSERT_TRUE(again.Ok()) << path;
    EXPECT_TRUE(again.document == first.document) << path;
    for (std::size_t f = 0; f < first.document.FormatCount(); ++f) {
      if (first.document.Format(static_cast<FormatId>(f)).bold) ++formatted;
    }
  }
  EXPECT_GT(formatted, 0u) << "no document with bold text: the check above proves little";
}

}  // namespace
}  // namespace maravelundi
