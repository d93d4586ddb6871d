// New DOCX and ODT documents written from a converted document read back,
// through our own readers, as the document they were written from: its
// paragraphs, line breaks, tabs, spaces and each run's font, weight,
// posture, underline, size and colour; Malayalam runs carry the
// complex-script slot.

#include <gtest/gtest.h>

#include "TestDocuments.h"
#include "office/NewDocument.h"
#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

Document Sample() {
  Document document;
  CharFormat plain;
  plain.fontName = "Arial";
  CharFormat malayalam;
  malayalam.fontName = "Manjari";
  malayalam.bold = true;
  malayalam.halfPoints = 28;
  malayalam.colour = Rgb{0xC0, 0, 0};
  CharFormat emphasis = plain;
  emphasis.italic = true;
  emphasis.underline = true;
  document.Append(u"  Two leading spaces,\tthen a tab", document.Intern(plain));
  document.Append(u"\r\n", document.Intern(plain));
  document.Append(u"\u0D2E\u0D32\u0D2F\u0D3E\u0D33\u0D02", document.Intern(malayalam));
  document.Append(u" and  two  spaces & <markup>\nafter a line break", document.Intern(emphasis));
  document.Append(u"\r\n", document.Intern(plain));
  document.Append(u"\r\n", document.Intern(plain));  // an empty paragraph
  document.Append(u"last", document.Intern(plain));
  document.Append(u"\r\n", document.Intern(plain));
  return document;
}

// The text with each character's font, weight, posture, underline, size and
// colour: what both documents must agree on.
std::string Described(const Document& document) {
  std::string out;
  RunCursor formats(document);
  for (std::size_t i = 0; i < document.Size(); ++i) {
    const char16_t ch = document.Text()[i];
    if (ch == u'\r' || ch == u'\n') {
      out += ch == u'\r' ? "<par>" : "<br>";
      if (ch == u'\r' && i + 1 < document.Size() && document.Text()[i + 1] == u'\n') ++i;
      continue;
    }
    const CharFormat& f = document.Format(formats.FormatAt(i));
    out += ToUtf8(std::u16string(1, ch)) + "[" + f.fontName + (f.bold ? " b" : "") + (f.italic ? " i" : "") +
           (f.underline ? " u" : "") + " " + std::to_string(f.halfPoints) + (f.colour ? " c" : "") + "]";
  }
  return out;
}

TEST(NewDocument, ReadsBackAsTheDocumentItWasWrittenFrom) {
  const Document sample = Sample();
  const std::pair<DocumentFormat, Outcome<std::string>> written[] = {
      {DocumentFormat::kDocx, WriteNewDocx(sample, "A title")},
      {DocumentFormat::kOdt, WriteNewOdt(sample, "A title")},
  };
  for (const auto& [format, package] : written) {
    SCOPED_TRACE(DocumentFormatName(format));
    ASSERT_TRUE(package.Ok()) << Describe(package.Error());
    const FormatDetection detected = DetectDocumentFormat(package.Value());
    ASSERT_FALSE(detected.error);
    EXPECT_EQ(detected.format, format);
    const Outcome<Document> read = ReadOfficeDocument(package.Value(), format, ConversionProfile{});
    ASSERT_TRUE(read.Ok()) << Describe(read.Error());
    EXPECT_EQ(Described(read.Value()), Described(sample));
  }
  // The same document makes the same bytes every time.
  EXPECT_EQ(WriteNewDocx(sample, "A title").Value(), WriteNewDocx(sample, "A title").Value());
  EXPECT_EQ(WriteNewOdt(sample, "A title").Value(), WriteNewOdt(sample, "A title").Value());
}

TEST(NewDocument, MalayalamRunsTakeTheComplexScriptSlot) {
  const Document sample = Sample();
  test::ParsedPart word;
  test::ParsePart(WriteNewDocx(sample, "t").Value(), "word/document.xml", word);
  int complex = 0;
  for (pugi::xml_node run : test::Descendants(word.Root(), "w:r")) {
    const bool malayalam = std::string(run.child("w:t").child_value()).starts_with("\xE0\xB4");
    EXPECT_EQ(static_cast<bool>(run.child("w:rPr").child("w:cs")), malayalam);
    if (!malayalam) continue;
    ++complex;
    EXPECT_STREQ(run.child("w:rPr").child("w:rFonts").attribute("w:cs").value(), "Manjari");
    EXPECT_TRUE(run.child("w:rPr").child("w:bCs"));
    EXPECT_STREQ(run.child("w:rPr").child("w:szCs").attribute("w:val").value(), "28");
  }
  EXPECT_EQ(complex, 1);
  test::ParsedPart odf;
  test::ParsePart(WriteNewOdt(sample, "t").Value(), "content.xml", odf);
  int styled = 0;
  for (pugi::xml_node properties : test::Descendants(odf.Root(), "style:text-properties")) {
    if (!properties.attribute("style:font-name-complex")) continue;
    ++styled;
    EXPECT_STREQ(properties.attribute("style:font-weight-complex").value(), "bold");
    EXPECT_STREQ(properties.attribute("style:font-size-complex").value(), "14pt");
  }
  EXPECT_EQ(styled, 1);
}

}  // namespace
}  // namespace maravelundi
