// The command-line contract that other tools drive: options, exit codes,
// standard streams, and output files that are never half-written.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

const std::string kSample = MARAVELUNDI_SOURCE_DIR "/samples/sample-v7.rtf";

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Cli, UsageErrorsExitWithTwo) {
  ScratchFolder scratch;
  for (const std::string& arguments :
       {std::string(""), "--fonts 3 '" + kSample + "'", "--to pdf '" + kSample + "'", "--bogus '" + kSample + "'",
        "'" + kSample + "' '" + kSample + "'", std::string("--fonts")}) {
    const auto result = RunCli(scratch, arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_FALSE(result.err.empty()) << arguments;
    EXPECT_TRUE(result.out.empty()) << arguments;
  }
}

TEST(Cli, HelpAndVersion) {
  ScratchFolder scratch;
  const auto help = RunCli(scratch, "--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* word : {"--fonts", "--to", "-o", "INPUT", "unicode", "ism", "mltt"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  const auto version = RunCli(scratch, "--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_NE(version.out.find(MARAVELUNDI_VERSION), std::string::npos);
}

TEST(Cli, DefaultsToVersion7AndUnicodeOnStandardOutput) {
  ScratchFolder scratch;
  const auto byDefault = RunCli(scratch, "'" + kSample + "'");
  const auto spelledOut = RunCli(scratch, "--fonts 7 --to unicode -o - - <'" + kSample + "'");
  ASSERT_EQ(byDefault.exitCode, 0) << byDefault.err;
  ASSERT_EQ(spelledOut.exitCode, 0) << spelledOut.err;
  EXPECT_EQ(byDefault.out, spelledOut.out);
  EXPECT_TRUE(byDefault.out.starts_with("<html>\r\n"));
  EXPECT_TRUE(byDefault.out.ends_with("</html>\r\n\r\n"));
  EXPECT_NE(byDefault.out.find("&#3374;"), std::string::npos);  // MA of the first word
}

TEST(Cli, RichTextOutputsEndWithTheirLineEnd) {
  ScratchFolder scratch;
  for (const char* to : {"ism", "mltt"}) {
    const auto result = RunCli(scratch, std::string("--to ") + to + " '" + kSample + "'");
    ASSERT_EQ(result.exitCode, 0) << to << ": " << result.err;
    EXPECT_TRUE(result.out.starts_with("{\\rtf1")) << to;
    ASSERT_TRUE(result.out.ends_with("\r\n")) << to;
    EXPECT_EQ(result.out[result.out.find_last_not_of(" \r\n")], '}') << to;
    EXPECT_NE(result.out.find("ML-TTRevathi"), std::string::npos) << to;
  }
}

TEST(Cli, WritesTheOutputFile) {
  ScratchFolder scratch;
  const auto target = scratch / "out.html";
  WriteFile(target, "an earlier result");
  const auto result = RunCli(scratch, "-o '" + target.string() + "' '" + kSample + "'");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.empty());
  EXPECT_TRUE(ReadFile(target).starts_with("<html>"));
  // Nothing but the output is left in the folder.
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
    const auto name = entry.path().filename().string();
    if (name != "stdout" && name != "stderr") ++files;
  }
  EXPECT_EQ(files, 1u);
}

TEST(Cli, BadInputFailsWithOneLineAndLeavesTheOutputAlone) {
  ScratchFolder scratch;
  WriteFile(scratch / "plain.txt", "Just some text, not Rich Text.\n");
  WriteFile(scratch / "cut.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 rc1;}}\\f0 abc");
  WriteFile(scratch / "empty.rtf", "");
  std::filesystem::create_directory(scratch / "folder.rtf");
  const auto target = scratch / "out.html";
  for (const char* input : {"plain.txt", "cut.rtf", "empty.rtf", "missing.rtf", "folder.rtf"}) {
    WriteFile(target, "an earlier result");
    const auto result = RunCli(scratch, "-o '" + target.string() + "' '" + (scratch / input).string() + "'");
    EXPECT_EQ(result.exitCode, 1) << input;
    EXPECT_NE(result.err.find(input), std::string::npos) << input << ": " << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_EQ(ReadFile(target), "an earlier result") << input;
  }
}

TEST(Cli, AFullDiskLeavesTheEarlierOutputAlone) {
  ScratchFolder scratch;
  const auto target = scratch / "out.html";
  WriteFile(target, "an earlier result");
  std::string rtf = "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 ";
  for (int i = 0; i < 2000; ++i) rtf += "adbnjw ";
  WriteFile(scratch / "long.rtf", rtf + "}");
  // A file size limit of 1 KB stands in for a disk that fills up mid-write.
  const auto result = RunCli(scratch, "-o '" + target.string() + "' '" + (scratch / "long.rtf").string() + "'",
                             "ulimit -f 2;");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("out.html: cannot write"), std::string::npos) << result.err;
  EXPECT_EQ(ReadFile(target), "an earlier result");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 4);  // no temporary left
}

TEST(Cli, UnwritableOutputFails) {
  ScratchFolder scratch;
  const auto result = RunCli(scratch, "-o '" + (scratch / "no/such/folder/out.html").string() + "' '" + kSample + "'");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("out.html"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(scratch / "no"));
}

}  // namespace
}  // namespace maravelundi
