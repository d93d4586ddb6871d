// maravelundi-cli: converts a Rich Text document typed in Rachana fonts to
// Unicode (HTML with character references, Rich Text, HTML5, plain text), to
// ISM Rich Text or to plain ML-TT Rich Text.
//
//   maravelundi-cli [--fonts 2|7|auto] [--to unicode|ism|mltt|rtf|html5|text]
//                   [--unicode-font NAME] [-o OUTPUT] INPUT
//   maravelundi-cli [options] [-j N] [--force] -d OUTDIR INPUT...
//
// Exit status: 0 done; 1 the input could not be read or is not RTF, or the
// output could not be written (an existing output file is then left as it
// was), or in a batch any document failed; 2 a usage error.

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/BatchConversion.h"
#include "convert/Conversion.h"
#include "fileio/FileIo.h"

namespace mv = maravelundi;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kProgram = "maravelundi-cli";

struct Options {
  std::string fonts = "auto";
  std::string to = "unicode";
  std::string unicodeFont = std::string(mv::kDefaultUnicodeFont);
  std::string output = "-";
  std::vector<std::string> inputs;
  std::string outputFolder;  // set for a batch
  unsigned jobs = 0;
  bool force = false;
};

const std::map<std::string, mv::Generation> kGenerations = {
    {"2", mv::Generation::kVersion2}, {"7", mv::Generation::kVersion7}, {"auto", mv::Generation::kAuto}};
const std::map<std::string, mv::OutputKind> kOutputs = {
    {"unicode", mv::OutputKind::kUnicode}, {"ism", mv::OutputKind::kIsm},     {"mltt", mv::OutputKind::kMltt},
    {"rtf", mv::OutputKind::kRtf},         {"html5", mv::OutputKind::kHtml5}, {"text", mv::OutputKind::kText}};

int Fail(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n';
  return kExitFailure;
}

int UsageError(const std::string& message) {
  std::cerr << kProgram << ": " << message << "\nRun with --help for more information.\n";
  return kExitUsage;
}

bool ReadInput(const std::string& input, std::string& bytes, std::string& error) {
  if (input == "-") {
    bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) error = "standard input: cannot read";
    return !std::cin.bad();
  }
  const mv::IoResult read = mv::ReadWholeFile(input, bytes);
  if (!read.Ok()) error = *read.error;
  return read.Ok();
}

class StandardOutput : public mv::ByteSink {
 public:
  void Write(std::string_view bytes) override {
    ok_ = ok_ && std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
  }
  bool Finish() { return std::fflush(stdout) == 0 && ok_; }

 private:
  bool ok_ = true;
};

// Converts into the output; a file output is written under a temporary name
// and only replaces an existing file once it is complete.
bool ConvertInto(const std::string& output, mv::Document&& document, const mv::cli::ConversionSettings& settings,
                 const std::string& title, std::string& error) {
  if (output == "-") {
    mv::ConversionOptions conversion;
    conversion.unicodeFont = settings.unicodeFont;
    conversion.title = title;
    StandardOutput out;
    mv::ConvertDocument(std::move(document), settings.generation, settings.output, out, nullptr, conversion);
    if (!out.Finish()) error = "standard output: cannot write";
    return error.empty();
  }
  mv::AtomicFile file(output);
  return mv::cli::WriteConversion(std::move(document), settings, title, file, error);
}

mv::cli::ConversionSettings SettingsOf(const Options& options) {
  return {kGenerations.at(options.fonts), kOutputs.at(options.to), options.unicodeFont};
}

int RunOne(const Options& options) {
  const std::string& input = options.inputs.front();
  const std::string title = input == "-" ? mv::ConversionOptions{}.title : std::filesystem::path(input).stem().string();
  std::string bytes, error;
  if (!ReadInput(input, bytes, error)) return Fail(error);
  auto document = mv::cli::ParseDocument(bytes, input == "-" ? "standard input" : input, error);
  if (!document) return Fail(error);
  std::string().swap(bytes);  // the text is in the document now; give the memory back
  if (!ConvertInto(options.output, std::move(*document), SettingsOf(options), title, error)) return Fail(error);
  return 0;
}

