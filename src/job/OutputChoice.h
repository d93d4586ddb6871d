#pragma once
// What --to asks for, and what it means for each kind of document: a Rich
// Text document has the Rich Text outputs; a DOCX or ODT document converts
// to a document of its own format in place, or to the flat outputs of its
// body; a foreign document (a Word 97-2003 .doc, say) takes the same way
// through another engine (LibreOffice), and goes back to its own format
// where that engine writes it.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "convert/Conversion.h"
#include "convert/ConversionProfile.h"
#include "failure/Failure.h"
#include "job/PdfInput.h"
#include "job/PlainTextInput.h"
#include "families/Spelling.h"
#include "job/OfficeRoute.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"

namespace maravelundi {

enum class OutputChoice {
  kUnicode,
  kIsm,
  kMltt,
  kRtf,
  kHtml5,
  kText,
  kDocx,
  kOdt,
  kXlsx,
  kOds,
  kPptx,
  kOdp,
  kLegacy,
  kForeign,
  kSameFormat
};

struct OutputRequest {
  OutputChoice choice = OutputChoice::kUnicode;
  const ForeignFormat* foreign = nullptr;  // the format of kForeign
  // Chosen by neither --to nor -o's extension: plain text then gives text,
  // where a document gives the Unicode HTML.
  bool byDefault = false;
};

// "unicode", "ism", "mltt", "rtf", "html5", "text", "docx", "odt", "xlsx", "ods", "pptx", "odp",
// "legacy", and the foreign formats LibreOffice writes ("doc", "xls", "ppt", "fodt" ...).
std::optional<OutputRequest> OutputChoiceNamed(std::string_view name);

// Every name OutputChoiceNamed knows, in the order --help shows them.
std::vector<std::string> OutputChoiceNames();

// Without --to: the extension of -o chooses (.docx, .odt, .rtf, .txt, .xlsx,
// .ods, .pptx, .odp, or a foreign one such as .doc, in any case), as pandoc does; otherwise the
// Unicode HTML, as always. A batch keeps each document's own format, and
// Rich Text gives the Unicode HTML.
OutputRequest DefaultOutput(const std::string& outputPath, bool batch);

// What the options ask of every document of a run.
struct ConversionSettings {
  OutputRequest output;
  // The generation and the Unicode font; the plan decides the target and
  // the spelling for each document.
  ConversionProfile profile;
  // Asked for every output; none: each output's own.
  std::optional<Spelling> spelling;
  // Reads and writes the foreign formats (LibreOffice); without one, a
  // foreign document fails, saying what it needs.
  const ForeignEngine* foreignEngine = nullptr;
  // How plain text is recognised and read.
  TextInputSettings text;
  // Reads a PDF's text layer; without one, a PDF fails, saying where it is
  // read.
  const PdfReader* pdfReader = nullptr;
};

// The conversion a document of a kind gets: what is written, the whole
// profile it is converted with, and for a DOCX, ODT or foreign document its
// way through the office layer.
struct PlannedConversion {
  OutputKind output = OutputKind::kUnicodeHtml;
  ConversionProfile profile;
  std::optional<OfficeRoute> route;
  // Plain text made into a new DOCX or ODT package (kDocx or kOdt).
  DocumentFormat newDocument = DocumentFormat::kUnknown;
  // Rich Text converted in place, then written by the engine in this format
  // (DOCX, ODT, or a foreign one).
  const ForeignFormat* writeAs = nullptr;
};

// The one place the options become a conversion: the output and the target
// that --to means for the input's kind, and the spelling, as asked or else
// the output's own way. The HTML document of character references keeps the
// text as converted, as it always has; every other Unicode output (rtf,
// html5, text, and a document converted in place) spells it as Malayalam is
// written in Unicode today; the ML-TT outputs, which hold no Unicode, are
// made as they always were. Or why there is none ("a DOCX output needs a
// DOCX document"), a kNoSuchConversion that names no document.
Result<PlannedConversion> PlanConversion(const ConversionSettings& settings, const DocumentKind& input);

// The extension of the result: ".html", ".rtf", ".txt", ".docx", ".odt", or
// a foreign one (".doc").
std::string ResultExtension(const OutputRequest& request, const DocumentKind& input);

}  // namespace maravelundi
