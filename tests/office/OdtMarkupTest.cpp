// ODT converted in place, from markup written by hand the way LibreOffice
// writes it: fonts found through automatic styles, common styles and their
// parents, the default paragraph style and font-face declarations; words
// split over spans; spaces, tabs, breaks and notes kept. Each case gives the
// pieces of the paragraph afterwards: text and the chain of span styles
// around it, a converted style shown by what it sets.

#include <gtest/gtest.h>

#include <map>

#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

using test::OdtParts;

struct PieceView {
  std::string text, styles;
  bool operator==(const PieceView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PieceView& piece) {
  return out << "{\"" << piece.text << "\", \"" << piece.styles << "\"}";
}

// Styles by name, shown as what a converted style sets: "[western/complex
// weight style size]"; any other style by its name.
std::map<std::string, std::string> StyleSignatures(pugi::xml_node root) {
  std::map<std::string, std::string> signatures;
  for (pugi::xml_node style : test::Descendants(root, "style:style")) {
    pugi::xml_node properties = style.child("style:text-properties");
    std::string name = style.attribute("style:name").value();
    if (!name.starts_with("MV")) continue;
    const auto value = [&](const char* attribute) {
      pugi::xml_attribute found = properties.attribute(attribute);
      return found ? std::string(found.value()) : "-";
    };
    signatures[name] = "[" + value("style:font-name") + "/" + value("style:font-name-complex") + " " +
                       value("style:font-weight-complex") + " " + value("style:font-style-complex") + " " +
                       value("style:font-size-complex") + "]";
  }
  return signatures;
}

// The text of the paragraph in pieces of one span chain each.
class PieceReader {
 public:
  explicit PieceReader(const std::map<std::string, std::string>& signatures) : signatures_(signatures) {}

  std::vector<PieceView> Read(pugi::xml_node paragraph) {
    Walk(paragraph, "");
    return pieces_;
  }

 private:
  void Add(const std::string& text, const std::string& chain) {
    if (!pieces_.empty() && pieces_.back().styles == chain) {
      pieces_.back().text += text;
    } else {
      pieces_.push_back({text, chain});
    }
  }

  void Walk(pugi::xml_node parent, const std::string& chain) {
    for (pugi::xml_node child : parent.children()) {
      const std::string_view name = child.name();
      if (child.type() == pugi::node_pcdata) {
        Add(child.value(), chain);
      } else if (name == "text:span") {
        const std::string style = child.attribute("text:style-name").value();
        const auto signature = signatures_.find(style);
        const std::string shown = signature == signatures_.end() ? style : signature->second;
        Walk(child, chain.empty() ? shown : chain + ">" + shown);
      } else if (name == "text:s") {
        Add(std::string(static_cast<std::size_t>(child.attribute("text:c").as_int(1)), ' '), chain);
      } else if (name == "text:tab") {
        Add("\t", chain);
      } else if (name == "text:line-break") {
        Add("\n", chain);
      } else {
        Add("<" + std::string(name) + ">", chain);
      }
    }
  }

