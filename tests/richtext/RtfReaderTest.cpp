#include "richtext/RtfReader.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string_view>

#include "richtext/GlyphString.h"
#include "richtext/ReadingPrinters.h"
#include "richtext/RtfByteWindow.h"

namespace maravelundi {
namespace {

// A document as one readable string: each stretch of one font as "[font]"
// and its text in UTF-8, so a case states text and fonts together on one
// line. Runs that differ only in bold, size and the like show as one: these
// cases are about text and fonts (RtfFormattingTest covers the rest).
std::string Describe(const Document& doc) {
  std::string out;
  const std::string* font = nullptr;
  for (std::size_t r = 0; r < doc.Runs().size(); ++r) {
    const auto& run = doc.Runs()[r];
    const std::string& name = doc.Format(run.format).fontName;
    if (font == nullptr || *font != name) out += "[" + name + "]";
    font = &name;
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
       "[Times New Roman]a[Symbol]\u0391[Times New Roman]b\r\n"},
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
      {"Japanese Word: font table under \\upr, text under \\dbch",
       "{\\rtf1\\ansi\\ansicpg932\\uc2\\deff0\\deflangfe1041{\\upr{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}"
       "{\\f17\\froman\\fcharset128\\fprq1 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}{\\*\\ud{\\fonttbl"
       "{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}{\\f17\\froman\\fcharset128\\fprq1 {\\*\\falt MS Mincho}"
       "\\u65325\\'82\\'6c\\u65331\\'82\\'72 \\u26126\\'96\\'be\\u26397\\'92\\'a9;}}}}\r\n\\pard\\plain "
       "\\loch\\af0\\hich\\af0\\dbch\\f17 \\'82\\'a0\\'8a\\'bf{\\hich\\af0\\dbch\\af17\\loch\\f0 abc}\\par}",
       "[\uFF2D\uFF33 \u660E\u671D]\u3042\u6F22[Times New Roman]abc[\uFF2D\uFF33 \u660E\u671D]\r\n"},
      {"LibreOffice: \\hich\\af\\loch\\f runs, \\par outside, one name under two numbers",
       "{\\rtf1\\ansi\\deff4\\adeflang1025\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
       "{\\f4\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}{\\f7\\fnil\\fprq2\\fcharset2 rc1;}"
       "{\\f8\\fnil\\fprq0\\fcharset0 rc1;}}\n{\\stylesheet{\\s0\\snext0\\ql\\hich\\af4\\loch\\f4 Normal;}}"
       "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64}\n\\pard\\plain \\s0\\ql\\hich\\af4\\loch\\f4\\loch "
       "{\\hich\\af7\\loch\\f7\\loch \\u61601\\'3f\\u61538\\'3f}{\\hich\\af8\\loch\\f8\\loch \\u61601\\'3f}\\par "
       "\\pard\\plain \\s0\\ql\\hich\\af4\\loch\\f4\\loch {\\hich\\af4\\loch\\f4\\loch English}\\par }",
       "[rc1]\u00A1b\u00A1[Liberation Serif]\r\nEnglish\r\n"},
      {"StarWriter: \\*\\cs7 inside a group is no destination",
       "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\fnil\\fprq2\\fcharset2 ra1;}}"
       "{\\stylesheet{\\s1 Standard;}{\\*\\cs7 Absatz-Standardschriftart;}}\n"
       "\\pard\\plain \\s1 x{\\f1\\*\\cs7 \\'a7\\'b8}\\par}",
       "[Times New Roman]x[ra1]\u00A7\u00B8[Times New Roman]\r\n"},
      {"TextEdit: entries without braces, lines ending in a backslash",
       "{\\rtf1\\ansi\\ansicpg1252\\cocoartf2639\n\\cocoatextscaling0\\cocoaplatform0{\\fonttbl\\f0\\fswiss\\fcharset0 "
       "Helvetica;\\f1\\fnil\\fcharset0 rc1;}\n{\\colortbl;\\red255\\green255\\blue255;}\n{\\*\\expandedcolortbl;;}\n"
       "\\paperw11900\\paperh16840\\vieww11520\\viewh8400\\viewkind0\n\\pard\\tx566\\pardirnatural\\partightenfactor0\n\n"
       "\\f0\\fs24 \\cf0 Hello\\\n\\f1 \\'a7\\'93\\\n}",
       "[Helvetica]Hello\r\n[rc1]\u00A7\u201C\r\n"},
      {"WordPad, Russian: Cyrillic decoded, legacy fonts kept",
       "{\\rtf1\\ansi\\ansicpg1251\\deff0\\nouicompat\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Calibri;}"
       "{\\f1\\fnil\\fcharset0 rc1;}{\\f2\\fnil rc2;}}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
       "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang1049\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\f1\\'a7\\f2\\'e8\\f0\\par\r\n}",
       "[Calibri]\u041F\u0440\u0438\u0432\u0435\u0442 [rc1]\u00A7[rc2]\u00E8[Calibri]\r\n"},
      {"Word for Mac: \\fcharset256 keeps glyphs, \\fcharset77 is Mac Roman",
       "{\\rtf1\\ansi\\ansicpg10000\\uc1\\deff0{\\fonttbl{\\f0\\fnil\\fcharset256\\fprq2 rc1;}"
       "{\\f1\\fnil\\fcharset77 Helvetica;}}\\f0 \\'a7{\\f1 \\'8e\\'a5}}",
       "[rc1]\u00A7[Helvetica]\u00E9\u2022"},
  });
}

