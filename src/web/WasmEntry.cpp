// The page's entry into the converter, compiled to WebAssembly and called
// from its Web Worker. A document is converted exactly as maravelundi-cli
// converts one: the same format detection, planning, reading and outputs
// (job/DocumentJob.h), the options given by the names the command line
// takes, the html5 title from the file's name as the command line takes it
// from its path. The same call makes the preview's text from the same
// reading of the document. What it made stays in the module's memory until
// the next call, for the worker to copy out.
//
// The worker writes a document's bytes straight into the buffer
// maravelundi_input hands out, so that they are copied into the module once;
// maravelundi_kind says what they are (for the page to offer only the
// outputs it can make of them), and maravelundi_convert or maravelundi_text
// then takes them over.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "convert/LegacyTarget.h"
#include "failure/Failure.h"
#include "families/LegacyEncoding.h"
#include "job/DocumentJob.h"
#include "job/OutputChoice.h"
#include "job/PlainTextInput.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"
#include "plaintext/DecodeLegacyText.h"
#include "plaintext/FontDetector.h"
#include "richtext/Progress.h"
#include "transcode/GlyphTables.h"

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

// What the last call made, and the input of the next.
struct LastCall {
  std::string input;  // written by the worker, taken over by the next conversion
  StringSink result;
  std::string resultName;  // the input's stem with the output's extension
  StringSink preview;      // the document's Unicode text, as the text output writes it
  bool previewMade = false;
  std::optional<Failure> failure;  // why there is no result
  std::string message;             // the failure, in words
  std::string warnings;            // the reader's, a line each
  std::string found;               // plain text read with the font found by itself: what was found
};

// The input, taken out of the call before the call is cleared for the next.
std::string TakeInput(LastCall& call) {
  std::string bytes = std::move(call.input);
  call = LastCall{};
  return bytes;
}

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
// The page always names its output (its "same format as the document" is
// the name of the document's own format, as --to would say it), so that
// each result is the command line's with that --to.
bool SettingsNamed(const NamedOptions& named, ConversionSettings& settings, LastCall& call) {
  auto found = maravelundi::SettingsNamed(named);
  if (const auto* why = std::get_if<std::string>(&found)) {
    return Fail(call, Failure{FailureCode::kNoSuchConversion, {}, "unknown option: " + *why, {}, std::nullopt});
  }
  settings = std::get<ConversionSettings>(std::move(found));
  return true;
}

// What a document is, by its content as the conversion finds it: "rtf",
// "docx", "odt", "xlsx", "ods", "pptx", "odp", "pdf", "text" (named *.txt),
// "foreign:EXTENSION" for a format only LibreOffice reads, or "unknown"
// (nothing we know, or a package that fails: its conversion says why).
std::string KindNamed(std::string_view bytes, const std::string& name) {
  if (ReadsAsPlainText(name, TextInputSettings{})) return "text";
  const FormatDetection detection = DetectDocumentFormat(bytes);
  if (detection.error) return "unknown";
  if (detection.format == DocumentFormat::kPdf) return "pdf";
  const DocumentKind kind = KindOfDocument(detection.format, bytes, name);
  switch (kind.format) {
    case DocumentFormat::kForeign: return "foreign:" + std::string(kind.foreign->extension);
    case DocumentFormat::kUnknown:
    case DocumentFormat::kText:
    case DocumentFormat::kPdf: return "unknown";
    default: return std::string(DocumentFormatName(kind.format));
  }
}

// The font the finder reads plain text in, as the conversion will find it:
// "legacy\tFONT\tPERCENT", or the kind of text kept as it is ("Unicode
// Malayalam", "English", "empty").
std::string FoundFont(std::string_view bytes) {
  const DecodedText decoded = DecodeLegacyText(bytes);
  const FontGuess guess = DetectFont(decoded.Glyphs());
  if (guess.kind != TextKind::kLegacy) return std::string(TextKindName(guess.kind));
  return "legacy\t" + std::string(guess.font.fontName) + "\t" +
         std::to_string(static_cast<int>(guess.confidence * 100.0 + 0.5));
}

