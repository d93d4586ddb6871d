#include "job/OutputChoice.h"

#include <array>
#include <utility>

#include "convert/LegacyTarget.h"

namespace maravelundi {
namespace {

constexpr std::array<std::pair<std::string_view, OutputChoice>, 13> kNames = {{
    {"unicode", OutputChoice::kUnicode},
    {"ism", OutputChoice::kIsm},
    {"mltt", OutputChoice::kMltt},
    {"rtf", OutputChoice::kRtf},
    {"html5", OutputChoice::kHtml5},
    {"text", OutputChoice::kText},
    {"docx", OutputChoice::kDocx},
    {"odt", OutputChoice::kOdt},
    {"xlsx", OutputChoice::kXlsx},
    {"ods", OutputChoice::kOds},
    {"pptx", OutputChoice::kPptx},
    {"odp", OutputChoice::kOdp},
    {"legacy", OutputChoice::kLegacy},
}};

// The package of ours a choice names, or kUnknown.
DocumentFormat PackageChosen(OutputChoice choice) {
  switch (choice) {
    case OutputChoice::kDocx: return DocumentFormat::kDocx;
    case OutputChoice::kOdt: return DocumentFormat::kOdt;
    case OutputChoice::kXlsx: return DocumentFormat::kXlsx;
    case OutputChoice::kOds: return DocumentFormat::kOds;
    case OutputChoice::kPptx: return DocumentFormat::kPptx;
    case OutputChoice::kOdp: return DocumentFormat::kOdp;
    default: return DocumentFormat::kUnknown;
  }
}

// The kind of document an output is, where it is one: a package's or a
// foreign format's. None for the flat outputs and the targets.
std::optional<DocumentClass> ClassChosen(const OutputRequest& request) {
  if (request.choice == OutputChoice::kForeign) return ClassOf(request.foreign->via);
  if (request.choice == OutputChoice::kRtf) return DocumentClass::kText;
  const DocumentFormat package = PackageChosen(request.choice);
  if (package == DocumentFormat::kUnknown) return std::nullopt;
  return ClassOf(package);
}

DocumentClass ClassOfInput(const DocumentKind& input) {
  return input.format == DocumentFormat::kForeign ? ClassOf(input.foreign->via) : ClassOf(input.format);
}

std::string_view ClassWords(DocumentClass kind) {
  switch (kind) {
    case DocumentClass::kSpreadsheet: return "a spreadsheet";
    case DocumentClass::kPresentation: return "a presentation";
    case DocumentClass::kText: break;
  }
  return "a word processor's document";
}

// The extension of an input of ours or LibreOffice's: what its own format
// is called.
std::string_view OwnExtension(const DocumentKind& input) {
  return input.format == DocumentFormat::kForeign ? input.foreign->extension : DocumentFormatName(input.format);
}

Failure NoSuchConversion(std::string why) {
  return Failure{FailureCode::kNoSuchConversion, {}, std::move(why), {}, std::nullopt};
}

bool IsOffice(DocumentFormat format) { return IsOwnPackage(format) || format == DocumentFormat::kForeign; }

// What --to means for a document's text: what is written and what its
// legacy text becomes.
struct OutputMeaning {
  OutputKind output;
  TextTarget target;
};

// A Rich Text document has its own outputs and is converted in place by rtf,
// and by docx, odt and the foreign formats before LibreOffice writes it in
// theirs; a batch gives it the Unicode HTML.
OutputMeaning RtfMeaning(OutputChoice choice) {
  switch (choice) {
    case OutputChoice::kDocx:
    case OutputChoice::kOdt:
    case OutputChoice::kForeign: return OutputMeaning{OutputKind::kInPlace, TextTarget::kUnicode};
    case OutputChoice::kIsm: return OutputMeaning{OutputKind::kRichText, TextTarget::kIsm};
    case OutputChoice::kMltt: return OutputMeaning{OutputKind::kRichText, TextTarget::kMltt};
    case OutputChoice::kRtf: return OutputMeaning{OutputKind::kInPlace, TextTarget::kUnicode};
    case OutputChoice::kLegacy: return OutputMeaning{OutputKind::kInPlace, TextTarget::kLegacy};
    case OutputChoice::kHtml5: return OutputMeaning{OutputKind::kHtml5, TextTarget::kUnicode};
    case OutputChoice::kText: return OutputMeaning{OutputKind::kText, TextTarget::kUnicode};
    case OutputChoice::kUnicode:
    case OutputChoice::kXlsx:
    case OutputChoice::kOds:
    case OutputChoice::kPptx:
    case OutputChoice::kOdp:
    case OutputChoice::kSameFormat: break;
  }
  return OutputMeaning{OutputKind::kUnicodeHtml, TextTarget::kUnicode};
}

// What LibreOffice writes a Rich Text document converted in place as, when
// another format is asked for.
const ForeignFormat* RtfWrittenAs(const OutputRequest& request) {
  switch (request.choice) {
    case OutputChoice::kDocx: return &OwnFormatWritten(DocumentFormat::kDocx);
    case OutputChoice::kOdt: return &OwnFormatWritten(DocumentFormat::kOdt);
    case OutputChoice::kForeign: return request.foreign;
    default: return nullptr;
  }
}

// A word processor's document stays a document of its format, in place,
// unless a new file of another kind is asked for.
OutputMeaning OfficeMeaning(OutputChoice choice) {
  switch (choice) {
    case OutputChoice::kUnicode: return {OutputKind::kUnicodeHtml, TextTarget::kUnicode};
    case OutputChoice::kIsm: return {OutputKind::kInPlace, TextTarget::kIsm};
    case OutputChoice::kMltt: return {OutputKind::kInPlace, TextTarget::kMltt};
    case OutputChoice::kHtml5: return {OutputKind::kHtml5, TextTarget::kUnicode};
    case OutputChoice::kText: return {OutputKind::kText, TextTarget::kUnicode};
    case OutputChoice::kLegacy: return {OutputKind::kInPlace, TextTarget::kLegacy};
    case OutputChoice::kRtf:
    case OutputChoice::kDocx:
    case OutputChoice::kOdt:
    case OutputChoice::kXlsx:
    case OutputChoice::kOds:
    case OutputChoice::kPptx:
    case OutputChoice::kOdp:
    case OutputChoice::kForeign:
    case OutputChoice::kSameFormat: break;
  }
  return {OutputKind::kInPlace, TextTarget::kUnicode};
}

// A workbook or a presentation converts in place, as one of its kind (in
// its own format, or another of its kind that LibreOffice writes), with the
// target asked for; it has no body to make a new file of.
std::variant<OutputMeaning, std::string> WholeMeaning(const OutputRequest& request, const DocumentKind& input) {
  const DocumentClass kind = ClassOfInput(input);
  if (ClassChosen(request) == kind) return OutputMeaning{OutputKind::kInPlace, TextTarget::kUnicode};
  switch (request.choice) {
    case OutputChoice::kSameFormat: return OutputMeaning{OutputKind::kInPlace, TextTarget::kUnicode};
    case OutputChoice::kUnicode:
      if (request.byDefault) return OutputMeaning{OutputKind::kInPlace, TextTarget::kUnicode};
      break;
    case OutputChoice::kIsm: return OutputMeaning{OutputKind::kInPlace, TextTarget::kIsm};
    case OutputChoice::kMltt: return OutputMeaning{OutputKind::kInPlace, TextTarget::kMltt};
    case OutputChoice::kLegacy: return OutputMeaning{OutputKind::kInPlace, TextTarget::kLegacy};
    default: break;
  }
  const std::string words(ClassWords(kind));
  const std::string extension(OwnExtension(input));
  return words + " converts in place, as " + words + ": -o NAME." + extension + " or --to " + extension +
         " (ism, mltt and legacy keep it " + words + " too)";
}

// Plain text has no document to keep: each output is a new file (a DOCX or
// ODT one made by the job), and its own format is the text.
OutputMeaning TextMeaning(const OutputRequest& request) {
  switch (request.choice) {
    case OutputChoice::kUnicode:
      if (request.byDefault) break;
      return {OutputKind::kUnicodeHtml, TextTarget::kUnicode};
    case OutputChoice::kIsm: return {OutputKind::kRichText, TextTarget::kIsm};
    case OutputChoice::kMltt: return {OutputKind::kRichText, TextTarget::kMltt};
    case OutputChoice::kRtf: return {OutputKind::kRichText, TextTarget::kUnicode};
    case OutputChoice::kHtml5: return {OutputKind::kHtml5, TextTarget::kUnicode};
    case OutputChoice::kLegacy: return {OutputKind::kText, TextTarget::kLegacy};
    case OutputChoice::kDocx:
    case OutputChoice::kOdt:
    case OutputChoice::kXlsx:
    case OutputChoice::kOds:
    case OutputChoice::kPptx:
    case OutputChoice::kOdp:
    case OutputChoice::kText:
    case OutputChoice::kForeign:
    case OutputChoice::kSameFormat: break;
  }
  return {OutputKind::kText, TextTarget::kUnicode};
}

// Unicode outputs but the HTML of character references spell as Malayalam
// is written today; the ML-TT ones hold no Unicode to spell.
Spelling OwnSpelling(const OutputMeaning& meaning) {
  if (meaning.target != TextTarget::kUnicode || meaning.output == OutputKind::kUnicodeHtml) return Spelling::kLegacy;
  return Spelling::kModern;
}

// The package the office layer converts: a DOCX or ODT input's own; a
// foreign input's as the output asks (a DOCX output reads a .doc as DOCX,
// an ODT output as ODT), else its own format's. A package asked for in
// another of our formats (DOCX as ODT, either as Rich Text) is converted in
// its own, then written by LibreOffice in the other.
OfficeRoute RouteFor(const OutputRequest& request, const DocumentKind& input, OutputKind output) {
  OfficeRoute route;
  const DocumentFormat wanted = PackageChosen(request.choice);
  if (input.format != DocumentFormat::kForeign) {
    route.package = input.format;
    if (wanted != DocumentFormat::kUnknown && wanted != input.format) route.writeAs = &OwnFormatWritten(wanted);
  } else {
    route.readFrom = input.foreign;
    if (wanted != DocumentFormat::kUnknown) {
      route.package = wanted;
    } else if (request.choice == OutputChoice::kForeign) {
      route.package = request.foreign->via;
    } else {
      route.package = input.foreign->via;
    }
  }
  if (request.choice == OutputChoice::kForeign) {
    route.writeAs = request.foreign;
  } else if (request.choice == OutputChoice::kRtf) {
    route.writeAs = &OwnFormatWritten(DocumentFormat::kRtf);
  } else if (input.format == DocumentFormat::kForeign && output == OutputKind::kInPlace &&
             wanted == DocumentFormat::kUnknown && input.foreign->Writable()) {
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
  for (const OutputChoice package : {OutputChoice::kXlsx, OutputChoice::kOds, OutputChoice::kPptx, OutputChoice::kOdp}) {
    if (extension == "." + std::string(DocumentFormatName(PackageChosen(package)))) return {package, nullptr};
  }
  if (const ForeignFormat* foreign = ForeignFormatByExtension(extension)) return {OutputChoice::kForeign, foreign};
  const bool html = extension == ".html" || extension == ".htm";
  return {OutputChoice::kUnicode, nullptr, !html};
}

Result<PlannedConversion> PlanConversion(const ConversionSettings& settings, const DocumentKind& input) {
  const OutputRequest& request = settings.output;
  if (request.choice == OutputChoice::kForeign && !request.foreign->Writable()) {
    return NoSuchConversion("LibreOffice reads " + std::string(request.foreign->name) + " documents (." +
                            std::string(request.foreign->extension) +
                            ") but cannot write them; --to docx or --to odt writes a package");
  }
  PlannedConversion planned;
  OutputMeaning meaning{};
  const std::optional<DocumentClass> chosen = ClassChosen(request);
  const DocumentClass given = ClassOfInput(input);
  if (chosen && *chosen != DocumentClass::kText && *chosen != given) {
    const std::string name = request.choice == OutputChoice::kForeign
                                 ? std::string(request.foreign->extension)
                                 : std::string(DocumentFormatName(PackageChosen(request.choice)));
    return NoSuchConversion("a ." + name + " output needs " + std::string(ClassWords(*chosen)));
  }
  if (given != DocumentClass::kText) {
    auto whole = WholeMeaning(request, input);
    if (const auto* why = std::get_if<std::string>(&whole)) return NoSuchConversion(*why);
    meaning = std::get<OutputMeaning>(whole);
    planned.route = RouteFor(request, input, meaning.output);
  } else if (input.format == DocumentFormat::kText || input.format == DocumentFormat::kPdf) {
    const std::string what = input.format == DocumentFormat::kPdf ? "a PDF" : "plain text";
    if (request.choice == OutputChoice::kForeign) {
      return NoSuchConversion("a ." + std::string(request.foreign->extension) +
                              " output needs a word processor's document; " + what +
                              " gives text, html5, rtf, docx or odt");
    }
    meaning = TextMeaning(request);
    if (input.format == DocumentFormat::kPdf && meaning.target == TextTarget::kLegacy) {
      return NoSuchConversion("a PDF's legacy text converts to Unicode; --to legacy takes Unicode text or documents");
    }
    if (meaning.target == TextTarget::kLegacy) {
      const std::optional<LegacyTarget> target = LegacyTargetNamed(settings.profile.legacyFont);
      if (target && target->SpreadOverFonts()) {
        return NoSuchConversion(target->name + " spreads its glyphs over six fonts, which text cannot carry: "
                                "convert a document (rtf, docx or odt) back to it, or choose one font");
      }
    }
    if (request.choice == OutputChoice::kDocx) planned.newDocument = DocumentFormat::kDocx;
    if (request.choice == OutputChoice::kOdt) planned.newDocument = DocumentFormat::kOdt;
  } else if (!IsOffice(input.format)) {
    meaning = RtfMeaning(request.choice);
    planned.writeAs = RtfWrittenAs(request);
  } else {
    meaning = OfficeMeaning(request.choice);
    planned.route = RouteFor(request, input, meaning.output);
  }
  planned.output = meaning.output;
  planned.profile = settings.profile;
  planned.profile.target = meaning.target;
  planned.profile.spelling = settings.spelling.value_or(OwnSpelling(meaning));
  return planned;
}

std::string ResultExtension(const OutputRequest& request, const DocumentKind& input) {
  const ConversionSettings settings{request, {}, std::nullopt, nullptr, {}};
  const Result<PlannedConversion> plan = PlanConversion(settings, input);
  if (!plan.Ok()) return ".html";
  const PlannedConversion* planned = &plan.Value();
  if (planned->newDocument != DocumentFormat::kUnknown) {
    return planned->newDocument == DocumentFormat::kOdt ? ".odt" : ".docx";
  }
  if (planned->writeAs != nullptr) return "." + std::string(planned->writeAs->extension);
  if (planned->output != OutputKind::kInPlace || !planned->route) return std::string(OutputExtension(planned->output));
  if (planned->route->writeAs != nullptr) return "." + std::string(planned->route->writeAs->extension);
  return "." + std::string(OwnFormatWritten(planned->route->package).extension);
}

}  // namespace maravelundi
