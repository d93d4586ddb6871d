#include "job/OutputChoice.h"

#include <array>
#include <utility>

namespace maravelundi {
namespace {

constexpr std::array<std::pair<std::string_view, OutputChoice>, 8> kNames = {{
    {"unicode", OutputChoice::kUnicode},
    {"ism", OutputChoice::kIsm},
    {"mltt", OutputChoice::kMltt},
    {"rtf", OutputChoice::kRtf},
    {"html5", OutputChoice::kHtml5},
    {"text", OutputChoice::kText},
    {"docx", OutputChoice::kDocx},
    {"odt", OutputChoice::kOdt},
}};

std::string_view FormatName(DocumentFormat format) { return format == DocumentFormat::kOdt ? "ODT" : "DOCX"; }

bool IsOffice(DocumentFormat format) {
  return format == DocumentFormat::kDocx || format == DocumentFormat::kOdt || format == DocumentFormat::kForeign;
}

// The outputs that keep a document's own format, and the office layer's
// output for each choice.
OfficeOutput OfficeOutputOf(OutputChoice choice) {
  switch (choice) {
    case OutputChoice::kIsm: return OfficeOutput::kIsm;
    case OutputChoice::kMltt: return OfficeOutput::kMltt;
    case OutputChoice::kRtf: return OfficeOutput::kRtf;
    case OutputChoice::kHtml5: return OfficeOutput::kHtml5;
    case OutputChoice::kText: return OfficeOutput::kText;
    case OutputChoice::kUnicode: return OfficeOutput::kUnicodeHtml;
    default: return OfficeOutput::kUnicode;
  }
}

std::variant<PlannedConversion, std::string> PlanRtf(OutputChoice choice) {
  switch (choice) {
    case OutputChoice::kDocx:
    case OutputChoice::kOdt:
      return std::string(choice == OutputChoice::kOdt ? "an ODT" : "a DOCX") +
             " output needs a document of that format; this one is Rich Text";
    case OutputChoice::kIsm: return RtfConversion{OutputKind::kIsm};
    case OutputChoice::kMltt: return RtfConversion{OutputKind::kMltt};
    case OutputChoice::kRtf: return RtfConversion{OutputKind::kRtf};
    case OutputChoice::kHtml5: return RtfConversion{OutputKind::kHtml5};
    case OutputChoice::kText: return RtfConversion{OutputKind::kText};
    default: return RtfConversion{OutputKind::kUnicode};
  }
}

// The package the office layer converts: a DOCX or ODT input's own; a
// foreign input's as the output asks (a DOCX output reads a .doc as DOCX,
// an ODT output as ODT), else its own format's.
std::variant<OfficeRoute, std::string> RouteFor(const OutputRequest& request, const DocumentKind& input) {
  OfficeRoute route;
  if (input.format != DocumentFormat::kForeign) {
    route.package = input.format;
    if (request.choice == OutputChoice::kDocx || request.choice == OutputChoice::kOdt) {
      const DocumentFormat wanted = request.choice == OutputChoice::kOdt ? DocumentFormat::kOdt : DocumentFormat::kDocx;
      if (wanted != input.format) {
        return std::string(wanted == DocumentFormat::kOdt ? "an ODT" : "a DOCX") +
               " output needs a document of that format; this one is " + std::string(FormatName(input.format));
      }
    }
  } else {
    route.readFrom = input.foreign;
    switch (request.choice) {
      case OutputChoice::kDocx: route.package = DocumentFormat::kDocx; break;
      case OutputChoice::kOdt: route.package = DocumentFormat::kOdt; break;
      case OutputChoice::kForeign: route.package = request.foreign->via; break;
      default: route.package = input.foreign->via; break;
    }
  }
  if (request.choice == OutputChoice::kForeign) {
    route.writeAs = request.foreign;
  } else if (input.format == DocumentFormat::kForeign && IsInPlaceOutput(OfficeOutputOf(request.choice)) &&
             request.choice != OutputChoice::kDocx && request.choice != OutputChoice::kOdt &&
             input.foreign->Writable()) {
    // ism, mltt and a batch's own format keep a foreign document's format
    // where LibreOffice writes it, and give its package where it does not.
    route.writeAs = input.foreign;
  }
  return route;
}

}  // namespace

std::optional<OutputRequest> OutputChoiceNamed(std::string_view name) {
  for (const auto& [known, choice] : kNames) {
    if (known == name) return OutputRequest{choice, nullptr};
  }
  const ForeignFormat* foreign = ForeignFormatByExtension(name);
  if (foreign != nullptr && foreign->Writable() && foreign->extension == name) {
    return OutputRequest{OutputChoice::kForeign, foreign};
  }
  return std::nullopt;
}

std::vector<std::string> OutputChoiceNames() {
  std::vector<std::string> names;
  for (const auto& [name, choice] : kNames) names.emplace_back(name);
  for (const ForeignFormat& format : ForeignFormats()) {
    if (format.Writable()) names.emplace_back(format.extension);
  }
  return names;
}

OutputRequest DefaultOutput(const std::string& outputPath, bool batch) {
  if (batch) return {OutputChoice::kSameFormat, nullptr};
  const std::string extension = LowerExtension(outputPath);
  if (extension == ".docx") return {OutputChoice::kDocx, nullptr};
  if (extension == ".odt") return {OutputChoice::kOdt, nullptr};
  if (extension == ".rtf") return {OutputChoice::kRtf, nullptr};
  if (extension == ".txt") return {OutputChoice::kText, nullptr};
  if (const ForeignFormat* foreign = ForeignFormatByExtension(extension)) return {OutputChoice::kForeign, foreign};
  return {OutputChoice::kUnicode, nullptr};
}

std::variant<PlannedConversion, std::string> PlanConversion(const OutputRequest& request, const DocumentKind& input) {
  if (request.choice == OutputChoice::kForeign && !request.foreign->Writable()) {
    return "LibreOffice reads " + std::string(request.foreign->name) + " documents (." +
           std::string(request.foreign->extension) + ") but cannot write them; --to docx or --to odt writes a package";
  }
  if (!IsOffice(input.format)) {
    if (request.choice == OutputChoice::kForeign) {
      return "a ." + std::string(request.foreign->extension) +
             " output needs a word processor's document (DOCX, ODT or one LibreOffice reads); this one is Rich Text";
    }
    return PlanRtf(request.choice);
  }
  auto route = RouteFor(request, input);
  if (const auto* why = std::get_if<std::string>(&route)) return *why;
  return OfficeConversion{OfficeOutputOf(request.choice), std::get<OfficeRoute>(route)};
}

Spelling SpellingFor(std::optional<Spelling> asked, const PlannedConversion& conversion) {
  if (asked) return *asked;
  // Every output named, so that a new one cannot slip in with either.
  if (const auto* rtf = std::get_if<RtfConversion>(&conversion)) {
    switch (rtf->output) {
      case OutputKind::kUnicode:
      case OutputKind::kIsm:
      case OutputKind::kMltt: return Spelling::kLegacy;
      case OutputKind::kRtf:
      case OutputKind::kHtml5:
      case OutputKind::kText: return Spelling::kModern;
    }
  } else {
    switch (std::get<OfficeConversion>(conversion).output) {
      case OfficeOutput::kUnicodeHtml:
      case OfficeOutput::kIsm:
      case OfficeOutput::kMltt: return Spelling::kLegacy;
      case OfficeOutput::kUnicode:
      case OfficeOutput::kRtf:
      case OfficeOutput::kHtml5:
      case OfficeOutput::kText: return Spelling::kModern;
    }
  }
  return Spelling::kLegacy;
}

std::string ResultExtension(const OutputRequest& request, const DocumentKind& input) {
  const auto plan = PlanConversion(request, input);
  if (const auto* planned = std::get_if<PlannedConversion>(&plan)) {
    if (const auto* rtf = std::get_if<RtfConversion>(planned)) return std::string(OutputExtension(rtf->output));
    const OfficeConversion& office = std::get<OfficeConversion>(*planned);
    switch (office.output) {
      case OfficeOutput::kUnicode:
      case OfficeOutput::kMltt:
      case OfficeOutput::kIsm:
        if (office.route.writeAs != nullptr) return "." + std::string(office.route.writeAs->extension);
        return office.route.package == DocumentFormat::kOdt ? ".odt" : ".docx";
      case OfficeOutput::kText: return ".txt";
      case OfficeOutput::kRtf: return ".rtf";
      case OfficeOutput::kHtml5:
      case OfficeOutput::kUnicodeHtml: break;
    }
  }
  return ".html";
}

}  // namespace maravelundi
