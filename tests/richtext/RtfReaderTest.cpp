#include "richtext/RtfReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// A document as one readable string: each run as "[font]" and its text in
// UTF-8, so a case states text and fonts together on one line.
std::string Describe(const Document& doc) {
  std::string out;
  for (std::size_t r = 0; r < doc.Runs().size(); ++r) {
    const auto& run = doc.Runs()[r];
    out += "[" + doc.Format(run.format).fontName + "]";
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
    ASSERT_TRUE(reading.Ok()) << c.name << ": " << reading.error->message << " at " << reading.error->offset;
    EXPECT_EQ(Describe(reading.document), c.expected) << c.name;
  }
}

// Documents in the shapes the common writers give them.
TEST(RtfReaderTest, WritersShapes) {
  RunCases({
      {"WordPad",
       "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 rc1;}"
       "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n{\\*\\generator Msftedit 5.41.21.2510;}"
       "\\viewkind4\\uc1\\pard\\f0\\fs24 \\'a7\\'93Hello\\par\r\n\\f1 World\\par\r\n}\r\n",
       "[rc1]\u00A7\u201CHello\r\n[Arial]World\r\n"},
      {"Word, symbol font as \\uN",
       "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2"
       "{\\*\\panose 02020603050405020304}Times New Roman;}{\\f3\\fbidi \\froman\\fcharset2\\fprq2"
       "{\\*\\panose 05050102010706020507}Symbol;}}{\\*\\generator Microsoft Word 11.0.0000;}"
       "{\\info{\\title x}{\\author y}}\\pard\\plain \\f0 a{\\f3 \\u-4031\\'41}b\\par}",
       "[Times New Roman]a[Symbol]A[Times New Roman]b\r\n"},
      {"LibreOffice",
       "{\\rtf1\\ansi\\deff3\\adeflang1025\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
       "{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
       "{\\f4\\fnil\\fprq2\\fcharset2 ra1 ;}}\n{\\colortbl;\\red0\\green0\\blue0;}"
       "{\\stylesheet{\\s0\\snext0\\ql\\f3 Normal;}}{\\*\\generator LibreOffice/7.4}\n"
       "\\pard\\plain \\s0\\ql{\\f4 \\u61601\\'a1\\u61538\\'62}{ Plain}\\par }",
       "[ra1 ]\u00A1b[Liberation Serif] Plain\r\n"},
      {"Word 95 quote words",
       "{\\rtf1{\\fonttbl{\\f1 rkr1;}}\\f1 \\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash}",
       "[rkr1]\u2018\u2019\u201C\u201D\u2022\u2013\u2014"},
      {"field result kept, instruction skipped",
       "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}{\\field{\\fldinst PAGE}{\\fldrslt 2}}}",
       "[]link2"},
      {"header, info, colours and styles skipped",
       "{\\rtf1{\\info{\\title T}}{\\header H\\par}{\\footerl F}{\\colortbl;\\red0;}"
       "{\\stylesheet{\\s1 Heading;}}Body\\par}",
       "[]Body\r\n"},
      {"table cells and rows", "{\\rtf1 a\\cell b\\cell\\row c}", "[]a\tb\t\r\nc"},
  });
}

