// The page's entry into the converter, compiled to WebAssembly and called
// from its Web Worker. A document is converted exactly as maravelundi-cli
// converts one: the same format detection, planning, reading and outputs
// (job/DocumentJob.h), the options given by the names the command line
// takes, the html5 title from the file's name as the command line takes it
// from its path. The result stays in the module's memory until the next
// call, for the worker to copy out.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "job/DocumentJob.h"
#include "job/OutputChoice.h"
#include "richtext/Progress.h"

// Tells the worker how far the conversion is; it passes it on to the page.
// Sizes go as doubles: JavaScript numbers hold them exactly.
EM_JS(void, ReportToWorker, (int stage, double done, double total), {
  if (Module["onProgress"]) Module["onProgress"](stage, done, total);
});

namespace maravelundi::web {
namespace {

class WorkerProgress : public ProgressSink {
 public:
  void Advance(std::size_t done, std::size_t total) override {
    ReportToWorker(static_cast<int>(stage_), static_cast<double>(done), static_cast<double>(total));
  }
  void EnterStage(ConversionStage stage) override {
    stage_ = stage;
    ReportToWorker(static_cast<int>(stage_), 0, 1);
  }

 private:
  ConversionStage stage_ = ConversionStage::kTranscode;
};

// The last call's outcome.
struct Outcome {
  StringSink result;
  std::string resultName;  // the input's stem with the output's extension
  std::string message;     // why it failed; empty when it did not
  std::string warnings;    // the reader's, a line each
  std::string spelling;    // "legacy" or "modern": how the result spells Malayalam
};

Outcome& Last() {
  static Outcome outcome;
  return outcome;
}

// The settings the option names give, or a message for a name no option takes.
// An empty spelling is the command line's without --spelling: each output's own.
bool SettingsNamed(const char* to, const char* fonts, const char* spelling, ConversionSettings& settings,
                   std::string& message) {
  NamedOptions named;
  named.to = to;
  named.fonts = fonts;
  named.spelling = spelling;
  if (named.to.empty()) named.to = "unicode";  // the page always names one
  auto found = maravelundi::SettingsNamed(named);
  if (const auto* why = std::get_if<std::string>(&found)) {
    message = "unknown option: " + *why;
    return false;
  }
  settings = std::get<ConversionSettings>(std::move(found));
  return true;
}

bool Convert(std::string&& bytes, const std::string& name, const ConversionSettings& settings, Outcome& outcome) {
  std::vector<std::string> warnings;
  Result<SourceDocument> document = ParseDocument(std::move(bytes), name, settings, &warnings);
  for (const std::string& warning : warnings) outcome.warnings += warning + "\n";
  if (!document.Ok()) {
    outcome.message = Describe(document.Error());
    return false;
  }
  const std::filesystem::path path(name);
  outcome.resultName = path.stem().string() + std::string(ResultExtension(settings.output, document.Value().kind));
  outcome.spelling = document.Value().conversion.profile.spelling == Spelling::kModern ? "modern" : "legacy";
  WorkerProgress progress;
  if (auto failure = ConvertSource(std::move(document.Value()), settings, path.stem().string(), outcome.result,
                                   &progress)) {
    outcome.message = Describe(*failure);
    return false;
  }
  return true;
}

}  // namespace
}  // namespace maravelundi::web

extern "C" {

// Converts the `size` bytes at `bytes`, the document called `name`, with
// the options named as maravelundi-cli's --to, --fonts and --spelling take
// them (an empty spelling: as without --spelling). 1 when there is a
// result, 0 when there is a message instead.
EMSCRIPTEN_KEEPALIVE int maravelundi_convert(const char* bytes, std::size_t size, const char* name, const char* to,
                                             const char* fonts, const char* spelling) {
  namespace mw = maravelundi::web;
  mw::Outcome& outcome = mw::Last();
  outcome = mw::Outcome{};
  maravelundi::ConversionSettings settings;
  if (!mw::SettingsNamed(to, fonts, spelling, settings, outcome.message)) return 0;
  try {
    return mw::Convert(std::string(bytes, size), name, settings, outcome) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    outcome.message = std::string(name) + ": not enough memory to convert it";
  } catch (const std::exception& e) {
    outcome.message = std::string(name) + ": cannot convert: " + e.what();
  }
  outcome.result = {};
  return 0;
}

EMSCRIPTEN_KEEPALIVE const char* maravelundi_result() { return maravelundi::web::Last().result.Bytes().data(); }
EMSCRIPTEN_KEEPALIVE std::size_t maravelundi_result_size() { return maravelundi::web::Last().result.Bytes().size(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_result_name() { return maravelundi::web::Last().resultName.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_message() { return maravelundi::web::Last().message.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_warnings() { return maravelundi::web::Last().warnings.c_str(); }
// How the last result spells Malayalam, "legacy" or "modern", for a preview
// to spell it the same way.
EMSCRIPTEN_KEEPALIVE const char* maravelundi_spelling() { return maravelundi::web::Last().spelling.c_str(); }

// Lets go of the last result once the worker has copied it.
EMSCRIPTEN_KEEPALIVE void maravelundi_release() { maravelundi::web::Last() = maravelundi::web::Outcome{}; }

}  // extern "C"
