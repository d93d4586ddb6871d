// Spreadsheets and presentations through the command line, with LibreOffice
// as the independent party: a workbook and a presentation written here as
// flat OpenDocument, saved by LibreOffice as XLSX, XLS and ODS, PPTX, PPT and
// ODP, converted in their own formats (XLS and PPT through LibreOffice), and
// read back by LibreOffice. The legacy text must be gone, Malayalam in its
// place in the Unicode font; English, numbers, formulas, notes, sheet names
// and slides as they were; and a string typed in Arial, the same letters as
// the legacy text, untouched.
//
// Without LibreOffice these tests skip, except where CI is set: there they
// fail.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cstdlib>
#include <set>

#include "cli/CliRunner.h"
#include "office/LibreOfficeRun.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScratchFolder;

const std::string kKeralam = "\xE0\xB4\x95\xE0\xB5\x87\xE0\xB4\xB0\xE0\xB4\xB3\xE0\xB4\x82";  // കേരളം, "tIcfw" in ML-TT
const std::string kLegacy = "tIcfw";

constexpr std::string_view kNamespaces =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
    "xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\" "
    "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
    "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
    "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" office:version=\"1.3\"";

std::string FlatDocument(std::string_view mimetype, std::string_view automaticStyles, std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document " + std::string(kNamespaces) +
         " office:mimetype=\"" + std::string(mimetype) +
         "\"><office:font-face-decls>"
         "<style:font-face style:name=\"ML-TTKarthika\" svg:font-family=\"ML-TTKarthika\"/>"
         "<style:font-face style:name=\"Arial\" svg:font-family=\"Arial\"/></office:font-face-decls>"
         "<office:automatic-styles>" + std::string(automaticStyles) + "</office:automatic-styles><office:body>" +
         std::string(body) + "</office:body></office:document>";
}

std::string TextStyle(std::string_view name, std::string_view font) {
  return "<style:style style:name=\"" + std::string(name) + "\" style:family=\"text\"><style:text-properties "
         "style:font-name=\"" + std::string(font) + "\"/></style:style>";
}

// Register: A1 legacy text in a legacy cell style with a note in a legacy
// run, B1 the number 42 in the legacy style, C1 the same letters in Arial,
// A2 English, B2 a formula; and a second sheet.
std::string Workbook() {
  const std::string styles =
      "<style:style style:name=\"ceLegacy\" style:family=\"table-cell\"><style:text-properties "
      "style:font-name=\"ML-TTKarthika\"/></style:style><style:style style:name=\"ceArial\" "
      "style:family=\"table-cell\"><style:text-properties style:font-name=\"Arial\"/></style:style>" +
      TextStyle("T1", "ML-TTKarthika");
  const std::string body =
      "<office:spreadsheet><table:table table:name=\"Register\"><table:table-column "
      "table:number-columns-repeated=\"3\"/><table:table-row>"
      "<table:table-cell table:style-name=\"ceLegacy\" office:value-type=\"string\"><office:annotation>"
      "<dc:creator>Clerk</dc:creator><text:p>Note <text:span text:style-name=\"T1\">" + kLegacy +
      "</text:span></text:p></office:annotation><text:p>" + kLegacy + "</text:p></table:table-cell>"
      "<table:table-cell table:style-name=\"ceLegacy\" office:value-type=\"float\" office:value=\"42\">"
      "<text:p>42</text:p></table:table-cell>"
      "<table:table-cell table:style-name=\"ceArial\" office:value-type=\"string\"><text:p>" + kLegacy +
      "</text:p></table:table-cell></table:table-row><table:table-row>"
      "<table:table-cell table:style-name=\"ceArial\" office:value-type=\"string\"><text:p>Total</text:p>"
      "</table:table-cell><table:table-cell table:formula=\"of:=[.B1]*2\" office:value-type=\"float\" "
      "office:value=\"84\"><text:p>84</text:p></table:table-cell><table:table-cell/></table:table-row>"
      "</table:table><table:table table:name=\"Second\"><table:table-row><table:table-cell "
      "office:value-type=\"string\"><text:p>English only</text:p></table:table-cell></table:table-row>"
      "</table:table></office:spreadsheet>";
  return FlatDocument("application/vnd.oasis.opendocument.spreadsheet", styles, body);
}

