// The command line with DOCX documents, output formats chosen by --to or by
// the output's name, the font list, and the spelling each output has unless
// one is asked for.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "cli/CliRunner.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
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
  // Another of our formats goes through LibreOffice, which is not there.
  for (const auto& [options, output, input, written] :
       {std::tuple{"", "out.docx", "in.rtf", "DOCX documents (.docx)"}, {"--to odt", "out.odt", "in.docx", "ODT documents (.odt)"}}) {
    std::filesystem::remove(scratch / output);
    const auto result = RunCli(scratch, std::string(options) + " -o '" + (scratch / output).string() + "' '" +
                                            (scratch / input).string() + "'",
                               "PATH=/nonexistent ");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find(std::string("LibreOffice is needed to write ") + written + ", and it is not installed"),
              std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(scratch / output));
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
  for (const char* line : {"\nML-Nandini\tML\t", "\nML-TTKarthika\tML-TT\t", "\nrc1\tRachana 7\t", "\nrkr6\tRachana 2\t"}) {
    EXPECT_NE(("\n" + fonts.out).find(line), std::string::npos) << line;
  }
  // ML-TT: KA, chillu LL; the chillu is atomic in modern spelling.
  std::ofstream(scratch / "in.rtf", std::ios::binary) << "{\\rtf1{\\fonttbl{\\f0 ML-TTKarthika;}}\\f0 I\\'c4}";
  const auto legacy = RunCli(scratch, "--to text --spelling legacy '" + (scratch / "in.rtf").string() + "'");
  const auto modern = RunCli(scratch, "--to text --spelling modern '" + (scratch / "in.rtf").string() + "'");
  EXPECT_EQ(legacy.out, "\xE0\xB4\x95\xE0\xB4\xB3\xE0\xB5\x8D\xE2\x80\x8D");
  EXPECT_EQ(modern.out, "\xE0\xB4\x95\xE0\xB5\xBE");
}

// കേരളത്തിൽ typed in rc1: its last letter is chillu L, which the legacy
// spelling writes as LA, virama, zero width joiner and the modern one as the
// atomic chillu. In each output's own encoding: character references,
// Rich Text's \u words, or UTF-8 (the text, HTML5 and the packages' XML).
// The same keys in a package's XML, where the bytes BF and B2 are the
// characters U+00BF and U+00B2, in UTF-8.
const std::string kKeralam = "uIcj\xC2\xBFo\xC2\xB2";
struct SpellingSigns {
  std::string legacy, modern;
};
SpellingSigns SignsOf(std::string_view output) {
  if (output == "unicode") return {"&#3378;&#3405;&#8205;", "&#3453;"};
  if (output == "rtf") return {"\\u3378\\'3f\\u3405\\'3f\\u8205", "\\u3453"};
  return {"\xE0\xB4\xB2\xE0\xB5\x8D\xE2\x80\x8D", "\xE0\xB5\xBD"};
}

// Which spelling a result shows: "legacy", "modern", or "neither" when it
// shows both or none.
std::string SpellingShown(const std::string& result, std::string_view output) {
  std::string text = result;
  if (output == "docx") text = test::ReadEntry(result, "word/document.xml");
  if (output == "odt") text = test::ReadEntry(result, "content.xml");
  const SpellingSigns signs = SignsOf(output);
  const bool legacy = text.find(signs.legacy) != std::string::npos;
  const bool modern = text.find(signs.modern) != std::string::npos;
  return legacy == modern ? "neither" : legacy ? "legacy" : "modern";
}

// Without --spelling, each output spells as its own: the HTML of character
// references as converted, every other Unicode output as Unicode writes
// Malayalam today, whatever the input, in a batch too; --spelling legacy or
// modern wins for every output.
TEST(DocumentFormats, EachOutputHasItsOwnSpellingUnlessOneIsAsked) {
  ScratchFolder scratch;
  std::ofstream(scratch / "in.rtf", std::ios::binary) << "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 uIcj\\'bfo\\'b2\\par}";
  std::ofstream(scratch / "in.docx", std::ios::binary) << test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>" + kKeralam + "</w:t></w:r></w:p>"));
  std::ofstream(scratch / "in.odt", std::ios::binary) << test::BuildOdt(
      test::OdtParts()
          .AutomaticStyles("<style:style style:name=\"T1\" style:family=\"text\">"
                           "<style:text-properties style:font-name=\"rc1\"/></style:style>")
          .Body("<text:p><text:span text:style-name=\"T1\">" + kKeralam + "</text:span></text:p>"));
  const struct {
    std::string_view to;     // the output; "batch" for -d, where each document keeps its format
    std::string_view input;  // in.rtf, in.docx or in.odt
    std::string_view own;    // its spelling without --spelling
  } kCases[] = {
      {"unicode", "in.rtf", "legacy"}, {"rtf", "in.rtf", "modern"},     {"html5", "in.rtf", "modern"},
      {"text", "in.rtf", "modern"},    {"unicode", "in.docx", "legacy"}, {"rtf", "in.docx", "modern"},
      {"html5", "in.odt", "modern"},   {"text", "in.docx", "modern"},   {"docx", "in.docx", "modern"},
      {"odt", "in.odt", "modern"},     {"batch", "in.rtf", "legacy"},   {"batch", "in.docx", "modern"},
      {"batch", "in.odt", "modern"},
  };
  for (const auto& c : kCases) {
    for (const std::string_view asked : {"", "legacy", "modern"}) {
      SCOPED_TRACE(std::string(c.to) + " of " + std::string(c.input) + " --spelling " + std::string(asked));
      const std::string input = (scratch / std::string(c.input)).string();
      const std::string spelling = asked.empty() ? "" : "--spelling " + std::string(asked) + " ";
      const fs::path folder = scratch / "out";
      fs::remove_all(folder);
      std::string result, output(c.to);
      if (c.to == "batch") {
        const auto run = RunCli(scratch, spelling + "-d '" + folder.string() + "' '" + input + "'");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const fs::path written = fs::directory_iterator(folder)->path();
        result = ReadFile(written);
        output = written.extension() == ".html" ? "unicode" : written.extension().string().substr(1);
      } else {
        const auto run = RunCli(scratch, spelling + "--to " + output + " '" + input + "'");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        result = run.out;
      }
      EXPECT_EQ(SpellingShown(result, output), asked.empty() ? c.own : asked);
    }
  }
}

}  // namespace
}  // namespace maravelundi
