// What a document is taken for: its content first, its name only where the
// content says nothing we know, and Rich Text, DOCX and ODT always our own.

#include <gtest/gtest.h>

#include "package/ForeignFormat.h"
#include "office/OfficeFixtures.h"
#include "package/DocumentFormat.h"

namespace maravelundi {
namespace {

const std::string kCompoundFile = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(500, '\0');

struct KindCase {
  std::string_view what;
  std::string bytes;
  std::string_view name;
  std::string_view format;     // DocumentFormatName of the kind
  std::string_view extension;  // of the foreign format, if any
};

TEST(ForeignFormat, ContentFirstThenTheName) {
  const std::string docx = test::BuildDocx(test::DocxParts().Body("<w:p/>"));
  const std::string ott = test::BuildOdt(test::OdtParts().Mimetype("application/vnd.oasis.opendocument.text-template"));
  const KindCase cases[] = {
      {"a Word 97 document", kCompoundFile, "letter.doc", "foreign", "doc"},
      {"a Word 97 template", kCompoundFile, "form.DOT", "foreign", "dot"},
      {"a Works document is a compound file too", kCompoundFile, "list.wps", "foreign", "wps"},
      {"a compound file named for nothing foreign", kCompoundFile, "letter.rtf", "foreign", "doc"},
      {"a compound file from standard input", kCompoundFile, "standard input", "foreign", "doc"},
      {"WordPerfect by its content", "\xFFWPC" + std::string(20, '\0'), "old", "foreign", "wpd"},
      {"an OpenDocument template", ott, "form.ott", "foreign", "ott"},
      {"an OpenDocument template named otherwise", ott, "form.zip", "foreign", "ott"},
      {"flat OpenDocument, known by its name", "<?xml version=\"1.0\"?><office:document/>", "a.fodt", "foreign",
       "fodt"},
      {"Windows Write, known by its name", "\x31\xBE" + std::string(20, '\0'), "A.WRI", "foreign", "wri"},
      {"Rich Text named .doc stays Rich Text", "{\\rtf1 hello}", "letter.doc", "rtf", ""},
      {"a DOCX named .doc stays a DOCX", docx, "letter.doc", "docx", ""},
      {"an ODT named .ott stays an ODT", test::BuildOdt({}), "letter.ott", "odt", ""},
      {"plain text with no name we know", "hello", "notes.txt", "unknown", ""},
      {"a name with a dot in its folder only", "hello", "/tmp/x.doc/notes", "unknown", ""},
  };
  for (const KindCase& c : cases) {
    const DocumentKind kind = KindOfDocument(DetectDocumentFormat(c.bytes).format, c.bytes, c.name);
    EXPECT_EQ(DocumentFormatName(kind.format), c.format) << c.what;
    EXPECT_EQ(kind.foreign != nullptr ? kind.foreign->extension : "", c.extension) << c.what;
  }
}

TEST(ForeignFormat, ByNameForABatch) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a.rtf", "rtf"},     {"a.DOCX", "docx"},   {"a.odt", "odt"},     {"a.doc", "foreign"},
      {"a.Wpd", "foreign"}, {"a.txt", "unknown"}, {"a", "unknown"},      {"dir.doc/a", "unknown"},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(DocumentFormatName(KindByName(name).format), format) << name;
}

// Each format LibreOffice writes goes through the package of its family,
// and each extension is known once.
TEST(ForeignFormat, TheTableHoldsTogether) {
  std::set<std::string_view> extensions;
  for (const ForeignFormat& format : ForeignFormats()) {
    EXPECT_TRUE(extensions.insert(format.extension).second) << format.extension;
    EXPECT_EQ(ForeignFormatByExtension("." + std::string(format.extension)), &format);
    EXPECT_TRUE(format.via == DocumentFormat::kDocx || format.via == DocumentFormat::kOdt) << format.extension;
    if (format.Writable()) {
      EXPECT_TRUE(format.exportFilter.starts_with(std::string(format.extension) + ":")) << format.exportFilter;
    }
  }
  for (std::string_view known : {"rtf", "docx", "odt", "txt", "html", ""}) {
    EXPECT_EQ(ForeignFormatByExtension(known), nullptr) << known;
  }
  EXPECT_NE(ForeignFormatByExtension("DOC"), nullptr);
  EXPECT_TRUE(ForeignFormatByExtension("doc")->Writable());
  EXPECT_FALSE(ForeignFormatByExtension("wps")->Writable());
}

}  // namespace
}  // namespace maravelundi