// Text in fonts of non-Western character sets, decoded by their code page;
// `F` is the font of the body in each case.
std::string InFont(const std::string& font, const std::string& body, const std::string& header = "") {
  return "{\\rtf1" + header + "{\\fonttbl{\\f0\\fnil Arial;}{\\f1" + font + " F;}}\\f1 " + body + "}";
}

TEST(RtfReaderTest, CodePages) {
  const std::string cyrillic = "\\ansicpg1251";
  RunCases({
      {"Cyrillic", InFont("\\fcharset204", "\\'cf\\'f0"), "[F]\u041F\u0440"},
      {"Greek", InFont("\\fcharset161", "\\'e1"), "[F]\u03B1"},
      {"Turkish", InFont("\\fcharset162", "\\'fd"), "[F]\u0131"},
      {"Central European", InFont("\\fcharset238", "\\'b9"), "[F]\u0105"},
      {"Baltic", InFont("\\fcharset186", "\\'e0"), "[F]\u0105"},
      {"Hebrew", InFont("\\fcharset177", "\\'e0"), "[F]\u05D0"},
      {"Arabic", InFont("\\fcharset178", "\\'c7"), "[F]\u0627"},
      {"Thai", InFont("\\fcharset222", "\\'a1"), "[F]\u0E01"},
      {"Vietnamese", InFont("\\fcharset163", "\\'f5"), "[F]\u01A1"},
      {"OEM United States", InFont("\\fcharset254", "\\'b3"), "[F]\u2502"},
      {"OEM Latin 1", InFont("\\fcharset255", "\\'d0"), "[F]\u00F0"},
      {"Shift-JIS pairs", InFont("\\fcharset128", "\\'82\\'a0\\'8a\\'bf"), "[F]\u3042\u6F22"},
      {"raw double-byte bytes", InFont("\\fcharset128", "\x82\xa0"), "[F]\u3042"},
      {"escaped trail byte", InFont("\\fcharset128", "\\'83\\\\"), "[F]\u30BD"},
      {"a skipped group inside a pair", InFont("\\fcharset128", "\\'82{\\*\\bkmkstart b}\\'a0"), "[F]\u3042"},
      {"fallback bytes of \\uN dropped", InFont("\\fcharset128", "\\uc2\\u12354\\'82\\'a0\\'82\\'a2"),
       "[F]\u3042\u3044"},
      {"a lead byte without its trail", InFont("\\fcharset128", "\\'82 x\\'82"), "[F]\uFFFD x\uFFFD"},
      {"GBK", InFont("\\fcharset134", "\\'d6\\'d0"), "[F]\u4E2D"},
      {"Big5", InFont("\\fcharset136", "\\'a4\\'a4"), "[F]\u4E2D"},
      {"Unified Hangul", InFont("\\fcharset129", "\\'c7\\'d1"), "[F]\uD55C"},
      {"Johab", InFont("\\fcharset130", "\\'88\\'61"), "[F]\uAC00"},
      {"font runs end a pair", InFont("\\fcharset128", "\\'82{\\f0 \\'a0}"), "[F]\uFFFD[Arial]\u00A0"},
      {"ANSI font keeps glyphs", InFont("\\fcharset0", "\\'cf", cyrillic), "[F]\u00CF"},
      {"symbol charset keeps glyphs", InFont("\\fcharset2", "\\'cf", cyrillic), "[F]\u00CF"},
      {"default charset: the document's", InFont("\\fcharset1", "\\'cf", cyrillic), "[F]\u041F"},
      {"no charset: the document's", InFont("", "\\'cf", cyrillic), "[F]\u041F"},
      {"Mac's 256: the document's", InFont("\\fcharset256", "\\'cf", cyrillic), "[F]\u041F"},
      {"unknown charset: the document's", InFont("\\fcharset99", "\\'cf", cyrillic), "[F]\u041F"},
      {"no charset in a Western document", InFont("", "\\'cf\\'93", "\\ansi\\ansicpg1252"), "[F]\u00CF\u201C"},
      {"no charset, no code page", InFont("", "\\'cf"), "[F]\u00CF"},
      {"unknown document code page", InFont("", "\\'cf", "\\ansicpg4242"), "[F]\u00CF"},
      {"\\mac is Mac Roman", InFont("", "\\'8e\\'a5", "\\mac"), "[F]\u00E9\u2022"},
      {"\\mac, Word for Mac's 256", InFont("\\fcharset256", "\\'8e", "\\mac\\ansicpg10000"), "[F]\u00E9"},
      {"Mac Cyrillic", InFont("", "\\'8f\\'e0", "\\mac\\ansicpg10007"), "[F]\u041F\u0430"},
      {"\\pc is OEM", InFont("", "\\'b3", "\\pc"), "[F]\u2502"},
      {"symbol-font \\uN in a Cyrillic font is private use", InFont("\\fcharset204", "\\u61607?\\emdash"),
       "[F]\uF0A7\u2014"},
      {"symbol-font \\uN in a symbol-charset font", InFont("\\fcharset2", "\\u61607?"), "[F]\u00A7"},
      {"\\cpg outranks \\fcharset", InFont("\\fcharset128\\cpg65001", "\\'e4\\'b8\\'ad"), "[F]\u4E2D"},
      {"\\cpg outranks a later \\fcharset", InFont("\\cpg65001\\fcharset128", "\\'e4\\'b8\\'ad"), "[F]\u4E2D"},
      {"\\cpg1252 outranks a later \\fcharset", InFont("\\cpg1252\\fcharset204", "\\'cf"), "[F]\u00CF"},
      {"unknown \\cpg leaves the charset", InFont("\\fcharset204\\cpg4242", "\\'cf"), "[F]\u041F"},
      {"user-defined Shift-JIS", InFont("\\fcharset128", "\\'f0\\'40\\'f9\\'fc"), "[F]\uE000\uE757"},
      {"user-defined Big5, where symbol bytes would be", InFont("\\fcharset136", "\\'84\\'68"), "[F]\uF0B7"},
      {"undecodable pair, trail byte not ASCII", InFont("\\fcharset128", "\\'85\\'40x"), "[F]\uFFFDx"},
      {"no font table: the document's code page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf}", "[]\u041F"},
      {"a missing font takes the default's charset",
       "{\\rtf1\\deff1{\\fonttbl{\\f1\\fcharset204 F;}}\\f9 \\'cf}", "[F]\u041F"},
      {"names in their charset, else the document's (Western ones too)",
       "{\\rtf1\\ansicpg1251{\\fonttbl{\\f1\\fcharset161 \\'e1;}{\\f2\\fcharset0 \\'cf;}}\\f1 x\\f2 y}",
       "[\u03B1]x[\u041F]y"},
  });
}

