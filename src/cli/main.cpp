// maravelundi-cli: converts a document typed in legacy Malayalam fonts (Rich
// Text, DOCX, ODT, or a format LibreOffice reads) to Unicode (the same
// document in place, HTML with character references, Rich Text, HTML5,
// plain text), to ISM or to plain ML-TT.
//
//   maravelundi-cli [--fonts 2|7|auto] [--to unicode|ism|mltt|rtf|html5|text|docx|odt|doc|...]
//                   [--spelling legacy|modern] [--unicode-font NAME] [--max-input SIZE] [--office-timeout SECONDS]
//                   [--verbose] [-o OUTPUT] INPUT
//   maravelundi-cli [options] [-j N] [--force] -d OUTDIR INPUT...
//
// Exit status: 0 done; 1 the input could not be read or converted (LibreOffice
// missing or failing for a foreign format among the reasons), or the output
// could not be written (an existing output file is then left as it was), or
// in a batch any document failed; 2 a usage error. Interrupted by SIGINT,
// SIGTERM or SIGHUP, it stops LibreOffice, removes the file and folders it
// was writing and ends with that signal.

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/BatchConversion.h"
#include "cli/CommandLine.h"
#include "external/ThroughLibreOffice.h"
#include "pdf/PopplerPdfReader.h"
#include "convert/Conversion.h"
#include "failure/Failure.h"
#include "fileio/FileIo.h"

namespace mv = maravelundi;
using mv::cli::CommandLine;

namespace {

int Fail(const mv::Failure& failure) {
  std::cerr << mv::cli::kProgram << ": " << mv::Describe(failure) << '\n';
  return mv::cli::kExitFailure;
}

mv::Failure Because(mv::FailureCode code, std::string subject, std::string message) {
  return mv::Failure{code, std::move(subject), std::move(message), {}, std::nullopt};
}

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) std::cerr << mv::cli::kProgram << ": " << warning << '\n';
}

int UsageError(const std::string& message) {
  std::cerr << mv::cli::kProgram << ": " << message << "\nRun with --help for more information.\n";
  return mv::cli::kExitUsage;
}

// What the messages call an input.
std::string NameOf(const std::string& input) { return input == "-" ? "standard input" : input; }