  const std::map<std::string, std::string>& signatures_;
  std::vector<PieceView> pieces_;
};

std::string Converted(const OdtParts& parts) {
  const OfficeResult result = ConvertOfficeDocument(test::BuildOdt(parts), DocumentFormat::kOdt, OutputKind::kInPlace, ConversionProfile{});
  if (!result.Ok()) ADD_FAILURE() << Describe(result.Error());
  return result.Ok() ? result.Value() : "";
}

std::string TextStyle(std::string_view name, std::string_view properties) {
  return "<style:style style:name=\"" + std::string(name) + "\" style:family=\"text\"><style:text-properties " +
         std::string(properties) + "/></style:style>";
}
std::string ParagraphStyle(std::string_view name, std::string_view parent, std::string_view properties) {
  return "<style:style style:name=\"" + std::string(name) + "\" style:family=\"paragraph\"" +
         (parent.empty() ? "" : " style:parent-style-name=\"" + std::string(parent) + "\"") +
         "><style:text-properties " + std::string(properties) + "/></style:style>";
}
std::string Span(std::string_view style, std::string_view content) {
  return "<text:span text:style-name=\"" + std::string(style) + "\">" + std::string(content) + "</text:span>";
}

struct OdtCase {
  std::string_view name;
  OdtParts parts;
  std::vector<PieceView> expected;
};

std::vector<OdtCase> Cases() {
  const std::string rc1 = TextStyle("T1", "style:font-name=\"rc1\"");
  return {
      {"an automatic text style: weight and size go to the complex-script slot",
       OdtParts().Body("<text:p>" + Span("T1", "adbnjw") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\" fo:font-weight=\"bold\" fo:font-size=\"24pt\"")),
       {{"മലയാളം", "T1>[Manjari/Manjari bold normal 24pt]"}}},
      {"an automatic paragraph style",
       OdtParts().Body("<text:p text:style-name=\"P1\">adbnjw</text:p>").AutomaticStyles(ParagraphStyle("P1", "", "style:font-name=\"rc1\" fo:font-style=\"italic\"")),
       {{"മലയാളം", "[Manjari/Manjari normal italic -]"}}},
      {"a common paragraph style in styles.xml, through a parent",
       OdtParts().Body("<text:p text:style-name=\"P1\">adb</text:p>").AutomaticStyles(ParagraphStyle("P1", "Mal", "")).CommonStyles(ParagraphStyle("Base", "", "style:font-name=\"rc1\" fo:font-size=\"20pt\"") +
                        ParagraphStyle("Mal", "Base", "fo:font-weight=\"bold\"")),
       {{"മലയ", "[Manjari/Manjari bold normal 20pt]"}}},
      {"the default paragraph style",
       OdtParts().Body("<text:p>adb</text:p>").CommonStyles("<style:default-style style:family=\"paragraph\"><style:text-properties "
                        "style:font-name=\"rc1\" fo:font-size=\"12pt\"/></style:default-style>"),
       {{"മലയ", "[Manjari/Manjari normal normal 12pt]"}}},
      {"a declaration's name is not the font's",
       OdtParts().Body("<text:p>" + Span("T1", "adb") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"Rachana One\"")).FontFaces("<style:font-face style:name=\"Rachana One\" svg:font-family=\"'rc1'\"/>"),
       {{"മലയ", "T1>[Manjari/Manjari normal normal -]"}}},
      {"fo:font-family without a declaration",
       OdtParts().Body("<text:p>" + Span("T1", "adb") + "</text:p>").AutomaticStyles(TextStyle("T1", "fo:font-family=\"rc1\"")),
       {{"മലയ", "T1>[Manjari/Manjari normal normal -]"}}},
      {"a size in percent of the paragraph's",
       OdtParts().Body("<text:p text:style-name=\"P1\">" + Span("T1", "adb") + "</text:p>").AutomaticStyles(ParagraphStyle("P1", "", "fo:font-size=\"20pt\"") +
                           TextStyle("T1", "style:font-name=\"rc1\" fo:font-size=\"150%\"")),
       {{"മലയ", "T1>[Manjari/Manjari normal normal 30pt]"}}},
      {"a word split over two spans",
       OdtParts().Body("<text:p>" + Span("T1", "adb") + Span("T2", "njw") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\" fo:font-weight=\"bold\"") + TextStyle("T2", "style:font-name=\"rc1\"")),
       {{"മലയ", "T1>[Manjari/Manjari bold normal -]"}, {"ാളം", "T2>[Manjari/Manjari normal normal -]"}}},
      {"a pre-base sign in one span, its consonant in the next: the cluster takes the consonant's span",
       OdtParts().Body("<text:p>" + Span("T1", "u") + Span("T3", "B") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\" fo:font-style=\"italic\"") + TextStyle("T3", "style:font-name=\"rc3\"")),
       {{"ണ്ണേ", "T3>[Manjari/Manjari normal normal -]"}}},
      {"spaces, tabs and line breaks",
       OdtParts().Body("<text:p>" + Span("T1", "a<text:s text:c=\"2\"/>d<text:tab/>b<text:line-break/>j") + "</text:p>").AutomaticStyles(rc1),
       {{"മ  ല\tയ\nള", "T1>[Manjari/Manjari normal normal -]"}}},
      {"English is left alone",
       OdtParts().Body("<text:p>" + Span("T2", "English ") + Span("T1", "adb") + "</text:p>").AutomaticStyles(rc1 + TextStyle("T2", "style:font-name=\"Arial\"")),
       {{"English ", "T2"}, {"മലയ", "T1>[Manjari/Manjari normal normal -]"}}},
      {"a note stays between the text around it",
       OdtParts().Body("<text:p>" + Span("T1", "ad<text:note text:id=\"n1\" text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
                                        "<text:note-body><text:p>x</text:p></text:note-body></text:note>bnjw") + "</text:p>").AutomaticStyles(rc1),
       {{"മല", "T1>[Manjari/Manjari normal normal -]"}, {"<text:note>", "T1"}, {"യാളം", "T1>[Manjari/Manjari normal normal -]"}}},
  };
}

