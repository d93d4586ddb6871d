// Documents LibreOffice wrote from our own samples and from a rich document
// of our own, converted in place and read back by LibreOffice: the text is
// the samples' expected text, the structure (tables, cells, pictures, notes,
// list items, links, paragraphs, centred paragraphs, line breaks,
// superscripts, header and footer) counts the same before and after, the
// picture keeps its bytes, and every Malayalam run is in the Unicode font
// with its bold, italic and size in the complex-script attributes.
//
// LibreOffice is the independent party here. Without it the tests skip,
// except where CI is set: there they fail.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "convert/Conversion.h"
#include "convert/RtfInPlace.h"
#include "office/LibreOfficeRun.h"
#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = MARAVELUNDI_SOURCE_DIR;
constexpr std::string_view kSamples[] = {"sample-v2", "sample-v7", "sample-mixed", "sample-mltt"};
constexpr std::string_view kFormats[] = {"docx", "odt"};

bool HasMalayalam(std::string_view utf8) {
  for (char16_t ch : FromUtf8(utf8)) {
    if (ch >= 0x0D00 && ch <= 0x0D7F) return true;
  }
  return false;
}

std::string WithoutByteOrderMark(std::string text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

// Each test starts LibreOffice a few times, on whole batches of files: a
// start costs seconds, a file little.
class LibreOfficeTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto program = test::LibreOffice::Find();
    if (!program) {
      if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice (soffice) is not installed";
      GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    office_ = std::make_unique<test::LibreOffice>(*program, folder_.Path());
  }

  fs::path Folder(std::string_view name) const {
    const fs::path path = folder_.Path() / name;
    fs::create_directories(path);
    return path;
  }

  // Documents LibreOffice writes from our Rich Text files, in `format`, by name.
  std::map<std::string, std::string> WrittenFromRtf(const std::vector<fs::path>& sources, std::string_view format) const {
    const fs::path out = Folder(std::string("from-rtf-") + std::string(format));
    EXPECT_TRUE(office_->Convert(sources, format, out)) << "see soffice.log in " << folder_.Path();
    std::map<std::string, std::string> written;
    for (const fs::path& source : sources) {
      const std::string name = source.stem().string();
      written[name] = test::ReadFile(out / (name + "." + std::string(format)));
    }
    return written;
  }

  // LibreOffice's reading of packages, each named with its format's
  // extension ("v7.docx"), saved through `filter` as files with `extension`,
  // by the name without its own.
  std::map<std::string, std::string> ReadBack(const std::map<std::string, std::string>& packages, std::string_view filter,
                                              std::string_view extension) const {
    const fs::path in = Folder("ours"), out = Folder(std::string("read-") + std::string(extension));
    std::vector<fs::path> files;
    for (const auto& [name, package] : packages) {
      files.push_back(in / name);
      test::WriteFile(files.back(), package);
    }
    EXPECT_TRUE(office_->Convert(files, filter, out)) << "see soffice.log in " << folder_.Path();
    std::map<std::string, std::string> read;
    for (const fs::path& file : files) {
      read[file.stem().string()] = test::ReadFile(out / (file.stem().string() + "." + std::string(extension)));
    }
    return read;
  }

  static std::string ConvertedInPlace(const std::string& package, std::string_view format) {
    const OfficeResult result = ConvertOfficeDocument(
        package, format == "docx" ? DocumentFormat::kDocx : DocumentFormat::kOdt, OutputKind::kInPlace, ConversionProfile{});
    if (!result.Ok()) ADD_FAILURE() << Describe(result.Error());
    return result.Ok() ? result.Value() : "";
  }

  test::TemporaryFolder folder_;
  std::unique_ptr<test::LibreOffice> office_;
};

// Every Word run with Malayalam text: Manjari in the Latin and complex-script
// slots, marked w:cs, and bold, italic and size mirrored in their twins.
void ExpectWordRunsInTheUnicodeFont(const std::string& docx) {
  for (std::string_view part : {"word/document.xml", "word/header1.xml", "word/footnotes.xml"}) {
    if (test::ReadEntry(docx, part).empty()) continue;
    test::ParsedPart parsed;
    test::ParsePart(docx, part, parsed);
    for (pugi::xml_node run : test::Descendants(parsed.Root(), "w:r")) {
      std::string text;
      for (pugi::xml_node t : run.children("w:t")) text += t.child_value();
      if (!HasMalayalam(text)) continue;
      SCOPED_TRACE(std::string(part) + ": " + text);
      const pugi::xml_node rPr = run.child("w:rPr");
      for (const char* slot : {"w:ascii", "w:hAnsi", "w:cs"}) {
        EXPECT_STREQ(rPr.child("w:rFonts").attribute(slot).value(), "Manjari") << slot;
      }
      EXPECT_TRUE(rPr.child("w:cs"));
      const auto on = [&](const char* name) {
        pugi::xml_node element = rPr.child(name);
        return element && std::string_view(element.attribute("w:val").as_string("1")) != "false" &&
               std::string_view(element.attribute("w:val").as_string("1")) != "0";
      };
      EXPECT_EQ(on("w:bCs"), on("w:b"));
      EXPECT_EQ(on("w:iCs"), on("w:i"));
      if (rPr.child("w:sz")) {
        EXPECT_STREQ(rPr.child("w:szCs").attribute("w:val").value(), rPr.child("w:sz").attribute("w:val").value());
      }
    }
  }
}

