// The page's entry into the converter, compiled to WebAssembly and called
// from its Web Worker. A document is converted exactly as maravelundi-cli
// converts one: the same format detection, planning, reading and outputs
// (job/DocumentJob.h), the options given by the names the command line
// takes, the html5 title from the file's name as the command line takes it
// from its path. The same call makes the preview's text from the same
// reading of the document. What it made stays in the module's memory until
// the next call, for the worker to copy out.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "failure/Failure.h"
#include "job/DocumentJob.h"
#include "job/OutputChoice.h"
#include "richtext/Progress.h"

// Tells the worker how far the conversion is; it passes it on to the page.
// Sizes go as doubles: JavaScript numbers hold them exactly.
EM_JS(void, ReportToWorker, (int stage, double done, double total), {
  if (Module["onProgress"]) Module["onProgress"](stage, done, total);
});

// Tells the worker that the result is complete, for it to copy out and hand
// to the page at once; 1 when it has taken it.
EM_JS(int, HandOverResult, (), {
  if (!Module["onResult"]) return 0;
  Module["onResult"]();
  return 1;
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

// What the last call made.
struct LastCall {
  StringSink result;
  std::string resultName;  // the input's stem with the output's extension
  StringSink preview;      // the document's Unicode text, as the text output writes it
  bool previewMade = false;
  std::optional<Failure> failure;  // why there is no result
  std::string message;             // the failure, in words
  std::string warnings;            // the reader's, a line each
};

LastCall& Last() {
  static LastCall call;
  return call;
}

bool Fail(LastCall& call, Failure failure) {
  call.message = Describe(failure);
  call.failure = std::move(failure);
  return false;
}

// The settings the option names give, or a failure for a name no option
// takes. An empty spelling is the command line's without --spelling: each
// output's own.
bool SettingsNamed(const char* to, const char* fonts, const char* spelling, ConversionSettings& settings,
                   LastCall& call) {
  NamedOptions named;
  named.to = to;
  named.fonts = fonts;
  named.spelling = spelling;
  if (named.to.empty()) named.to = "unicode";  // the page always names one
  auto found = maravelundi::SettingsNamed(named);
  if (const auto* why = std::get_if<std::string>(&found)) {
    return Fail(call, Failure{FailureCode::kNoSuchConversion, {}, "unknown option: " + *why, {}, std::nullopt});
  }
  settings = std::get<ConversionSettings>(std::move(found));
  // Unicode is the page's first choice, taken unless another is chosen: a
  // spreadsheet or presentation, which has no Unicode HTML, converts in
  // place for it, as on the command line without --to.
  settings.output.byDefault = named.to == "unicode";
  return true;
}

// Room for the result: it grows in one place instead of moving each time
// it doubles (WebAssembly copies large blocks through JavaScript), and the
// largest result, Unicode HTML, is about three times its Rich Text. What is
// not used is given back with the result.
constexpr std::size_t kResultRoomPerInputByte = 3;
constexpr std::size_t kLeastResultRoom = 1 << 16;

// Where a conversion reports to: the worker, for a document of the user's;
// nowhere, for the converter's warming up.
struct Reporting {
  ProgressSink* progress = nullptr;
  bool handOverResult = false;
};

// One conversion makes the result and, from the same reading of the
// document, its text for the preview. The result is handed to the worker the
// moment it is complete, and its memory given back, before the text is made.
bool Convert(std::string&& bytes, const std::string& name, const ConversionSettings& settings, LastCall& call,
             const Reporting& reporting) {
  const std::size_t inputSize = bytes.size();
  std::vector<std::string> warnings;
  Result<SourceDocument> document = ParseDocument(std::move(bytes), name, settings, &warnings);
  for (const std::string& warning : warnings) call.warnings += warning + "\n";
  if (!document.Ok()) return Fail(call, std::move(document.Error()));
  const std::string stem = std::filesystem::path(name).stem().string();
  call.resultName = stem + ResultExtension(settings.output, document.Value().kind);
  call.result.Bytes().reserve(kResultRoomPerInputByte * inputSize + kLeastResultRoom);
  TextAlongside text{call.preview, [&call, &reporting] {
                       if (reporting.handOverResult && HandOverResult() != 0) std::string().swap(call.result.Bytes());
                     }};
  if (auto failure =
          ConvertSource(std::move(document.Value()), settings, stem, call.result, reporting.progress, &text)) {
    return Fail(call, std::move(*failure));
  }
  call.previewMade = text.made;
  return true;
}

// A Rich Text document of about `bytes` bytes of Rachana text: every code
// of the font's printable range, in an order that runs through the glyph
// table's sequences, in paragraphs of some hundred codes.
std::string WarmUpDocument(std::size_t bytes) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 rl1;}}\\f0 ";
  unsigned state = 1;
  while (rtf.size() < bytes) {
    for (int i = 0; i < 100; ++i) {
      state = state * 1103515245u + 12345u;
      const unsigned char code = static_cast<unsigned char>(0x21 + (state >> 16) % (0xFF - 0x21));
      if (code == '\\' || code == '{' || code == '}') rtf += '\\';
      if (code >= 0x80) {
        static constexpr char kHex[] = "0123456789abcdef";
        rtf += "\\'";
        rtf += kHex[code >> 4];
        rtf += kHex[code & 15];
      } else {
        rtf += static_cast<char>(code);
      }
      if (i % 7 == 6) rtf += ' ';
    }
    rtf += "\\par\n";
  }
  return rtf + "}";
}

}  // namespace
}  // namespace maravelundi::web