std::optional<mv::Failure> ReadInput(const std::string& input, std::string& bytes, std::uint64_t maxInput,
                                     const mv::TextInputSettings& text) {
  const mv::ReadOptions options = mv::cli::DocumentReadOptions(NameOf(input), maxInput, false, text);
  if (input == "-") return mv::ReadWholeStream(STDIN_FILENO, NameOf(input), bytes, options);
  return mv::ReadWholeFile(input, bytes, options);
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
std::optional<mv::Failure> ConvertInto(const std::string& output, mv::SourceDocument&& document,
                                       const mv::ConversionSettings& settings, const std::string& title) {
  if (output == "-") {
    StandardOutput out;
    if (auto failure = mv::ConvertSource(std::move(document), settings, title, out)) return failure;
    if (!out.Finish()) return Because(mv::FailureCode::kCannotWrite, "standard output", "cannot write");
    return std::nullopt;
  }
  mv::AtomicFile file(output);
  return mv::cli::WriteConversion(std::move(document), settings, title, file);
}

// LibreOffice reads and writes the foreign formats, within the time limit.
mv::LibreOfficeEngine EngineOf(const CommandLine& options) {
  mv::LibreOfficeSettings settings;
  settings.timeLimit = std::chrono::seconds(options.officeTimeLimit);
  return mv::LibreOfficeEngine(std::move(settings));
}

// The names were checked with the command line.
mv::ConversionSettings SettingsOf(const CommandLine& options, const mv::ForeignEngine& engine,
                                  const mv::PdfReader& pdfReader) {
  mv::NamedOptions named;
  named.to = options.to;
  named.fonts = options.fonts;
  named.spelling = options.spelling;
  named.unicodeFont = options.unicodeFont;
  named.outputPath = options.output;
  named.batch = !options.outputFolder.empty();
  named.from = options.from;
  named.font = options.font;
  named.convertAll = options.convertAll;
  named.legacyFont = options.legacyFont;
  named.legacyBytes = options.legacyBytes;
  auto settings = std::get<mv::ConversionSettings>(mv::SettingsNamed(named, &engine));
  settings.pdfReader = &pdfReader;
  return settings;
}

int ConvertOne(const CommandLine& options) {
  const std::string& input = options.inputs.front();
  const std::string title =
      input == "-" ? std::string(mv::kDefaultTitle) : std::filesystem::path(input).stem().string();
  const mv::LibreOfficeEngine engine = EngineOf(options);
  const mv::PopplerPdfReader pdfReader(options.unicodeFont);
  const mv::ConversionSettings settings = SettingsOf(options, engine, pdfReader);
  std::string bytes;
  if (auto failure = ReadInput(input, bytes, options.maxInput, settings.text)) return Fail(*failure);
  std::vector<std::string> warnings;
  mv::Result<mv::SourceDocument> document =
      mv::ParseDocument(std::move(bytes), NameOf(input), settings, options.verbose ? &warnings : nullptr);
  PrintWarnings(warnings);
  if (!document.Ok()) return Fail(document.Error());
  PrintWarnings(document.Value().notices);
  if (auto failure = ConvertInto(options.output, std::move(document.Value()), settings, title)) return Fail(*failure);
  return 0;
}

int RunOne(const CommandLine& options) {
  const std::string name = NameOf(options.inputs.front());
  try {
    return ConvertOne(options);
  } catch (const std::bad_alloc&) {
    return Fail(Because(mv::FailureCode::kOutOfMemory, name, "not enough memory to convert it"));
  } catch (const std::exception& e) {
    // a document past the model's size, say
    return Fail(Because(mv::FailureCode::kCannotConvert, name, std::string("cannot convert: ") + e.what()));
  }
}

// "converted 3 of 10" on one line that each document rewrites.
void ShowProgress(std::size_t done, std::size_t failed, std::size_t total) {
  std::cerr << "\rconverted " << done << " of " << total;
  if (failed > 0) std::cerr << ", " << failed << " failed";
  std::cerr << std::flush;
}

int RunBatch(const CommandLine& options) {
  const mv::LibreOfficeEngine engine = EngineOf(options);
  const mv::PopplerPdfReader pdfReader(options.unicodeFont);
  mv::cli::BatchOptions batch;
  batch.settings = SettingsOf(options, engine, pdfReader);
  batch.inputs.assign(options.inputs.begin(), options.inputs.end());
  batch.outputFolder = options.outputFolder;
  batch.jobs = options.jobs;
  batch.force = options.force;
  batch.maxInput = options.maxInput;
  batch.verbose = options.verbose;
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  if (terminal) batch.progress = ShowProgress;
  const mv::cli::BatchSummary summary = mv::cli::ConvertBatch(batch);
  if (terminal) std::cerr << "\r\x1b[K";  // the summary takes the progress line's place
  if (summary.folderError) return Fail(*summary.folderError);
  PrintWarnings(summary.warnings);
  mv::cli::PrintSummary(summary, std::cerr);
  return summary.Ok() ? 0 : mv::cli::kExitFailure;
}

int Run(const CommandLine& options) {
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
  CommandLine options;
  if (const std::optional<int> status = mv::cli::ParseCommandLine(argc, argv, options)) return *status;
  mv::InstallInterruptCleanup();
  try {
    return Run(options);
  } catch (const std::bad_alloc&) {
    return Fail(Because(mv::FailureCode::kOutOfMemory, "", "not enough memory"));
  } catch (const std::exception& e) {
    return Fail(Because(mv::FailureCode::kCannotConvert, "", e.what()));
  }
}
