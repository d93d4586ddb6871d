#pragma once
// One document converted as a whole, from its bytes to the output's bytes:
// its format found from the content, the conversion the chosen output means
// for that format planned, the document read, and the output made. The
// command line (one document or a batch), the window and the page in the
// browser all convert through these, so the same bytes and options give the
// same result everywhere. Every failure comes back as a value that names the
// document.

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "convert/Conversion.h"
#include "convert/LegacyTarget.h"
#include "failure/Failure.h"
#include "job/OfficeRoute.h"
#include "job/OutputChoice.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"
#include "package/OpenPackage.h"
#include "richtext/ByteSink.h"
#include "richtext/Progress.h"
#include "richtext/RtfReader.h"

namespace maravelundi {

// The names the options take: "auto", "2", "7"; "legacy", "modern".
std::optional<Generation> GenerationNamed(std::string_view name);
std::optional<Spelling> SpellingNamed(std::string_view name);

// The options as the command line and the page name them.
struct NamedOptions {
  std::string to;              // --to; empty: from the output's name, else unicode (a batch: each document's format)
  std::string fonts = "auto";  // --fonts
  std::string spelling;        // --spelling; empty: each output's own
  std::string unicodeFont = std::string(kDefaultUnicodeFont);
  std::string outputPath;      // -o, whose extension chooses the output when --to is empty
  bool batch = false;          // -d
  std::string from;            // --from: empty (by content, or *.txt as text), or "text"
  std::string font = "auto";   // --font: plain text's legacy font
  bool convertAll = false;     // --convert-all: plain text's English words too
  std::string legacyFont = std::string(kDefaultLegacyFont);  // --legacy-font: the way back's
  bool legacyBytes = false;    // --legacy-bytes: the way back's text as raw codes
};

// The settings the names give, or which name no option takes.
std::variant<ConversionSettings, std::string> SettingsNamed(const NamedOptions& named,
                                                            const ForeignEngine* foreignEngine = nullptr);

// A document as read. For the rtf output of a Rich Text document, which is
// the document converted in place, the markup is kept too, with where each
// character came from; otherwise only the model is. A DOCX or ODT document is
// kept as the package detection opened, a foreign one as its bytes until its
// engine reads it.
struct SourceDocument {
  std::string name;  // as messages call it
  DocumentKind kind{DocumentFormat::kRtf, nullptr};
  PlannedConversion conversion;
  // Rich Text: the document as read. A word processor's document read for a
  // window (ReadBody): its body.
  RtfReading reading;
  // Rich Text converted in place: its markup. A foreign document its engine
  // has not read yet: its bytes.
  std::string markup;
  // A DOCX or ODT, open as format detection opened it; a foreign document's
  // package once its engine has made it.
  std::optional<OpenPackage> package;
  // What the user is told whatever the verbosity (plain text that is no
  // legacy text is written unchanged), a line each.
  std::vector<std::string> notices;
};

// The document in `bytes`, or why not: the failure names `name`, and the
// byte where the reading stopped or the part at fault. With `warnings`, what
// the reader read but could not honour is added to it, a line each, and for
// plain text the font it was read in and how sure the finding is. The
// bytes are let go of as soon as they are no longer needed.
Result<SourceDocument> ParseDocument(std::string&& bytes, const std::string& name, const ConversionSettings& settings,
                                     std::vector<std::string>* warnings = nullptr);

// "NAME: warning: MESSAGE (at byte N)".
std::string DescribeWarning(const std::string& name, const ReadWarning& warning);

// What a conversion makes besides its output: the document's Unicode text
// as the text output writes it, with the plan's generation and spelling (a
// page's preview of the result).
struct TextAlongside {
  ByteSink& sink;
  // Told once the output is complete, before the text is made, so that the
  // output can be handed on meanwhile.
  std::function<void()> outputDone;
  bool made = false;  // set when the text was made: a package whose body cannot be read has none
};

// Converts the document into `out`; `title` is the html5 document's title.
// The failure (a package that cannot be converted, a foreign document its
// engine cannot convert) names the document. `progress` hears of each stage
// and how far it is. With `text`, the text is made from the same reading of
// the document once the output is complete; it is the output itself when
// that is the text.
std::optional<Failure> ConvertSource(SourceDocument&& source, const ConversionSettings& settings,
                                     const std::string& title, ByteSink& out, ProgressSink* progress = nullptr,
                                     TextAlongside* text = nullptr);

// A document kept to be converted more than once, as a window keeps the
// document it has opened and converts it whenever asked, with the
// generation and the output chosen then: read by ParseDocument for its own
// format, then by ReadBody, then converted by ConvertKept with each plan
// PlanConversion makes for its kind.

// What a window shows of a DOCX, ODT or foreign document: its body, read
// into source.reading.document; a foreign document is read by the engine
// into its package first (which takes seconds). Rich Text is read already.
std::optional<Failure> ReadBody(SourceDocument& source, const ForeignEngine* engine);

// Converts the kept document into `out` as `planned` says, leaving it as it
// was. With `mltt`, also the ML-TT document of its text: for Rich Text the
// one the output was made from, for a word processor's document that of its
// body. Nothing is written when it fails.
std::optional<Failure> ConvertKept(const SourceDocument& source, const PlannedConversion& planned,
                                   const ForeignEngine* engine, ByteSink& out, ProgressSink* progress = nullptr,
                                   Document* mltt = nullptr);

}  // namespace maravelundi
