// DOCX converted in place, from Word-shaped markup written by hand: fonts
// found through every level Word looks at (direct, character style,
// paragraph style and its bases, document defaults, theme fonts, w:sym),
// words split over runs of several fonts, and everything that is not
// legacy text left where it was. Each case gives the runs the paragraph
// holds afterwards: text, fonts (ascii/hAnsi/cs) and complex-script twins.

#include <gtest/gtest.h>

#include "families/LegacyEncoding.h"
#include "families/TypistEncoder.h"
#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

using test::DocxParts;

struct RunView {
  std::string text, fonts, twins;
  bool operator==(const RunView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const RunView& run) {
  return out << "{\"" << run.text << "\", \"" << run.fonts << "\", \"" << run.twins << "\"}";
}

std::string Attribute(pugi::xml_node node, const char* name) {
  pugi::xml_attribute attribute = node.attribute(name);
  return attribute ? attribute.value() : "-";
}

// "ascii/hAnsi/cs", with "/eastAsia" when set and "+theme" when a theme
// font is still named.
std::string Fonts(pugi::xml_node rPr) {
  pugi::xml_node fonts = rPr.child("w:rFonts");
  if (!fonts) return "";
  std::string text = Attribute(fonts, "w:ascii") + "/" + Attribute(fonts, "w:hAnsi") + "/" + Attribute(fonts, "w:cs");
  if (fonts.attribute("w:eastAsia")) text += "/" + Attribute(fonts, "w:eastAsia");
  for (const char* theme : {"w:asciiTheme", "w:hAnsiTheme", "w:cstheme"}) {
    if (fonts.attribute(theme)) return text + "+theme";
  }
  return text;
}

std::string Twins(pugi::xml_node rPr) {
  std::string twins;
  const auto add = [&](const std::string& item) { twins += (twins.empty() ? "" : " ") + item; };
  for (const char* name : {"w:bCs", "w:iCs", "w:szCs", "w:cs"}) {
    pugi::xml_node element = rPr.child(name);
    if (!element) continue;
    const std::string local = std::string(name).substr(2);
    add(element.attribute("w:val") ? local + "=" + element.attribute("w:val").value() : local);
  }
  return twins;
}

std::string RunText(pugi::xml_node run) {
  std::string text;
  for (pugi::xml_node child : run.children()) {
    const std::string_view name = child.name();
    if (name == "w:t" || name == "w:delText") text += child.child_value();
    else if (name == "w:tab") text += "\t";
    else if (name == "w:br") text += "\n";
    else if (name != "w:rPr") text += "<" + std::string(name.substr(2)) + ">";
  }
  return text;
}

std::vector<RunView> Runs(pugi::xml_node paragraph) {
  std::vector<RunView> runs;
  for (pugi::xml_node run : test::Descendants(paragraph, "w:r")) {
    const pugi::xml_node rPr = run.child("w:rPr");
    runs.push_back({RunText(run), Fonts(rPr), Twins(rPr)});
  }
  return runs;
}

std::string Converted(const DocxParts& parts, TextTarget target = TextTarget::kUnicode) {
  const std::string docx = test::BuildDocx(parts);
  const OfficeResult result =
      ConvertOfficeDocument(docx, DocumentFormat::kDocx, OutputKind::kInPlace, ConversionProfile{.target = target});
  if (!result.Ok()) ADD_FAILURE() << Describe(result.Error());
  return result.Ok() ? result.Value() : "";
}

constexpr std::string_view kRc1 = "<w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/>";
constexpr std::string_view kRc3 = "<w:rFonts w:ascii=\"rc3\" w:hAnsi=\"rc3\"/>";
constexpr std::string_view kManjari = "Manjari/Manjari/Manjari";

std::string WordRun(std::string_view properties, std::string_view content) {
  return "<w:r><w:rPr>" + std::string(properties) + "</w:rPr>" + std::string(content) + "</w:r>";
}
std::string Text(std::string_view text) { return "<w:t xml:space=\"preserve\">" + std::string(text) + "</w:t>"; }
std::string Paragraph(std::string_view content) { return "<w:p>" + std::string(content) + "</w:p>"; }

struct WordCase {
  std::string_view name;
  DocxParts parts;
  std::vector<RunView> expected;  // the first paragraph's runs afterwards
};

std::vector<WordCase> Cases() {
  const std::string rc1(kRc1), rc3(kRc3);
  return {
      {"direct fonts, bold and size become the complex-script twins",
       DocxParts().Body(Paragraph(WordRun(rc1 + "<w:b/><w:sz w:val=\"48\"/>", Text("adbnjw")))),
       {{"മലയാളം", std::string(kManjari), "bCs szCs=48 cs"}}},
      {"a theme font",
       DocxParts().Body(Paragraph(WordRun("<w:rFonts w:asciiTheme=\"minorHAnsi\" w:hAnsiTheme=\"minorHAnsi\"/>", Text("adbnjw")))).ThemeFonts("<a:majorFont><a:latin typeface=\"Cambria\"/></a:majorFont>"
                      "<a:minorFont><a:latin typeface=\"rc1\"/><a:ea typeface=\"\"/><a:cs typeface=\"\"/></a:minorFont>"),
       {{"മലയാളം", std::string(kManjari), "cs"}}},
      {"a theme font wins over the font beside it",
       DocxParts().Body(Paragraph(WordRun("<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" w:asciiTheme=\"majorHAnsi\" "
                              "w:hAnsiTheme=\"majorHAnsi\"/>", Text("adb")))).ThemeFonts("<a:majorFont><a:latin typeface=\"rc1\"/></a:majorFont>"),
       {{"മലയ", std::string(kManjari), "cs"}}},
      {"a w:sym in a legacy font",
       DocxParts().Body(Paragraph("<w:r><w:sym w:font=\"rc1\" w:char=\"F061\"/></w:r>" + WordRun(rc1, Text("d")))),
       {{"മല", std::string(kManjari), "cs"}}},
      {"a symbol font's bytes stored in private use",
       DocxParts().Body(Paragraph(WordRun(rc1, Text("\xEF\x81\xA1\xEF\x81\xA4")))),  // U+F061 U+F064
       {{"മല", std::string(kManjari), "cs"}}},
      {"a character style carries the font and bold",
       DocxParts().Body(Paragraph(WordRun("<w:rStyle w:val=\"Mal\"/>", Text("adbnjw")))).Styles("<w:style w:type=\"character\" w:styleId=\"Mal\"><w:rPr>" + rc1 + "<w:b/></w:rPr></w:style>"),
       {{"മലയാളം", std::string(kManjari), "bCs cs"}}},
      {"a paragraph style based on another carries font and size",
       DocxParts().Body("<w:p><w:pPr><w:pStyle w:val=\"Heading\"/></w:pPr><w:r>" + Text("adbnjw") + "</w:r></w:p>").Styles("<w:style w:type=\"paragraph\" w:styleId=\"Base\"><w:rPr>" + rc1 + "<w:sz w:val=\"40\"/></w:rPr></w:style>"
                  "<w:style w:type=\"paragraph\" w:styleId=\"Heading\"><w:basedOn w:val=\"Base\"/><w:rPr><w:i/></w:rPr></w:style>"),
       {{"മലയാളം", std::string(kManjari), "iCs szCs=40 cs"}}},
      {"the default paragraph style and document defaults",
       DocxParts().Body(Paragraph("<w:r>" + Text("adb") + "</w:r>")).Styles("<w:docDefaults><w:rPrDefault><w:rPr>" + rc1 + "</w:rPr></w:rPrDefault></w:docDefaults>"
                  "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:rPr><w:bCs/></w:rPr></w:style>"),
       {{"മലയ", std::string(kManjari), "bCs=0 cs"}}},
      {"styles that are based on each other in a loop",
       DocxParts().Body("<w:p><w:pPr><w:pStyle w:val=\"A\"/></w:pPr><w:r>" + Text("adb") + "</w:r></w:p>").Styles("<w:style w:type=\"paragraph\" w:styleId=\"A\"><w:basedOn w:val=\"B\"/><w:rPr>" + rc1 + "</w:rPr></w:style>"
                  "<w:style w:type=\"paragraph\" w:styleId=\"B\"><w:basedOn w:val=\"A\"/></w:style>"),
       {{"മലയ", std::string(kManjari), "cs"}}},
      {"a word split over two runs of different formats",
       DocxParts().Body(Paragraph(WordRun(rc1 + "<w:b/>", Text("adb")) + WordRun(rc1, Text("njw")))),
       {{"മലയ", std::string(kManjari), "bCs cs"}, {"ാളം", std::string(kManjari), "cs"}}},
      {"a pre-base sign in one run, its consonant in the next: the cluster takes the consonant's run",
       DocxParts().Body(Paragraph(WordRun(rc1 + "<w:i/>", Text("u")) + WordRun(rc3, Text("B")))),
       {{"ണ്ണേ", std::string(kManjari), "cs"}}},
      {"a conjunct from the third font inside a word of the first: one run again",
       DocxParts().Body(Paragraph(WordRun(rc1, Text("I")) + WordRun(rc3, Text("B")) + WordRun(rc1, Text("n")))),
       {{"കണ്ണാ", std::string(kManjari), "cs"}}},
      {"a bookmark and a proofing mark inside a word do not split it",
       DocxParts().Body(Paragraph(WordRun(rc1, Text("I")) + "<w:proofErr w:type=\"spellStart\"/><w:bookmarkStart w:id=\"0\" w:name=\"b\"/>" +
                          WordRun(rc1, Text("u")) + "<w:bookmarkEnd w:id=\"0\"/>" + WordRun(rc3, Text("B")))),
       {{"ക", std::string(kManjari), "cs"}, {"ണ്ണേ", std::string(kManjari), "cs"}}},
      {"a note reference inside a run stays between its text",
       DocxParts().Body(Paragraph(WordRun(rc1, Text("ad") + "<w:footnoteReference w:id=\"1\"/>" + Text("bnjw")))),
       {{"മല", std::string(kManjari), "cs"}, {"<footnoteReference>", "rc1/rc1/-", ""}, {"യാളം", std::string(kManjari), "cs"}}},
      {"a hyperlink's text converts inside the hyperlink",
       DocxParts().Body(Paragraph("<w:hyperlink r:id=\"rId9\">" + WordRun(rc1, Text("adbnjw")) + "</w:hyperlink>")),
       {{"മലയാളം", std::string(kManjari), "cs"}}},
      {"tabs and line breaks inside Malayalam stay",
       DocxParts().Body(Paragraph(WordRun(rc1, Text("a") + "<w:tab/>" + Text("d") + "<w:br/>" + Text("b")))),
       {{"മ\tല\nയ", std::string(kManjari), "cs"}}},
      {"English text is left alone",
       DocxParts().Body(Paragraph(WordRun("<w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\"/><w:b/>", Text("Malayalam")) +
                          WordRun(rc1, Text("adb")))),
       {{"Malayalam", "Arial/Arial/-", ""}, {"മലയ", std::string(kManjari), "cs"}}},
      {"the slot decides: w:ascii below 0x80, w:hAnsi above",
       DocxParts().Body(Paragraph(WordRun("<w:rFonts w:ascii=\"rc1\" w:hAnsi=\"Arial\"/>", Text("a\xC3\xA9")))),  // "aé"
       {{"മ", std::string(kManjari), "cs"}, {"é", "rc1/Arial/-", ""}}},
      {"the East Asian slot only where the run named one",
       DocxParts().Body(Paragraph(WordRun("<w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\" w:eastAsia=\"MS Mincho\"/>", Text("a")))),
       {{"മ", "Manjari/Manjari/Manjari/Manjari", "cs"}}},
      {"deleted text converts as deleted text",
       DocxParts().Body(Paragraph("<w:del w:id=\"1\" w:author=\"a\"><w:r><w:rPr>" + rc1 + "</w:rPr><w:delText>adb</w:delText></w:r></w:del>" +
                          WordRun(rc1, Text("njw")))),
       {{"മലയ", std::string(kManjari), "cs"}, {"ാളം", std::string(kManjari), "cs"}}},
  };
}

TEST(WordMarkupTest, EachCaseGivesItsRuns) {
  for (const WordCase& c : Cases()) {
    SCOPED_TRACE(std::string(c.name));
    test::ParsedPart document;
    test::ParsePart(Converted(c.parts), "word/document.xml", document);
    EXPECT_EQ(Runs(document.Root().child("w:body").child("w:p")), c.expected);
  }
}

TEST(WordMarkupTest, DeletedTextStaysDeleted) {
  const std::string rc1(kRc1);
  test::ParsedPart document;
  test::ParsePart(Converted(DocxParts().Body(Paragraph("<w:del w:id=\"1\" w:author=\"a\"><w:r><w:rPr>" + rc1 +
                                               "</w:rPr><w:delText>adb</w:delText></w:r></w:del>"))),
                  "word/document.xml", document);
  const pugi::xml_node run = document.Root().child("w:body").child("w:p").child("w:del").child("w:r");
  EXPECT_STREQ(run.child("w:delText").child_value(), "മലയ");
  EXPECT_FALSE(run.child("w:t"));
}

TEST(WordMarkupTest, MlttAndIsmReencodeInRevathiWithoutTwins) {
  const std::string rc1(kRc1);
  const DocxParts parts = DocxParts().Body(Paragraph(WordRun(rc1 + "<w:b/>", Text("adbnjw"))));
  const std::pair<TextTarget, std::string_view> outputs[] = {{TextTarget::kMltt, "aebmfw"},
                                                             {TextTarget::kIsm, "a-e-bm-fw"}};
  for (const auto& [output, text] : outputs) {
    test::ParsedPart document;
    test::ParsePart(Converted(parts, output), "word/document.xml", document);
    EXPECT_EQ(Runs(document.Root().child("w:body").child("w:p")),
              (std::vector<RunView>{{std::string(text), "ML-TTRevathi/ML-TTRevathi/ML-TTRevathi", ""}}));
  }
}

TEST(WordMarkupTest, MlttAndIsmSpellOtherFamiliesInMltt) {
  // പ്രേമം typed in an "ML" font: the EE sign, the RA sign, PA, MA, anusvara.
  const LegacyEncoding& ml = *FindLegacyEncoding("ML-Nandini");
  const std::u16string typed = *testing::TypistEncoder(ml).Type(u"പ്രേമം");
  const std::string nandini = "<w:rFonts w:ascii=\"ML-Nandini\" w:hAnsi=\"ML-Nandini\"/>";
  const DocxParts parts = DocxParts().Body(Paragraph(WordRun(nandini, Text(ToUtf8(typed)))));
  test::ParsedPart document;
  test::ParsePart(Converted(parts, TextTarget::kMltt), "word/document.xml", document);
  EXPECT_EQ(Runs(document.Root().child("w:body").child("w:p")),
            (std::vector<RunView>{{"t{]aw", "ML-TTRevathi/ML-TTRevathi/ML-TTRevathi", ""}}));
}

TEST(WordMarkupTest, HeadersConvertAndEveryOtherPartKeepsItsBytes) {
  const std::string rc1(kRc1);
  const DocxParts parts = DocxParts().Body(Paragraph(WordRun(rc1, Text("adb")))).Styles("<w:docDefaults/>").Header(Paragraph(WordRun(rc1, Text("njw"))));
  const std::string source = test::BuildDocx(parts);
  const std::string converted = Converted(parts);
  test::ParsedPart header;
  test::ParsePart(converted, "word/header1.xml", header);
  EXPECT_EQ(Runs(header.Root().child("w:p")), (std::vector<RunView>{{"ാളം", std::string(kManjari), "cs"}}));
  EXPECT_EQ(test::EntryNames(converted), test::EntryNames(source));
  for (const std::string& name : test::EntryNames(source)) {
    if (name == "word/document.xml" || name == "word/header1.xml") continue;
    EXPECT_EQ(test::StoredBytes(converted, name), test::StoredBytes(source, name)) << name;
  }
}

TEST(WordMarkupTest, ADocumentWithoutLegacyTextIsNotRewritten) {
  const DocxParts parts =
      DocxParts().Body(Paragraph(WordRun("<w:rFonts w:ascii=\"Arial\"/>", Text("  two spaces, &amp; an entity"))) +
                       Paragraph("<w:r><w:drawing/></w:r>"));
  const std::string source = test::BuildDocx(parts);
  const std::string converted = Converted(parts);
  for (const std::string& name : test::EntryNames(source)) {
    EXPECT_EQ(test::StoredBytes(converted, name), test::StoredBytes(source, name)) << name;
  }
}

TEST(WordMarkupTest, UntouchedParagraphsKeepTheirContent) {
  const std::string rc1(kRc1);
  const std::string english = Paragraph(WordRun("<w:rFonts w:ascii=\"Arial\"/>", Text(" a space first")) +
                                        "<w:bookmarkStart w:id=\"3\" w:name=\"x\"/>");
  test::ParsedPart document;
  test::ParsePart(Converted(DocxParts().Body(english + Paragraph(WordRun(rc1, Text("adb"))))), "word/document.xml", document);
  std::ostringstream first;
  document.Root().child("w:body").child("w:p").print(first, "", pugi::format_raw);
  EXPECT_EQ(first.str(), english);
}

TEST(WordMarkupTest, TheTextOutputsReadTheBody) {
  const std::string rc1(kRc1);
  const DocxParts parts = DocxParts().Body(Paragraph(WordRun(rc1, Text("adbnjw"))) +
                                Paragraph(WordRun("<w:rFonts w:ascii=\"Arial\"/>", Text("English")) +
                                          "<w:del w:id=\"1\" w:author=\"a\"><w:r><w:delText>gone</w:delText></w:r></w:del>"));
  const OfficeResult text = ConvertOfficeDocument(test::BuildDocx(parts), DocumentFormat::kDocx, OutputKind::kText, ConversionProfile{});
  ASSERT_TRUE(text.Ok()) << Describe(text.Error());
  EXPECT_EQ(text.Value(), "മലയാളം\nEnglish\n");
}

TEST(WordMarkupTest, OtherLegacyFamiliesConvertWhereTheFontsAreReadByName) {
  // MLB's high-half layout: E sign and KA, bytes B5 89 (U+00B5, and U+2030 as
  // Windows-1252 gives 0x89).
  const std::string docx = test::BuildDocx(DocxParts().Body(
      Paragraph(WordRun("<w:rFonts w:ascii=\"MLB-Ambili-Normal\" w:hAnsi=\"MLB-Ambili-Normal\"/>", Text("\xC2\xB5\xE2\x80\xB0")))));
  const std::pair<Generation, RunView> cases[] = {
      {Generation::kAuto, {"കെ", std::string(kManjari), "cs"}},
      {Generation::kVersion7, {"\xC2\xB5\xE2\x80\xB0", "MLB-Ambili-Normal/MLB-Ambili-Normal/-", ""}},
  };
  for (const auto& [generation, expected] : cases) {
    const ConversionProfile profile{.generation = generation};
    const OfficeResult result = ConvertOfficeDocument(docx, DocumentFormat::kDocx, OutputKind::kInPlace, profile);
    ASSERT_TRUE(result.Ok()) << Describe(result.Error());
    test::ParsedPart document;
    test::ParsePart(result.Value(), "word/document.xml", document);
    EXPECT_EQ(Runs(document.Root().child("w:body").child("w:p")), std::vector<RunView>{expected});
    const OfficeResult text = ConvertOfficeDocument(docx, DocumentFormat::kDocx, OutputKind::kText, profile);
    ASSERT_TRUE(text.Ok());
    EXPECT_EQ(text.Value(), expected.text + "\n");
  }
}

}  // namespace
}  // namespace maravelundi