TEST(RtfReaderTest, FontTable) {
  RunCases({
      {"trailing space kept", "{\\rtf1{\\fonttbl{\\f0 ra1 ;}}\\f0 x}", "[ra1 ]x"},
      {"only the delimiter space dropped", "{\\rtf1{\\fonttbl{\\f0\\fnil  ra1;}}\\f0 x}", "[ ra1]x"},
      {"entries without braces", "{\\rtf1{\\fonttbl\\f0\\fnil rc1;\\f1\\fswiss Arial;}\\f1 x\\f0 y}",
       "[Arial]x[rc1]y"},
      {"entry without ';'", "{\\rtf1{\\fonttbl{\\f0 A}{\\f1 B;}}\\f0 x\\f1 y}", "[A]x[B]y"},
      {"glyph bytes in a name", "{\\rtf1{\\fonttbl{\\f0 ML-TT\\'93x\x94;}}\\f0 x}",
       "[ML-TT\u201Cx\u201D]x"},
      {"\\uN and \\'3b in a name", "{\\rtf1{\\fonttbl{\\f0 a\\u59?b\\'3bc\\u3349?;}}\\f0 x}",
       "[a;b;c\u0D15]x"},
      {"raw line ends in a name", "{\\rtf1{\\fonttbl{\\f0 Times\r\n New;}}\\f0 x}", "[Times New]x"},
      {"empty name", "{\\rtf1{\\fonttbl{\\f0\\fnil;}{\\f1 B;}}\\f0 x\\f1 y}", "[]x[B]y"},
      {"\\plain returns to \\deff", "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f0 x\\plain y}", "[A]x[B]y"},
      {"nested groups restore fonts",
       "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f0 a{\\f1 b{\\f0 c}d}e}", "[A]a[B]b[A]c[B]d[A]e"},
      {"unknown number takes \\deff", "{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f7 x}", "[B]x"},
      {"no \\deff means \\f0", "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}x\\f1 y}", "[A]x[B]y"},
      {"\\deff naming nothing", "{\\rtf1\\deff5{\\fonttbl{\\f1 B;}}x\\f1 y}", "[]x[B]y"},
      {"no font table", "{\\rtf1\\f2 hello}", "[]hello"},
      {"large font number", "{\\rtf1{\\fonttbl{\\f31506 Theme;}}\\f31506 x}", "[Theme]x"},
      {"\\upr keeps the ANSI name",
       "{\\rtf1{\\upr{\\fonttbl{\\f0 A;}}{\\*\\ud{\\fonttbl{\\f0 \\u3349?;}}}}\\f0 x}", "[A]x"},
  });
}

TEST(RtfReaderTest, Characters) {
  RunCases({
      {"raw bytes are glyphs", "{\\rtf1 \x93\x81\xe0\x7f}", "[]\u201C\u0081\u00E0\x7f"},
      {"hex bytes of either case", "{\\rtf1 \\'9D\\'8d\\'e0\\'20}", "[]\u009D\u008D\u00E0 "},
      {"escapes, tab and line", "{\\rtf1 \\{x\\}\\\\\\tab y\\line z}", "[]{x}\\\ty\nz"},
      {"delimiter space only one", "{\\rtf1\\f0  x\\par  y}", "[] x\r\n y"},
      {"delimiter other than space kept", "{\\rtf1 a\\foo-12x\\bar7;}", "[]ax;"},
      {"nbsp, soft and hard hyphen", "{\\rtf1 a\\~b\\-c\\_d}", "[]a\u00A0b\u00ADc\u2011d"},
      {"backslash before line end is a \\par", "{\\rtf1 a\\\nb\\\r\nc\\\rd}", "[]a\r\nb\r\nc\r\nd"},
      {"raw line ends ignored", "{\\rtf1 a\r\nb\nc\rd}", "[]abcd"},
      {"every \\par gives CR LF", "{\\rtf1 \\par\\par}", "[]\r\n\r\n"},
      {"unknown symbols carry no text", "{\\rtf1 a\\|\\:b}", "[]ab"},
      {"broken hex escape", "{\\rtf1 a\\'4gb}", "[]a4gb"},
      {"over-long control word is not \\par",
       "{\\rtf1 a\\par" + std::string(40, 'x') + " b}", "[]ab"},
      {"ignorable destinations", "{\\rtf1 a{\\*\\foo b{c}\\par}d{\\*\\generator x;}e}", "[]ade"},
      {"\\* only marks a group's first token", "{\\rtf1 a{\\i\\*\\foo b}c}", "[]abc"},
      {"\\bin data skipped, braces in it too", "{\\rtf1 a{\\pict\\bin3 {}\\}b\\bin2 }{c}", "[]abc"},
      {"negative \\bin reads nothing", "{\\rtf1 a\\bin-5 b}", "[]ab"},
      {"debris after the last brace dropped", std::string("{\\rtf1 a}\0\0\0garbage", 19), "[]a"},
      {"debris after the last brace dropped", "{\\rtf1 a}-\n", "[]a"},
      {"extra '}' at the end ignored", "{\\rtf1 a}}\n}", "[]a"},
      {"text goes on after a stray '}'", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f0 a}\n\\par b{c}}", "[A]a\r\nbc"},
      {"a second document after the first", "{\\rtf1 a}\nText2:\n{\\rtf1 b}", "[]ab"},
      {"line end between '{' and \\rtf", "{\n  \\rtf1 a}", "[]a"},
      {"any \\rtf version", "{\\rtf0 a}", "[]a"},
      {"empty document", "{\\rtf}", ""},
  });
}

