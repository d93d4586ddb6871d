#pragma once
// What --to asks for, and what it means for each kind of document: a Rich
// Text document has the Rich Text outputs; a DOCX or ODT document converts
// to a document of its own format in place, or to the flat outputs of its
// body.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "convert/Conversion.h"
#include "office/OfficeConversion.h"
#include "package/DocumentFormat.h"

namespace maravelundi {

enum class OutputChoice { kUnicode, kIsm, kMltt, kRtf, kHtml5, kText, kDocx, kOdt, kSameFormat };

// "unicode", "ism", "mltt", "rtf", "html5", "text", "docx", "odt".
std::optional<OutputChoice> OutputChoiceNamed(std::string_view name);

// Without --to: the extension of -o chooses (.docx, .odt, .rtf, .txt, in
// any case), as pandoc does; otherwise the Unicode HTML, as always. A batch
// keeps each document's own format, and Rich Text gives the Unicode HTML.
OutputChoice DefaultOutput(const std::string& outputPath, bool batch);

// The conversion a document of `input`'s format gets.
struct RtfConversion {
  OutputKind output;
};
struct OfficeConversion {
  OfficeOutput output;
};
using PlannedConversion = std::variant<RtfConversion, OfficeConversion>;

// The conversion, or why there is none ("a DOCX output needs a DOCX document").
std::variant<PlannedConversion, std::string> PlanConversion(OutputChoice choice, DocumentFormat input);

// The extension of the result: ".html", ".rtf", ".txt", ".docx" or ".odt".
std::string_view ResultExtension(OutputChoice choice, DocumentFormat input);

// The format a file's name says it holds, for planning a batch before
// anything is read.
DocumentFormat FormatByName(const std::string& path);

}  // namespace maravelundi
