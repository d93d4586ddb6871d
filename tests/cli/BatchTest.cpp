// Converting folders at once: every document lands in the output folder
// exactly as the single-file mode writes it, however many workers share the
// run, and failures are counted, named and never stop the others.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <vector>

#include "cli/BatchConversion.h"
#include "cli/CliRunner.h"

namespace maravelundi {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RunCli;
using testing::ScratchFolder;

const fs::path kSamples = MARAVELUNDI_SOURCE_DIR "/samples";

void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

std::set<std::string> FileNames(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// in/: two good documents (one with its extension in capitals), one that is
// not Rich Text, a text file and a subfolder that are no part of the run.
fs::path MakeInputFolder(const ScratchFolder& scratch) {
  const fs::path in = scratch / "in";
  fs::create_directories(in / "sub");
  fs::copy_file(kSamples / "sample-v7.rtf", in / "seven.rtf");
  fs::copy_file(kSamples / "sample-v2.rtf", in / "TWO.RTF");
  WriteFile(in / "broken.rtf", "Just some text, not Rich Text.\n");
  WriteFile(in / "notes.txt", "{\\rtf1 a text file all the same}");
  fs::copy_file(kSamples / "sample-v7.rtf", in / "sub" / "deeper.rtf");
  return in;
}

TEST(Batch, ConvertsAFolderAsTheSingleFileModeDoes) {
  ScratchFolder scratch;
  const fs::path in = MakeInputFolder(scratch);
  for (const char* to : {"unicode", "html5", "ism"}) {
    for (const char* jobs : {"1", "4"}) {
      const fs::path out = scratch / (std::string("out-") + to + "-" + jobs);
      const std::string options = std::string("--to ") + to + " -j " + jobs;
      const auto run = RunCli(scratch, options + " -d " + Quoted(out) + " " + Quoted(in));
      EXPECT_EQ(run.exitCode, 1) << to << " -j " << jobs;
      EXPECT_TRUE(run.out.empty());
      EXPECT_TRUE(run.err.starts_with("2 converted, 1 failed\n")) << run.err;
      EXPECT_NE(run.err.find((in / "broken.rtf").string() + ": not a document we know ("), std::string::npos) << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
      EXPECT_EQ(run.err.find('\r'), std::string::npos) << "progress shown on a file";

      const std::string extension = std::string(to) == "ism" ? ".rtf" : ".html";
      EXPECT_EQ(FileNames(out), (std::set<std::string>{"seven" + extension, "TWO" + extension}));
      for (const char* name : {"seven.rtf", "TWO.RTF"}) {
        const fs::path single = scratch / "single";
        const auto alone =
            RunCli(scratch, std::string("--to ") + to + " -o " + Quoted(single) + " " + Quoted(in / name));
        ASSERT_EQ(alone.exitCode, 0) << alone.err;
        EXPECT_EQ(ReadFile(out / fs::path(name).replace_extension(extension)), ReadFile(single)) << name << " " << to;
      }
    }
  }
}

TEST(Batch, ManyWorkersGiveWhatOneGives) {
  ScratchFolder scratch;
  const fs::path in = scratch / "in";
  fs::create_directory(in);
  for (int i = 0; i < 24; ++i) {
    const auto source = kSamples / (i % 2 == 0 ? "sample-v2.rtf" : "sample-v7.rtf");
    fs::copy_file(source, in / ("doc" + std::to_string(i) + ".rtf"));
  }
  const auto one = RunCli(scratch, "--to rtf -j 1 -d " + Quoted(scratch / "one") + " " + Quoted(in));
  const auto many = RunCli(scratch, "--to rtf -j 8 -d " + Quoted(scratch / "many") + " " + Quoted(in));
  ASSERT_EQ(one.exitCode, 0) << one.err;
  ASSERT_EQ(many.exitCode, 0) << many.err;
  EXPECT_EQ(many.err, "24 converted, 0 failed\n");
  ASSERT_EQ(FileNames(scratch / "one"), FileNames(scratch / "many"));
  EXPECT_EQ(FileNames(scratch / "many").size(), 24u);
  for (const std::string& name : FileNames(scratch / "one")) {
    EXPECT_EQ(ReadFile(scratch / "one" / name), ReadFile(scratch / "many" / name)) << name;
  }
}

TEST(Batch, AnExistingOutputNeedsForce) {
  ScratchFolder scratch;
  const fs::path out = scratch / "out";
  fs::create_directory(out);
  WriteFile(out / "sample-v7.html", "an earlier result");
  const std::string arguments = "-d " + Quoted(out) + " " + Quoted(kSamples / "sample-v7.rtf") + " " +
                                Quoted(kSamples / "sample-v2.rtf");

  const auto kept = RunCli(scratch, arguments);
  EXPECT_EQ(kept.exitCode, 1);
  EXPECT_EQ(kept.err, "1 converted, 1 failed\n  " + (kSamples / "sample-v7.rtf").string() + ": " +
                          (out / "sample-v7.html").string() + " exists; --force replaces it\n");
  EXPECT_EQ(ReadFile(out / "sample-v7.html"), "an earlier result");

  const auto replaced = RunCli(scratch, "--force " + arguments);
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(replaced.err, "2 converted, 0 failed\n");
  EXPECT_EQ(ReadFile(out / "sample-v7.html"), ReadFile(kSamples / "sample-v7.html"));
  EXPECT_EQ(FileNames(out), (std::set<std::string>{"sample-v7.html", "sample-v2.html"}));
}

TEST(Batch, TheFirstOfTwoDocumentsWithOneNameKeepsIt) {
  ScratchFolder scratch;
  fs::create_directory(scratch / "a");
  fs::copy_file(kSamples / "sample-v2.rtf", scratch / "a" / "same.rtf");
  fs::copy_file(kSamples / "sample-v7.rtf", scratch / "same.RTF");
  const auto run = RunCli(scratch, "--force -d " + Quoted(scratch / "out") + " " + Quoted(scratch / "a") + " " +
                                       Quoted(scratch / "same.RTF"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("1 converted, 1 failed\n  " + (scratch / "same.RTF").string() + ": same name as " +
                         (scratch / "a" / "same.rtf").string()),
            std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile(scratch / "out" / "same.html"), ReadFile(kSamples / "sample-v2.html"));
}

TEST(Batch, MakesTheOutputFolderOrSaysWhyNot) {
  ScratchFolder scratch;
  const std::string sample = " " + Quoted(kSamples / "sample-v7.rtf");
  const auto made = RunCli(scratch, "-d " + Quoted(scratch / "new" / "deeper") + sample);
  EXPECT_EQ(made.exitCode, 0) << made.err;
  EXPECT_TRUE(fs::is_regular_file(scratch / "new" / "deeper" / "sample-v7.html"));

  WriteFile(scratch / "in-the-way", "");
  const auto blocked = RunCli(scratch, "-d " + Quoted(scratch / "in-the-way") + sample);
  EXPECT_EQ(blocked.exitCode, 1);
  EXPECT_TRUE(blocked.err.starts_with("maravelundi-cli: " + (scratch / "in-the-way").string() + ": cannot create"))
      << blocked.err;
  EXPECT_EQ(std::count(blocked.err.begin(), blocked.err.end(), '\n'), 1) << blocked.err;
}

TEST(Batch, UsageErrors) {
  ScratchFolder scratch;
  const std::string sample = Quoted(kSamples / "sample-v7.rtf");
  const std::string folder = Quoted(scratch / "out");
  for (const std::string& arguments :
       {"-d " + folder + " -o " + Quoted(scratch / "x.html") + " " + sample, "-d " + folder + " - " + sample,
        "-d " + folder + " -j 0 " + sample, "-d " + folder, "-j 2 " + sample, "--force " + sample,
        sample + " " + sample, "-d '' " + sample, "-d " + folder + " ''"}) {
    const auto result = RunCli(scratch, arguments + " </dev/null");
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_NE(result.err.find("--help"), std::string::npos) << arguments << ": " << result.err;
    EXPECT_FALSE(fs::exists(scratch / "out")) << arguments;
    EXPECT_FALSE(fs::exists(scratch / "x.html")) << arguments;
  }
}

// Whatever else in a folder is named .rtf is a document that fails with its
// reason: a dangling link, a loop of links, a FIFO (which must not hold the
// run up waiting for a writer), a device. A subfolder so named is still not
// entered.
TEST(Batch, EntriesThatAreNotFilesFailWithTheirReason) {
  ScratchFolder scratch;
  const fs::path in = scratch / "in";
  fs::create_directories(in / "folder.rtf");
  fs::copy_file(kSamples / "sample-v7.rtf", in / "good.rtf");
  fs::create_symlink("missing.rtf", in / "dangling.rtf");
  fs::create_symlink("loop-b.rtf", in / "loop-a.rtf");
  fs::create_symlink("loop-a.rtf", in / "loop-b.rtf");
  ASSERT_EQ(::mkfifo((in / "fifo.rtf").c_str(), 0600), 0);
  const auto run = RunCli(scratch, "-j 2 -d " + Quoted(scratch / "out") + " " + Quoted(in));
  EXPECT_EQ(run.exitCode, 1);
  const std::string loop = "cannot open: Too many levels of symbolic links\n";
  EXPECT_EQ(run.err, "1 converted, 4 failed\n"
                     "  " + (in / "dangling.rtf").string() + ": cannot open: No such file or directory\n"
                     "  " + (in / "fifo.rtf").string() + ": is a FIFO, not a regular file\n"
                     "  " + (in / "loop-a.rtf").string() + ": " + loop +
                     "  " + (in / "loop-b.rtf").string() + ": " + loop);
  EXPECT_EQ(FileNames(scratch / "out"), std::set<std::string>{"good.html"});
}

// A FIFO named on the command line is read as asked (as <(...) gives one).
TEST(Batch, AFifoNamedOnTheCommandLineIsRead) {
  ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch / "piped.rtf").c_str(), 0600), 0);
  const auto run = RunCli(scratch, "-d " + Quoted(scratch / "out") + " " + Quoted(scratch / "piped.rtf"),
                          "cat " + Quoted(kSamples / "sample-v7.rtf") + " >" + Quoted(scratch / "piped.rtf") + " &");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(scratch / "out" / "piped.html"), ReadFile(kSamples / "sample-v7.html"));
}

