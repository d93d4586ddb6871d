// Excel workbooks converted in place: the text of cells whose style is set
// in a legacy font, and the legacy runs of rich strings and comments, become
// Unicode in the Unicode font; a shared string shown by a cell in another font stays
// for it; numbers and every other part stay as they were.

#include <gtest/gtest.h>

#include <string>
#include <optional>
#include <vector>

#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "office/SheetHeaderFooter.h"
#include "package/DocumentFormat.h"
#include "package/ZipBuilder.h"

namespace maravelundi {
namespace {

const std::string kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const std::string kKeralam = "\xE0\xB4\x95\xE0\xB5\x87\xE0\xB4\xB0\xE0\xB4\xB3\xE0\xB4\x82";  // കേരളം, "tIcfw" in ML-TT

// A workbook of one sheet: A1 a shared string in an ML-TT cell, B1 the same
// string in a Calibri cell, C1 a rich string with an ML-TT run and an Arial
// run in a Calibri cell, D1 a number in the ML-TT cell style, E1 an inline
// string in the ML-TT style, F1 a shared string only a Calibri cell shows;
// and a comment on A1 whose second run is in ML-TT.
std::string Workbook() {
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
  const std::string relationship = "<Relationship Id=\"rId%\" Type=\"" + kRelationships + "/";
  std::vector<test::ZipEntry> entries;
  entries.emplace_back("[Content_Types].xml",
                       declaration + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                     "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
                                     "relationships+xml\"/><Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                                     "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd."
                                     "openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>");
  entries.emplace_back("_rels/.rels", declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                                                    "2006/relationships\"><Relationship Id=\"rId1\" Type=\"" +
                                          kRelationships + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  entries.emplace_back("xl/workbook.xml", declaration + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRelationships +
                                              "\"><sheets><sheet name=\"Register\" sheetId=\"1\" r:id=\"rId1\"/>"
                                              "</sheets></workbook>");
  entries.emplace_back(
      "xl/_rels/workbook.xml.rels",
      declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"rId1\" Type=\"" + kRelationships + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
                    "<Relationship Id=\"rId2\" Type=\"" + kRelationships + "/styles\" Target=\"styles.xml\"/>"
                    "<Relationship Id=\"rId3\" Type=\"" + kRelationships + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                    "</Relationships>");
  entries.emplace_back("xl/styles.xml",
                       declaration + "<styleSheet xmlns=\"" + kMain + "\"><fonts count=\"2\">"
                                     "<font><sz val=\"11\"/><name val=\"Calibri\"/><scheme val=\"minor\"/></font>"
                                     "<font><b/><sz val=\"14\"/><name val=\"ML-TTKarthika\"/><family val=\"2\"/></font>"
                                     "</fonts><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\"/>"
                                     "<xf numFmtId=\"3\" fontId=\"1\" applyFont=\"1\"/></cellXfs></styleSheet>");
  entries.emplace_back("xl/sharedStrings.xml",
                       declaration + "<sst xmlns=\"" + kMain + "\" count=\"4\" uniqueCount=\"3\">"
                                     "<si><t>tIcfw</t></si>"
                                     "<si><r><rPr><sz val=\"11\"/><rFont val=\"ML-TTKarthika\"/></rPr><t>tIcfw</t></r>"
                                     "<r><rPr><rFont val=\"Arial\"/></rPr><t xml:space=\"preserve\"> and more</t></r></si>"
                                     "<si><t>Total</t></si></sst>");
  entries.emplace_back("xl/worksheets/sheet1.xml",
                       declaration + "<worksheet xmlns=\"" + kMain + "\"><sheetData><row r=\"1\">"
                                     "<c r=\"A1\" s=\"1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>0</v></c>"
                                     "<c r=\"C1\" t=\"s\"><v>1</v></c><c r=\"D1\" s=\"1\"><v>42</v></c>"
                                     "<c r=\"E1\" s=\"1\" t=\"inlineStr\"><is><t>tIcfw</t></is></c>"
                                     "<c r=\"F1\" t=\"s\"><v>2</v></c></row></sheetData></worksheet>");
  entries.emplace_back("xl/worksheets/_rels/sheet1.xml.rels",
                       declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                     "relationships\"><Relationship Id=\"rId1\" Type=\"" + kRelationships +
                           "/comments\" Target=\"../comments1.xml\"/></Relationships>");
  entries.emplace_back("xl/comments1.xml",
                       declaration + "<comments xmlns=\"" + kMain + "\"><authors><author>Clerk</author></authors>"
                                     "<commentList><comment ref=\"A1\" authorId=\"0\"><text>"
                                     "<r><rPr><rFont val=\"Tahoma\"/></rPr><t xml:space=\"preserve\">Clerk: </t></r>"
                                     "<r><rPr><sz val=\"9\"/><rFont val=\"ML-TTKarthika\"/></rPr><t>tIcfw</t></r>"
                                     "</text></comment></commentList></comments>");
  entries.emplace_back("xl/media/image1.png", std::string("\x89PNG a picture's bytes"));
  return test::BuildZip(entries);
}

struct Cell {
  std::string style, type, value;
  pugi::xml_node inlineString;
};

std::vector<Cell> Cells(const test::ParsedPart& sheet) {
  std::vector<Cell> cells;
  for (const pugi::xml_node c : test::Descendants(sheet.Root(), "c")) {
    cells.push_back({c.attribute("s").value(), c.attribute("t").value(), c.child("v").child_value(), c.child("is")});
  }
  return cells;
}

// A string's runs as "font:text|font:text" (a plain string as ":text").
std::string RunsOf(pugi::xml_node string) {
  std::string runs;
  if (string.child("t")) runs = std::string(":") + string.child("t").child_value();
  for (const pugi::xml_node r : string.children("r")) {
    if (!runs.empty()) runs += "|";
    runs += std::string(r.child("rPr").child("rFont").attribute("val").value()) + ":" + r.child("t").child_value();
  }
  return runs;
}

TEST(Sheet, LegacyTextInCellsAndRunsBecomesUnicodeAndAllElseStays) {
  const std::string workbook = Workbook();
  ASSERT_EQ(DetectDocumentFormat(workbook).format, DocumentFormat::kXlsx);
  ConversionProfile profile;
  profile.spelling = Spelling::kModern;
  const OfficeResult converted = ConvertOfficeDocument(workbook, DocumentFormat::kXlsx, OutputKind::kInPlace, profile);
  ASSERT_TRUE(converted.Ok()) << Describe(converted.Error());
  const std::string& out = converted.Value();

  test::ParsedPart sheet, strings, styles;
  test::ParsePart(out, "xl/worksheets/sheet1.xml", sheet);
  test::ParsePart(out, "xl/sharedStrings.xml", strings);
  test::ParsePart(out, "xl/styles.xml", styles);
  std::vector<pugi::xml_node> si;
  for (const pugi::xml_node node : strings.Root().children("si")) si.push_back(node);
  const std::vector<Cell> cells = Cells(sheet);
  ASSERT_EQ(cells.size(), 6u);

  // A1: a string of its own, Unicode in Manjari with the cell font's weight
  // and size, and a cell style whose font is Manjari.
  const std::size_t a1 = std::stoul(cells[0].value);
  ASSERT_LT(a1, si.size());
  EXPECT_EQ(RunsOf(si[a1]), "Manjari:" + kKeralam);
  EXPECT_TRUE(si[a1].child("r").child("rPr").child("b"));
  EXPECT_STREQ(si[a1].child("r").child("rPr").child("sz").attribute("val").value(), "14");
  const std::vector<pugi::xml_node> xfs = test::Descendants(styles.Root(), "xf");
  const std::vector<pugi::xml_node> fonts = test::Descendants(styles.Root(), "font");
  const std::size_t twin = std::stoul(cells[0].style);
  ASSERT_LT(twin, xfs.size());
  EXPECT_STREQ(xfs[twin].attribute("numFmtId").value(), "3");  // all but the font as it was
  const std::size_t font = xfs[twin].attribute("fontId").as_uint();
  ASSERT_LT(font, fonts.size());
  EXPECT_STREQ(fonts[font].child("name").attribute("val").value(), "Manjari");
  // B1: the same string in Calibri, as it was.
  EXPECT_EQ(cells[1].value, "0");
  EXPECT_EQ(RunsOf(si[0]), ":tIcfw");
  // C1: the legacy run converted, the Arial run kept; no other cell shows
  // the string, so it is converted where it stands, and only A1's string
  // is a copy.
  EXPECT_EQ(cells[2].value, "1");
  EXPECT_EQ(RunsOf(si[1]), "Manjari:" + kKeralam + "|Arial: and more");
  EXPECT_EQ(si.size(), 4u);
  // D1: a number, its style and value untouched.
  EXPECT_EQ(cells[3].style, "1");
  EXPECT_EQ(cells[3].value, "42");
  // E1: the inline string converted where it stands.
  EXPECT_EQ(cells[4].style, cells[0].style);
  EXPECT_EQ(RunsOf(cells[4].inlineString), "Manjari:" + kKeralam);
  // F1 and the picture: untouched.
  EXPECT_EQ(cells[5].value, "2");
  EXPECT_EQ(RunsOf(si[2]), ":Total");
  EXPECT_EQ(test::ReadEntry(out, "xl/media/image1.png"), test::ReadEntry(workbook, "xl/media/image1.png"));
  EXPECT_EQ(test::ReadEntry(out, "xl/workbook.xml"), test::ReadEntry(workbook, "xl/workbook.xml"));
  EXPECT_EQ(strings.Root().attribute("uniqueCount").as_uint(), si.size());
  // The comment: its legacy run converted, the author's kept.
  test::ParsedPart comments;
  test::ParsePart(out, "xl/comments1.xml", comments);
  const std::vector<pugi::xml_node> texts = test::Descendants(comments.Root(), "text");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(RunsOf(texts[0]), "Tahoma:Clerk: |Manjari:" + kKeralam);
}

// A workbook has no body to make a new file of: only in place.
TEST(Sheet, AWorkbookConvertsInPlaceOnly) {
  const OfficeResult text = ConvertOfficeDocument(Workbook(), DocumentFormat::kXlsx, OutputKind::kText, {});
  ASSERT_FALSE(text.Ok());
  EXPECT_NE(Describe(text.Error()).find("a spreadsheet converts in place"), std::string::npos);
}

}  // namespace
}  // namespace maravelundi

namespace maravelundi {
namespace {

// Headers and footers: the text after a legacy font's code, or in a legacy
// default font, is converted and set in the Unicode font; every code stays
// where it was, and kept text after converted text gets its font back.
TEST(SheetHeaderFooter, LegacyTextIsConvertedAndEveryCodeKept) {
  ConversionProfile profile;
  profile.spelling = Spelling::kModern;
  const auto isLegacy = [](std::string_view font) { return font.starts_with("ML-TT"); };
  const struct {
    std::string_view codes, defaultFont;
    std::optional<std::string> expected;
  } cases[] = {
      {"&L&\"ML-TTKarthika,Bold\"tIcfw&RPage &P of &N", "Calibri",
       "&L&\"ML-TTKarthika,Bold\"&\"Manjari,Bold\"" + kKeralam + "&RPage &P of &N"},
      {"&CtIcfw&R&D", "ML-TTKarthika", "&C&\"Manjari,Regular\"" + kKeralam + "&R&D"},
      {"&L&12&KFF0000&\"ML-TTKarthika\"tIcfw&\"Arial\" && tIcfw", "Calibri",
       "&L&12&KFF0000&\"ML-TTKarthika\"&\"Manjari,Regular\"" + kKeralam + "&\"Arial\" && tIcfw"},
      // A section begins in the default font again.
      {"&L&\"ML-TTKarthika\"tIcfw&CtIcfw", "Calibri",
       "&L&\"ML-TTKarthika\"&\"Manjari,Regular\"" + kKeralam + "&CtIcfw"},
      {"&LEnglish &P&R&\"Arial,Italic\"tIcfw", "Calibri", std::nullopt},
      {"", "ML-TTKarthika", std::nullopt},
      {"&\"ML-TTKarthika", "Calibri", std::nullopt},  // a font code never closed, and no text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.codes));
    EXPECT_EQ(ConvertHeaderFooter(c.codes, c.defaultFont, profile, isLegacy), c.expected);
  }
}

}  // namespace
}  // namespace maravelundi