TEST(RtfReaderTest, UnicodeAndFallback) {
  RunCases({
      {"\\uc1 default", "{\\rtf1 a\\u3349?b}", "[]a\u0D15b"},
      {"\\uc2 with hex fallback", "{\\rtf1\\uc2 a\\u3349\\'3f\\'3fb}", "[]a\u0D15b"},
      {"\\uc0 skips nothing", "{\\rtf1\\uc0 \\u3349 b}", "[]\u0D15b"},
      {"space after the delimiter is fallback", "{\\rtf1 \\u3349  b}", "[]\u0D15b"},
      {"a control symbol counts one", "{\\rtf1\\uc2 \\u3349\\{ab}", "[]\u0D15b"},
      {"a control word counts one", "{\\rtf1 \\u3349\\par x}", "[]\u0D15x"},
      {"group boundary ends the fallback", "{\\rtf1\\uc3 \\u3349{x}y}", "[]\u0D15xy"},
      {"\\uc belongs to the group", "{\\rtf1{\\uc2 \\u3349??}\\u3349?x}", "[]\u0D15\u0D15x"},
      {"negative N", "{\\rtf1 \\u-3?}", "[]\uFFFD"},
      {"surrogate pair as two units", "{\\rtf1 \\u-10179?\\u-8704?}", "[]\U0001F600"},
      {"N beyond 16 bits", "{\\rtf1 \\u70000?x}", "[]\uFFFDx"},
      {"symbol-font range is a glyph byte", "{\\rtf1 \\u61472?\\u61587?\\u61695?\\u61471?\\u61696?}",
       "[] \u201C\u00FF\uF01F\uF100"},
      {"signed N in the symbol-font range", "{\\rtf1 \\u-3843?}", "[]\u00FD"},
  });
}

struct ErrorCase {
  const char* name;
  std::string markup;
  std::string message;
  std::size_t offset;
};

TEST(RtfReaderTest, Errors) {
  const std::string deep = "{\\rtf1 " + std::string(100000, '{');
  const ErrorCase cases[] = {
      {"empty", "", "the file is empty", 0},
      {"plain text", "hello", "not an RTF document (it does not begin with {\\rtf)", 0},
      {"leading space", " {\\rtf1 a}", "not an RTF document (it does not begin with {\\rtf)", 0},
      {"empty group", "{}", "not an RTF document (it does not begin with {\\rtf)", 0},
      {"other control word", "{\\rtb1 {x}}", "not an RTF document (it does not begin with {\\rtf)", 0},
      {"no opening brace", "\\rtf1 {bogus}", "not an RTF document (it does not begin with {\\rtf)", 0},
      {"missing close", "{\\rtf1 text {\\i italic}", "unexpected end of file: 1 group still open", 23},
      {"several open", "{\\rtf1 {{{", "unexpected end of file: 4 groups still open", 10},
      {"lone backslash at end", "{\\rtf1 a\\", "unexpected end of file: 1 group still open", 9},
      {"\\bin past the end", "{\\rtf1 a\\bin100 xyz}", "unexpected end of file: 1 group still open", 20},
      {"markup after the end, then no end", "{\\rtf1 a}\\par b", "unexpected end of file: 1 group still open", 15},
      {"deep nesting left open", deep, "unexpected end of file: 100001 groups still open", deep.size()},
  };
  for (const auto& c : cases) {
    const RtfReading reading = ReadRtf(c.markup);
    ASSERT_FALSE(reading.Ok()) << c.name;
    EXPECT_EQ(reading.error->message, c.message) << c.name;
    EXPECT_EQ(reading.error->offset, c.offset) << c.name;
  }
}