// A font's name decides before what it declares: legacy Malayalam fonts keep
// a glyph per byte under any character set or code page, and the font
// "Symbol" reads as the symbols it draws, which no other font with the
// symbol character set does.
TEST(RtfReaderTest, FontsDecideByName) {
  std::vector<ReadCase> cases;
  for (const std::string name : {"rc1", "RKR6", "rl3", "ML-TTKarthika", "ml-ttrevathi", "ML Surya", "MLB-TTIndulekha",
                                 "GIST-MLTTRevathi"}) {
    for (const std::string declared : {"", "\\fcharset0", "\\fcharset1", "\\fcharset2", "\\fcharset204",
                                       "\\fcharset256", "\\fcharset128", "\\cpg1251", "\\cpg932"}) {
      cases.push_back({"legacy font", "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f1" + declared + " " + name +
                                          ";}}\\f1 \\'cf\\'93\\u61601?}",
                       "[" + name + "]\u00CF\u201C\u00A1"});
    }
  }
  for (const std::string declared : {"", "\\fcharset0", "\\fcharset2", "\\fcharset204", "\\cpg1251"}) {
    cases.push_back({"Symbol",
                     "{\\rtf1\\ansicpg1251{\\fonttbl{\\f1" + declared + " Symbol;}}\\f1 a\\'b7\\'d7\\u61537?\\u-3913?}",
                     "[Symbol]\u03B1\u2022\u22C5\u03B1\u2022"});
  }
  const std::vector<ReadCase> named = {
      {"Symbol in any case", "{\\rtf1{\\fonttbl{\\f1 SYMBOL;}}\\f1 D\\'a5}", "[SYMBOL]\u0394\u221E"},
      {"bytes Symbol draws nothing for", "{\\rtf1{\\fonttbl{\\f1 Symbol;}}\\f1 \\'93\\'f0\\'ff\\u61593?\\'09}",
       "[Symbol]\uF093\uF0F0\uF0FF\uF099\t"},
      {"other symbol-charset fonts keep glyphs", "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Wingdings;}}\\f1 a\\'b7\\u61537?}",
       "[Wingdings]a\u00B7a"},
      {"names like Symbol are not Symbol", "{\\rtf1{\\fonttbl{\\f1 Symbol MT;}{\\f2 OpenSymbol;}}\\f1 a\\f2 a}",
       "[Symbol MT]a[OpenSymbol]a"},
      {"names like Rachana are not Rachana", "{\\rtf1\\ansicpg1251{\\fonttbl{\\f1 rc7;}{\\f2 rc1x;}{\\f3 MLA;}}"
       "\\f1 \\'cf\\f2 \\'cf\\f3 \\'cf}",
       "[rc7]\u041F[rc1x]\u041F[MLA]\u041F"},
      {"a list bullet in Symbol", "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\pntext\\f1 \\'b7\\tab}x}",
       "[Symbol]\u2022\t[]x"},
  };
  cases.insert(cases.end(), named.begin(), named.end());
  RunCases(cases);
}

