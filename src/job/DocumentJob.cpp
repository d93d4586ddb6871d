#include "job/DocumentJob.h"

#include <array>
#include <cstdio>
#include <map>
#include <utility>

#include "convert/InPlaceConversion.h"
#include "convert/MlttStage.h"
#include "convert/RtfInPlace.h"
#include "office/NewDocument.h"
#include "office/OfficeConversion.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

constexpr std::array<std::pair<std::string_view, Generation>, 3> kGenerationNames = {{
    {"auto", Generation::kAuto}, {"2", Generation::kVersion2}, {"7", Generation::kVersion7}}};
constexpr std::array<std::pair<std::string_view, Spelling>, 2> kSpellingNames = {{
    {"legacy", Spelling::kLegacy}, {"modern", Spelling::kModern}}};

Failure About(Failure failure, const std::string& name) {
  failure.subject = name;
  return failure;
}

// What kind of failure each of the Rich Text reader's errors is: no Rich
// Text at all, or Rich Text that does not read to its end.
FailureCode KindOfParseError(ParseErrorCode code) {
  switch (code) {
    case ParseErrorCode::Empty:
    case ParseErrorCode::NotRtf: return FailureCode::kNotADocument;
    case ParseErrorCode::TooLarge: return FailureCode::kTooLarge;
    default: return FailureCode::kDamagedDocument;
  }
}

// The output, and with it the text when the output is the text.
class BothSinks : public ByteSink {
 public:
  BothSinks(ByteSink& first, ByteSink* second) : first_(first), second_(second) {}
  void Write(std::string_view bytes) override {
    first_.Write(bytes);
    if (second_ != nullptr) second_->Write(bytes);
  }

 private:
  ByteSink& first_;
  ByteSink* second_;
};

// The text of the document as read, with the plan's generation and
// spelling: what the text output of the same options writes. False when a
// package's body cannot be read.
bool MakeText(SourceDocument& source, ByteSink& sink) {
  ConversionProfile profile = source.conversion.profile;
  profile.target = TextTarget::kUnicode;
  if (!source.conversion.route) {
    ConvertDocument(std::move(source.reading.document), OutputKind::kText, profile, sink);
    return true;
  }
  Outcome<Document> body = ReadOfficePackage(source.package->Package(), source.conversion.route->package, profile);
  source.package.reset();
  if (!body.Ok()) return false;
  ConvertDocument(std::move(body.Value()), OutputKind::kText, profile, sink);
  return true;
}

// "NAME: 3 characters have no glyph in ML-TTKarthika and are kept as they
// are: ൟ U+0D5F (2), ..." for the way back; none when every one has.
std::optional<std::string> DescribeWithoutGlyph(const std::string& name, const Document& story,
                                                const ConversionProfile& profile) {
  const std::u16string kept = CharactersWithoutGlyph(story, profile);
  if (kept.empty()) return std::nullopt;
  std::map<char16_t, std::size_t> counts;
  for (const char16_t ch : kept) ++counts[ch];
  std::string text = name + ": " + std::to_string(kept.size()) + " character" + (kept.size() == 1 ? "" : "s") +
                     " with no glyph in " + profile.legacyFont + ", kept as they are:";
  const char* separator = " ";
  for (const auto& [ch, count] : counts) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
    text += separator + ToUtf8(std::u16string_view(&ch, 1)) + " " + code + " (" + std::to_string(count) + ")";
    separator = ", ";
  }
  return text;
}

// What the way back keeps of the document for want of glyphs: of the text
// a Rich Text or plain text reading holds, or of a package's body.
void ReportWithoutGlyph(const SourceDocument& source, std::vector<std::string>& warnings) {
  const PlannedConversion& planned = source.conversion;
  if (planned.profile.target != TextTarget::kLegacy) return;
  std::optional<std::string> report;
  if (!planned.route) {
    report = DescribeWithoutGlyph(source.name, source.reading.document, planned.profile);
  } else if (source.package) {
    Outcome<Document> body = ReadOfficePackage(source.package->Package(), planned.route->package, planned.profile);
    if (body.Ok()) report = DescribeWithoutGlyph(source.name, body.Value(), planned.profile);
  }
  if (report) warnings.push_back(std::move(*report));
}

