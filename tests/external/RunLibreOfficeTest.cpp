// LibreOffice as the converter runs it, with a stand-in soffice on PATH:
// the arguments it gets, its private folder (there while it works, gone
// after, however it ended), the messages of each way it can fail, and a
// foreign document's whole way through reading, conversion and writing.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "cli/CliRunner.h"
#include "external/FakeLibreOffice.h"
#include "external/LibreOffice.h"
#include "external/ThroughLibreOffice.h"
#include "office/OfficeFixtures.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::FakeSoffice;
using testing::ScratchFolder;

class RunLibreOfficeTest : public ::testing::Test {
 protected:
  RunLibreOfficeTest() { fs::create_directories(Temporary()); }

  fs::path Temporary() const { return scratch_ / "temporary folder"; }
  fs::path Log() const { return scratch_ / "arguments"; }

  LibreOfficeSettings Settings(FakeSoffice what) const {
    test::WriteFakeSoffice(scratch_ / "bin", Log(), what);
    LibreOfficeSettings settings;
    settings.environment = {"PATH=/nonexistent:" + (scratch_ / "bin").string(), "TMPDIR=" + Temporary().string()};
    return settings;
  }

  bool NothingLeftInTheTemporaryFolder() const { return fs::is_empty(Temporary()); }

  ScratchFolder scratch_;
};

TEST_F(RunLibreOfficeTest, RunsHeadlessWithAProfileOfItsOwnAndCleansUp) {
  const LibreOfficeRun run = RunLibreOffice("FAKEDOC!the package", "doc", "docx", "docx", Settings(FakeSoffice::kConverts));
  ASSERT_TRUE(run.Ok()) << run.detail;
  EXPECT_EQ(run.bytes, "the package");
  const std::vector<std::string> arguments = test::FakeSofficeArguments(Log());
  ASSERT_EQ(arguments.size(), 9u);
  // The profile, the document and the result all in one private folder of
  // the temporary folder, whose name with its space is escaped in the URL.
  const std::string privateFolder = fs::path(arguments[8]).parent_path().string();
  EXPECT_EQ(fs::path(privateFolder).parent_path(), Temporary());
  EXPECT_TRUE(fs::path(privateFolder).filename().string().starts_with("maravelundi-libreoffice-")) << privateFolder;
  std::string url = "file://" + privateFolder + "/profile";
  url.replace(url.find("temporary folder"), 16, "temporary%20folder");
  EXPECT_EQ(arguments[0], "-env:UserInstallation=" + url);
  EXPECT_EQ(std::vector<std::string>(arguments.begin() + 1, arguments.begin() + 8),
            (std::vector<std::string>{"--headless", "--norestore", "--nolockcheck", "--convert-to", "docx", "--outdir",
                                      privateFolder + "/out"}));
  EXPECT_EQ(fs::path(arguments[8]).filename(), "document.doc");
  EXPECT_TRUE(NothingLeftInTheTemporaryFolder());
}

TEST_F(RunLibreOfficeTest, EachFailureSaysWhatHappenedAndLeavesNothing) {
  struct Case {
    FakeSoffice what;
    LibreOfficeFailure failure;
    std::string detail;  // the javaldx warning never among it
  };
  const Case cases[] = {
      {FakeSoffice::kSaysErrorWritesNothing, LibreOfficeFailure::kNoResult, "Error: source file could not be loaded"},
      {FakeSoffice::kFails, LibreOfficeFailure::kFailed, "soffice ended with status 81: soffice.bin: cannot open display"},
      {FakeSoffice::kSleeps, LibreOfficeFailure::kTimedOut, ""},
  };
  for (const Case& c : cases) {
    LibreOfficeSettings settings = Settings(c.what);
    settings.timeLimit = 300ms;
    const LibreOfficeRun run = RunLibreOffice("FAKEDOC!", "doc", "docx", "docx", settings);
    EXPECT_EQ(run.failure, c.failure) << c.detail;
    EXPECT_EQ(run.detail, c.detail);
    EXPECT_TRUE(NothingLeftInTheTemporaryFolder()) << c.detail;
  }
  LibreOfficeSettings missing = Settings(FakeSoffice::kConverts);
  missing.environment = {"PATH=/nonexistent:" + Temporary().string(), "TMPDIR=" + Temporary().string()};
  EXPECT_EQ(RunLibreOffice("x", "doc", "docx", "docx", missing).failure, LibreOfficeFailure::kNotInstalled);
  EXPECT_TRUE(NothingLeftInTheTemporaryFolder());
}