// Parts of a document besides running text: the body keeps its text in
// order; notes, comments, bookmarks and binary data are not body text.
TEST(RtfReaderTest, Structure) {
  RunCases({
      {"nested table",
       "{\\rtf1 a\\cell {x\\nestcell y\\nestcell{\\*\\nesttableprops\\trowd\\nestrow}{\\nonesttables x\\tab y\\par}}"
       "\\cell\\row}",
       "[]a\tx\ty\t\r\n\t\r\n"},
      {"text of nested table properties kept",
       "{\\rtf1 a\\cell x\\nestcell{\\*\\nesttableprops\\trowd\\cellx100 y\\nestcell\\nestrow}\\cell\\row}",
       "[]a\tx\ty\t\r\n\t\r\n"},
      {"nested table properties in a skipped group stay skipped",
       "{\\rtf1 a{\\*\\foo{\\*\\nesttableprops x\\nestrow}}{\\nonesttables{\\*\\nesttableprops y}}b}", "[]ab"},
      {"nested table properties only as a destination", "{\\rtf1 a{\\*\\foo\\nesttableprops x}b}", "[]ab"},
      {"generator skipped, marked or not", "{\\rtf1 a{\\*\\generator Riched20;}{\\generator x;}b}", "[]ab"},
      {"page and section breaks end paragraphs once", "{\\rtf1 \\page a\\par\\page b\\sect\\sect c\\line\\page}",
       "[]a\r\nb\r\nc\n\r\n"},
      {"object: result kept, data skipped",
       "{\\rtf1 a{\\object\\objemb{\\*\\objclass Excel}{\\objdata 01050000}{\\result{\\pict\\wmetafile8 0100}b}}c}",
       "[]abc"},
      {"comments skipped",
       "{\\rtf1 a{\\*\\atnid JS}{\\*\\atnauthor Jo}\\chatn{\\*\\annotation{\\*\\atnref 1}note}b"
       "{\\atnid JS}{\\atnauthor Jo}\\chatn{\\annotation note}c}",
       "[]abc"},
      {"bookmarks skipped", "{\\rtf1 a{\\*\\bkmkstart m1}b{\\bkmkend m1}c}", "[]abc"},
      {"footnote skipped", "{\\rtf1 a{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn} note\\par}b}", "[]ab"},
      {"list label kept, numbering definition skipped",
       "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Wingdings;}}{\\pntext\\f1 \\'b7\\tab}{\\pn\\pnlvlblt{\\pntxtb\\'b7}}x}",
       "[Wingdings]\u00B7\t[]x"},
      {"space and joiner words",
       "{\\rtf1 \\zwj\\zwnj\\emspace\\enspace\\qmspace\\zwbo\\zwnbo\\ltrmark\\rtlmark}",
       "[]\u200D\u200C\u2003\u2002\u2005\u200B\uFEFF\u200E\u200F"},
  });
}

