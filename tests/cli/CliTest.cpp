// The command-line contract that other tools drive: options, exit codes,
// standard streams, and output files that are never half-written.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <regex>
#include <sstream>

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
        "'" + kSample + "' '" + kSample + "'", std::string("--fonts"), "-o '' '" + kSample + "'", std::string("''"),
        "--max-input 0 '" + kSample + "'", "--max-input lots '" + kSample + "'"}) {
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

// Rich Text in place converts the header and the footnote as well as the
// body: none of the three keeps its legacy letter KA ("I" in rc1).
TEST(Cli, TheRichTextOutputConvertsHeadersAndNotes) {
  ScratchFolder scratch;
  const auto input = scratch / "in.rtf";
  WriteFile(input, "{\\rtf1{\\fonttbl{\\f0 rc1;}}{\\header\\f0 I\\par}\\f0 I{\\footnote\\f0 I}\\par}");
  const auto result = RunCli(scratch, "--to rtf '" + input.string() + "'");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out.find("\\f0 I"), std::string::npos) << result.out;
  std::size_t ka = 0;
  for (std::size_t at = result.out.find("\\u3349"); at != std::string::npos; at = result.out.find("\\u3349", at + 1)) ++ka;
  EXPECT_EQ(ka, 3u) << result.out;
}

TEST(Cli, BadInputFailsWithOneLineAndLeavesTheOutputAlone) {
  ScratchFolder scratch;
  WriteFile(scratch / "plain.rtf", "Just some text, not Rich Text.\n");
  WriteFile(scratch / "cut.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 rc1;}}\\f0 abc");
  WriteFile(scratch / "empty.rtf", "");
  std::filesystem::create_directory(scratch / "folder.rtf");
  const auto target = scratch / "out.html";
  for (const char* input : {"plain.rtf", "cut.rtf", "empty.rtf", "missing.rtf", "folder.rtf"}) {
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

// Standard input that is closed or a folder is named for what it is, not
// taken for an empty document.
TEST(Cli, StandardInputFailuresNameTheirCause) {
  ScratchFolder scratch;
  const struct {
    std::string redirection;
    std::string message;
  } kCases[] = {
      {"<&-", "maravelundi-cli: standard input: cannot read: Bad file descriptor\n"},
      {"<'" + scratch.Path().string() + "'", "maravelundi-cli: standard input: is a folder, not a file\n"},
  };
  for (const auto& c : kCases) {
    const auto result = RunCli(scratch, "- " + c.redirection);
    EXPECT_EQ(result.exitCode, 1) << c.redirection;
    EXPECT_EQ(result.err, c.message);
  }
}

// `writer` writing into the FIFO in the background, for the converter to
// read. Should the converter never open the FIFO, the writer gives up after a
// minute rather than wait for a reader for ever, and it holds none of the
// test's own output, so the test ends whatever happens.
std::string WriterThatGivesUp(const std::string& writer, const std::filesystem::path& fifo) {
  return "timeout 60 sh -c \"exec " + writer + " >'" + fifo.string() + "'\" </dev/null >/dev/null 2>&1 & ";
}

// An endless input that begins as a document is refused at the limit, with
// the input's name and the limit in the message, wherever it comes from.
TEST(Cli, InputsPastTheLimitAreRefused) {
  ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch / "fifo.rtf").c_str(), 0600), 0);
  const std::string sampleSize = std::to_string(std::filesystem::file_size(kSample));
  const struct {
    std::string arguments;
    std::string prefix;
    std::string message;
  } kCases[] = {
      {"--max-input 64K -", "yes '{\\rtf1' |", "standard input: larger than the input limit of 64 KiB"},
      {"--max-input 1M '" + (scratch / "fifo.rtf").string() + "'",
       WriterThatGivesUp("yes '{\\rtf1'", scratch / "fifo.rtf"),
       (scratch / "fifo.rtf").string() + ": larger than the input limit of 1 MiB"},
      {"--max-input 100 '" + kSample + "'", "", kSample + ": larger than the input limit of 100 bytes"},
  };
  for (const auto& c : kCases) {
    const auto result = RunCli(scratch, c.arguments, c.prefix);
    EXPECT_EQ(result.exitCode, 1) << c.arguments;
    EXPECT_EQ(result.err, "maravelundi-cli: " + c.message + "\n") << c.arguments;
    EXPECT_TRUE(result.out.empty());
  }
  const auto exactly = RunCli(scratch, "--max-input " + sampleSize + " '" + kSample + "'");
  EXPECT_EQ(exactly.exitCode, 0) << exactly.err;
}

