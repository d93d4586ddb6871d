// OpenDocument spreadsheets and presentations converted in place: their
// text takes its font from the cell or shape it stands in (a cell's style,
// its row's or column's default cell style, the spreadsheet's "Default"; a
// presentation object's style, a shape's graphic style) before its
// paragraph's style and its spans. What a cell shows of a number or a
// formula is not typed text and stays. Each case gives every paragraph of
// content.xml and styles.xml afterwards, converted text in «» (a span of a
// converted style).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

using test::OdtParts;

const std::string kMalayalam = "\xE0\xB4\xAE\xE0\xB4\xB2\xE0\xB4\xAF\xE0\xB4\xBE\xE0\xB4\xB3\xE0\xB4\x82";  // മലയാളം, "adbnjw" in rc1

std::string Style(std::string_view name, std::string_view family, std::string_view parent,
                  std::string_view properties) {
  return "<style:style style:name=\"" + std::string(name) + "\" style:family=\"" + std::string(family) + "\"" +
         (parent.empty() ? "" : " style:parent-style-name=\"" + std::string(parent) + "\"") +
         "><style:text-properties " + std::string(properties) + "/></style:style>";
}

void Render(pugi::xml_node parent, bool converted, std::string& out) {
  for (pugi::xml_node child : parent.children()) {
    if (child.type() == pugi::node_pcdata) {
      out += child.value();
    } else if (std::string_view(child.name()) == "text:span") {
      const bool ours = std::string_view(child.attribute("text:style-name").value()).starts_with("MV");
      if (ours && !converted) out += "\xC2\xAB";
      Render(child, converted || ours, out);
      if (ours && !converted) out += "\xC2\xBB";
    }
  }
}

// Every paragraph of the part, in order.
std::vector<std::string> Paragraphs(const std::string& package, std::string_view part) {
  test::ParsedPart parsed;
  test::ParsePart(package, part, parsed);
  std::vector<std::string> paragraphs;
  for (pugi::xml_node p : test::Descendants(parsed.Root(), "text:p")) {
    paragraphs.emplace_back();
    Render(p, false, paragraphs.back());
  }
  return paragraphs;
}

// Whether the converted style the part declares sets the Unicode font.
bool ConvertedStylesSetTheUnicodeFont(const std::string& package, std::string_view part) {
  test::ParsedPart parsed;
  test::ParsePart(package, part, parsed);
  bool any = false;
  for (pugi::xml_node style : test::Descendants(parsed.Root(), "style:style")) {
    if (!std::string_view(style.attribute("style:name").value()).starts_with("MV")) continue;
    any = true;
    const pugi::xml_node properties = style.child("style:text-properties");
    if (std::string_view(properties.attribute("style:font-name").value()) != "Manjari" ||
        std::string_view(properties.attribute("style:font-name-complex").value()) != "Manjari") {
      return false;
    }
  }
  return any;
}

const std::string kCell = "<table:table-cell office:value-type=\"string\"";

struct Case {
  std::string_view name;
  OdtParts parts;
  DocumentFormat format;
  std::vector<std::string> content, styles;
};