// Damaged or hostile input that still reads.
TEST(RtfReaderTest, HostileInputsRead) {
  RunCases({
      {"\\' without hex digits", "{\\rtf1 a\\'zz\\'}", "[]azz"},
      {"NUL bytes are not text", std::string("{\\rtf1 a\0b\\'00c\0}\0", 19), std::string("[]ab\0c", 6)},
      {"\\u without a number", "{\\rtf1 a\\u b\\u-x}", "[]ab-x"},
      {"\\uN out of range", "{\\rtf1 \\u-70000?\\u99999999999999999999?x}", "[]\uFFFD\uFFFDx"},
      {"huge \\uc ends with the group", "{\\rtf1\\uc99999999 \\u3349 abc\\par{x}}", "[]\u0D15x"},
      {"huge font number", "{\\rtf1{\\fonttbl{\\f1 B;}}\\f99999999999 x\\f-99999999999 y}", "[]xy"},
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
      {"\\upr takes the Unicode name",
       "{\\rtf1{\\upr{\\fonttbl{\\f0 A;}}{\\*\\ud{\\fonttbl{\\f0 \\u3349?;}}}}\\f0 x}", "[\u0D15]x"},
      {"\\ud outside \\upr stays skipped", "{\\rtf1 a{\\*\\ud b}{\\upr{{\\ud c}}}d}", "[]ad"},
      {"late font table names earlier text", "{\\rtf1\\f1 x\\f0 y{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f1 z}", "[B]x[A]y[B]z"},
      {"a symbol font defined late reads its private-use bytes",
       "{\\rtf1{\\fonttbl{\\f0 A;}}\\f1 \\u61623?\\f0 \\u61623?{\\fonttbl{\\f1 Symbol;}}}", "[Symbol]\u2022[A]\uF0B7"},
      {"a legacy font defined late reads its private-use bytes",
       "{\\rtf1{\\fonttbl{\\f0 A;}}\\f1 \\u61601?\\u-3935?{\\fonttbl{\\f1 rc1;}}}", "[rc1]\u00A1\u00A1"},
      {"private use from a code page in a name reads as bytes",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset136 A\\'83\\'6f;}}\\f0 x}", "[A!]x"},
      {"private use from a code page in a symbol font reads as bytes",
       "{\\rtf1{\\fonttbl{\\f0\\fcharset2\\cpg950 S;}{\\f1\\cpg950 T;}}\\f0 \\'83\\'6f\\f1 \\'83\\'6f}", "[S]![T]\uF021"},
      {"ten fonts of one name merge", "{\\rtf1{\\fonttbl{\\f7 rc1;}{\\f8 rc1;}}{\\f7 a}{\\f8 b}}", "[rc1]ab"},
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
      {"markup after the last brace dropped", "{\\rtf1 a}\\par b{\\i c}", "[]a"},
      {"an unclosed group after the last brace dropped", "{\\rtf1 a}{\\b", "[]a"},
      {"extra '}' at the end ignored", "{\\rtf1 a}}\n}", "[]a"},
      {"one extra '}' at the end ignored", "{\\rtf1 a}\n}", "[]a"},
      {"text goes on after a stray '}'", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f0 a}\n\\par b{c}}", "[A]a\r\nbc"},
      {"only one stray '}' is read past", "{\\rtf1 a}b}c}", "[]a"},
      {"\\bin data in the tail is not counted", "{\\rtf1 a}b\\bin1 }}", "[]ab"},
      {"a second document after the first", "{\\rtf1 a}\nText2:\n{\\rtf1 b}", "[]a"},
      {"a second document right after the first", "{\\rtf1 a}{\\rtf1 b}}", "[]a"},
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
  ParseErrorCode code;
  std::size_t offset;
};