TEST(RtfReaderTest, DeepNestingReadsWithoutRecursion) {
  constexpr std::size_t kDepth = 100000;
  const std::string markup = "{\\rtf1{\\fonttbl{\\f1 B;}}" + std::string(kDepth, '{') + "\\f1 x" +
                             std::string(kDepth, '}') + "y}";
  const RtfReading reading = ReadRtf(markup);
  ASSERT_TRUE(reading.Ok()) << reading.error->message;
  EXPECT_EQ(Describe(reading.document), "[B]x[]y");
}

TEST(RtfReaderTest, HugeControlWordDoesNotBecomeText) {
  const std::string markup = "{\\rtf1 a\\" + std::string(1000000, 'q') + "123 b}";
  const RtfReading reading = ReadRtf(markup);
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(Describe(reading.document), "[]ab");
}

// Random markup from fragments that stress the tokenizer and the group
// stack: every input either reads or reports an offset inside it, and what
// is read is a well-formed document. The seed is fixed and printed.
TEST(RtfReaderTest, RandomMarkupNeverBreaksTheReader) {
  constexpr std::uint32_t kSeed = 7;
  std::mt19937 random(kSeed);
  const std::vector<std::string> fragments = {
      "{", "}", "\\", "\\u", "-", "12", "65535", "\\bin", "\\'", "a", "f", "\\*", ";", " ", "\\fonttbl",
      "\\f1", "\\uc3", "\r\n", "\x93", "\\par", "\\plain", "\\deff", "\\pict", "9", "\\'f", "\\~", "\\\n", "\0"};
  for (int round = 0; round < 3000; ++round) {
    std::string markup = "{\\rtf1";
    const auto length = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < length; ++i) {
      markup += fragments[std::uniform_int_distribution<std::size_t>(0, fragments.size() - 1)(random)];
    }
    const RtfReading reading = ReadRtf(markup);
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", round " + std::to_string(round) + ": " + markup);
    if (!reading.Ok()) {
      EXPECT_LE(reading.error->offset, markup.size());
      EXPECT_FALSE(reading.error->message.empty());
      continue;
    }
    const Document& doc = reading.document;
    for (std::size_t r = 0; r < doc.Runs().size(); ++r) {
      EXPECT_LT(doc.Runs()[r].begin, doc.RunEnd(r));
      EXPECT_LT(doc.Runs()[r].format, doc.FormatCount());
    }
    if (!doc.Empty()) {
      EXPECT_EQ(doc.Runs().front().begin, 0u);
    }
    if (HasFailure()) return;
  }
}

// Ten megabytes of a typical body, fonts switching every few words: the
// reader must stay linear and keep the runs it builds.
TEST(RtfReaderTest, ReadsTenMegabytesQuickly) {
  std::string markup = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 rc1;}{\\f1 Arial;}}\n";
  const std::string piece = "\\f0 \\'a7\\'93abc def ghi\\par\n\\f1 \\u3349?klm {\\b nop}\\tab qrs ";
  std::size_t pieces = 0;
  while (markup.size() < 10'000'000) {
    markup += piece;
    ++pieces;
  }
  markup += "}";
  const auto start = std::chrono::steady_clock::now();
  const RtfReading reading = ReadRtf(markup);
  const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(reading.document.Size(), pieces * 28);
  EXPECT_EQ(reading.document.Runs().size(), pieces * 2);
  EXPECT_EQ(reading.document.FormatCount(), 2u);
#ifdef NDEBUG  // unoptimised and sanitiser builds are many times slower
  EXPECT_LT(elapsed, 1.0) << "10 MB took " << elapsed << " s";
#else
  std::cout << "10 MB took " << elapsed << " s (not checked: unoptimised build)\n";
#endif
}

}  // namespace
}  // namespace maravelundi