// Every ODT text node with Malayalam text sits in a span whose style names
// the Unicode font for Latin and complex script.
void ExpectOdtTextInTheUnicodeFont(const std::string& odt) {
  for (std::string_view part : {"content.xml", "styles.xml"}) {
    test::ParsedPart parsed;
    test::ParsePart(odt, part, parsed);
    std::map<std::string, pugi::xml_node> styles;
    for (pugi::xml_node style : test::Descendants(parsed.Root(), "style:style")) {
      styles[style.attribute("style:name").value()] = style.child("style:text-properties");
    }
    for (pugi::xml_node paragraph : test::Descendants(parsed.Root(), "text:p")) {
      for (const pugi::xpath_node& found : paragraph.select_nodes(".//text()")) {
        const pugi::xml_node node = found.node();
        if (!HasMalayalam(node.value())) continue;
        SCOPED_TRACE(std::string(part) + ": " + node.value());
        pugi::xml_node span = node.parent();
        ASSERT_STREQ(span.name(), "text:span");
        const pugi::xml_node properties = styles[span.attribute("text:style-name").value()];
        EXPECT_STREQ(properties.attribute("style:font-name").value(), "Manjari");
        EXPECT_STREQ(properties.attribute("style:font-name-complex").value(), "Manjari");
        EXPECT_TRUE(properties.attribute("style:font-weight-complex"));
      }
    }
  }
}

std::string ExpectedText(std::string_view sample) {
  return test::ReadFile(kSourceDir / "samples" / (std::string(sample) + ".txt"));
}

TEST_F(LibreOfficeTest, SamplesWrittenByLibreOfficeConvertToTheirExpectedText) {
  std::vector<fs::path> sources;
  for (std::string_view sample : kSamples) sources.push_back(kSourceDir / "samples" / (std::string(sample) + ".rtf"));
  std::map<std::string, std::string> converted;  // "sample-v7-docx.docx" ...
  for (std::string_view format : kFormats) {
    for (const auto& [sample, package] : WrittenFromRtf(sources, format)) {
      SCOPED_TRACE(sample + "." + std::string(format));
      const FormatDetection detected = DetectDocumentFormat(package);
      ASSERT_FALSE(detected.error) << Describe(*detected.error);
      const OfficeResult text = ConvertOfficeDocument(package, detected.format, OutputKind::kText, ConversionProfile{});
      ASSERT_TRUE(text.Ok()) << Describe(text.Error());
      EXPECT_EQ(text.Value(), ExpectedText(sample));
      const std::string ours = ConvertedInPlace(package, format);
      if (format == "docx") ExpectWordRunsInTheUnicodeFont(ours);
      else ExpectOdtTextInTheUnicodeFont(ours);
      converted[sample + "-" + std::string(format) + "." + std::string(format)] = ours;
    }
  }
  // What LibreOffice reads of our documents is the same text.
  for (const auto& [name, text] : ReadBack(converted, "txt:Text (encoded):UTF8", "txt")) {
    EXPECT_EQ(WithoutByteOrderMark(text), ExpectedText(name.substr(0, name.rfind('-')))) << name;
  }
}

// What LibreOffice reads of a document's structure, counted in its flat
// OpenDocument form.
std::map<std::string, std::string> Structure(const std::string& fodt) {
  pugi::xml_document document;
  if (!document.load_string(fodt.c_str())) return {{"error", "LibreOffice's reading does not parse"}};
  const pugi::xml_node root = document.document_element();
  std::map<std::string, std::string> counts;
  for (std::string_view name : {"table:table", "table:table-cell", "draw:image", "text:note", "text:list-item", "text:a",
                                "text:p", "text:h", "text:line-break", "style:header", "style:footer"}) {
    counts[std::string(name)] = std::to_string(test::Descendants(root, name).size());
  }
  std::map<std::string, pugi::xml_node> styles;
  for (pugi::xml_node style : test::Descendants(root, "style:style")) styles[style.attribute("style:name").value()] = style;
  // A style's attribute, through its parents.
  const auto inherited = [&](std::string name, const char* properties, const char* attribute) {
    for (int depth = 0; depth < 16 && styles.contains(name); ++depth) {
      const pugi::xml_node style = styles[name];
      if (pugi::xml_attribute value = style.child(properties).attribute(attribute)) return std::string(value.value());
      name = style.attribute("style:parent-style-name").value();
    }
    return std::string();
  };
  int centred = 0;
  for (pugi::xml_node paragraph : test::Descendants(root, "text:p")) {
    centred += inherited(paragraph.attribute("text:style-name").value(), "style:paragraph-properties", "fo:text-align") == "center";
  }
  counts["centred paragraphs"] = std::to_string(centred);
  std::string superscript;
  for (pugi::xml_node span : test::Descendants(root, "text:span")) {
    if (inherited(span.attribute("text:style-name").value(), "style:text-properties", "style:text-position").starts_with("super")) {
      superscript += span.child_value();
    }
  }
  counts["superscript text"] = superscript;
  return counts;
}