std::string TextBox(std::string_view x, std::string_view content) {
  return "<draw:frame svg:x=\"" + std::string(x) + "\" svg:y=\"2cm\" svg:width=\"10cm\" svg:height=\"3cm\">"
         "<draw:text-box>" + std::string(content) + "</draw:text-box></draw:frame>";
}

// Two slides: the first with a text box of legacy text and English, a shape
// of legacy text, and notes in legacy text; the second English only.
std::string Presentation() {
  const std::string styles = TextStyle("T1", "ML-TTKarthika") + TextStyle("T2", "Arial");
  const std::string legacy = "<text:span text:style-name=\"T1\">" + kLegacy + "</text:span>";
  const std::string body =
      "<office:presentation><draw:page draw:name=\"One\">" +
      TextBox("1cm", "<text:p>" + legacy + "<text:span text:style-name=\"T2\"> in English</text:span></text:p>") +
      "<draw:custom-shape svg:x=\"2cm\" svg:y=\"8cm\" svg:width=\"8cm\" svg:height=\"4cm\"><text:p>" + legacy +
      "</text:p><draw:enhanced-geometry draw:type=\"rectangle\"/></draw:custom-shape><presentation:notes>" +
      TextBox("1cm", "<text:p>" + legacy + "</text:p>") + "</presentation:notes></draw:page>"
      "<draw:page draw:name=\"Two\">" + TextBox("1cm", "<text:p><text:span text:style-name=\"T2\">" + kLegacy +
      " stays</text:span></text:p>") + "</draw:page></office:presentation>";
  return FlatDocument("application/vnd.oasis.opendocument.presentation", styles, body);
}

