// What other programs make of the Unicode outputs: LibreOffice reads the same
// text from the Rich Text output, and an HTML checker finds nothing wrong in
// the HTML5 output. Each test is skipped, saying so, when its program is not
// installed, except in CI, which installs both.

#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

bool Installed(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

const char* kSamples[] = {"sample-v7", "sample-v2", "sample-mltt", "sample-mixed"};

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);  // a byte order mark
  return text;
}

TEST(OtherReaders, LibreOfficeReadsTheRichTextOutputsText) {
  if (!Installed("soffice")) {
    if (std::getenv("CI") != nullptr) FAIL() << "LibreOffice (soffice) is not installed, and CI needs it";
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
  ScratchFolder scratch;
  for (const char* name : kSamples) {
    const std::string input = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + name + ".rtf";
    const auto rtf = scratch / (std::string(name) + ".rtf");
    ASSERT_EQ(RunCli(scratch, "--fonts auto --to rtf -o '" + rtf.string() + "' '" + input + "'").exitCode, 0);
    const std::string text = RunCli(scratch, "--fonts auto --to text '" + input + "'").out;
    const std::string command = "cd '" + scratch.Path().string() + "' && HOME='" + scratch.Path().string() +
                                "' soffice --headless --convert-to 'txt:Text (encoded):UTF8' '" + rtf.string() +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << name;
    EXPECT_EQ(WithoutCarriageReturns(ReadFile(scratch / (std::string(name) + ".txt"))), text) << name;
  }
}

TEST(OtherReaders, TidyFindsNothingWrongInTheHtml5Output) {
  if (!Installed("tidy")) {
    if (std::getenv("CI") != nullptr) FAIL() << "HTML Tidy (tidy) is not installed, and CI needs it";
    GTEST_SKIP() << "HTML Tidy (tidy) is not installed";
  }
  ScratchFolder scratch;
  for (const char* name : kSamples) {
    const std::string input = std::string(MARAVELUNDI_SOURCE_DIR "/samples/") + name + ".rtf";
    const auto html = scratch / (std::string(name) + ".html");
    ASSERT_EQ(RunCli(scratch, "--fonts auto --to html5 -o '" + html.string() + "' '" + input + "'").exitCode, 0);
    // tidy exits 0 when it has neither errors nor warnings to report.
    const std::string command = "tidy -q -e '" + html.string() + "' 2>'" + (scratch / "tidy.log").string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << name << ": " << ReadFile(scratch / "tidy.log");
  }
}

}  // namespace
}  // namespace maravelundi