// How LibreOffice formats a span of exactly `text` for complex script:
// "family weight posture size", or empty when no span holds it.
std::string ComplexFormatOf(const std::string& fodt, std::string_view text) {
  pugi::xml_document document;
  if (!document.load_string(fodt.c_str())) return "unreadable";
  const pugi::xml_node root = document.document_element();
  std::map<std::string, std::string> families;
  for (pugi::xml_node face : test::Descendants(root, "style:font-face")) {
    std::string family = face.attribute("svg:font-family").value();
    if (family.size() > 1 && family.front() == '\'') family = family.substr(1, family.size() - 2);
    families[face.attribute("style:name").value()] = family;
  }
  for (pugi::xml_node span : test::Descendants(root, "text:span")) {
    if (span.child_value() != text) continue;
    for (pugi::xml_node style : test::Descendants(root, "style:style")) {
      if (std::string_view(style.attribute("style:name").value()) != span.attribute("text:style-name").value()) continue;
      const pugi::xml_node p = style.child("style:text-properties");
      return families[p.attribute("style:font-name-complex").value()] + " " +
             p.attribute("style:font-weight-complex").as_string("normal") + " " +
             p.attribute("style:font-style-complex").as_string("normal") + " " +
             p.attribute("style:font-size-complex").as_string("-");
    }
  }
  return "";
}

TEST_F(LibreOfficeTest, ARichDocumentKeepsEverythingButItsLegacyText) {
  const fs::path rich = kSourceDir / "tests/office/fixtures/rich.rtf";
  std::map<std::string, std::string> sources, converted, packages;
  for (std::string_view format : kFormats) {
    const std::string extension = "." + std::string(format);
    sources[std::string(format)] = WrittenFromRtf({rich}, format).at("rich");
    converted[std::string(format)] = ConvertedInPlace(sources[std::string(format)], format);
    packages["before-" + std::string(format) + extension] = sources[std::string(format)];
    packages["after-" + std::string(format) + extension] = converted[std::string(format)];
  }
  const auto read = ReadBack(packages, "fodt", "fodt");
  for (std::string_view format : kFormats) {
    SCOPED_TRACE(format);
    const std::string& source = sources[std::string(format)];
    const std::string& ours = converted[std::string(format)];
    ASSERT_FALSE(ours.empty());
    const auto before = Structure(read.at("before-" + std::string(format)));
    const std::string& after = read.at("after-" + std::string(format));
    EXPECT_EQ(Structure(after), before);
    // The fixture has all of them, as LibreOffice read it.
    for (std::string_view kind : {"table:table", "table:table-cell", "draw:image", "text:note", "text:list-item", "text:a",
                                  "text:line-break", "style:header", "style:footer", "centred paragraphs"}) {
      EXPECT_NE(before.at(std::string(kind)), "0") << kind;
    }
    EXPECT_EQ(before.at("superscript text"), "2");
    EXPECT_NE(after.find("കുട്ടികള്‍"), std::string::npos);
    // The 24 pt bold title and the italic word, in Manjari for Malayalam.
    EXPECT_EQ(ComplexFormatOf(after, "മലയാളം എന്റെ ഭാഷ."), "Manjari bold normal 24pt");
    EXPECT_EQ(ComplexFormatOf(after, "ഭാഷ"), "Manjari normal italic 12pt");

    const std::string media = format == "docx" ? "word/media/" : "Pictures/";
    int pictures = 0;
    for (const std::string& name : test::EntryNames(source)) {
      if (!name.starts_with(media)) continue;
      ++pictures;
      EXPECT_EQ(test::StoredBytes(ours, name), test::StoredBytes(source, name)) << name;
    }
    EXPECT_EQ(pictures, 1);

    if (format == "docx") ExpectWordRunsInTheUnicodeFont(ours);
    else ExpectOdtTextInTheUnicodeFont(ours);
  }
}

