// PowerPoint presentations converted in place: the runs whose typeface,
// their own or the one they inherit through placeholders, masters and the
// theme, is a legacy font become Unicode in the Unicode font with their
// other properties; every other run and part stays as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "office/OfficeFixtures.h"
#include "office/DrawingText.h"
#include "office/SlideDocument.h"
#include "package/ZipBuilder.h"

namespace maravelundi {
namespace {

const std::string kKeralam = "\xE0\xB4\x95\xE0\xB5\x87\xE0\xB4\xB0\xE0\xB4\xB3\xE0\xB4\x82";  // കേരളം, "tIcfw" in ML-TT
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
const std::string kNamespaces =
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
const std::string kTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A .rels part from (type, target) pairs.
std::string Rels(const std::vector<std::pair<std::string, std::string>>& targets) {
  std::string xml = kDeclaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (std::size_t i = 0; i < targets.size(); ++i) {
    xml += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + kTypes + targets[i].first +
           "\" Target=\"" + targets[i].second + "\"/>";
  }
  return xml + "</Relationships>";
}

// A shape: its placeholder element (or none), its style, its paragraphs.
std::string Shape(const std::string& placeholder, const std::string& paragraphs, const std::string& style = "") {
  return "<p:sp><p:nvSpPr><p:cNvPr id=\"2\" name=\"s\"/><p:cNvSpPr/><p:nvPr>" + placeholder +
         "</p:nvPr></p:nvSpPr><p:spPr/>" + style + "<p:txBody><a:bodyPr/><a:lstStyle/>" + paragraphs +
         "</p:txBody></p:sp>";
}

std::string Part(const std::string& root, const std::string& shapes, const std::string& after = "") {
  return kDeclaration + "<p:" + root + kNamespaces + "><p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/>"
         "<p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>" + shapes + "</p:spTree></p:cSld>" + after + "</p:" +
         root + ">";
}

std::string Run(const std::string& text, const std::string& properties = "") {
  return "<a:r>" + properties + "<a:t>" + text + "</a:t></a:r>";
}
std::string Para(const std::string& content) { return "<a:p>" + content + "</a:p>"; }
std::string Latin(const std::string& font) { return "<a:latin typeface=\"" + font + "\"/>"; }

const std::string kKarthika = "<a:rPr lang=\"en-US\">" + Latin("ML-TTKarthika") + "</a:rPr>";
const std::string kArial = "<a:rPr lang=\"en-US\">" + Latin("Arial") + "</a:rPr>";

struct Presentation {
  bool secondSlide = true;
  bool missingSlide = false;  // the presentation names a slide the package lacks
  bool tableStyles = false;   // the second slide holds tables of two table styles
};

// A table of one cell whose text names no font, in the table style `id`.
std::string StyledTable(const std::string& id) {
  return "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"7\" name=\"t\"/><p:cNvGraphicFramePr/><p:nvPr/>"
         "</p:nvGraphicFramePr><p:xfrm/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/"
         "drawingml/2006/table\"><a:tbl><a:tblPr><a:tableStyleId>" + id + "</a:tableStyleId></a:tblPr><a:tblGrid>"
         "<a:gridCol w=\"100\"/></a:tblGrid><a:tr h=\"100\"><a:tc><a:txBody><a:bodyPr/><a:lstStyle/>"
         "<a:p><a:r><a:t>tIcfw</a:t></a:r></a:p></a:txBody><a:tcPr/></a:tc></a:tr></a:tbl></a:graphicData>"
         "</a:graphic></p:graphicFrame>";
}

// A presentation whose theme's minor font is ML-TTKarthika and major font
// Arial, as the text styles of its master take them; a layout two slides
// share; the first slide with a note, a picture and a chart.
std::vector<test::ZipEntry> Entries(const Presentation& options = {}) {
  std::vector<test::ZipEntry> entries;
  entries.emplace_back("[Content_Types].xml",
                       kDeclaration + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                       "<Override PartName=\"/ppt/presentation.xml\" ContentType=\"application/vnd.openxmlformats-"
                       "officedocument.presentationml.presentation.main+xml\"/></Types>");
  entries.emplace_back("_rels/.rels", Rels({{"officeDocument", "ppt/presentation.xml"}}));
  std::vector<std::pair<std::string, std::string>> presentationRels = {
      {"slideMaster", "slideMasters/slideMaster1.xml"}, {"slide", "slides/slide1.xml"},
      {"notesMaster", "notesMasters/notesMaster1.xml"}, {"theme", "theme/theme1.xml"}};
  if (options.secondSlide) presentationRels.push_back({"slide", "slides/slide2.xml"});
  if (options.missingSlide) presentationRels.push_back({"slide", "slides/slide9.xml"});
  if (options.tableStyles) {
    presentationRels.push_back({"tableStyles", "tableStyles.xml"});
    entries.emplace_back("ppt/tableStyles.xml",
                         kDeclaration + "<a:tblStyleLst" + kNamespaces + " def=\"{A}\"><a:tblStyle styleId=\"{A}\" "
                         "styleName=\"Legacy\"><a:wholeTbl><a:tcTxStyle><a:font>" + Latin("ML-TTKarthika") +
                         "</a:font></a:tcTxStyle></a:wholeTbl></a:tblStyle><a:tblStyle styleId=\"{B}\" "
                         "styleName=\"Headings\"><a:wholeTbl><a:tcTxStyle><a:fontRef idx=\"major\"/>"
                         "</a:tcTxStyle></a:wholeTbl></a:tblStyle></a:tblStyleLst>");
  }
  entries.emplace_back("ppt/_rels/presentation.xml.rels", Rels(presentationRels));
  entries.emplace_back("ppt/presentation.xml",
                       kDeclaration + "<p:presentation" + kNamespaces + "><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" "
                       "r:id=\"rId1\"/></p:sldMasterIdLst><p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst>"
                       "<p:defaultTextStyle><a:lvl1pPr><a:defRPr>" + Latin("+mn-lt") +
                       "</a:defRPr></a:lvl1pPr></p:defaultTextStyle></p:presentation>");
  entries.emplace_back("ppt/theme/theme1.xml",
                       kDeclaration + "<a:theme" + kNamespaces + " name=\"Office\"><a:themeElements><a:fontScheme name=\"f\">"
                       "<a:majorFont>" + Latin("Arial") + "<a:ea typeface=\"\"/><a:cs typeface=\"\"/></a:majorFont>"
                       "<a:minorFont>" + Latin("ML-TTKarthika") + "<a:ea typeface=\"\"/><a:cs typeface=\"\"/></a:minorFont>"
                       "</a:fontScheme></a:themeElements></a:theme>");
  const auto style = [&](const std::string& tag, const std::string& font) {
    return "<p:" + tag + "><a:lvl1pPr><a:defRPr sz=\"3200\">" + Latin(font) + "</a:defRPr></a:lvl1pPr></p:" + tag + ">";
  };
  // The master: a title in the major font, a body whose prompt inherits the minor one.
  entries.emplace_back(
      "ppt/slideMasters/slideMaster1.xml",
      Part("sldMaster",
           Shape("<p:ph type=\"title\"/>", Para(Run("Click to edit"))) +
               Shape("<p:ph type=\"body\" idx=\"1\"/>", Para(Run("tIcfw"))),
           "<p:txStyles>" + style("titleStyle", "+mj-lt") + style("bodyStyle", "+mn-lt") +
               style("otherStyle", "+mn-lt") + "</p:txStyles>"));
  entries.emplace_back("ppt/slideMasters/_rels/slideMaster1.xml.rels",
                       Rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"}, {"theme", "../theme/theme1.xml"}}));
  entries.emplace_back("ppt/slideLayouts/slideLayout1.xml",
                       Part("sldLayout", Shape("<p:ph type=\"title\"/>", Para(Run("Title"))) +
                                             Shape("<p:ph idx=\"1\"/>", Para(Run("tIcfw")))));
  entries.emplace_back("ppt/slideLayouts/_rels/slideLayout1.xml.rels",
                       Rels({{"slideMaster", "../slideMasters/slideMaster1.xml"}}));

  const std::string slide1 =
      // The title: the major font, Arial, through the title style.
      Shape("<p:ph type=\"title\"/>", Para(Run("tIcfw"))) +
      // The body fills the layout's by its index: the minor font, converted,
      // its size and weight kept; a word typed across two runs; a line break.
      Shape("<p:ph idx=\"1\"/>", Para(Run("tIcfw", "<a:rPr lang=\"en-US\" sz=\"2400\" b=\"1\"/>")) +
                                     Para(Run("tIc", "<a:rPr sz=\"1800\"/>") + Run("fw", "<a:rPr sz=\"2000\"/>")) +
                                     Para(Run("tIcfw") + "<a:br><a:rPr/></a:br>" + Run("tIcfw"))) +
      // A text box: a legacy run, then English in Arial.
      Shape("", Para(Run("tIcfw", kKarthika) + Run(" and more", kArial))) +
      // Run properties whose fonts must go between a fill and a hyperlink;
      // an old a:latin described by its panose and character set.
      Shape("", Para(Run("tIcfw", "<a:rPr sz=\"1100\"><a:solidFill><a:srgbClr val=\"FF0000\"/></a:solidFill>"
                                  "<a:hlinkClick r:id=\"\"/></a:rPr>") +
                     Run("tIcfw", "<a:rPr><a:latin typeface=\"ML-TTKarthika\" panose=\"02000000000000000000\" "
                                  "charset=\"2\"/><a:sym typeface=\"Symbol\"/></a:rPr>"))) +
      // A group holding a shape that inherits the other style; a shape in Arial.
      "<p:grpSp><p:nvGrpSpPr><p:cNvPr id=\"5\" name=\"g\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>" +
      Shape("", Para(Run("tIcfw"))) + "</p:grpSp>" + Shape("", Para(Run("tIcfw", kArial))) +
      // A table: a legacy cell and a field.
      "<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id=\"6\" name=\"t\"/><p:cNvGraphicFramePr/><p:nvPr/>"
      "</p:nvGraphicFramePr><p:xfrm/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/"
      "2006/table\"><a:tbl><a:tblGrid><a:gridCol w=\"100\"/></a:tblGrid><a:tr h=\"100\"><a:tc><a:txBody><a:bodyPr/>"
      "<a:lstStyle/>" + Para(Run("tIcfw", kKarthika)) + "</a:txBody><a:tcPr/></a:tc></a:tr></a:tbl></a:graphicData>"
      "</a:graphic></p:graphicFrame>" +
      Shape("", Para("<a:fld id=\"{1}\" type=\"slidenum\">" + kKarthika + "<a:t>tIcfw</a:t></a:fld>"));
  entries.emplace_back("ppt/slides/slide1.xml", Part("sld", slide1));
  entries.emplace_back("ppt/slides/_rels/slide1.xml.rels",
                       Rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"},
                             {"notesSlide", "../notesSlides/notesSlide1.xml"},
                             {"image", "../media/image1.png"},
                             {"chart", "../charts/chart1.xml"}}));
  if (options.secondSlide) {
    entries.emplace_back("ppt/slides/slide2.xml",
                         Part("sld", options.tableStyles ? StyledTable("{A}") + StyledTable("{B}") + StyledTable("{C}")
                                                         : Shape("<p:ph idx=\"1\"/>", Para(Run("tIcfw")))));
    entries.emplace_back("ppt/slides/_rels/slide2.xml.rels", Rels({{"slideLayout", "../slideLayouts/slideLayout1.xml"}}));
  }
  entries.emplace_back("ppt/notesMasters/notesMaster1.xml",
                       Part("notesMaster", Shape("<p:ph type=\"body\" idx=\"1\"/>", Para(Run("tIcfw"))),
                            "<p:notesStyle><a:lvl1pPr><a:defRPr>" + Latin("+mn-lt") +
                                "</a:defRPr></a:lvl1pPr></p:notesStyle>"));
  entries.emplace_back("ppt/notesMasters/_rels/notesMaster1.xml.rels", Rels({{"theme", "../theme/theme1.xml"}}));
  entries.emplace_back("ppt/notesSlides/notesSlide1.xml",
                       Part("notes", Shape("<p:ph type=\"body\" idx=\"1\"/>", Para(Run("tIcfw")))));
  entries.emplace_back("ppt/notesSlides/_rels/notesSlide1.xml.rels",
                       Rels({{"notesMaster", "../notesMasters/notesMaster1.xml"}, {"slide", "../slides/slide1.xml"}}));
  entries.emplace_back("ppt/media/image1.png", test::LiteralBytes("\x89PNG\r\n\x1a\n a picture's bytes"));
  // A chart's text is the chart's own business, whatever its font.
  entries.emplace_back("ppt/charts/chart1.xml",
                       kDeclaration + "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\"" +
                           kNamespaces + "><c:txPr><a:bodyPr/>" + Para(Run("tIcfw", kKarthika)) + "</c:txPr></c:chartSpace>");
  return entries;
}

class RecordedProgress : public ProgressSink {
 public:
  void Advance(std::size_t done, std::size_t total) override { calls.push_back({done, total}); }
  std::vector<std::pair<std::size_t, std::size_t>> calls;
};

std::string Convert(const std::string& pptx, ProgressSink* progress = nullptr) {
  Outcome<ZipPackage> package = ZipPackage::Open(pptx, PackageLimits{});
  if (!package.Ok()) throw std::runtime_error(Describe(package.Error()));
  ConversionProfile profile;
  profile.spelling = Spelling::kModern;
  OfficeOptions options;
  options.progress = progress;
  Outcome<std::string> converted = ConvertSlidePackage(package.Value(), profile, options);
  if (!converted.Ok()) throw std::runtime_error(Describe(converted.Error()));
  return converted.Value();
}

// Each paragraph of a part as "font:text|br|font:text": the font a run's
// a:latin names ("" for none), "!" after it when its a:cs names another;
// neighbouring runs of one font as one, wherever a word was split.
std::vector<std::string> Paragraphs(const std::string& package, const std::string& part) {
  test::ParsedPart parsed;
  test::ParsePart(package, part, parsed);
  std::vector<std::string> paragraphs;
  for (const pugi::xml_node p : test::Descendants(parsed.Root(), "a:p")) {
    std::vector<std::string> fonts, texts;
    for (const pugi::xml_node run : p.children()) {
      const std::string name = run.name();
      if (name == "a:br") {
        fonts.push_back("br");
        texts.push_back("");
        continue;
      }
      if (name != "a:r" && name != "a:fld") continue;
      const pugi::xml_node properties = run.child("a:rPr");
      std::string font = properties.child("a:latin").attribute("typeface").value();
      if (properties.child("a:cs") && font != properties.child("a:cs").attribute("typeface").value()) font += "!";
      if (!fonts.empty() && fonts.back() == font) {
        texts.back() += run.child("a:t").child_value();
      } else {
        fonts.push_back(font);
        texts.push_back(run.child("a:t").child_value());
      }
    }
    std::string joined;
    for (std::size_t i = 0; i < fonts.size(); ++i) {
      joined += (i == 0 ? "" : "|") + (fonts[i] == "br" ? fonts[i] : fonts[i] + ":" + texts[i]);
    }
    paragraphs.push_back(joined);
  }
  return paragraphs;
}

TEST(Slide, LegacyTextOfEveryKindOfPartAndShapeBecomesUnicode) {
  const std::string pptx = test::BuildZip(Entries());
  const std::string out = Convert(pptx);
  const std::string keralam = "Manjari:" + kKeralam;
  const struct {
    std::string part;
    std::vector<std::string> paragraphs;
  } cases[] = {
      {"ppt/slides/slide1.xml",
       {":tIcfw",  // the title, in the master's major font
        keralam,  // the body, in the theme's minor font through the layout and the master
        keralam,  // a word typed in two runs
        keralam + "|br|" + keralam, keralam + "|Arial: and more",
        "Manjari:" + kKeralam + kKeralam,  // fill and hyperlink; an old a:latin
        keralam,                           // in a group, through the other style
        "Arial:tIcfw", keralam /* a table cell */, keralam /* a field */}},
      {"ppt/slides/slide2.xml", {keralam}},
      {"ppt/slideLayouts/slideLayout1.xml", {":Title", keralam}},
      {"ppt/slideMasters/slideMaster1.xml", {":Click to edit", keralam}},
      {"ppt/notesSlides/notesSlide1.xml", {keralam}},
      {"ppt/notesMasters/notesMaster1.xml", {keralam}},
  };
  for (const auto& [part, paragraphs] : cases) EXPECT_EQ(Paragraphs(out, part), paragraphs) << part;

  test::ParsedPart slide;
  test::ParsePart(out, "ppt/slides/slide1.xml", slide);
  // The body's run keeps its size, weight and language.
  const std::vector<pugi::xml_node> body = test::Descendants(slide.Root(), "a:rPr[@sz='2400']");
  ASSERT_EQ(body.size(), 1u);
  EXPECT_STREQ(body[0].attribute("b").value(), "1");
  EXPECT_STREQ(body[0].attribute("lang").value(), "en-US");
  EXPECT_STREQ(body[0].child("a:latin").attribute("typeface").value(), "Manjari");
  // A word typed across runs of two sizes: each size keeps the piece placed in it.
  EXPECT_EQ(test::Descendants(slide.Root(), "a:r[a:rPr/@sz='1800']").size(), 1u);
  EXPECT_EQ(test::Descendants(slide.Root(), "a:r[a:rPr/@sz='2000']").size(), 1u);
  // The fonts go where the schema puts them; the old one loses what described it.
  const auto childNames = [](pugi::xml_node node) {
    std::vector<std::string> names;
    for (const pugi::xml_node child : node.children()) names.push_back(child.name());
    return names;
  };
  const std::vector<pugi::xml_node> filled = test::Descendants(slide.Root(), "a:rPr[a:hlinkClick]");
  ASSERT_EQ(filled.size(), 1u);
  EXPECT_EQ(childNames(filled[0]), (std::vector<std::string>{"a:solidFill", "a:latin", "a:cs", "a:hlinkClick"}));
  const std::vector<pugi::xml_node> symbol = test::Descendants(slide.Root(), "a:rPr[a:sym]");
  ASSERT_EQ(symbol.size(), 1u);
  EXPECT_EQ(childNames(symbol[0]), (std::vector<std::string>{"a:latin", "a:cs", "a:sym"}));
  EXPECT_FALSE(symbol[0].child("a:latin").attribute("charset"));
  EXPECT_FALSE(symbol[0].child("a:latin").attribute("panose"));

  // Every part without converted text, byte for byte.
  for (const char* part : {"ppt/media/image1.png", "ppt/charts/chart1.xml", "ppt/presentation.xml",
                           "ppt/theme/theme1.xml", "ppt/slides/_rels/slide1.xml.rels", "[Content_Types].xml"}) {
    EXPECT_EQ(test::ReadEntry(out, part), test::ReadEntry(pptx, part)) << part;
  }
  EXPECT_EQ(test::EntryNames(out), test::EntryNames(pptx));
  // Nothing legacy is left: converting again changes nothing.
  EXPECT_EQ(Convert(out), out);
}

// The layout both slides use is one part among the six that hold text, not
// one per slide.
TEST(Slide, APartSharedBySlidesIsConvertedOnce) {
  RecordedProgress progress;
  Convert(test::BuildZip(Entries()), &progress);
  ASSERT_EQ(progress.calls.size(), 6u);
  EXPECT_EQ(progress.calls.back(), (std::pair<std::size_t, std::size_t>{6, 6}));
}

// A slide the presentation names but the package lacks is passed over; the
// rest converts.
TEST(Slide, AMissingSlideIsPassedOver) {
  Presentation options;
  options.missingSlide = true;
  const std::string out = Convert(test::BuildZip(Entries(options)));
  EXPECT_EQ(Paragraphs(out, "ppt/slides/slide2.xml"), std::vector<std::string>{"Manjari:" + kKeralam});
}

TEST(Slide, ThemeReferencesNameTheThemesFonts) {
  pugi::xml_document theme;
  ASSERT_TRUE(theme.load_string(
      "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:themeElements><a:fontScheme>"
      "<a:majorFont><a:latin typeface=\"Major\"/><a:ea typeface=\"MajorEa\"/><a:cs typeface=\"MajorCs\"/></a:majorFont>"
      "<a:minorFont><a:latin typeface=\"Minor\"/><a:ea typeface=\"\"/><a:cs typeface=\"MinorCs\"/></a:minorFont>"
      "</a:fontScheme></a:themeElements></a:theme>"));
  const ThemeFonts fonts(theme.document_element());
  const std::pair<const char*, const char*> cases[] = {
      {"+mn-lt", "Minor"}, {"+mj-lt", "Major"}, {"+mn-cs", "MinorCs"}, {"+mj-cs", "MajorCs"},
      {"+mj-ea", "MajorEa"}, {"+mn-ea", ""},  // the theme names none
      {"ML-TTKarthika", "ML-TTKarthika"}, {"+xx-lt", "+xx-lt"},
  };
  for (const auto& [typeface, font] : cases) EXPECT_EQ(ResolveTypeface(typeface, fonts), font) << typeface;
}

// A table cell's text without a font takes its table style's: a legacy font
// named in the style, the theme's major font (Arial) by reference; a style
// the presentation does not define leaves it to the master's other style
// (the theme's minor font, ML-TTKarthika).
TEST(Slide, ATableCellTakesItsTableStylesFont) {
  Presentation options;
  options.tableStyles = true;
  const std::string out = Convert(test::BuildZip(Entries(options)));
  EXPECT_EQ(Paragraphs(out, "ppt/slides/slide2.xml"),
            (std::vector<std::string>{"Manjari:" + kKeralam, ":tIcfw", "Manjari:" + kKeralam}));
}

}  // namespace
}  // namespace maravelundi