// Room for the result: it grows in one place instead of moving each time
// it doubles (WebAssembly copies large blocks through JavaScript), and the
// largest result, Unicode HTML, is about three times its Rich Text. What is
// not used is given back with the result.
constexpr std::size_t kResultRoomPerInputByte = 3;
constexpr std::size_t kLeastResultRoom = 1 << 16;

// What a conversion tells the worker: its progress, and its result the
// moment it is complete. Text converted in the page's text box is small and
// wanted whole: it is not handed over early. The converter's warming up
// tells nothing.
struct Reporting {
  bool progress = true;
  bool handOverResult = true;
};

// One conversion makes the result and, from the same reading of the
// document, its text for the preview. The result is handed to the worker the
// moment it is complete, and its memory given back, before the text is made.
bool Convert(std::string&& bytes, const std::string& name, const ConversionSettings& settings, LastCall& call,
             Reporting reporting = {}) {
  const std::size_t inputSize = bytes.size();
  std::vector<std::string> warnings;
  Result<SourceDocument> document = ParseDocument(std::move(bytes), name, settings, &warnings);
  for (const std::string& warning : warnings) call.warnings += warning + "\n";
  if (!document.Ok()) return Fail(call, std::move(document.Error()));
  const std::string stem = std::filesystem::path(name).stem().string();
  call.resultName = stem + ResultExtension(settings.output, document.Value().kind);
  call.result.Bytes().reserve(kResultRoomPerInputByte * inputSize + kLeastResultRoom);
  WorkerProgress progress;
  TextAlongside text{call.preview, [&call, reporting] {
                       if (reporting.handOverResult && HandOverResult() != 0) std::string().swap(call.result.Bytes());
                     }};
  if (auto failure = ConvertSource(std::move(document.Value()), settings, stem, call.result,
                                   reporting.progress ? &progress : nullptr, &text)) {
    return Fail(call, std::move(*failure));
  }
  call.previewMade = text.made;
  return true;
}

// A Rich Text document of about `bytes` bytes of Rachana text: codes of
// the font's whole printable range in a scrambled order, so that the glyph
// table's sequences come up, in paragraphs of a hundred codes.
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

// A conversion given up for an exception: a failure like any other.
int GaveUp(LastCall& call, Failure failure) {
  Fail(call, std::move(failure));
  call.result = {};
  call.preview = {};
  return 0;
}

int OutOfMemory(LastCall& call, const std::string& name) {
  return GaveUp(call, Failure{FailureCode::kOutOfMemory, name, "not enough memory to convert it", {}, std::nullopt});
}

int CannotConvert(LastCall& call, const std::string& name, const char* what) {
  return GaveUp(call, Failure{FailureCode::kCannotConvert, name, std::string("cannot convert: ") + what, {},
                              std::nullopt});
}

}  // namespace
}  // namespace maravelundi::web

