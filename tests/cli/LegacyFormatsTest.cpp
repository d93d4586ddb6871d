// The command line with the formats only LibreOffice reads: a Word 97-2003
// document made by LibreOffice from our sample, converted to .doc and to
// .docx, alone and in a batch, and read back by LibreOffice; and, with a
// stand-in for LibreOffice, what happens when it is missing, hangs, is
// interrupted, or meets a document whose name and content disagree.
//
// The real LibreOffice is the independent party. Without it those tests
// skip, except where CI is set: there they fail.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "cli/CliRunner.h"
#include "external/FakeLibreOffice.h"
#include "office/LibreOfficeRun.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;
using test::FakeSoffice;

const fs::path kSamples = fs::path(MARAVELUNDI_SOURCE_DIR) / "samples";
const std::string kCompoundFileMagic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

std::string WithoutByteOrderMark(std::string text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Runs the converter with `arguments` in a scratch folder of its own,
// without waiting; Finish() waits and gives its result.
class CliRun {
 public:
  explicit CliRun(const std::vector<std::string>& arguments) : pid_(testing::SpawnCli(scratch_, arguments)) {}
  testing::CliResult Finish() {
    const int status = testing::WaitForCli(pid_);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(scratch_ / "stdout"), ReadFile(scratch_ / "stderr")};
  }

 private:
  ScratchFolder scratch_;
  pid_t pid_;
};