// The Malayalam words of a text, in order: what two readers that lay out
// lists, notes and cells each their own way still agree on.
std::vector<std::u16string> MalayalamWords(std::string_view utf8) {
  std::vector<std::u16string> words;
  std::u16string word;
  for (char16_t ch : FromUtf8(utf8)) {
    if ((ch >= 0x0D00 && ch <= 0x0D7F) || ch == 0x200C || ch == 0x200D) {
      word.push_back(ch);
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// The body's text without the text box's: LibreOffice's plain text leaves a
// text box out, our flat text of DOCX and ODT has it as a paragraph.
std::string WithoutTheTextBox(std::string text) {
  const std::size_t box = text.find("A text box:"), end = text.find("The end.");
  if (box != std::string::npos && end != std::string::npos && box < end) text.erase(box, end - box);
  return text;
}

// The text of every element named `name` in a part.
std::string TextOf(const std::string& package, std::string_view part, std::string_view name) {
  test::ParsedPart parsed;
  test::ParsePart(package, part, parsed);
  std::string text;
  for (pugi::xml_node element : test::Descendants(parsed.Root(), name)) {
    for (const pugi::xpath_node& found : element.select_nodes(".//text()")) text += found.node().value();
  }
  return text;
}

// The rich document, converted in place as Rich Text, DOCX and ODT and read
// back by LibreOffice, has no legacy-font text left anywhere (LibreOffice's
// own reading, saved as ODT, gives our converter nothing to change in any
// part); its body reads as our flat text of it; and its header, footer,
// footnote, comment and text box hold their Malayalam.
TEST_F(LibreOfficeTest, TheRichDocumentInPlaceKeepsNoLegacyTextAnywhere) {
  const fs::path rich = kSourceDir / "tests/office/fixtures/rich.rtf";
  const std::string rtf = test::ReadFile(rich);
  std::map<std::string, std::string> sources{{"rtf", rtf}}, flat, ours;
  for (std::string_view format : kFormats) sources[std::string(format)] = WrittenFromRtf({rich}, format).at("rich");
  for (const auto& [format, source] : sources) {
    if (format == "rtf") {
      const RtfReading reading = ReadRtf(source, RtfReadOptions{.sourceSpans = true, .sideStories = true});
      StringSink sink;
      ConvertRtfInPlace(source, reading, ConversionProfile{}, sink);
      ours["after-rtf.rtf"] = sink.Bytes();
      flat[format] = ConvertDocument(ReadRtf(source).document, OutputKind::kText, ConversionProfile{});
    } else {
      ours["after-" + format + "." + format] = ConvertedInPlace(source, format);
      const OfficeResult text =
          ConvertOfficeDocument(source, format == "docx" ? DocumentFormat::kDocx : DocumentFormat::kOdt,
                                OutputKind::kText, ConversionProfile{});
      ASSERT_TRUE(text.Ok());
      flat[format] = text.Value();
    }
  }
  const auto asText = ReadBack(ours, "txt:Text (encoded):UTF8", "txt");
  const auto asOdt = ReadBack(ours, "odt", "odt");
  for (const auto& [format, expected] : flat) {
    SCOPED_TRACE(format);
    const std::string& odt = asOdt.at("after-" + format);
    ASSERT_FALSE(odt.empty());
    const OfficeResult again = ConvertOfficeDocument(odt, DocumentFormat::kOdt, OutputKind::kInPlace, ConversionProfile{});
    ASSERT_TRUE(again.Ok());
    // Converting it again may put a lone line break in a span of its own,
    // but changes no text unless legacy text was left.
    for (std::string_view part : {"content.xml", "styles.xml"}) {
      const bool same = TextOf(again.Value(), part, "office:document-content") + TextOf(again.Value(), part, "office:document-styles") ==
                        TextOf(odt, part, "office:document-content") + TextOf(odt, part, "office:document-styles");
      EXPECT_TRUE(same) << part << " held legacy text";
    }
    EXPECT_EQ(MalayalamWords(WithoutTheTextBox(WithoutByteOrderMark(asText.at("after-" + format)))),
              MalayalamWords(WithoutTheTextBox(expected)));
    // LibreOffice reads a Word text box as a shape, its own as a frame.
    const std::u16string malayalam = u"\u0D2E\u0D32\u0D2F\u0D3E\u0D33\u0D02";
    const std::pair<const char*, std::string> sides[] = {
        {"header", TextOf(odt, "styles.xml", "style:header")},
        {"footnote", TextOf(odt, "content.xml", "text:note")},
        {"comment", TextOf(odt, "content.xml", "office:annotation")},
        {"text box", TextOf(odt, "content.xml", "draw:text-box") + TextOf(odt, "content.xml", "draw:custom-shape")},
    };
    for (const auto& [side, text] : sides) EXPECT_NE(FromUtf8(text).find(malayalam), std::u16string::npos) << side;
  }
}

}  // namespace
}  // namespace maravelundi
