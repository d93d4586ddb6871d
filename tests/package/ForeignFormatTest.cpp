// What a document is taken for: its content first, its name only where the
// content says nothing we know, and Rich Text, DOCX and ODT always our own.

#include <gtest/gtest.h>

#include <optional>
#include <string>

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
      {"a.Wpd", "foreign"}, {"a.txt", "text"},    {"a", "unknown"},      {"dir.doc/a", "unknown"},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(DocumentFormatName(KindByName(name).format), format) << name;
}

// Each format LibreOffice writes goes through a package of ours of its
// kind, and each extension is known once.
TEST(ForeignFormat, TheTableHoldsTogether) {
  std::set<std::string_view> extensions;
  for (const ForeignFormat& format : ForeignFormats()) {
    EXPECT_TRUE(extensions.insert(format.extension).second) << format.extension;
    EXPECT_EQ(ForeignFormatByExtension("." + std::string(format.extension)), &format);
    EXPECT_TRUE(IsOwnPackage(format.via)) << format.extension;
    EXPECT_EQ(ClassOf(OwnFormatWritten(format.via).via), ClassOf(format.via)) << format.extension;
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

// A stream is judged by its first bytes and its name: what may begin one of
// our documents or another engine's, or is named for a format LibreOffice
// reads, is read on; anything else is refused, saying what it begins with.
TEST(ForeignFormat, FirstBytesAndTheNameDecideWhetherToReadOn) {
  const std::string kAccepted = "; Rich Text, DOCX, ODT, XLSX, ODS, PPTX, ODP, PDF and the formats LibreOffice reads are converted, "
                                "and plain text with --from text)";
  const std::string xml = "<?xml version=\"1.0\"?>\n<office:document/>";
  const struct {
    std::string_view what;
    std::string bytes;
    std::string_view name;
    std::string refusal;  // empty: read on
  } cases[] = {
      {"nothing yet", "", "in.txt", ""},
      {"Rich Text", "{\\rtf1\\ansi", "in.txt", ""},
      {"a brace and a line end, \\rtf to come", "{\r\n", "standard input", ""},
      {"the start of \\rtf", "{\\rt", "in", ""},
      {"another keyword after the brace", "{\\rtx1", "in.rtf", "it begins with the text \"{\\rtx1\""},
      {"a brace and text", "{hello}", "in.rtf", "it begins with the text \"{hello}\""},
      {"a zip package", "PK\x03\x04" + std::string(40, '\0'), "in", ""},
      {"an empty zip package", test::LiteralBytes("PK\x05\x06"), "in", ""},
      {"the start of a zip signature", "PK", "in", ""},
      {"a compound file's first bytes", test::LiteralBytes("\xD0\xCF\x11"), "in", ""},
      {"WordPerfect", "\xFFWPC" + std::string(20, '\0'), "in", ""},
      {"zeros", std::string(4096, '\0'), "zero", "it begins with the bytes 00 00 00 00 00 00 00 00"},
      {"a short binary", "\x01\x02", "in.doc.bin", "it begins with the bytes 01 02"},
      {"Malayalam text", "\xE0\xB4\xAE\xE0\xB4\xB2\xE0\xB4\xAF", "in.txt",
       "it begins with the bytes E0 B4 AE E0 B4 B2 E0 B4"},
      {"a letter's first line", "Dear Sir,\r\nThe letter", "letter.txt", "it begins with the text \"Dear Sir,\""},
      {"a long first line", "The quick brown fox jumps over the lazy dog", "in.txt",
       "it begins with the text \"The quick brown fox jump...\""},
      {"flat OpenDocument by its name", xml, "a.fodt", ""},
      {"AbiWord by its name, in capitals", xml, "A.ABW", ""},
      {"Lotus Word Pro by its name", std::string(100, '\x01'), "a.lwp", ""},
      {"the same XML under another name", xml, "a.xml", "it begins with the text \"<?xml version=\"1.0\"?>\""},
      {"a foreign name on the folder only", xml, "/tmp/a.fodt/in", "it begins with the text \"<?xml version=\"1.0\"?>\""},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> refused = NotADocumentWeKnow(c.bytes, c.name);
    if (c.refusal.empty()) {
      EXPECT_FALSE(refused) << c.what << ": " << *refused;
      continue;
    }
    ASSERT_TRUE(refused) << c.what;
    EXPECT_EQ(*refused, "not a document we know (" + c.refusal + kAccepted) << c.what;
  }
}

}  // namespace
}  // namespace maravelundi
