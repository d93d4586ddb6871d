// A document's format comes from its bytes, never its name.

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace maravelundi
