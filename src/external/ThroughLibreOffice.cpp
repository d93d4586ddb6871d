#include "external/ThroughLibreOffice.h"

namespace maravelundi {
namespace {

std::string_view PackageExtension(DocumentFormat format) { return format == DocumentFormat::kOdt ? "odt" : "docx"; }

std::string PackageName(DocumentFormat format) { return format == DocumentFormat::kOdt ? "ODT" : "DOCX"; }

std::string Described(const ForeignFormat& format) {
  return std::string(format.name) + " (." + std::string(format.extension) + ")";
}

std::string Duration(std::chrono::milliseconds limit) {
  if (limit.count() % 1000 == 0) return std::to_string(limit.count() / 1000) + " s";
  return std::to_string(limit.count()) + " ms";
}

// `task` says what LibreOffice was doing ("converting it from Word 97-2003
// (.doc) to DOCX"), `needed` what it is needed for.
WholeResult Judged(LibreOfficeRun run, const std::string& task, const std::string& needed,
                   const LibreOfficeSettings& settings) {
  WholeResult result;
  const std::string detail = run.detail.empty() ? "" : ": " + run.detail;
  switch (run.failure) {
    case LibreOfficeFailure::kNone: result.bytes = std::move(run.bytes); break;
    case LibreOfficeFailure::kNotInstalled:
      result.error = "LibreOffice is needed to " + needed + ", and it is not installed (no soffice on PATH)";
      break;
    case LibreOfficeFailure::kCannotRun: result.error = "LibreOffice could not be run for " + task + detail; break;
    case LibreOfficeFailure::kFailed:
    case LibreOfficeFailure::kNoResult: result.error = "LibreOffice failed " + task + detail; break;
    case LibreOfficeFailure::kTimedOut:
      result.error = "LibreOffice was still " + task + " after " + Duration(settings.timeLimit) + " and was stopped" + detail;
      break;
    case LibreOfficeFailure::kStopped: result.error = "LibreOffice was stopped while " + task; break;
  }
  return result;
}

}  // namespace

WholeResult ReadThroughLibreOffice(std::string_view document, const ForeignFormat& from, DocumentFormat to,
                                   const LibreOfficeSettings& settings) {
  const std::string_view extension = PackageExtension(to);
  return Judged(RunLibreOffice(document, from.extension, extension, extension, settings),
                "converting it from " + Described(from) + " to " + PackageName(to),
                "read " + std::string(from.name) + " documents (." + std::string(from.extension) + ")", settings);
}

WholeResult WriteThroughLibreOffice(std::string_view package, DocumentFormat from, const ForeignFormat& as,
                                    const LibreOfficeSettings& settings) {
  if (!as.Writable()) {
    return {{}, "LibreOffice reads " + Described(as) + " but cannot write it"};
  }
  return Judged(RunLibreOffice(package, PackageExtension(from), as.exportFilter, as.extension, settings),
                "converting the result from " + PackageName(from) + " to " + Described(as),
                "write " + std::string(as.name) + " documents (." + std::string(as.extension) + ")", settings);
}

}  // namespace maravelundi