// Each stand-in is written just before its run, over the one before.
TEST_F(RunLibreOfficeTest, TheMessagesNameLibreOfficeTheFormatAndTheLimit) {
  const ForeignFormat& doc = *ForeignFormatByExtension("doc");
  const ForeignFormat& wps = *ForeignFormatByExtension("wps");
  const auto slow = [&] {
    LibreOfficeSettings settings = Settings(FakeSoffice::kSleeps);
    settings.timeLimit = 300ms;
    return ReadThroughLibreOffice("FAKEDOC!", doc, DocumentFormat::kDocx, settings);
  };
  const auto failing = [&] {
    return WriteThroughLibreOffice("PK", DocumentFormat::kDocx, doc, Settings(FakeSoffice::kSaysErrorWritesNothing));
  };
  const auto missing = [&](bool write) {
    LibreOfficeSettings settings = Settings(FakeSoffice::kConverts);
    settings.environment = {"PATH=/nonexistent"};
    return write ? WriteThroughLibreOffice("PK", DocumentFormat::kDocx, wps, settings)
                 : ReadThroughLibreOffice("FAKEDOC!", doc, DocumentFormat::kDocx, settings);
  };
  const struct {
    std::function<WholeResult()> run;
    FailureCode code;
    const char* message;
  } cases[] = {
      {slow, FailureCode::kLibreOfficeTooSlow,
       "LibreOffice was still converting it from Word 97-2003 (.doc) to DOCX after 300 ms and was stopped"},
      {failing, FailureCode::kLibreOfficeFailed,
       "LibreOffice failed converting the result from DOCX to Word 97-2003 (.doc): Error: source file could not "
       "be loaded"},
      {[&] { return missing(false); }, FailureCode::kNeedsLibreOffice,
       "LibreOffice is needed to read Word 97-2003 documents (.doc), and it is not installed (no soffice on PATH)"},
      {[&] { return missing(true); }, FailureCode::kNoSuchConversion,
       "LibreOffice reads Works (.wps) but cannot write it"},
  };
  for (const auto& c : cases) {
    const WholeResult result = c.run();
    ASSERT_FALSE(result.Ok()) << c.message;
    EXPECT_EQ(Describe(result.Error()), c.message);
    EXPECT_EQ(FailureCodeName(result.Error().code), FailureCodeName(c.code)) << c.message;
    EXPECT_TRUE(NothingLeftInTheTemporaryFolder()) << c.message;
  }
}

// മവ typed in rc1: the stand-in's .doc holds the DOCX, and the result is its
// .doc of the converted DOCX.
TEST_F(RunLibreOfficeTest, AForeignDocumentGoesThereAndBackAgain) {
  const std::string docx = test::BuildDocx(test::DocxParts().Body(
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"rc1\" w:hAnsi=\"rc1\"/></w:rPr><w:t>ae</w:t></w:r></w:p>"));
  const OfficeRoute route{DocumentFormat::kDocx, ForeignFormatByExtension("doc"), ForeignFormatByExtension("doc")};
  const LibreOfficeEngine engine(Settings(FakeSoffice::kConverts));
  const WholeResult result =
      ConvertAlongRoute(std::string(test::kFakeDocMark) + docx, route, OutputKind::kInPlace, ConversionProfile{},
                        OfficeOptions{}, &engine);
  ASSERT_TRUE(result.Ok()) << Describe(result.Error());
  ASSERT_TRUE(result.Value().starts_with(test::kFakeDocMark));
  test::ParsedPart body;
  test::ParsePart(result.Value().substr(test::kFakeDocMark.size()), "word/document.xml", body);
  EXPECT_STREQ(body.Root().select_node("//w:t").node().child_value(), "\xE0\xB4\xAE\xE0\xB4\xB5");  // മവ
  EXPECT_EQ(test::FakeSofficeArguments(Log())[5], "doc:MS Word 97");  // the last run wrote Word 97
  EXPECT_TRUE(NothingLeftInTheTemporaryFolder());

  // What LibreOffice made of the input is named when it is no package; its
  // parts are no place in the user's document.
  const WholeResult broken = ConvertAlongRoute(std::string(test::kFakeDocMark) + "not a zip", route,
                                               OutputKind::kInPlace, ConversionProfile{}, OfficeOptions{}, &engine);
  ASSERT_FALSE(broken.Ok());
  EXPECT_TRUE(broken.Error().message.starts_with("the DOCX LibreOffice made of it: ")) << Describe(broken.Error());
  EXPECT_EQ(broken.Error().part, "");

  // Where there is no engine (the page in the browser), the route says what it needs.
  const WholeResult noEngine =
      ConvertAlongRoute(docx, route, OutputKind::kInPlace, ConversionProfile{}, OfficeOptions{}, nullptr);
  ASSERT_FALSE(noEngine.Ok());
  EXPECT_EQ(Describe(noEngine.Error()), "Word 97-2003 documents (.doc) need LibreOffice, which is not available here");
  EXPECT_EQ(noEngine.Error().code, FailureCode::kNeedsLibreOffice);
  const OfficeRoute toDoc{DocumentFormat::kDocx, nullptr, ForeignFormatByExtension("doc")};
  EXPECT_TRUE(ConvertAlongRoute(docx, toDoc, OutputKind::kText, ConversionProfile{}, OfficeOptions{}, nullptr).Ok());  // writes nothing
  EXPECT_FALSE(ConvertAlongRoute(docx, toDoc, OutputKind::kInPlace, ConversionProfile{}, OfficeOptions{}, nullptr).Ok());
}

}  // namespace
}  // namespace maravelundi