extern "C" {

// Converts the `size` bytes at `bytes`, the document called `name`, with
// the options named as maravelundi-cli's --to, --fonts and --spelling take
// them (an empty spelling: as without --spelling). 1 when there is a
// result, 0 when there is a failure instead.
EMSCRIPTEN_KEEPALIVE int maravelundi_convert(const char* bytes, std::size_t size, const char* name, const char* to,
                                             const char* fonts, const char* spelling) {
  namespace mw = maravelundi::web;
  using maravelundi::Failure;
  using maravelundi::FailureCode;
  mw::LastCall& call = mw::Last();
  call = mw::LastCall{};
  maravelundi::ConversionSettings settings;
  if (!mw::SettingsNamed(to, fonts, spelling, settings, call)) return 0;
  try {
    mw::WorkerProgress progress;
    return mw::Convert(std::string(bytes, size), name, settings, call, mw::Reporting{&progress, true}) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    mw::Fail(call, Failure{FailureCode::kOutOfMemory, name, "not enough memory to convert it", {}, std::nullopt});
  } catch (const std::exception& e) {
    mw::Fail(call, Failure{FailureCode::kCannotConvert, name, std::string("cannot convert: ") + e.what(), {},
                           std::nullopt});
  }
  call.result = {};
  call.preview = {};
  return 0;
}

EMSCRIPTEN_KEEPALIVE const char* maravelundi_result() { return maravelundi::web::Last().result.Bytes().data(); }
EMSCRIPTEN_KEEPALIVE std::size_t maravelundi_result_size() { return maravelundi::web::Last().result.Bytes().size(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_result_name() { return maravelundi::web::Last().resultName.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_warnings() { return maravelundi::web::Last().warnings.c_str(); }

// The preview's text, UTF-8; a size of -1 when there is none.
EMSCRIPTEN_KEEPALIVE const char* maravelundi_preview() { return maravelundi::web::Last().preview.Bytes().data(); }
EMSCRIPTEN_KEEPALIVE double maravelundi_preview_size() {
  maravelundi::web::LastCall& call = maravelundi::web::Last();
  return call.previewMade ? static_cast<double>(call.preview.Bytes().size()) : -1;
}

// The failure: its message, its code's name ("damaged-document", ...; empty
// when there is none), and its place: the part of a package (empty when
// none) and the byte (-1 when none), for messages of the page's own.
EMSCRIPTEN_KEEPALIVE const char* maravelundi_message() { return maravelundi::web::Last().message.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* maravelundi_failure_code() {
  const auto& failure = maravelundi::web::Last().failure;
  return failure ? maravelundi::FailureCodeName(failure->code).data() : "";
}
EMSCRIPTEN_KEEPALIVE const char* maravelundi_failure_part() {
  const auto& failure = maravelundi::web::Last().failure;
  return failure ? failure->part.c_str() : "";
}
EMSCRIPTEN_KEEPALIVE double maravelundi_failure_byte() {
  const auto& failure = maravelundi::web::Last().failure;
  return failure && failure->byte ? static_cast<double>(*failure->byte) : -1;
}

// The engine compiles each function quickly at first, and well only once it
// has run for a while; a conversion is one long call, which keeps the code it
// began with to its end. A small document converted while the page waits
// for the user (to Unicode HTML, and to Rich Text in place) has the engine
// compile the hot functions well before the first document of the user's.
// Nothing of it is kept or reported.
EMSCRIPTEN_KEEPALIVE void maravelundi_warm_up() {
  namespace mw = maravelundi::web;
  constexpr std::size_t kWarmUpBytes = 300 * 1000;
  for (const char* to : {"unicode", "rtf"}) {
    mw::LastCall call;
    maravelundi::ConversionSettings settings;
    if (!mw::SettingsNamed(to, "auto", "", settings, call)) continue;
    try {
      mw::Convert(mw::WarmUpDocument(kWarmUpBytes), "warm-up.rtf", settings, call, mw::Reporting{});
    } catch (const std::exception&) {
      // Only time is lost: the documents of the user's convert all the same.
    }
  }
}

// Lets go of the last call's result and text once the worker has copied them.
EMSCRIPTEN_KEEPALIVE void maravelundi_release() { maravelundi::web::Last() = maravelundi::web::LastCall{}; }

}  // extern "C"