TEST(OdtMarkupTest, EachCaseGivesItsPieces) {
  for (const OdtCase& c : Cases()) {
    SCOPED_TRACE(std::string(c.name));
    test::ParsedPart content;
    test::ParsePart(Converted(c.parts), "content.xml", content);
    const auto signatures = StyleSignatures(content.Root());
    const pugi::xml_node paragraph = content.Root().child("office:body").child("office:text").child("text:p");
    EXPECT_EQ(PieceReader(signatures).Read(paragraph), c.expected);
  }
}

TEST(OdtMarkupTest, TheUnicodeFontIsDeclaredOnceInEachPartThatUsesIt) {
  const OdtParts parts = OdtParts().Body("<text:p>" + Span("T1", "adb") + "</text:p><text:p>" + Span("T1", "njw") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\"")).StylesAutomatic(ParagraphStyle("MP1", "", "style:font-name=\"rc1\"")).MasterStyles("<style:master-page style:name=\"Standard\"><style:header>"
                                       "<text:p text:style-name=\"MP1\">njw</text:p></style:header></style:master-page>");
  const std::string converted = Converted(parts);
  for (std::string_view part : {"content.xml", "styles.xml"}) {
    test::ParsedPart parsed;
    test::ParsePart(converted, part, parsed);
    int declarations = 0;
    for (pugi::xml_node face : test::Descendants(parsed.Root(), "style:font-face")) {
      declarations += std::string_view(face.attribute("svg:font-family").value()) == "Manjari";
    }
    EXPECT_EQ(declarations, 1) << part;
  }
  test::ParsedPart styles;
  test::ParsePart(converted, "styles.xml", styles);
  const pugi::xml_node header = test::Descendants(styles.Root(), "style:header").at(0).child("text:p");
  EXPECT_EQ(PieceReader(StyleSignatures(styles.Root())).Read(header),
            (std::vector<PieceView>{{"ാളം", "[Manjari/Manjari normal normal -]"}}));
}

TEST(OdtMarkupTest, NotesConvertAsParagraphsOfTheirOwn) {
  const OdtParts parts = OdtParts().Body("<text:p>" + Span("T1", "a<text:note text:id=\"n1\"><text:note-citation>1</text:note-citation>"
                                                       "<text:note-body><text:p>" + Span("T1", "adb") +
                                                       "</text:p></text:note-body></text:note>") + "</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\""));
  test::ParsedPart content;
  test::ParsePart(Converted(parts), "content.xml", content);
  const pugi::xml_node note = test::Descendants(content.Root(), "text:note-body").at(0).child("text:p");
  EXPECT_EQ(PieceReader(StyleSignatures(content.Root())).Read(note),
            (std::vector<PieceView>{{"മലയ", "T1>[Manjari/Manjari normal normal -]"}}));
  EXPECT_EQ(test::Descendants(content.Root(), "text:note-citation").at(0).child_value(), std::string("1"));
}

TEST(OdtMarkupTest, ADocumentWithoutLegacyTextKeepsEveryPartsBytes) {
  const OdtParts parts = OdtParts().Body("<text:p>" + Span("T2", "English  <text:s/>text") + "</text:p>").AutomaticStyles(TextStyle("T2", "style:font-name=\"Arial\""));
  const std::string source = test::BuildOdt(parts);
  const std::string converted = Converted(parts);
  EXPECT_EQ(test::EntryNames(converted), test::EntryNames(source));
  for (const std::string& name : test::EntryNames(source)) {
    EXPECT_EQ(test::StoredBytes(converted, name), test::StoredBytes(source, name)) << name;
  }
}

TEST(OdtMarkupTest, TheTextOutputLeavesNotesOut) {
  const OdtParts parts = OdtParts().Body("<text:p>" + Span("T1", "adb<text:note text:id=\"n1\"><text:note-citation>1</text:note-citation>"
                                                       "<text:note-body><text:p>a note</text:p></text:note-body></text:note>njw") +
                               "</text:p><text:p>  English   text</text:p>").AutomaticStyles(TextStyle("T1", "style:font-name=\"rc1\""));
  const OfficeResult text = ConvertOfficeDocument(test::BuildOdt(parts), DocumentFormat::kOdt, OutputKind::kText, ConversionProfile{});
  ASSERT_TRUE(text.Ok()) << Describe(text.Error());
  EXPECT_EQ(text.Value(), "മലയാളം\nEnglish text\n");
}

}  // namespace
}  // namespace maravelundi