// "converted 3 of 10" on one line that each document rewrites.
void ShowProgress(std::size_t done, std::size_t failed, std::size_t total) {
  std::cerr << "\rconverted " << done << " of " << total;
  if (failed > 0) std::cerr << ", " << failed << " failed";
  std::cerr << std::flush;
}

int RunBatch(const Options& options) {
  mv::cli::BatchOptions batch;
  batch.settings = SettingsOf(options);
  batch.inputs.assign(options.inputs.begin(), options.inputs.end());
  batch.outputFolder = options.outputFolder;
  batch.jobs = options.jobs;
  batch.force = options.force;
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  if (terminal) batch.progress = ShowProgress;
  const mv::cli::BatchSummary summary = mv::cli::ConvertBatch(batch);
  if (terminal) std::cerr << "\r\x1b[K";  // the summary takes the progress line's place
  if (summary.folderError) return Fail(*summary.folderError);
  mv::cli::PrintSummary(summary, std::cerr);
  return summary.Ok() ? 0 : kExitFailure;
}

int Run(const Options& options) {
  if (options.outputFolder.empty()) {
    if (options.inputs.size() != 1) return UsageError("one INPUT at a time without -d OUTDIR");
    return RunOne(options);
  }
  for (const std::string& input : options.inputs) {
    if (input == "-") return UsageError("- (standard input) cannot be an INPUT with -d OUTDIR");
  }
  return RunBatch(options);
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file size limit then fails with an error we report,
  // instead of the signal ending the program with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  CLI::App app{"Converts a Rich Text document typed in the Rachana fonts to Unicode: HTML with character\n"
               "references (unicode), Rich Text (rtf), HTML5 (html5) or plain text (text); or to ML-TT Rich\n"
               "Text with break marks (ism) or without (mltt).",
               kProgram};
  Options options;
  app.set_version_flag("--version", std::string(kProgram) + " " + MARAVELUNDI_VERSION);
  app.add_option("--fonts", options.fonts,
                 "Rachana generation of the document's fonts: 2 (ra, rkr), 7 (rc, rl), or auto, each font by its name")
      ->check(CLI::IsMember({"2", "7", "auto"}))
      ->capture_default_str();
  app.add_option("--to", options.to, "Output: unicode, ism, mltt, rtf, html5 or text")
      ->check(CLI::IsMember({"unicode", "ism", "mltt", "rtf", "html5", "text"}))
      ->capture_default_str();
  app.add_option("--unicode-font", options.unicodeFont, "Unicode Malayalam font of the rtf and html5 outputs")
      ->capture_default_str();
  CLI::Option* output =
      app.add_option("-o,--output", options.output, "Output file; - for standard output")->capture_default_str();
  CLI::Option* folder = app.add_option("-d,--output-dir", options.outputFolder,
                                       "Convert every INPUT into this folder (made if missing), as NAME.html, "
                                       "NAME.rtf or NAME.txt; a folder INPUT stands for the .rtf files in it");
  folder->excludes(output);
  app.add_option("-j,--jobs", options.jobs, "Documents converted at once with -d (default: one per core)")
      ->check(CLI::Range(1u, 4096u))
      ->needs(folder);
  app.add_flag("--force", options.force, "With -d, replace outputs that already exist")->needs(folder);
  app.add_option("INPUT", options.inputs,
                 "Rich Text document to convert; - for standard input. With -d, any number of documents and folders")
      ->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << kProgram << ": " << e.what() << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  try {
    return Run(options);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for this document");
  } catch (const std::exception& e) {
    return Fail(e.what());  // a document past the model's size, say
  }
}
