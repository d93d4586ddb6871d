// A document's format comes from its bytes, never its name.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

struct FormatCase {
  std::string_view name;
  std::string bytes;
  DocumentFormat expected;
};

TEST(DetectFormatTest, FromContent) {
  const FormatCase cases[] = {
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
  for (const FormatCase& c : cases) {
    const FormatDetection detected = DetectDocumentFormat(c.bytes);
    EXPECT_FALSE(detected.error) << c.name << ": " << Describe(*detected.error);
    EXPECT_EQ(DocumentFormatName(detected.format), DocumentFormatName(c.expected)) << c.name;
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
            "not a document we know (it is a zip package, but neither a DOCX nor an ODT; Rich Text, DOCX, ODT and the "
            "formats LibreOffice reads are converted)");
}

}  // namespace
}  // namespace maravelundi