// A document past the limit fails at the limit; an endless device that
// begins as no document fails at its first bytes, whatever the limit.
TEST(Batch, DocumentsPastTheLimitFail) {
  ScratchFolder scratch;
  const fs::path sample = kSamples / "sample-v7.rtf";
  const std::string limit = std::to_string(fs::file_size(sample));
  WriteFile(scratch / "large.rtf", "{\\rtf1 " + std::string(fs::file_size(sample), ' ') + "}");
  const auto run = RunCli(scratch, "--max-input " + limit + " -d " + Quoted(scratch / "out") + " " + Quoted(sample) +
                                       " " + Quoted(scratch / "large.rtf") + " /dev/zero");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "1 converted, 2 failed\n  " + (scratch / "large.rtf").string() +
                         ": larger than the input limit of " + limit +
                         " bytes\n  /dev/zero: not a document we know (it begins with the bytes 00 00 00 00 00 00 00 "
                         "00; Rich Text, DOCX, ODT, XLSX, ODS, PPTX, ODP, PDF and the formats LibreOffice reads are "
                         "converted, and plain text with --from text)\n");
  EXPECT_EQ(FileNames(scratch / "out"), std::set<std::string>{"sample-v7.html"});
}

TEST(Batch, ProgressOnATerminalOnly) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no `script` to provide a terminal";
  ScratchFolder scratch;
  // `script` gives the converter a terminal and copies what it shows to a file.
  const std::string command = "script -qec \"'" MARAVELUNDI_CLI "' -j 2 -d '" + (scratch / "out").string() + "' '" +
                              kSamples.string() + "'\" /dev/null >'" + (scratch / "shown").string() + "'";
  const int status = std::system(command.c_str());
  const testing::CliResult shown{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(scratch / "shown"), ""};
  EXPECT_EQ(shown.exitCode, 0) << shown.out;
  const std::size_t documents = FileNames(scratch / "out").size();
  ASSERT_GT(documents, 1u);
  const std::string total = " of " + std::to_string(documents);
  for (std::size_t done = 1; done <= documents; ++done) {
    EXPECT_NE(shown.out.find("\rconverted " + std::to_string(done) + total), std::string::npos) << done;
  }
  EXPECT_NE(shown.out.find(std::to_string(documents) + " converted, 0 failed"), std::string::npos) << shown.out;
}