TEST(RtfReaderTest, Errors) {
  using enum ParseErrorCode;
  const std::string deep = "{\\rtf1 " + std::string(100000, '{');
  const ErrorCase cases[] = {
      {"empty", "", Empty, 0},
      {"plain text", "hello", NotRtf, 0},
      {"leading space", " {\\rtf1 a}", NotRtf, 0},
      {"empty group", "{}", NotRtf, 0},
      {"other control word", "{\\rtb1 {x}}", NotRtf, 0},
      {"no opening brace", "\\rtf1 {bogus}", NotRtf, 0},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0", 10), NotRtf, 0},
      {"HTML", "<html><body>{\\rtf1 x}</body></html>", NotRtf, 0},
      {"missing close", "{\\rtf1 text {\\i italic}", UnclosedGroups, 23},
      {"several open", "{\\rtf1 {{{", UnclosedGroups, 10},
      {"lone backslash at end", "{\\rtf1 a\\", UnclosedGroups, 9},
      {"deep nesting left open", deep, UnclosedGroups, deep.size()},
      {"\\' at the end", "{\\rtf1 a\\'", UnclosedGroups, 10},
      {"truncated in a pair", "{\\rtf1{\\fonttbl{\\f1\\fcharset128 F;}}\\f1 \\'82\\'", UnclosedGroups, 46},
      {"\\bin past the end", "{\\rtf1 a\\bin100 xyz}", TruncatedBinary, 8},
      {"\\bin count beyond any file", "{\\rtf1 a\\bin99999999999999999999 x}", TruncatedBinary, 8},
      {"nesting past a million", "{\\rtf1" + std::string(2000000, '{'), NestingTooDeep, 1000005},
  };
  for (const auto& c : cases) {
    const RtfReading reading = ReadRtf(c.markup);
    ASSERT_FALSE(reading.Ok()) << c.name;
    EXPECT_EQ(reading.error->code, c.code) << c.name << ": " << reading.error->message;
    EXPECT_EQ(reading.error->offset, c.offset) << c.name;
    EXPECT_FALSE(reading.error->message.empty()) << c.name;
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

// Large hostile shapes, each generated here: the reader keeps what they hold.
// Their speed is the benchmarks' business; a reader gone quadratic on the
// paragraph or the pairs would not finish at all.
TEST(RtfReaderTest, LargeInputsReadWhole) {
  const auto read = [](const std::string& markup) {
    RtfReading reading = ReadRtf(markup);
    EXPECT_TRUE(reading.Ok());
    return reading;
  };
  {
    constexpr std::size_t kParagraph = 50'000'000;
    const RtfReading reading =
        read("{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 " + std::string(kParagraph, '\xa7') + "\\par}");
    EXPECT_EQ(reading.document.Size(), kParagraph + 2);
    EXPECT_EQ(reading.document.Runs().size(), 1u);
    EXPECT_EQ(reading.document.Text()[kParagraph - 1], u'\u00A7');
  }
  {
    constexpr int kFonts = 10000;
    std::string markup = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < kFonts; ++i) markup += "{\\f" + std::to_string(i) + "\\fcharset204 F" + std::to_string(i) + ";}";
    markup += "}";
    for (int i = 0; i < kFonts; ++i) markup += "{\\f" + std::to_string(i) + " \\'cf}";
    const RtfReading reading = read(markup + "}");
    EXPECT_EQ(reading.document.Text(), std::u16string(kFonts, u'\u041F'));
    EXPECT_EQ(reading.document.FormatCount(), std::size_t{kFonts});
    EXPECT_EQ(reading.document.FontAt(kFonts - 1), "F" + std::to_string(kFonts - 1));
  }
  {
    constexpr std::size_t kPairs = 1'000'000;
    std::string markup = "{\\rtf1{\\fonttbl{\\f0\\fcharset128 F;}}\\f0 ";
    for (std::size_t i = 0; i < kPairs; ++i) markup += "\\'82\\'a0";
    const RtfReading reading = read(markup + "}");
    EXPECT_EQ(reading.document.Text(), std::u16string(kPairs, u'\u3042'));
  }
}

// Random markup from fragments that stress the tokenizer and the group
// stack: every input either reads or reports an offset inside it, and what
// is read is a well-formed document. The seed is fixed and printed.
TEST(RtfReaderTest, RandomMarkupNeverBreaksTheReader) {
  constexpr std::uint32_t kSeed = 7;
  std::mt19937 random(kSeed);
  const std::vector<std::string> fragments = {
      "{", "}", "\\", "\\u", "-", "12", "65535", "\\bin", "\\'", "a", "f", "\\*", ";", " ", "\\fonttbl",
      "\\f1", "\\uc3", "\\fcharset128", "\\'82", "\\upr", "\\ud", "\\sect", "\r\n", "\x93", "\\par", "\\plain", "\\deff", "\\pict", "9", "\\'f", "\\~", "\\\n", "\0"};
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

// Ten megabytes of a typical body, fonts switching every few words and a bold
// word in each piece: the reader keeps the runs it builds (four a piece: rc1,
// Arial, bold Arial, Arial). How fast it reads them the benchmarks measure.
TEST(RtfReaderTest, ReadsTenMegabytesOfATypicalBody) {
  std::string markup = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 rc1;}{\\f1 Arial;}}\n";
  const std::string piece = "\\f0 \\'a7\\'93abc def ghi\\par\n\\f1 \\u3349?klm {\\b nop}\\tab qrs ";
  std::size_t pieces = 0;
  while (markup.size() < 10'000'000) {
    markup += piece;
    ++pieces;
  }
  markup += "}";
  const RtfReading reading = ReadRtf(markup);
  ASSERT_TRUE(reading.Ok());
  EXPECT_EQ(reading.document.Size(), pieces * 28);
  EXPECT_EQ(reading.document.Runs().size(), pieces * 4);
  EXPECT_EQ(reading.document.FormatCount(), 3u);
}


// A random body of the shapes the reader reads in its inner loop (font
// changes, `\'hh` bytes and short texts, as Rachana documents are written)
// and of those that end the loop (groups, paragraphs, \uN with its
// fallback, escapes, fonts it does not take, a font with a code page), as
// tokens that can be written in more than one way.
struct BodyToken {
  enum Kind { kWord, kText, kOther } kind;
  std::string markup;  // a word with its delimiter space
};

