// A document's format comes from its bytes, never its name.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

struct FormatCase {
  std::string_view name;
  std::string bytes;
  DocumentFormat expected;
};

std::vector<FormatCase> FormatCases() {
  return {
      {"Rich Text", "{\\rtf1\\ansi hello}", DocumentFormat::kRtf},
      {"Rich Text with a line end after the brace", "{\r\n\\rtf1 hello}", DocumentFormat::kRtf},
      {"a DOCX", test::BuildDocx(test::DocxParts().Body("<w:p/>")), DocumentFormat::kDocx},
      {"a DOCX with macros",
       test::BuildDocx(test::DocxParts().Body("<w:p/>").MainContentType("application/vnd.ms-word.document.macroEnabled.main+xml")),
       DocumentFormat::kDocx},
      {"an ODT", test::BuildOdt({}), DocumentFormat::kOdt},
      {"an ODT template, another engine's",
       test::BuildOdt(test::OdtParts().Mimetype("application/vnd.oasis.opendocument.text-template")), DocumentFormat::kForeign},
      {"a Word 97 document, another engine's", test::LiteralBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(500, '\0'),
       DocumentFormat::kForeign},
      {"a WordPerfect document, another engine's", test::LiteralBytes("\xFFWPC") + std::string(20, '\0'),
       DocumentFormat::kForeign},
      {"a zip of something else", test::BuildZip({{"readme.txt", "hello"}}), DocumentFormat::kUnknown},
      {"plain text", "മലയാളം", DocumentFormat::kUnknown},
      {"nothing", "", DocumentFormat::kUnknown},
  };
}

TEST(DetectFormatTest, FromContent) {
  for (const FormatCase& c : FormatCases()) {
    const FormatDetection detected = DetectDocumentFormat(c.bytes);
    EXPECT_FALSE(detected.error) << c.name << ": " << Describe(*detected.error);
    EXPECT_EQ(DocumentFormatName(detected.format), DocumentFormatName(c.expected)) << c.name;
  }
}

// Detection hands on the package it opened, open, where the conversion
// goes on with it (a DOCX or ODT), and the bytes as they came everywhere
// else, a package it refused too.
TEST(DetectFormatTest, ADocxOrOdtIsHandedOnOpen) {
  std::vector<FormatCase> cases = FormatCases();
  cases.push_back({"a drawing in a DOCX's clothes",
                   test::BuildDocx(test::DocxParts().Body("<w:p/>").MainContentType(
                       "application/vnd.ms-visio.drawing.main+xml")),
                   DocumentFormat::kUnknown});
  cases.push_back({"a workbook by its main part's type",
                   test::BuildDocx(test::DocxParts().Body("<w:p/>").MainContentType(
                       "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml")),
                   DocumentFormat::kXlsx});
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const FormatDetection alone = DetectDocumentFormat(c.bytes);
    DetectedDocument detected = DetectDocument(std::string(c.bytes));
    EXPECT_EQ(DocumentFormatName(detected.detection.format), DocumentFormatName(alone.format));
    EXPECT_EQ(detected.detection.error.has_value(), alone.error.has_value());
    const bool package = c.expected == DocumentFormat::kDocx || c.expected == DocumentFormat::kOdt ||
                         c.expected == DocumentFormat::kXlsx;
    ASSERT_EQ(detected.package.has_value(), package);
    if (!package) {
      EXPECT_EQ(detected.bytes, c.bytes);
      continue;
    }
    EXPECT_TRUE(detected.bytes.empty());
    EXPECT_EQ(detected.package->Bytes(), c.bytes);
    // Moved on, it still reads its parts from the bytes it holds.
    const OpenPackage moved = std::move(*detected.package);
    detected.package.reset();
    const Outcome<std::string> part =
        moved.Package().Read(c.expected == DocumentFormat::kOdt ? "mimetype" : "[Content_Types].xml");
    ASSERT_TRUE(part.Ok()) << Describe(part.Error());
    EXPECT_FALSE(part.Value().empty());
  }
}

// Whatever DetectDocumentFormat recognises, or refuses for a reason of its
// own, begins as a known document in every one of its first bytes, so that
// a reader judging a stream by them never refuses a document it would read.
TEST(DetectFormatTest, EveryBeginningOfAKnownDocumentMayBeOne) {
  const std::string documents[] = {
      "{\\rtf1\\ansi hello}",
      "{\r\n \t\\rtf1 hello}",
      test::BuildDocx(test::DocxParts().Body("<w:p/>")),
      test::BuildOdt({}),
      test::BuildZip({{"readme.txt", "hello"}}),
      test::LiteralBytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(500, '\0'),
      test::LiteralBytes("\xFFWPC") + std::string(20, '\0'),
      test::LiteralBytes("PK\x05\x06") + std::string(18, '\0'),
  };
  for (const std::string& document : documents) {
    const FormatDetection detected = DetectDocumentFormat(document);
    ASSERT_TRUE(detected.format != DocumentFormat::kUnknown || detected.error || document.starts_with("PK"))
        << document.substr(0, 8);
    for (std::size_t size = 0; size <= std::min<std::size_t>(document.size(), 64); ++size) {
      EXPECT_TRUE(MayBeginKnownDocument(std::string_view(document).substr(0, size)))
          << size << " bytes of " << document.substr(0, 8);
    }
  }
  for (const std::string_view other : {"hello", "{x", "\\rtf1", " {\\rtf1", "PX", "\xD0\xCE"}) {
    EXPECT_FALSE(MayBeginKnownDocument(other)) << other;
  }
  EXPECT_EQ(DescribeUnknownDocument(test::BuildZip({{"readme.txt", "hello"}})),
            "not a document we know (it is a zip package, but no office document we know; Rich Text, DOCX, ODT, XLSX, "
            "ODS, PPTX, ODP, PDF and the formats LibreOffice reads are converted, and plain text with --from text)");
}

}  // namespace
}  // namespace maravelundi
