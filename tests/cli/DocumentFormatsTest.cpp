// The command line with DOCX documents, output formats chosen by --to or by
// the output's name, the font list and the modern spelling.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/CliRunner.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

const std::string kMava = "\xE0\xB4\xAE\xE0\xB4\xB5";  // മവ

// മവ typed in rc1, in one Word paragraph.
std::string SmallDocx() {
  return test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>ae</w:t></w:r></w:p>"));
}

TEST(DocumentFormats, OutputFollowsToOrTheOutputsName) {
  ScratchFolder scratch;
  std::ofstream(scratch / "in.docx", std::ios::binary) << SmallDocx();
  std::ofstream(scratch / "in.rtf", std::ios::binary) << "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 ae\\par}";
  struct Case {
    std::string options, output, input;
    int exitCode;
    std::string begins;  // the output file's, or standard error's when it fails
  };
  const Case cases[] = {
      {"", "out.docx", "in.docx", 0, "PK"},            // by the name: a DOCX again
      {"--to text", "out.docx", "in.docx", 0, kMava},  // --to wins over the name
      {"", "out.txt", "in.docx", 0, kMava},
      {"", "out.rtf", "in.rtf", 0, "{\\rtf1{\\fonttbl{\\f0 rc1;}{\\f1\\fnil\\fcharset0 Manjari;}}"},
      {"", "out.html", "in.rtf", 0, "<html>"},  // .html keeps the unicode output
      {"", "out.docx", "in.rtf", 1, "maravelundi-cli: " + (scratch / "in.rtf").string() + ": a DOCX output needs"},
      {"--to odt", "out.odt", "in.docx", 1, "maravelundi-cli: " + (scratch / "in.docx").string() + ": an ODT output"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(scratch / c.output);
    const auto result =
        RunCli(scratch, c.options + " -o '" + (scratch / c.output).string() + "' '" + (scratch / c.input).string() + "'");
    EXPECT_EQ(result.exitCode, c.exitCode) << c.options << " -o " << c.output << " " << c.input << ": " << result.err;
    const std::string text = c.exitCode == 0 ? ReadFile(scratch / c.output) : result.err;
    EXPECT_EQ(text.substr(0, c.begins.size()), c.begins) << c.options << " -o " << c.output << " " << c.input;
    if (c.exitCode != 0) {
      EXPECT_FALSE(std::filesystem::exists(scratch / c.output));
    }
  }
  // The DOCX written holds the Unicode text.
  RunCli(scratch, "-o '" + (scratch / "out.docx").string() + "' '" + (scratch / "in.docx").string() + "'");
  const auto text = RunCli(scratch, "--to text '" + (scratch / "out.docx").string() + "'");
  EXPECT_EQ(text.out, kMava + "\n");
}

// A batch keeps each document's format, and takes DOCX files from folders.
TEST(DocumentFormats, ABatchKeepsEachDocumentsFormat) {
  ScratchFolder scratch;
  std::filesystem::create_directory(scratch / "in");
  std::ofstream(scratch / "in" / "a.docx", std::ios::binary) << SmallDocx();
  std::ofstream(scratch / "in" / "b.rtf", std::ios::binary) << "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 ae\\par}";
  const auto result = RunCli(scratch, "-d '" + (scratch / "out").string() + "' '" + (scratch / "in").string() + "'");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(std::filesystem::exists(scratch / "out" / "a.docx"));
  EXPECT_TRUE(std::filesystem::exists(scratch / "out" / "b.html"));
}

TEST(DocumentFormats, ListsTheKnownFontsAndSpellsTheModernWay) {
  ScratchFolder scratch;
  const auto fonts = RunCli(scratch, "--list-fonts");
  EXPECT_EQ(fonts.exitCode, 0);
  for (const char* line : {"\nML-Nandini\tML\n", "\nML-TTKarthika\tML-TT\n", "\nrc1\tRachana 7\n", "\nrkr6\tRachana 2\n"}) {
    EXPECT_NE(("\n" + fonts.out).find(line), std::string::npos) << line;
  }
  // ML-TT: KA, chillu LL; the chillu is atomic in modern spelling.
  std::ofstream(scratch / "in.rtf", std::ios::binary) << "{\\rtf1{\\fonttbl{\\f0 ML-TTKarthika;}}\\f0 I\\'c4}";
  const auto legacy = RunCli(scratch, "--to text '" + (scratch / "in.rtf").string() + "'");
  const auto modern = RunCli(scratch, "--to text --spelling modern '" + (scratch / "in.rtf").string() + "'");
  EXPECT_EQ(legacy.out, "\xE0\xB4\x95\xE0\xB4\xB3\xE0\xB5\x8D\xE2\x80\x8D");
  EXPECT_EQ(modern.out, "\xE0\xB4\x95\xE0\xB5\xBE");
}

}  // namespace
}  // namespace maravelundi