TEST(Batch, ReportsEachDocumentAsItIsDone) {
  ScratchFolder scratch;
  WriteFile(scratch / "bad.rtf", "{\\rtf1 cut short");
  cli::BatchOptions options;
  options.inputs = {kSamples, scratch / "bad.rtf", scratch / "missing.rtf"};
  options.outputFolder = scratch / "out";
  options.jobs = 3;
  std::vector<std::size_t> done, failed;
  std::size_t total = 0;
  options.progress = [&](std::size_t d, std::size_t f, std::size_t t) {
    done.push_back(d), failed.push_back(f), total = t;
  };
  const cli::BatchSummary summary = cli::ConvertBatch(options);

  const std::size_t samples = FileNames(scratch / "out").size();
  EXPECT_EQ(summary.converted, samples);
  ASSERT_EQ(summary.failures.size(), 2u);
  EXPECT_EQ(summary.failures[0].input, scratch / "bad.rtf");
  EXPECT_EQ(summary.failures[0].failure.code, FailureCode::kDamagedDocument);
  EXPECT_TRUE(summary.failures[0].failure.byte.has_value());
  EXPECT_EQ(summary.failures[1].input, scratch / "missing.rtf");
  EXPECT_TRUE(summary.failures[1].Reason().starts_with("cannot open")) << summary.failures[1].Reason();
  EXPECT_EQ(summary.failures[1].failure.code, FailureCode::kUnreadableInput);
  EXPECT_EQ(total, samples + 2);
  ASSERT_EQ(done.size(), total);
  for (std::size_t i = 0; i < done.size(); ++i) EXPECT_EQ(done[i], i + 1);
  EXPECT_TRUE(std::is_sorted(failed.begin(), failed.end()));
  EXPECT_EQ(failed.back(), 2u);
}

}  // namespace
}  // namespace maravelundi