std::size_t Count(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

// What LibreOffice reads back from a flat file it wrote.
struct ReadBack {
  std::string text;                      // every text node, each followed by '|'
  std::size_t keralamInUnicodeFont = 0;  // കേരളം in text whose style, or an enclosing one, names Manjari
  std::size_t keralam = 0;
  std::set<std::string> sheets;
  std::size_t slides = 0;
  std::string formulas;
};

bool NamesManjari(pugi::xml_node style) {
  const pugi::xml_node properties = style.child("style:text-properties");
  for (const char* slot : {"style:font-name", "style:font-name-complex", "fo:font-family"}) {
    if (std::string_view(properties.attribute(slot).value()).find("Manjari") != std::string_view::npos) return true;
  }
  return false;
}

ReadBack Read(const fs::path& flat) {
  pugi::xml_document document;
  EXPECT_TRUE(document.load_file(flat.c_str())) << flat;
  std::set<std::string> manjari;
  for (const pugi::xpath_node& style : document.select_nodes("//style:style")) {
    if (NamesManjari(style.node())) manjari.insert(style.node().attribute("style:name").value());
  }
  ReadBack read;
  for (const pugi::xpath_node& node : document.select_nodes("//text()")) {
    const std::string value = node.node().value();
    read.text += value + "|";
    if (value.find(kKeralam) == std::string::npos) continue;
    ++read.keralam;
    for (pugi::xml_node up = node.node().parent(); up; up = up.parent()) {
      bool found = false;
      for (const char* attribute : {"text:style-name", "table:style-name", "draw:style-name", "presentation:style-name"}) {
        found |= manjari.contains(up.attribute(attribute).value());
      }
      if (found) {
        ++read.keralamInUnicodeFont;
        break;
      }
    }
  }
  for (const pugi::xpath_node& table : document.select_nodes("//table:table")) {
    read.sheets.insert(table.node().attribute("table:name").value());
  }
  read.slides = document.select_nodes("/office:document/office:body/office:presentation/draw:page").size();
  for (const pugi::xpath_node& cell : document.select_nodes("//table:table-cell[@table:formula]")) {
    read.formulas += std::string(cell.node().attribute("table:formula").value()) + "=" +
                     cell.node().attribute("office:value").value() + ";";
  }
  return read;
}

TEST(SheetsAndSlides, EachFormatConvertsInPlaceAndLibreOfficeReadsItBack) {
  const auto program = test::LibreOffice::Find();
  if (!program) {
    if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice (soffice) is not installed";
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
  ScratchFolder scratch;
  const test::LibreOffice office(*program, scratch.Path());
  test::WriteFile(scratch / "register.fods", Workbook());
  test::WriteFile(scratch / "talk.fodp", Presentation());
  const fs::path made = scratch / "made";
  for (const char* filter : {"xlsx", "xls", "ods"}) {
    ASSERT_TRUE(office.Convert({scratch / "register.fods"}, filter, made)) << filter;
  }
  for (const char* filter : {"pptx", "ppt", "odp"}) {
    ASSERT_TRUE(office.Convert({scratch / "talk.fodp"}, filter, made)) << filter;
  }
  std::vector<fs::path> sheets, slides;
  for (const std::string name : {"register.xlsx", "register.xls", "register.ods", "talk.pptx", "talk.ppt", "talk.odp"}) {
    const fs::path input = made / name;
    const fs::path output = scratch / "out" / (input.stem().string() + "-" + input.extension().string().substr(1) +
                                               input.extension().string());
    fs::create_directories(output.parent_path());
    const auto result = testing::RunCli(scratch, "-o '" + output.string() + "' '" + input.string() + "'");
    ASSERT_EQ(result.exitCode, 0) << name << ": " << result.err;
    (name.starts_with("register") ? sheets : slides).push_back(output);
  }
  const fs::path back = scratch / "back";
  ASSERT_TRUE(office.Convert(sheets, "fods", back)) << "see soffice.log in " << scratch.Path();
  ASSERT_TRUE(office.Convert(slides, "fodp", back)) << "see soffice.log in " << scratch.Path();

  for (const fs::path& sheet : sheets) {
    SCOPED_TRACE(sheet.filename().string());
    const ReadBack read = Read(back / (sheet.stem().string() + ".fods"));
    // The cell and its note; LibreOffice 7.4 leaves the notes of an ODS or
    // XLS out of the flat file it writes (of the ones it made itself too).
    EXPECT_EQ(read.keralam, sheet.extension() == ".xlsx" ? 2u : 1u) << read.text;
    EXPECT_EQ(read.keralamInUnicodeFont, read.keralam);
    EXPECT_EQ(Count(read.text, kLegacy + "|"), 1u) << "the Arial cell keeps its letters: " << read.text;
    EXPECT_NE(read.text.find("|42|"), std::string::npos) << read.text;
    EXPECT_NE(read.text.find("Total|"), std::string::npos) << read.text;
    EXPECT_NE(read.text.find("English only|"), std::string::npos) << read.text;
    EXPECT_EQ(read.sheets, (std::set<std::string>{"Register", "Second"}));
    EXPECT_EQ(read.formulas, "of:=[.B1]*2=84;");
  }
  for (const fs::path& slide : slides) {
    SCOPED_TRACE(slide.filename().string());
    const ReadBack read = Read(back / (slide.stem().string() + ".fodp"));
    EXPECT_EQ(read.keralam, 3u) << read.text;  // the text box, the shape, the notes
    EXPECT_EQ(read.keralamInUnicodeFont, read.keralam);
    EXPECT_NE(read.text.find("in English|"), std::string::npos) << read.text;
    EXPECT_NE(read.text.find(kLegacy + " stays|"), std::string::npos) << read.text;
    EXPECT_EQ(Count(read.text, kLegacy), 1u) << read.text;
    EXPECT_EQ(read.slides, 2u);
  }
}

}  // namespace
}  // namespace maravelundi
