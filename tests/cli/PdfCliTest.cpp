// PDFs through the command line: documents set in stand-ins for legacy
// fonts (a free font under a legacy name, one with a Windows Unicode cmap
// and one with a symbol cmap), exported to PDF by LibreOffice, read back as
// Unicode. The words must be those the same document gives read as a
// document; English stays; a PDF without text is refused, writing nothing.
//
// Without LibreOffice or fontTools these tests skip, except where CI is set:
// there they fail.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/CliRunner.h"
#include "office/LibreOfficeRun.h"
#include "pdf/PdfFixtures.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::ScratchFolder;

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

class PdfCli : public ::testing::Test {
 protected:
  void SetUp() override {
    soffice_ = test::LibreOffice::Find();
    if (soffice_) {
      environment_ = test::PrepareFonts(scratch_.Path(), {{"ML-TTKarthika", false}, {"rl1", true}, {"F1", false}});
    }
    if (!soffice_ || environment_.empty()) {
      if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice or fontTools is missing; see " << scratch_.Path();
      GTEST_SKIP() << "LibreOffice (soffice) or python3-fonttools is not installed";
    }
  }

  fs::path Pdf(const std::vector<test::FontedParagraph>& paragraphs, const std::string& name,
               std::string_view filter = "pdf") {
    const auto pdf =
        test::ExportPdf(*soffice_, scratch_.Path(), test::FlatOdt(paragraphs), name, environment_, filter);
    if (!pdf) ADD_FAILURE() << "LibreOffice made no PDF; see " << scratch_.Path() / "soffice.log";
    return pdf.value_or(fs::path());
  }

  ScratchFolder scratch_;
  std::optional<fs::path> soffice_;
  std::vector<std::string> environment_;
};

TEST_F(PdfCli, TheTextOfLegacyFontsReadsAsTheDocumentDoes) {
  // Words a line may only be wrapped between, at a space.
  const std::string line = "tIcfw aebmfw ImÀjnI hn`yml aeb k¿°m¿ ]cnioe\\w tkh\\w ";
  std::string long_;
  for (int i = 0; i < 6; ++i) long_ += line;
  const std::vector<test::FontedParagraph> paragraphs = {
      {"ML-TTKarthika", long_},
      {"Arial", "English words, kept as they are: 2026."},
      {"rl1", "\xEF\x81\xB4\xEF\x81\x89\xEF\x81\xA3"},  // U+F074 U+F049 U+F063, as a symbol font keeps "tIc"
      {"ML-TTKarthika", "tIcfw", true},
  };
  const fs::path pdf = Pdf(paragraphs, "letter");
  ASSERT_FALSE(pdf.empty());
  // The same document, read as a document (through LibreOffice, as .fodt).
  const auto expected = testing::RunCli(scratch_, "--to text " + Quoted(scratch_.Path() / "letter.fodt"));
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  const auto read = testing::RunCli(scratch_, "--verbose " + Quoted(pdf));
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(Words(read.out), Words(expected.out)) << read.out << "\n---\n" << expected.out;
  EXPECT_NE(read.out.find("English words, kept as they are: 2026."), std::string::npos) << read.out;
  EXPECT_NE(read.err.find("2 pages"), std::string::npos) << read.err;
  // Each paragraph of the PDF is one, the long one joined from its lines.
  EXPECT_EQ(std::count(read.out.begin(), read.out.end(), '\n'), 4) << "[" << read.out << "]";

  // A new document of the same text.
  const fs::path docx = scratch_.Path() / "letter.docx";
  const auto made = testing::RunCli(scratch_, "-o " + Quoted(docx) + " " + Quoted(pdf));
  ASSERT_EQ(made.exitCode, 0) << made.err;
  const auto again = testing::RunCli(scratch_, "--to text " + Quoted(docx));
  EXPECT_EQ(Words(again.out), Words(expected.out));
}

// A font whose name says nothing is read as the font its text reads in,
// found by the detector; --font names one instead.
TEST_F(PdfCli, AFontWhoseNameSaysNothingIsFoundFromItsText) {
  std::string words;
  for (int i = 0; i < 8; ++i) words += "tIcfw aebmfw ImÀjnI hn`yml aeb k¿°m¿ ]cnioe\\w tkh\\w ";
  const fs::path pdf = Pdf({{"F1", words}}, "unnamed");
  ASSERT_FALSE(pdf.empty());
  const fs::path named = scratch_.Path() / "named.fodt";
  {
    std::string fodt = ReadFile(scratch_.Path() / "unnamed.fodt");
    for (std::size_t at = fodt.find("\"F1\""); at != std::string::npos; at = fodt.find("\"F1\"")) {
      fodt.replace(at, 4, "\"ML-TTKarthika\"");
    }
    std::ofstream(named, std::ios::binary) << fodt;
  }
  const auto expected = testing::RunCli(scratch_, "--to text " + Quoted(named));
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  const auto found = testing::RunCli(scratch_, "--verbose " + Quoted(pdf));
  ASSERT_EQ(found.exitCode, 0) << found.err;
  EXPECT_EQ(Words(found.out), Words(expected.out));
  EXPECT_NE(found.err.find("F1 read as"), std::string::npos) << found.err;
  EXPECT_NE(found.err.find("(found from its text)"), std::string::npos) << found.err;
  const auto forced = testing::RunCli(scratch_, "--verbose --font ML-TTKarthika " + Quoted(pdf));
  EXPECT_EQ(Words(forced.out), Words(expected.out));
  EXPECT_NE(forced.err.find("(--font)"), std::string::npos) << forced.err;
}

