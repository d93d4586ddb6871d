#include "external/ThroughLibreOffice.h"

#include <utility>

namespace maravelundi {
namespace {

// The extension and the name of what LibreOffice is handed: a package, or a
// Rich Text document converted in place.
std::string_view PackageExtension(DocumentFormat format) { return OwnFormatWritten(format).extension; }

std::string PackageName(DocumentFormat format) { return std::string(OwnFormatWritten(format).name); }

std::string Described(const ForeignFormat& format) {
  return std::string(format.name) + " (." + std::string(format.extension) + ")";
}

std::string Duration(std::chrono::milliseconds limit) {
  if (limit.count() % 1000 == 0) return std::to_string(limit.count() / 1000) + " s";
  return std::to_string(limit.count()) + " ms";
}

Failure Because(FailureCode code, std::string message) {
  return Failure{code, {}, std::move(message), {}, std::nullopt};
}

// `task` says what LibreOffice was doing ("converting it from Word 97-2003
// (.doc) to DOCX"), `needed` what it is needed for.
WholeResult Judged(LibreOfficeRun run, const std::string& task, const std::string& needed,
                   const LibreOfficeSettings& settings) {
  const std::string detail = run.detail.empty() ? "" : ": " + run.detail;
  switch (run.failure) {
    case LibreOfficeFailure::kNone: break;
    case LibreOfficeFailure::kNotInstalled:
      return Because(FailureCode::kNeedsLibreOffice,
                     "LibreOffice is needed to " + needed + ", and it is not installed (no soffice on PATH)");
    case LibreOfficeFailure::kCannotRun:
      return Because(FailureCode::kLibreOfficeFailed, "LibreOffice could not be run for " + task + detail);
    case LibreOfficeFailure::kFailed:
    case LibreOfficeFailure::kNoResult:
      return Because(FailureCode::kLibreOfficeFailed, "LibreOffice failed " + task + detail);
    case LibreOfficeFailure::kTimedOut:
      return Because(FailureCode::kLibreOfficeTooSlow, "LibreOffice was still " + task + " after " +
                                                           Duration(settings.timeLimit) + " and was stopped" + detail);
    case LibreOfficeFailure::kStopped:
      return Because(FailureCode::kStopped, "LibreOffice was stopped while " + task);
  }
  return std::move(run.bytes);
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
    return Because(FailureCode::kNoSuchConversion, "LibreOffice reads " + Described(as) + " but cannot write it");
  }
  return Judged(RunLibreOffice(package, PackageExtension(from), as.exportFilter, as.extension, settings),
                "converting the result from " + PackageName(from) + " to " + Described(as),
                "write " + std::string(as.name) + " documents (." + std::string(as.extension) + ")", settings);
}

}  // namespace maravelundi