TEST(OdfSheetsAndSlides, TextTakesItsFontFromItsCellOrShape) {
  const std::string legacy = "style:font-name=\"rc1\"";
  const std::string arial = "fo:font-family=\"Arial\"";
  const std::string m = "\xC2\xAB" + kMalayalam + "\xC2\xBB";
  const Case cases[] = {
      {"cells: their own style, their column's and row's defaults, the spreadsheet's Default",
       OdtParts()
           .Kind("spreadsheet")
           .CommonStyles(Style("Default", "table-cell", "", arial) + Style("Legacy", "table-cell", "Default", legacy))
           .AutomaticStyles(Style("ce1", "table-cell", "Legacy", "fo:font-weight=\"bold\"") +
                            Style("ce2", "table-cell", "Default", ""))
           .Body("<table:table table:name=\"Register\"><table:table-column table:default-cell-style-name=\"ce2\"/>"
                 "<table:table-column table:number-columns-repeated=\"2\" table:default-cell-style-name=\"ce1\"/>"
                 "<table:table-row>" + kCell + "><text:p>adbnjw</text:p></table:table-cell>" + kCell +
                 " table:style-name=\"ce1\"><text:p>adbnjw</text:p></table:table-cell>" + kCell +
                 "><text:p>adbnjw</text:p></table:table-cell></table:table-row>"
                 "<table:table-row table:default-cell-style-name=\"ce1\">" + kCell +
                 "><text:p>adbnjw</text:p></table:table-cell></table:table-row>"
                 "</table:table>"),
       DocumentFormat::kOds,
       {"adbnjw", m, m, m},
       {}},
      {"cells: numbers and formulas show values; a note is typed text",
       OdtParts()
           .Kind("spreadsheet")
           .CommonStyles(Style("Default", "table-cell", "", legacy))
           .AutomaticStyles(Style("T1", "text", "", legacy))
           .Body("<table:table table:name=\"Register\"><table:table-row>"
                 "<table:table-cell office:value-type=\"float\" office:value=\"42\"><text:p>42</text:p>"
                 "</table:table-cell><table:table-cell table:formula=\"of:=&quot;adb&quot;\" "
                 "office:value-type=\"string\" office:string-value=\"adb\"><text:p>adb</text:p></table:table-cell>" +
                 kCell + "><office:annotation><text:p><text:span text:style-name=\"T1\">adbnjw</text:span></text:p>"
                 "</office:annotation><text:p>adbnjw</text:p></table:table-cell></table:table-row></table:table>"),
       DocumentFormat::kOds,
       {"42", "adb", m, m},
       {}},
      {"a spreadsheet's header, in a span of a legacy font",
       OdtParts()
           .Kind("spreadsheet")
           .StylesAutomatic(Style("T9", "text", "", legacy))
           .MasterStyles("<style:master-page style:name=\"Default\"><style:header><style:region-left><text:p>"
                         "Page <text:span text:style-name=\"T9\">adbnjw</text:span></text:p></style:region-left>"
                         "</style:header></style:master-page>")
           .Body("<table:table table:name=\"Register\"/>"),
       DocumentFormat::kOds,
       {},
       {"Page " + m}},
      {"shapes: a presentation object's style and its parent, a shape's graphic style, a group, a table, notes",
       OdtParts()
           .Kind("presentation")
           .CommonStyles(Style("Default-outline1", "presentation", "", legacy) + Style("standard", "graphic", "", arial))
           .AutomaticStyles(Style("pr1", "presentation", "Default-outline1", "") +
                            Style("gr1", "graphic", "standard", "") + Style("gr2", "graphic", "standard", legacy) +
                            Style("ce1", "table-cell", "", legacy))
           .Body("<draw:page draw:name=\"One\"><draw:frame presentation:style-name=\"pr1\" "
                 "presentation:class=\"outline\"><draw:text-box><text:p>adbnjw</text:p></draw:text-box></draw:frame>"
                 "<draw:custom-shape draw:style-name=\"gr1\"><text:p>adbnjw</text:p></draw:custom-shape>"
                 "<draw:g><draw:custom-shape draw:style-name=\"gr2\"><text:p>adbnjw</text:p></draw:custom-shape></draw:g>"
                 "<draw:frame draw:style-name=\"gr1\"><table:table><table:table-row><table:table-cell "
                 "table:style-name=\"ce1\"><text:p>adbnjw</text:p></table:table-cell><table:table-cell>"
                 "<text:p>adbnjw</text:p></table:table-cell></table:table-row></table:table></draw:frame>"
                 "<presentation:notes><draw:frame presentation:style-name=\"pr1\"><draw:text-box><text:p>adbnjw"
                 "</text:p></draw:text-box></draw:frame></presentation:notes></draw:page>"),
       DocumentFormat::kOdp,
       {m, "adbnjw", m, m, "adbnjw", m},
       {}},
      {"the master's placeholders, in styles.xml",
       OdtParts()
           .Kind("presentation")
           .CommonStyles(Style("Default-title", "presentation", "", legacy))
           .MasterStyles("<style:master-page style:name=\"Default\"><draw:frame "
                         "presentation:style-name=\"Default-title\" presentation:class=\"title\"><draw:text-box>"
                         "<text:p>adbnjw</text:p></draw:text-box></draw:frame></style:master-page>")
           .Body("<draw:page draw:name=\"One\" draw:master-page-name=\"Default\"/>"),
       DocumentFormat::kOdp,
       {},
       {m}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const std::string input = test::BuildOdt(c.parts);
    ASSERT_EQ(DetectDocumentFormat(input).format, c.format);
    const OfficeResult result = ConvertOfficeDocument(input, c.format, OutputKind::kInPlace, ConversionProfile{});
    ASSERT_TRUE(result.Ok()) << Describe(result.Error());
    EXPECT_EQ(Paragraphs(result.Value(), "content.xml"), c.content);
    EXPECT_EQ(Paragraphs(result.Value(), "styles.xml"), c.styles);
    EXPECT_TRUE(ConvertedStylesSetTheUnicodeFont(result.Value(), c.content.empty() ? "styles.xml" : "content.xml"));
    EXPECT_EQ(test::ReadEntry(result.Value(), "mimetype"), c.parts.mimetype);
    // Converted once, it converts to itself.
    const OfficeResult again = ConvertOfficeDocument(result.Value(), c.format, OutputKind::kInPlace, ConversionProfile{});
    ASSERT_TRUE(again.Ok());
    EXPECT_EQ(again.Value(), result.Value());
  }
}

// A spreadsheet or presentation has no body to make a new file of.
TEST(OdfSheetsAndSlides, HaveNoFlatOutput) {
  for (const std::string kind : {"spreadsheet", "presentation"}) {
    const std::string input = test::BuildOdt(OdtParts().Kind(kind));
    const DocumentFormat format = DetectDocumentFormat(input).format;
    const OfficeResult text = ConvertOfficeDocument(input, format, OutputKind::kText, ConversionProfile{});
    ASSERT_FALSE(text.Ok());
    EXPECT_NE(Describe(text.Error()).find("a " + kind + " converts in place"), std::string::npos)
        << Describe(text.Error());
  }
}

}  // namespace
}  // namespace maravelundi