// A table is read row by row, and a page of two columns column by column,
// as the document itself reads.
TEST_F(PdfCli, TablesAndColumnsReadInTheDocumentsOrder) {
  const std::string cell = "<table:table-cell><text:p text:style-name=\"K\">";
  std::string columns;
  for (int i = 0; i < 40; ++i) columns += "tIcfw aebmfw ImÀjnI hn`yml aeb k¿°m¿ ]cnioe\\w tkh\\w ";
  const std::string fodt =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document "
      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
      "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.3\" "
      "office:mimetype=\"application/vnd.oasis.opendocument.text\"><office:font-face-decls>"
      "<style:font-face style:name=\"ML-TTKarthika\" svg:font-family=\"ML-TTKarthika\"/></office:font-face-decls>"
      "<office:automatic-styles><style:style style:name=\"K\" style:family=\"paragraph\"><style:paragraph-properties "
      "fo:margin-bottom=\"0.25cm\"/><style:text-properties style:font-name=\"ML-TTKarthika\"/></style:style>"
      "<style:style style:name=\"Sect\" style:family=\"section\"><style:section-properties><style:columns "
      "fo:column-count=\"2\" fo:column-gap=\"1cm\"/></style:section-properties></style:style>"
      "</office:automatic-styles><office:body><office:text><table:table table:name=\"T\"><table:table-column "
      "table:number-columns-repeated=\"2\"/><table:table-row>" + cell + "tIcfw</text:p></table:table-cell>" + cell +
      "aebmfw</text:p></table:table-cell></table:table-row><table:table-row>" + cell +
      "ImÀjnI</text:p></table:table-cell>" + cell + "hn`yml</text:p></table:table-cell></table:table-row>"
      "</table:table><text:section text:name=\"S\" text:style-name=\"Sect\"><text:p text:style-name=\"K\">" +
      columns + "</text:p></text:section></office:text></office:body></office:document>";
  const auto pdf = test::ExportPdf(*soffice_, scratch_.Path(), fodt, "layout", environment_);
  ASSERT_TRUE(pdf) << "see " << scratch_.Path() / "soffice.log";
  const auto expected = testing::RunCli(scratch_, "--to text " + Quoted(scratch_.Path() / "layout.fodt"));
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  const auto read = testing::RunCli(scratch_, Quoted(*pdf));
  ASSERT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(Words(read.out), Words(expected.out)) << read.out << "\n---\n" << expected.out;
}

TEST_F(PdfCli, APdfWithoutTextIsRefusedAndNothingWritten) {
  const fs::path pdf = Pdf({{"Arial", ""}}, "scan");
  ASSERT_FALSE(pdf.empty());
  const fs::path out = scratch_.Path() / "scan.txt";
  const auto read = testing::RunCli(scratch_, "-o " + Quoted(out) + " " + Quoted(pdf));
  EXPECT_EQ(read.exitCode, 1);
  EXPECT_NE(read.err.find("no text in this PDF (is it a scan?)"), std::string::npos) << read.err;
  EXPECT_FALSE(fs::exists(out));
}

// Encryption that only restricts what may be done with a PDF opens without
// a password, and is read; a PDF that needs its password to open is refused
// with the reason, writing nothing.
TEST_F(PdfCli, AnEncryptedPdfIsReadUnlessItNeedsAPasswordToOpen) {
  const std::vector<test::FontedParagraph> paragraphs = {{"ML-TTKarthika", "tIcfw aebmfw ImÀjnI"}};
  const fs::path plain = Pdf(paragraphs, "plain");
  const fs::path restricted = Pdf(paragraphs, "restricted",
                                  R"(pdf:writer_pdf_Export:{"RestrictPermissions":{"type":"boolean","value":"true"},)"
                                  R"("PermissionPassword":{"type":"string","value":"owner"}})");
  const fs::path locked = Pdf(paragraphs, "locked",
                              R"(pdf:writer_pdf_Export:{"EncryptFile":{"type":"boolean","value":"true"},)"
                              R"("DocumentOpenPassword":{"type":"string","value":"secret"}})");
  ASSERT_FALSE(plain.empty() || restricted.empty() || locked.empty());
  for (const fs::path& encrypted : {restricted, locked}) {
    EXPECT_NE(ReadFile(encrypted).find("/Encrypt"), std::string::npos) << encrypted << " is not encrypted";
  }

  const auto expected = testing::RunCli(scratch_, "--to text " + Quoted(plain));
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  ASSERT_NE(expected.out.find("കേരളം"), std::string::npos) << expected.out;
  const auto read = testing::RunCli(scratch_, "--to text " + Quoted(restricted));
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, expected.out);

  const fs::path out = scratch_.Path() / "locked.txt";
  const auto refused = testing::RunCli(scratch_, "-o " + Quoted(out) + " " + Quoted(locked));
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("the PDF is encrypted and needs its password"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace maravelundi