// The address sanitizer reserves terabytes of address space up front: under
// it, no limit of the address space can be set.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

const std::string kNotADocument = ": not a document we know (it begins with ";

// An input that begins as no document we know is refused from its first
// bytes: an endless one (a device, a pipe that a writer keeps filling, a
// FIFO) costs neither the time nor the memory of reading it to the limit,
// nothing is written and an earlier output stays. The address space limit
// is far below what reading to the limit would take.
TEST(Cli, WhatBeginsAsNoDocumentIsRefusedFromItsFirstBytes) {
  ScratchFolder scratch;
  std::string binary(3000, '\0');
  std::uint32_t state = 12345;  // a fixed seed: the same bytes every run
  for (char& c : binary) c = static_cast<char>((state = state * 1103515245 + 12345) >> 24);
  binary[0] = '\x9C';  // so that it begins as no signature does
  WriteFile(scratch / "random.rtf", binary);
  ASSERT_EQ(::mkfifo((scratch / "endless.doc.bin").c_str(), 0600), 0);
  const std::string fifo = (scratch / "endless.doc.bin").string();
  const std::string random = (scratch / "random.rtf").string();
  const struct {
    std::string input;
    std::string prefix;
    std::string message;  // after "maravelundi-cli: "
  } kCases[] = {
      {"/dev/zero", "", "/dev/zero" + kNotADocument + "the bytes 00 00 00 00 00 00 00 00;"},
      {"-", "yes 'Dear Sir,' |", "standard input" + kNotADocument + "the text \"Dear Sir,\";"},
      {"'" + fifo + "'", WriterThatGivesUp("yes ABCD", fifo), fifo + kNotADocument + "the text \"ABCD\";"},
      {"'" + random + "'", "", random + kNotADocument + "the bytes 9C "},
      {"- <'" + random + "'", "", "standard input" + kNotADocument + "the bytes 9C "},
  };
  const auto target = scratch / "out.html";
  for (const auto& c : kCases) {
    WriteFile(target, "an earlier result");
    const std::string limit = kAddressSanitizer ? "" : "ulimit -v 65536; ";
    const auto result = RunCli(scratch, "-o '" + target.string() + "' " + c.input, limit + c.prefix);
    EXPECT_EQ(result.exitCode, 1) << c.input;
    EXPECT_TRUE(result.err.starts_with("maravelundi-cli: " + c.message)) << result.err;
    EXPECT_TRUE(result.err.ends_with("; Rich Text, DOCX, ODT, XLSX, ODS, PPTX, ODP, PDF and the formats LibreOffice reads are "
                                     "converted, and plain text with --from text)\n"))
        << result.err;
    EXPECT_EQ(ReadFile(target), "an earlier result") << c.input;
  }
}

// Standard input redirected from a long file that begins as no document is
// left where the judge stopped reading: a few KiB in, not at its end.
TEST(Cli, ANonDocumentIsReadNoFurtherThanItsFirstBytes) {
  ScratchFolder scratch;
  WriteFile(scratch / "long.txt", std::string(1 << 20, 'x'));
  const auto result = RunCli(scratch, "- ; grep '^pos:' /proc/self/fdinfo/0; } <'" + (scratch / "long.txt").string() + "'",
                             "{ ");
  EXPECT_TRUE(result.err.starts_with("maravelundi-cli: standard input" + kNotADocument)) << result.err;
  ASSERT_TRUE(result.out.starts_with("pos:")) << result.out;
  const unsigned long position = std::stoul(result.out.substr(4));
  EXPECT_GT(position, 0u);
  EXPECT_LE(position, 4096u);
}