extern "C" {

// Room for the next input's `size` bytes, for the worker to write them into.
EMSCRIPTEN_KEEPALIVE char* maravelundi_input(std::size_t size) {
  std::string& input = maravelundi::web::Last().input;
  std::string().swap(input);
  input.resize(size);
  return input.data();
}

// What the input is (KindNamed), without taking it over.
EMSCRIPTEN_KEEPALIVE const char* maravelundi_kind(const char* name) {
  static std::string kind;
  kind = maravelundi::web::KindNamed(maravelundi::web::Last().input, name);
  return kind.c_str();
}

// Converts the input, the document called `name`, with the options named
// as maravelundi-cli's --to, --fonts and --spelling take them (an empty
// spelling: as without --spelling). 1 when there is a result, 0 when there
// is a failure instead.
EMSCRIPTEN_KEEPALIVE int maravelundi_convert(const char* name, const char* to, const char* fonts,
                                             const char* spelling) {
  namespace mw = maravelundi::web;
  mw::LastCall& call = mw::Last();
  std::string bytes = mw::TakeInput(call);
  maravelundi::NamedOptions named;
  named.to = to;
  named.fonts = fonts;
  named.spelling = spelling;
  maravelundi::ConversionSettings settings;
  if (!mw::SettingsNamed(named, settings, call)) return 0;
  const std::string file = name;
  try {
    return mw::Convert(std::move(bytes), file, settings, call) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    return mw::OutOfMemory(call, file);
  } catch (const std::exception& e) {
    return mw::CannotConvert(call, file, e.what());
  }
}

// Converts the input as plain text, as `maravelundi-cli --from text` does:
// `to` "text" reads it in the legacy font `font` ("auto": the one the text
// is found to be in, which maravelundi_found then names) into Unicode
// text; "legacy" spells its Unicode in `legacyFont`'s codes.
EMSCRIPTEN_KEEPALIVE int maravelundi_text(const char* to, const char* font, const char* legacyFont) {
  namespace mw = maravelundi::web;
  mw::LastCall& call = mw::Last();
  std::string bytes = mw::TakeInput(call);
  maravelundi::NamedOptions named;
  named.to = to;
  named.from = "text";
  named.font = font;
  named.legacyFont = legacyFont;
  maravelundi::ConversionSettings settings;
  if (!mw::SettingsNamed(named, settings, call)) return 0;
  const std::string file = "text";
  try {
    if (named.to == "text" && named.font == "auto") call.found = mw::FoundFont(bytes);
    return mw::Convert(std::move(bytes), file, settings, call, mw::Reporting{true, false}) ? 1 : 0;
  } catch (const std::bad_alloc&) {
    return mw::OutOfMemory(call, file);
  } catch (const std::exception& e) {
    return mw::CannotConvert(call, file, e.what());
  }
}

EMSCRIPTEN_KEEPALIVE const char* maravelundi_found() { return maravelundi::web::Last().found.c_str(); }

// The legacy fonts, a line each: NAME, TAB, what plain text is read as in
// it ("auto" never finds a Rachana font), TAB, "1" where plain text can be
// written in it (the way back), else "0".
EMSCRIPTEN_KEEPALIVE const char* maravelundi_fonts() {
  static const std::string list = [] {
    std::string lines;
    auto add = [&lines](std::string_view name, std::string_view encoding) {
      const auto target = maravelundi::LegacyTargetNamed(name);
      lines += std::string(name) + "\t" + std::string(encoding) + "\t" +
               (target && !target->SpreadOverFonts() ? "1" : "0") + "\n";
    };
    for (const maravelundi::LegacyFontName& font : maravelundi::KnownLegacyFonts()) {
      if (font.encoding != nullptr) add(font.name, font.encoding->name);
    }
    for (const maravelundi::GlyphTableDescriptor& table : maravelundi::kGlyphTables) {
      for (std::string_view name : table.fontNames) {
        add(name, table.generation == maravelundi::Generation::kVersion2 ? "Rachana 2" : "Rachana 7");
      }
    }
    return lines;
  }();
  return list.c_str();
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
// began with to its end. A small document converted while the page loads
// (to Unicode HTML, and to Rich Text in place) has the engine compile the
// hot functions well before the first document of the user's. Nothing of it
// is kept or reported.
EMSCRIPTEN_KEEPALIVE void maravelundi_warm_up() {
  namespace mw = maravelundi::web;
  constexpr std::size_t kWarmUpBytes = 300 * 1000;
  for (const char* to : {"unicode", "rtf"}) {
    mw::LastCall call;
    maravelundi::NamedOptions named;
    named.to = to;
    named.fonts = "auto";
    maravelundi::ConversionSettings settings;
    if (!mw::SettingsNamed(named, settings, call)) continue;
    try {
      mw::Convert(mw::WarmUpDocument(kWarmUpBytes), "warm-up.rtf", settings, call, mw::Reporting{false, false});
    } catch (const std::exception&) {
      // Only time is lost: the user's documents convert all the same.
    }
  }
}

// Lets go of the last call's result and text once the worker has copied them.
EMSCRIPTEN_KEEPALIVE void maravelundi_release() { maravelundi::web::Last() = maravelundi::web::LastCall{}; }

}  // extern "C"