std::vector<BodyToken> RandomBody(std::mt19937& random) {
  const auto below = [&](std::uint32_t n) { return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random); };
  // 4 and 99 are not in the table; 70 and 100 are past the fonts the inner
  // loop keeps at hand; 5 has a code page, 3 is Symbol.
  const std::vector<int> fonts = {0, 0, 0, 0, 1, 1, 2, 3, 5, 12, 70, 4, 99, 100};
  std::vector<BodyToken> body;
  int depth = 0;
  const std::uint32_t count = below(400);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t kind = below(100);
    if (kind < 30) {
      body.push_back({BodyToken::kWord, "\\f" + std::to_string(fonts[below(static_cast<std::uint32_t>(fonts.size()))]) + " "});
    } else if (kind < 55) {
      const auto byte = static_cast<char>(below(256));
      static constexpr char kHex[] = "0123456789abcdef";
      body.push_back({BodyToken::kOther, std::string("\\'") + kHex[(byte >> 4) & 15] + kHex[byte & 15]});
    } else if (kind < 80) {
      // Text bytes, the odd one past ASCII, and often the letters that
      // follow a backslash in a token; never a byte that ends text.
      std::string text;
      for (std::uint32_t n = 1 + (below(4) == 0 ? below(40) : below(6)); n > 0; --n) {
        char byte;
        do {
          const std::uint32_t pool = below(6);
          byte = pool == 0 ? static_cast<char>(0x80 + below(0x80)) : pool == 1 ? "'f1"[below(3)] : static_cast<char>(0x20 + below(0x5F));
        } while (byte == '\\' || byte == '{' || byte == '}');
        text.push_back(byte);
      }
      body.push_back({BodyToken::kText, text});
    } else if (kind < 84) {
      body.push_back({BodyToken::kWord, "\\par "});
    } else if (kind < 88) {
      body.push_back({BodyToken::kOther, "{"});
      body.push_back({BodyToken::kWord, below(2) == 0 ? "\\b " : "\\cf1 "});
      ++depth;
    } else if (kind < 92 && depth > 0) {
      body.push_back({BodyToken::kOther, "}"});
      --depth;
    } else if (kind < 95) {
      body.push_back({BodyToken::kWord, below(2) == 0 ? "\\u3349 " : "\\u-4031 "});
      body.push_back({BodyToken::kText, "?"});
    } else {
      const std::vector<std::string> others = {"\\\\", "\\{", "\\}", "\\~", "\\tab ", "\\plain ", "\\i "};
      const std::string& other = others[below(static_cast<std::uint32_t>(others.size()))];
      body.push_back({other.back() == ' ' ? BodyToken::kWord : BodyToken::kOther, other});
    }
  }
  for (; depth > 0; --depth) body.push_back({BodyToken::kOther, "}"});
  return body;
}

// Ways of writing the same body: as it is; with every text byte a `\'hh`;
// with a line end, which is no token, after every token; with no delimiter
// space where a backslash or brace follows a word.
enum class BodyWriting { kAsIs, kHexBytes, kLineEnds, kNoDelimiters };

std::string WriteBody(const std::vector<BodyToken>& body, BodyWriting writing) {
  std::string markup =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 rc1;}{\\f1\\fnil\\fcharset0 rc2;}"
      "{\\f2\\fswiss\\fcharset0 Arial;}{\\f3\\fnil\\fcharset2 Symbol;}{\\f5\\fnil\\fcharset128 MS Mincho;}"
      "{\\f12\\fnil rl3;}{\\f70\\fnil rc4;}{\\f100\\fnil rc5;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0 ";
  static constexpr char kHex[] = "0123456789abcdef";
  for (std::size_t i = 0; i < body.size(); ++i) {
    const BodyToken& token = body[i];
    if (token.kind == BodyToken::kText && writing == BodyWriting::kHexBytes) {
      for (const char byte : token.markup) markup += std::string("\\'") + kHex[(byte >> 4) & 15] + kHex[byte & 15];
    } else if (token.kind == BodyToken::kWord && writing == BodyWriting::kNoDelimiters && i + 1 < body.size() &&
               std::string_view("\\{}").find(body[i + 1].markup[0]) != std::string_view::npos) {
      markup += token.markup.substr(0, token.markup.size() - 1);
    } else {
      markup += token.markup;
    }
    if (writing == BodyWriting::kLineEnds) markup += "\r\n";
  }
  return markup + "\\par}";
}

