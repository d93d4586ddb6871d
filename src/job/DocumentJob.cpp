#include "job/DocumentJob.h"

#include <array>
#include <utility>

#include "convert/RtfInPlace.h"
#include "office/OfficeConversion.h"

namespace maravelundi {
namespace {

constexpr std::array<std::pair<std::string_view, Generation>, 3> kGenerationNames = {{
    {"auto", Generation::kAuto}, {"2", Generation::kVersion2}, {"7", Generation::kVersion7}}};
constexpr std::array<std::pair<std::string_view, Spelling>, 2> kSpellingNames = {{
    {"legacy", Spelling::kLegacy}, {"modern", Spelling::kModern}}};

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
  ConversionSettings settings;
  settings.output = *output;
  settings.profile.generation = *generation;
  settings.profile.unicodeFont = named.unicodeFont;
  settings.spelling = spelling;
  settings.foreignEngine = foreignEngine;
  return settings;
}

std::string DescribeWarning(const std::string& name, const ReadWarning& warning) {
  return name + ": warning: " + warning.message + " (at byte " + std::to_string(warning.offset) + ")";
}

std::optional<SourceDocument> ParseDocument(std::string&& bytes, const std::string& name,
                                            const ConversionSettings& settings, std::string& error,
                                            std::vector<std::string>* warnings) {
  const FormatDetection detected = DetectDocumentFormat(bytes);
  if (detected.error) {
    error = name + ": " + Describe(*detected.error);
    return std::nullopt;
  }
  DocumentKind kind = KindOfDocument(detected.format, bytes, name);
  if (kind.format == DocumentFormat::kUnknown) {
    // Said as a reader that judges the first bytes says it, so that a short
    // input read whole gets the words an endless one is refused with.
    if (!bytes.empty()) {
      error = name + ": " + DescribeUnknownDocument(bytes);
      return std::nullopt;
    }
    kind.format = DocumentFormat::kRtf;  // whose reader says the file is empty
  }
  auto plan = PlanConversion(settings, kind);
  if (const auto* why = std::get_if<std::string>(&plan)) {
    error = name + ": " + *why;
    return std::nullopt;
  }
  SourceDocument source{name, kind, std::get<PlannedConversion>(plan), {}, {}};
  if (kind.format != DocumentFormat::kRtf) {
    source.markup = std::move(bytes);
    return source;
  }
  const bool inPlace = source.conversion.output == OutputKind::kInPlace;
  source.reading = ReadRtf(bytes, RtfReadOptions{.sourceSpans = inPlace, .sideStories = inPlace});
  if (warnings != nullptr) {
    for (const ReadWarning& warning : source.reading.warnings) warnings->push_back(DescribeWarning(name, warning));
  }
  if (!source.reading.Ok()) {
    error = name + ": " + source.reading.error->message + " (at byte " + std::to_string(source.reading.error->offset) +
            ")";
    return std::nullopt;
  }
  if (inPlace) {
    source.markup = std::move(bytes);
  } else {
    std::string().swap(bytes);  // the text is in the document now; give the memory back
  }
  return source;
}

bool ConvertSource(SourceDocument&& source, const ConversionSettings& settings, const std::string& title,
                   ByteSink& out, std::string& error, ProgressSink* progress) {
  const PlannedConversion& planned = source.conversion;
  if (planned.route) {
    OfficeOptions options;
    options.progress = progress;
    WholeResult result = ConvertAlongRoute(source.markup, *planned.route, planned.output, planned.profile, options,
                                           settings.foreignEngine, title);
    std::string().swap(source.markup);
    if (!result.Ok()) {
      error = source.name + ": " + *result.error;
      return false;
    }
    out.Write(result.bytes);
    return true;
  }
  if (planned.output == OutputKind::kInPlace) {
    // Rich Text converts in place: everything but the legacy text stays.
    ConvertRtfInPlace(source.markup, source.reading, planned.profile, out, progress);
    return true;
  }
  ConvertDocument(std::move(source.reading.document), planned.output, planned.profile, out, progress, title);
  return true;
}

}  // namespace maravelundi