TEST(LegacyFormats, AWordDocumentMadeByLibreOfficeConvertsToDocAndDocx) {
  const auto program = test::LibreOffice::Find();
  if (!program) {
    if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice (soffice) is not installed";
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
  ScratchFolder scratch;
  const test::LibreOffice office(*program, scratch.Path());
  const fs::path in = scratch / "in";
  ASSERT_TRUE(office.Convert({kSamples / "sample-v7.rtf", kSamples / "sample-mixed.rtf"}, "doc", in))
      << "see soffice.log in " << scratch.Path();
  ASSERT_TRUE(ReadFile(in / "sample-v7.doc").starts_with(kCompoundFileMagic));

  // Three runs at once, each starting LibreOffice once or twice; spelled as
  // typed, as the samples' text is.
  const fs::path single = scratch / "single", batch = scratch / "batch";
  fs::create_directories(single);
  CliRun toDoc({"--spelling", "legacy", "-o", (single / "as-doc.doc").string(), (in / "sample-v7.doc").string()});
  CliRun toDocx({"--spelling", "legacy", "-o", (single / "as-docx.docx").string(), (in / "sample-v7.doc").string()});
  CliRun folder({"--spelling", "legacy", "-j", "2", "-d", batch.string(), in.string()});
  for (CliRun* run : {&toDoc, &toDocx, &folder}) {
    const testing::CliResult result = run->Finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
  }
  EXPECT_TRUE(ReadFile(single / "as-doc.doc").starts_with(kCompoundFileMagic));
  EXPECT_TRUE(ReadFile(batch / "sample-v7.doc").starts_with(kCompoundFileMagic));  // a batch keeps the format
  EXPECT_TRUE(ReadFile(batch / "sample-mixed.doc").starts_with(kCompoundFileMagic));
  const std::string docx = ReadFile(single / "as-docx.docx");
  ASSERT_TRUE(docx.starts_with("PK"));
  test::ParsedPart body;
  test::ParsePart(docx, "word/document.xml", body);
  std::size_t malayalamRuns = 0;
  for (const pugi::xml_node run : test::Descendants(body.Root(), "w:r")) {
    const std::string text = run.child("w:t").child_value();
    if (text.find("\xE0\xB4") == std::string::npos) continue;  // U+0D00..U+0D3F
    ++malayalamRuns;
    EXPECT_STREQ(run.child("w:rPr").child("w:rFonts").attribute("w:cs").value(), "Manjari") << text;
  }
  EXPECT_GT(malayalamRuns, 0u);

  // LibreOffice reads the sample's Unicode text from each of them.
  const fs::path readBack = scratch / "read-back";
  ASSERT_TRUE(office.Convert({single / "as-doc.doc", single / "as-docx.docx", batch / "sample-mixed.doc"},
                             "txt:Text (encoded):UTF8", readBack))
      << "see soffice.log in " << scratch.Path();
  const std::string v7 = ReadFile(kSamples / "sample-v7.txt"), mixed = ReadFile(kSamples / "sample-mixed.txt");
  ASSERT_FALSE(v7.empty());
  EXPECT_EQ(WithoutByteOrderMark(ReadFile(readBack / "as-doc.txt")), v7);
  EXPECT_EQ(WithoutByteOrderMark(ReadFile(readBack / "as-docx.txt")), v7);
  EXPECT_EQ(WithoutByteOrderMark(ReadFile(readBack / "sample-mixed.txt")), mixed);
}

// Any of our formats to any other: the document converts in its own format,
// then LibreOffice writes it in the other, keeping what its filters keep
// (here a header, a note and a table). LibreOffice reads the same text from
// each result as from the document converted in its own format.
TEST(LegacyFormats, EachFormatBecomesAnyOtherThroughLibreOffice) {
  const auto program = test::LibreOffice::Find();
  if (!program) {
    if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice (soffice) is not installed";
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
  ScratchFolder scratch;
  const test::LibreOffice office(*program, scratch.Path());
  const fs::path rich = fs::path(MARAVELUNDI_SOURCE_DIR) / "tests/office/fixtures/rich.rtf";
  const struct {
    fs::path input;
    std::string output;
    std::string options;
  } steps[] = {
      {rich, "in-place.rtf", ""},
      {rich, "as.docx", ""},
      {rich, "as.odt", ""},
      {scratch / "out" / "as.docx", "docx-as.odt", ""},
      {scratch / "out" / "as.odt", "odt-as.docx", ""},
      {scratch / "out" / "as.docx", "docx-as.rtf", "--to rtf "},
  };
  std::vector<fs::path> outputs;
  for (const auto& step : steps) {
    outputs.push_back(scratch / "out" / step.output);
    fs::create_directories(outputs.back().parent_path());
    const auto result = testing::RunCli(scratch, step.options + "-o " + Quoted(outputs.back()) + " " + Quoted(step.input));
    ASSERT_EQ(result.exitCode, 0) << step.output << ": " << result.err;
  }
  // The structure survives every step: header, footer, note, table,
  // picture, list and link, in each format's own terms.
  for (const std::string name : {"as.docx", "odt-as.docx"}) {
    SCOPED_TRACE(name);
    const std::string docx = ReadFile(scratch / "out" / name);
    for (const char* part : {"word/header", "word/footer", "word/footnotes.xml", "word/media/", "word/numbering.xml"}) {
      EXPECT_NE(docx.find(part), std::string::npos) << part;
    }
    const std::string body = test::ReadEntry(docx, "word/document.xml");
    for (const char* markup : {"<w:tbl>", "<w:numPr>", "HYPERLINK"}) {
      const bool found = body.find(markup) != std::string::npos ||
                         (std::string_view(markup) == "HYPERLINK" && body.find("<w:hyperlink") != std::string::npos);
      EXPECT_TRUE(found) << markup;
    }
  }
  for (const std::string name : {"as.odt", "docx-as.odt"}) {
    SCOPED_TRACE(name);
    const std::string odt = ReadFile(scratch / "out" / name);
    EXPECT_NE(odt.find("Pictures/"), std::string::npos);
    const std::string content = test::ReadEntry(odt, "content.xml");
    for (const char* markup : {"<table:table ", "<text:list", "<text:a ", "<text:note "}) {
      EXPECT_NE(content.find(markup), std::string::npos) << markup;
    }
    const std::string styles = test::ReadEntry(odt, "styles.xml");
    EXPECT_NE(styles.find("<style:header"), std::string::npos);
    EXPECT_NE(styles.find("<style:footer"), std::string::npos);
  }
  const std::string rtf = ReadFile(scratch / "out" / "docx-as.rtf");
  for (const char* markup : {"\\trowd", "\\footnote", "\\header", "\\footer", "\\pict", "HYPERLINK", "\\listtext"}) {
    EXPECT_NE(rtf.find(markup), std::string::npos) << markup;
  }

  // The text as LibreOffice reads it: a file each, named by the output's
  // whole name so that none takes another's place.
  std::vector<fs::path> renamed;
  for (const fs::path& output : outputs) {
    renamed.push_back(scratch / "text" / (output.stem().string() + "-" + output.extension().string().substr(1) +
                                          output.extension().string()));
    fs::create_directories(renamed.back().parent_path());
    fs::copy_file(output, renamed.back());
  }
  const fs::path texts = scratch / "texts";
  ASSERT_TRUE(office.Convert(renamed, "txt:Text (encoded):UTF8", texts)) << "see soffice.log in " << scratch.Path();
  const std::string expected = ReadFile(texts / "in-place-rtf.txt");
  ASSERT_NE(expected.find("\xE0\xB4"), std::string::npos) << "the fixture holds Malayalam";
  for (const fs::path& file : renamed) {
    EXPECT_EQ(ReadFile(texts / (file.stem().string() + ".txt")), expected) << file.filename();
  }
}

// Each test with a stand-in for LibreOffice has its own PATH and temporary
// folder, which must be empty again at the end: LibreOffice's private
// folder never stays.
class WithAStandIn : public ::testing::Test {
 protected:
  WithAStandIn() {
    fs::create_directories(Temporary());
    std::ofstream(scratch_ / "letter.doc", std::ios::binary)
        << kCompoundFileMagic << std::string(500, '\0');
  }
  fs::path Temporary() const { return scratch_ / "tmp"; }
  fs::path Input() const { return scratch_ / "letter.doc"; }
  std::string Environment() const {
    return "PATH=" + Quoted(scratch_ / "bin") + ":/usr/bin:/bin TMPDIR=" + Quoted(Temporary()) + " ";
  }
  void StandIn(FakeSoffice what, const fs::path& fifo = {}) {
    test::WriteFakeSoffice(scratch_ / "bin", scratch_ / "arguments", what, fifo);
  }

  ScratchFolder scratch_;
};

TEST_F(WithAStandIn, WithoutLibreOfficeNothingIsWritten) {
  const fs::path out = scratch_ / "out.docx";
  const auto single = RunCli(scratch_, "-o " + Quoted(out) + " " + Quoted(Input()), "PATH=/nonexistent ");
  EXPECT_EQ(single.exitCode, 1);
  EXPECT_EQ(single.err, "maravelundi-cli: " + Input().string() +
                            ": LibreOffice is needed to read Word 97-2003 documents (.doc), and it is not installed "
                            "(no soffice on PATH)\n");
  EXPECT_FALSE(fs::exists(out));
  EXPECT_TRUE(fs::is_empty(Temporary()));
  for (const auto& entry : fs::directory_iterator(scratch_.Path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }

  const auto batch = RunCli(scratch_, "-d " + Quoted(scratch_ / "batch") + " " + Quoted(Input()), "PATH=/nonexistent ");
  EXPECT_EQ(batch.exitCode, 1);
  EXPECT_NE(batch.err.find("0 converted, 1 failed"), std::string::npos) << batch.err;
  EXPECT_NE(batch.err.find("LibreOffice is needed"), std::string::npos) << batch.err;
  EXPECT_TRUE(fs::is_empty(scratch_ / "batch"));
}

TEST_F(WithAStandIn, AHungLibreOfficeIsKilledAtTheTimeLimit) {
  StandIn(FakeSoffice::kSleeps);
  const fs::path out = scratch_ / "out.doc";
  std::ofstream(out) << "an earlier result";
  const auto result =
      RunCli(scratch_, "--office-timeout 1 -o " + Quoted(out) + " " + Quoted(Input()), Environment());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "maravelundi-cli: " + Input().string() +
                            ": LibreOffice was still converting it from Word 97-2003 (.doc) to DOCX after 1 s and was "
                            "stopped\n");
  EXPECT_EQ(ReadFile(out), "an earlier result");
  EXPECT_TRUE(fs::is_empty(Temporary()));
  EXPECT_EQ(RunCli(scratch_, "--office-timeout 0 " + Quoted(Input())).exitCode, 2);
}

TEST_F(WithAStandIn, AnInterruptStopsLibreOfficeAndRemovesItsFolder) {
  const fs::path fifo = scratch_ / "started";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  StandIn(FakeSoffice::kAnnouncesThenSleeps, fifo);
  const fs::path out = scratch_ / "out.docx";
  const pid_t pid = testing::SpawnCli(scratch_, {"-o", out.string(), Input().string()},
                                      {"PATH=" + (scratch_ / "bin").string(), "TMPDIR=" + Temporary().string()});
  ASSERT_GE(pid, 0);
  ASSERT_EQ(testing::ReadFifoFrom(fifo, pid), "started\n") << ReadFile(scratch_ / "stderr");
  EXPECT_FALSE(fs::is_empty(Temporary()));  // its private folder, while it works
  ::kill(pid, SIGTERM);
  const int status = testing::WaitForCli(pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(fs::is_empty(Temporary()));
  EXPECT_FALSE(fs::exists(out));
  for (const auto& entry : fs::directory_iterator(scratch_.Path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

// The stand-in reads its own .doc (a DOCX behind a mark) and writes it, so
// the way through LibreOffice is seen without the real one.
TEST_F(WithAStandIn, FormatsLibreOfficeOnlyReadsGiveDocx) {
  StandIn(FakeSoffice::kConverts);
  const std::string docx = test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>ae</w:t></w:r></w:p>"));
  fs::create_directories(scratch_ / "in");
  std::ofstream(scratch_ / "in" / "works.wps", std::ios::binary) << test::kFakeDocMark << docx;
  std::ofstream(scratch_ / "in" / "word.doc", std::ios::binary) << test::kFakeDocMark << docx;
  const auto batch = RunCli(scratch_, "-d " + Quoted(scratch_ / "out") + " " + Quoted(scratch_ / "in"), Environment());
  EXPECT_EQ(batch.exitCode, 0) << batch.err;
  EXPECT_TRUE(ReadFile(scratch_ / "out" / "works.docx").starts_with("PK"));  // LibreOffice cannot write .wps
  EXPECT_TRUE(ReadFile(scratch_ / "out" / "word.doc").starts_with(test::kFakeDocMark));
  const auto text = RunCli(scratch_, "--to text " + Quoted(scratch_ / "out" / "works.docx"));
  EXPECT_EQ(text.out, "\xE0\xB4\xAE\xE0\xB4\xB5\n");  // മവ
  EXPECT_TRUE(fs::is_empty(Temporary()));

  const auto wps = RunCli(scratch_, "-o " + Quoted(scratch_ / "x.wps") + " " + Quoted(scratch_ / "in" / "word.doc"),
                          Environment());
  EXPECT_EQ(wps.exitCode, 1);
  EXPECT_NE(wps.err.find("LibreOffice reads Works documents (.wps) but cannot write them"), std::string::npos)
      << wps.err;
  EXPECT_FALSE(fs::exists(scratch_ / "x.wps"));
}

// Rich Text goes to LibreOffice only to be written in another format, once
// converted; a batch's Rich Text document named .doc fails before anything
// runs.
TEST_F(WithAStandIn, RichTextIsSentToLibreOfficeOnlyToBeWritten) {
  std::ofstream(scratch_ / "rich.rtf") << "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 ae\\par}";
  const auto toDoc = RunCli(scratch_, "--to doc " + Quoted(scratch_ / "rich.rtf"), "PATH=/nonexistent ");
  EXPECT_EQ(toDoc.exitCode, 1);
  EXPECT_NE(toDoc.err.find("LibreOffice is needed to write Word 97-2003 documents (.doc), and it is not installed"),
            std::string::npos)
      << toDoc.err;

  fs::create_directories(scratch_ / "in");
  fs::copy_file(scratch_ / "rich.rtf", scratch_ / "in" / "named.doc");
  const auto batch =
      RunCli(scratch_, "-d " + Quoted(scratch_ / "out") + " " + Quoted(scratch_ / "in"), "PATH=/nonexistent ");
  EXPECT_EQ(batch.exitCode, 1);
  EXPECT_NE(batch.err.find("its content is Rich Text, not what its name says; its result would be .html, not .doc"),
            std::string::npos)
      << batch.err;
  // Named .doc but Rich Text, alone it converts as Rich Text.
  const auto alone = RunCli(scratch_, "--to text " + Quoted(scratch_ / "in" / "named.doc"), "PATH=/nonexistent ");
  EXPECT_EQ(alone.exitCode, 0) << alone.err;
  EXPECT_EQ(alone.out, "\xE0\xB4\xAE\xE0\xB4\xB5\n");
}

}  // namespace
}  // namespace maravelundi