// Rich Text converted in place into `out`: everything but the legacy text
// stays. Where another format is asked for, the engine then writes the
// converted document in it.
std::optional<Failure> ConvertRtfWhole(const SourceDocument& source, const PlannedConversion& planned,
                                       const ForeignEngine* engine, ByteSink& out, ProgressSink* progress) {
  if (planned.writeAs == nullptr) {
    ConvertRtfInPlace(source.markup, source.reading, planned.profile, out, progress);
    return std::nullopt;
  }
  if (engine == nullptr) return About(NoEngine(*planned.writeAs), source.name);
  StringSink converted;
  ConvertRtfInPlace(source.markup, source.reading, planned.profile, converted, progress);
  WholeResult written = engine->Write(converted.Bytes(), DocumentFormat::kRtf, *planned.writeAs);
  if (!written.Ok()) return About(std::move(written.Error()), source.name);
  out.Write(written.Value());
  return std::nullopt;
}

template <typename Value, std::size_t size>
std::optional<Value> Named(const std::array<std::pair<std::string_view, Value>, size>& names, std::string_view name) {
  for (const auto& [known, value] : names) {
    if (known == name) return value;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Generation> GenerationNamed(std::string_view name) { return Named(kGenerationNames, name); }
std::optional<Spelling> SpellingNamed(std::string_view name) { return Named(kSpellingNames, name); }

std::variant<ConversionSettings, std::string> SettingsNamed(const NamedOptions& named,
                                                            const ForeignEngine* foreignEngine) {
  const std::optional<OutputRequest> output =
      named.to.empty() ? DefaultOutput(named.outputPath, named.batch) : OutputChoiceNamed(named.to);
  if (!output) return "unknown output: --to " + named.to;
  const std::optional<Generation> generation = GenerationNamed(named.fonts);
  if (!generation) return "unknown generation: --fonts " + named.fonts;
  const std::optional<Spelling> spelling = SpellingNamed(named.spelling);
  if (!named.spelling.empty() && !spelling) return "unknown spelling: --spelling " + named.spelling;
  if (!named.from.empty() && named.from != "text") return "unknown input format: --from " + named.from;
  if (!PlainTextFontKnown(named.font)) return "unknown font: --font " + named.font + " (--list-fonts lists them)";
  if (!LegacyTargetNamed(named.legacyFont)) {
    return "no way back to " + named.legacyFont + ": --legacy-font takes a font --list-fonts says is written";
  }
  ConversionSettings settings;
  settings.output = *output;
  settings.profile.generation = *generation;
  settings.profile.unicodeFont = named.unicodeFont;
  settings.profile.legacyFont = named.legacyFont;
  settings.profile.legacyBytes = named.legacyBytes;
  settings.spelling = spelling;
  settings.foreignEngine = foreignEngine;
  settings.text = TextInputSettings{named.from == "text", named.font, named.convertAll};
  return settings;
}

std::string DescribeWarning(const std::string& name, const ReadWarning& warning) {
  return name + ": warning: " + warning.message + " (at byte " + std::to_string(warning.offset) + ")";
}

namespace {

// Plain text read into a document, with what the reading says. The text is
// read as Unicode for the way back, else as a legacy font's codes.
Result<SourceDocument> ParsePlainText(std::string&& bytes, const std::string& name, const ConversionSettings& settings,
                                      std::vector<std::string>* warnings) {
  const DocumentKind kind{DocumentFormat::kText, nullptr};
  Result<PlannedConversion> plan = PlanConversion(settings, kind);
  if (!plan.Ok()) return About(std::move(plan.Error()), name);
  const bool wayBack = plan.Value().profile.target == TextTarget::kLegacy;
  Result<PlainTextReading> read = ReadPlainText(bytes, name, settings.text, wayBack);
  std::string().swap(bytes);
  if (!read.Ok()) return std::move(read.Error());
  PlainTextReading& text = read.Value();
  SourceDocument source{name, kind, std::move(plan.Value()), {}, {}, std::nullopt, std::move(text.notices)};
  source.reading.document = std::move(text.document);
  if (warnings != nullptr) {
    warnings->insert(warnings->end(), text.details.begin(), text.details.end());
    ReportWithoutGlyph(source, *warnings);
  }
  return source;
}

// A PDF's text layer read into a document by the program's reader.
Result<SourceDocument> ParsePdf(std::string&& bytes, const std::string& name, const ConversionSettings& settings,
                                std::vector<std::string>* warnings) {
  const DocumentKind kind{DocumentFormat::kPdf, nullptr};
  Result<PlannedConversion> plan = PlanConversion(settings, kind);
  if (!plan.Ok()) return About(std::move(plan.Error()), name);
  if (settings.pdfReader == nullptr) return NoPdfReader(name);
  Result<PdfReading> read = settings.pdfReader->Read(bytes, name, settings.text);
  std::string().swap(bytes);
  if (!read.Ok()) return About(std::move(read.Error()), name);
  SourceDocument source{name, kind, std::move(plan.Value()), {}, {}, std::nullopt, std::move(read.Value().notices)};
  source.reading.document = std::move(read.Value().document);
  if (warnings != nullptr) {
    warnings->insert(warnings->end(), read.Value().details.begin(), read.Value().details.end());
  }
  return source;
}

}  // namespace

Result<SourceDocument> ParseDocument(std::string&& bytes, const std::string& name, const ConversionSettings& settings,
                                     std::vector<std::string>* warnings) {
  if (ReadsAsPlainText(name, settings.text)) return ParsePlainText(std::move(bytes), name, settings, warnings);
  DetectedDocument detected = DetectDocument(std::move(bytes));
  if (detected.detection.error) return About(AsFailure(*detected.detection.error), name);
  if (detected.detection.format == DocumentFormat::kPdf) {
    return ParsePdf(std::move(detected.bytes), name, settings, warnings);
  }
  DocumentKind kind = KindOfDocument(detected.detection.format, detected.bytes, name);
  if (kind.format == DocumentFormat::kUnknown) {
    // Said as a reader that judges the first bytes says it, so that a short
    // input read whole gets the words an endless one is refused with.
    if (!detected.bytes.empty()) {
      return Failure{FailureCode::kNotADocument, name, DescribeUnknownDocument(detected.bytes), {}, std::nullopt};
    }
    kind.format = DocumentFormat::kRtf;  // whose reader says the file is empty
  }
  Result<PlannedConversion> plan = PlanConversion(settings, kind);
  if (!plan.Ok()) return About(std::move(plan.Error()), name);
  SourceDocument source{name, kind, std::move(plan.Value()), {}, {}, std::move(detected.package), {}};
  if (kind.format != DocumentFormat::kRtf) {
    source.markup = std::move(detected.bytes);  // a foreign document's; a package holds its own
    if (warnings != nullptr) ReportWithoutGlyph(source, *warnings);
    return source;
  }
  const bool inPlace = source.conversion.output == OutputKind::kInPlace;
  source.reading = ReadRtf(detected.bytes, RtfReadOptions{.sourceSpans = inPlace, .sideStories = inPlace});
  if (warnings != nullptr) {
    for (const ReadWarning& warning : source.reading.warnings) warnings->push_back(DescribeWarning(name, warning));
  }
  if (!source.reading.Ok()) {
    const ParseError& error = *source.reading.error;
    return Failure{KindOfParseError(error.code), name, error.message, {}, error.offset};
  }
  if (warnings != nullptr) ReportWithoutGlyph(source, *warnings);
  if (inPlace) {
    source.markup = std::move(detected.bytes);
  } else {
    std::string().swap(detected.bytes);  // the text is in the document now; give the memory back
  }
  return source;
}

std::optional<Failure> ConvertSource(SourceDocument&& source, const ConversionSettings& settings,
                                     const std::string& title, ByteSink& out, ProgressSink* progress,
                                     TextAlongside* text) {
  const PlannedConversion& planned = source.conversion;
  // The text output is its own text.
  const bool textIsOutput = text != nullptr && planned.output == OutputKind::kText;
  BothSinks both(out, textIsOutput ? &text->sink : nullptr);
  if (planned.route) {
    if (!source.package) {
      Result<OpenPackage> read = ReadAlongRoute(source.markup, *planned.route, settings.foreignEngine);
      std::string().swap(source.markup);
      if (!read.Ok()) return About(std::move(read.Error()), source.name);
      source.package = std::move(read.Value());
    }
    WholeResult converted = ConvertPackageAlongRoute(source.package->Package(), *planned.route, planned.output,
                                                     planned.profile, OfficeOptions{{}, progress},
                                                     settings.foreignEngine, title);
    if (text == nullptr) source.package.reset();  // the package's memory back before the output's is written
    if (!converted.Ok()) return About(std::move(converted.Error()), source.name);
    both.Write(converted.Value());
  } else if (planned.newDocument != DocumentFormat::kUnknown) {
    // Plain text as a new word processor's document.
    const Document unicode = ConvertToUnicodeDocument(source.reading.document, planned.profile, progress);
    Outcome<std::string> package = planned.newDocument == DocumentFormat::kOdt ? WriteNewOdt(unicode, title)
                                                                               : WriteNewDocx(unicode, title);
    if (!package.Ok()) return AsFailure(package.Error(), source.name);
    both.Write(package.Value());
  } else if (planned.output == OutputKind::kInPlace) {
    if (auto failure = ConvertRtfWhole(source, planned, settings.foreignEngine, both, progress)) return failure;
  } else if (text == nullptr) {
    ConvertDocument(std::move(source.reading.document), planned.output, planned.profile, both, progress, title);
  } else {
    ConvertDocument(source.reading.document, planned.output, planned.profile, both, progress, title);
  }
  if (text == nullptr) return std::nullopt;
  if (text->outputDone) text->outputDone();
  text->made = textIsOutput || MakeText(source, text->sink);
  return std::nullopt;
}

std::optional<Failure> ReadBody(SourceDocument& source, const ForeignEngine* engine) {
  const std::optional<OfficeRoute>& route = source.conversion.route;
  if (!route) return std::nullopt;
  if (!source.package) {
    Result<OpenPackage> read = ReadAlongRoute(source.markup, *route, engine);
    if (!read.Ok()) return About(std::move(read.Error()), source.name);
    std::string().swap(source.markup);
    source.package = std::move(read.Value());
  }
  // A spreadsheet or a presentation has no body; it converts whole.
  if (ClassOf(route->package) != DocumentClass::kText) return std::nullopt;
  Outcome<Document> body = ReadOfficePackage(source.package->Package(), route->package, ConversionProfile{});
  if (!body.Ok()) return AsFailure(body.Error(), source.name);
  source.reading.document = std::move(body.Value());
  return std::nullopt;
}

std::optional<Failure> ConvertKept(const SourceDocument& source, const PlannedConversion& planned,
                                   const ForeignEngine* engine, ByteSink& out, ProgressSink* progress,
                                   Document* mltt) {
  if (!planned.route) {
    if (planned.output == OutputKind::kInPlace && source.markup.empty()) {
      return Failure{FailureCode::kNoSuchConversion, source.name,
                     "read for a new file, the document cannot be converted in place", {}, std::nullopt};
    }
    if (planned.output == OutputKind::kInPlace) {
      if (auto failure = ConvertRtfWhole(source, planned, engine, out, progress)) return failure;
      if (mltt != nullptr) *mltt = ConvertToMltt(source.reading.document, planned.profile);
    } else {
      ConvertDocument(source.reading.document, planned.output, planned.profile, out, progress, kDefaultTitle, mltt);
    }
    return std::nullopt;
  }
  if (source.package && source.conversion.route->package != planned.route->package) {
    return Failure{FailureCode::kNoSuchConversion, source.name,
                   "read as " + std::string(DocumentFormatName(source.conversion.route->package)) +
                       ", the document cannot be converted as " +
                       std::string(DocumentFormatName(planned.route->package)),
                   {}, std::nullopt};
  }
  // A foreign document not yet read is read for this conversion alone.
  std::optional<OpenPackage> read;
  if (!source.package) {
    Result<OpenPackage> made = ReadAlongRoute(source.markup, *planned.route, engine);
    if (!made.Ok()) return About(std::move(made.Error()), source.name);
    read = std::move(made.Value());
  }
  const OpenPackage& package = source.package ? *source.package : *read;
  WholeResult converted = ConvertPackageAlongRoute(package.Package(), *planned.route, planned.output, planned.profile,
                                                   OfficeOptions{{}, progress}, engine);
  if (!converted.Ok()) return About(std::move(converted.Error()), source.name);
  if (mltt != nullptr) *mltt = ConvertToMltt(source.reading.document, planned.profile);
  out.Write(converted.Value());
  return std::nullopt;
}

}  // namespace maravelundi