// What begins as a document is read on as before: Rich Text converts, and
// a file named for a format LibreOffice reads (whose XML or binary says
// nothing at its start) is read whole, up to the limit, rather than refused;
// the same bytes under another name are refused.
TEST(Cli, DocumentsAndForeignNamesAreReadOn) {
  ScratchFolder scratch;
  const std::string xml = "<?xml version=\"1.0\"?>\n<office:document>" + std::string(8000, ' ') + "</office:document>";
  const struct {
    std::string name;
    std::string bytes;
    std::string message;  // after the input's name
  } kCases[] = {
      {"a.fodt", xml, ": larger than the input limit of 1 KiB\n"},
      {"a.abw", xml, ": larger than the input limit of 1 KiB\n"},
      {"A.LWP", std::string(8000, '\x01'), ": larger than the input limit of 1 KiB\n"},
      {"a.xml", xml, kNotADocument + "the text \"<?xml version=\"1.0\"?>\";"},
      {"a.rtf", "{\r\n\\rtf1" + std::string(8000, ' ') + "}", ": larger than the input limit of 1 KiB\n"},
  };
  for (const auto& c : kCases) {
    WriteFile(scratch / c.name, c.bytes);
    const std::string input = (scratch / c.name).string();
    const auto result = RunCli(scratch, "--max-input 1K '" + input + "'");
    EXPECT_EQ(result.exitCode, 1) << c.name;
    EXPECT_TRUE(result.err.starts_with("maravelundi-cli: " + input + c.message)) << result.err;
  }
  const auto rtf = RunCli(scratch, "--to text '" + kSample + "'");
  EXPECT_EQ(rtf.exitCode, 0) << rtf.err;
  EXPECT_TRUE(rtf.out.starts_with("\xE0\xB4")) << rtf.out.substr(0, 20);  // Malayalam
}

// What the reader could not honour, a line each with the document and the
// byte, and only when asked; the conversion is the same either way. A batch
// gives the same lines before its summary.
TEST(Cli, VerboseReportsTheReadersWarnings) {
  ScratchFolder scratch;
  const auto input = scratch / "odd.rtf";
  WriteFile(input, "{\\rtf1\\ansi\\ansicpg4242{\\fonttbl{\\f0\\fcharset250 rc1;}}\\f0 adbnjw "
                   "{\\f7 unlisted font}\\bin3 abc adbnjw}");
  const std::string arguments = "'" + input.string() + "'";
  const auto quiet = RunCli(scratch, arguments);
  const auto verbose = RunCli(scratch, "--verbose " + arguments);
  ASSERT_EQ(quiet.exitCode, 0) << quiet.err;
  ASSERT_EQ(verbose.exitCode, 0) << verbose.err;
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(verbose.out, quiet.out);

  const std::regex line("maravelundi-cli: " + input.string() + ": warning: [^\\n]+ \\(at byte [0-9]+\\)");
  std::istringstream lines(verbose.err);
  std::size_t count = 0;
  for (std::string warning; std::getline(lines, warning); ++count) {
    EXPECT_TRUE(std::regex_match(warning, line)) << warning;
  }
  EXPECT_EQ(count, 4u) << verbose.err;  // the code page, the character set, the font, the binary data

  const auto batch = RunCli(scratch, "--verbose -d '" + (scratch / "out").string() + "' " + arguments);
  EXPECT_EQ(batch.exitCode, 0) << batch.err;
  EXPECT_EQ(batch.err, verbose.err + "1 converted, 0 failed\n");
}

TEST(Cli, RunningOutOfMemoryNamesTheDocument) {
  if (kAddressSanitizer) GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
  ScratchFolder scratch;
  const auto input = scratch / "large.rtf";
  {
    std::ofstream out(input, std::ios::binary);
    out << "{\\rtf1{\\fonttbl{\\f0 rc1;}}\\f0 ";
    for (int i = 0; i < 1'500'000; ++i) out << "adbnjw ";
    out << "}";
  }
  // Some 30 MB of address space: the program and the 10 MB document's
  // bytes fit, its conversion does not.
  const auto result = RunCli(scratch, "-o '" + (scratch / "out.html").string() + "' '" + input.string() + "'",
                             "ulimit -v 32000;");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "maravelundi-cli: " + input.string() + ": not enough memory to convert it\n");
  EXPECT_FALSE(std::filesystem::exists(scratch / "out.html"));
}

}  // namespace
}  // namespace maravelundi
