// maravelundi-cli: converts a Rich Text document typed in Rachana fonts to
// Unicode HTML, to ISM Rich Text or to plain ML-TT Rich Text.
//
//   maravelundi-cli [--fonts 2|7] [--to unicode|ism|mltt] [-o OUTPUT] INPUT
//
// Exit status: 0 done; 1 the input could not be read or is not RTF, or the
// output could not be written (an existing output file is then left as it
// was); 2 a usage error.

#include <csignal>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <string>

#include <CLI/CLI.hpp>

#include "convert/Conversion.h"
#include "richtext/FileIo.h"
#include "richtext/RtfReader.h"

namespace mv = maravelundi;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kProgram = "maravelundi-cli";

struct Options {
  std::string fonts = "7";
  std::string to = "unicode";
  std::string output = "-";
  std::string input;
};

int Fail(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n';
  return kExitFailure;
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
bool ConvertInto(const std::string& output, const mv::Document& document, mv::Generation generation,
                 mv::OutputKind kind, std::string& error) {
  if (output == "-") {
    StandardOutput out;
    mv::ConvertDocument(document, generation, kind, out);
    if (!out.Finish()) error = "standard output: cannot write";
    return error.empty();
  }
  mv::AtomicFile file(output);
  mv::ConvertDocument(document, generation, kind, file);
  const mv::IoResult written = file.Commit();
  if (!written.Ok()) error = *written.error;
  return written.Ok();
}

int Run(const Options& options) {
  const auto generation = options.fonts == "2" ? mv::Generation::kVersion2 : mv::Generation::kVersion7;
  static const std::map<std::string, mv::OutputKind> kOutputs = {
      {"unicode", mv::OutputKind::kUnicode}, {"ism", mv::OutputKind::kIsm}, {"mltt", mv::OutputKind::kMltt}};
  const mv::OutputKind output = kOutputs.at(options.to);

  std::string bytes, error;
  if (!ReadInput(options.input, bytes, error)) return Fail(error);
  const mv::RtfReading reading = mv::ReadRtf(bytes);
  if (!reading.Ok()) {
    const std::string name = options.input == "-" ? "standard input" : options.input;
    return Fail(name + ": " + reading.error->message + " (at byte " + std::to_string(reading.error->offset) + ")");
  }
  if (!ConvertInto(options.output, reading.document, generation, output, error)) return Fail(error);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A write past the file size limit then fails with an error we report,
  // instead of the signal ending the program with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  CLI::App app{"Converts a Rich Text document typed in the Rachana fonts to Unicode HTML (unicode),\n"
               "to ML-TT Rich Text with break marks (ism), or to ML-TT Rich Text (mltt).",
               kProgram};
  Options options;
  app.set_version_flag("--version", std::string(kProgram) + " " + MARAVELUNDI_VERSION);
  app.add_option("--fonts", options.fonts, "Rachana generation of the document's fonts: 2 (ra, rkr) or 7 (rc, rl)")
      ->check(CLI::IsMember({"2", "7"}))
      ->capture_default_str();
  app.add_option("--to", options.to, "Output: unicode, ism or mltt")
      ->check(CLI::IsMember({"unicode", "ism", "mltt"}))
      ->capture_default_str();
  app.add_option("-o,--output", options.output, "Output file; - for standard output")->capture_default_str();
  app.add_option("INPUT", options.input, "Rich Text document to convert; - for standard input")->required();

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
  return Run(options);
}
