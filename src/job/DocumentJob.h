#pragma once
// One document converted as a whole, from its bytes to the output's bytes:
// its format found from the content, the conversion the chosen output means
// for that format planned, the document read, and the output made. The
// command line (one document or a batch) and the page in the browser both
// convert through these, so the same bytes and options give the same result
// everywhere.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "convert/Conversion.h"
#include "job/OfficeRoute.h"
#include "job/OutputChoice.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"
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
};

// The settings the names give, or which name no option takes.
std::variant<ConversionSettings, std::string> SettingsNamed(const NamedOptions& named,
                                                            const ForeignEngine* foreignEngine = nullptr);

// A document as read. For the rtf output of a Rich Text document, which is
// the document converted in place, the markup is kept too, with where each
// character came from; otherwise only the model is.
// A DOCX, ODT or foreign document is kept as its bytes.
struct SourceDocument {
  std::string name;  // as messages call it
  DocumentKind kind{DocumentFormat::kRtf, nullptr};
  PlannedConversion conversion;
  RtfReading reading;
  std::string markup;
};

// The document in `bytes`, or nothing with `error` set to one line naming
// `name` and the byte where the reading stopped. With `warnings`, what the
// reader read but could not honour is added to it, a line each. The bytes
// are let go of as soon as they are no longer needed.
std::optional<SourceDocument> ParseDocument(std::string&& bytes, const std::string& name,
                                            const ConversionSettings& settings, std::string& error,
                                            std::vector<std::string>* warnings = nullptr);

// "NAME: warning: MESSAGE (at byte N)".
std::string DescribeWarning(const std::string& name, const ReadWarning& warning);

// Converts the document into `out`; `title` is the html5 document's title.
// False with `error` set when a package cannot be converted, or the foreign
// engine cannot convert a foreign document. `progress` hears of each stage
// and how far it is.
bool ConvertSource(SourceDocument&& source, const ConversionSettings& settings, const std::string& title,
                   ByteSink& out, std::string& error, ProgressSink* progress = nullptr);

}  // namespace maravelundi