std::vector<ReadWarningCode> WarningCodes(const RtfReading& reading) {
  std::vector<ReadWarningCode> codes;
  for (const ReadWarning& warning : reading.warnings) codes.push_back(warning.code);
  return codes;
}

// Every character has a span, in the order of the markup; a character read
// from the text is a byte of it, or an escape.
void ExpectSpansFollowTheMarkup(const std::vector<SourceSpan>& spans, const Document& document,
                                std::string_view markup) {
  ASSERT_EQ(spans.size(), document.Size());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    ASSERT_LE(spans[i].begin, spans[i].end) << "at " << i;
    ASSERT_LE(spans[i].end, markup.size()) << "at " << i;
    if (i > 0) {
      ASSERT_LE(spans[i - 1].begin, spans[i].begin) << "at " << i;
    }
    if (spans[i].fromText == 0) continue;
    const std::string_view bytes = markup.substr(spans[i].begin, spans[i].end - spans[i].begin);
    ASSERT_TRUE(bytes.size() == 1 ? bytes[0] != '\\' : bytes[0] == '\\') << "at " << i << ": " << bytes;
  }
}

// The same body written four ways reads as the same document, whichever way
// through the reader each token takes (the inner loop, its slower steps, the
// tokenizer); and reading spans and side stories as well changes nothing in
// it. The seed is fixed and printed.
TEST(RtfReaderTest, OneBodyWrittenFourWaysReadsAlike) {
  constexpr std::uint32_t kSeed = 20261208;
  std::mt19937 random(kSeed);
  std::size_t characters = 0;
  for (int round = 0; round < 300; ++round) {
    const std::vector<BodyToken> body = RandomBody(random);
    const std::string plain = WriteBody(body, BodyWriting::kAsIs);
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", round " + std::to_string(round) + ": " + plain);
    const RtfReading expected = ReadRtf(plain);
    ASSERT_TRUE(expected.Ok()) << expected.error->message;
    characters += expected.document.Size();
    for (const BodyWriting writing :
         {BodyWriting::kAsIs, BodyWriting::kHexBytes, BodyWriting::kLineEnds, BodyWriting::kNoDelimiters}) {
      const std::string markup = WriteBody(body, writing);
      const RtfReading reading = ReadRtf(markup);
      ASSERT_TRUE(reading.Ok()) << markup;
      EXPECT_TRUE(reading.document == expected.document) << markup;
      EXPECT_EQ(WarningCodes(reading), WarningCodes(expected)) << markup;
      const RtfReading traced = ReadRtf(markup, RtfReadOptions{.sourceSpans = true, .sideStories = true});
      EXPECT_TRUE(traced.document == reading.document) << markup;
      ExpectSpansFollowTheMarkup(traced.sourceSpans, traced.document, markup);
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(characters, 100'000u);  // the bodies are no trivial ones
}

// The windows of sixteen bytes the inner loop classifies at once: each byte
// at each place, and random windows, as the portable loop classifies them
// (which the WebAssembly page uses) and as a byte's kind says.
TEST(RtfReaderTest, ByteWindowsClassifyEachByteByItsKind) {
  using rtfread::ByteWindow;
  const auto expected = [](const std::array<char, 16>& window) {
    ByteWindow masks;
    for (int i = 0; i < 16; ++i) {
      const auto byte = static_cast<unsigned char>(window[i]);
      const bool stop = byte == '{' || byte == '}' || byte == '\r' || byte == '\n' || byte == 0 ||
                        (byte >= 0x80 && byte <= 0x9F);
      masks.backslashes |= std::uint32_t{byte == '\\'} << i;
      masks.stops |= std::uint32_t{stop} << i;
    }
    return masks;
  };
  const auto check = [&](const std::array<char, 16>& window) {
    EXPECT_EQ(rtfread::ClassifyWindow(window.data()), expected(window));
    EXPECT_EQ(rtfread::ClassifyWindowPortable(window.data()), expected(window));
    std::array<char16_t, 16> wide{}, widePortable{};
    rtfread::WidenWindow(window.data(), wide.data());
    rtfread::WidenWindowPortable(window.data(), widePortable.data());
    EXPECT_EQ(wide, widePortable);
    EXPECT_EQ(wide[15], static_cast<unsigned char>(window[15]));
  };
  for (int byte = 0; byte < 256; ++byte) {
    for (int at = 0; at < 16; ++at) {
      std::array<char, 16> window;
      window.fill('a');
      window[at] = static_cast<char>(byte);
      check(window);
    }
  }
  std::mt19937 random(16);
  for (int round = 0; round < 1000; ++round) {
    std::array<char, 16> window;
    for (char& byte : window) byte = static_cast<char>(random());
    check(window);
  }
}

}  // namespace
}  // namespace maravelundi
