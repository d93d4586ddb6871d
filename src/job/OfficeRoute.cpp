#include "job/OfficeRoute.h"

#include <utility>

namespace maravelundi {
namespace {

std::string PackageName(DocumentFormat format) { return format == DocumentFormat::kOdt ? "ODT" : "DOCX"; }

}  // namespace

Failure NoEngine(const ForeignFormat& format) {
  if (IsOwnFormat(format)) {
    return Failure{FailureCode::kNeedsLibreOffice, {},
                   "making " + std::string(format.name) + " (." + std::string(format.extension) +
                       ") of a document of another format needs LibreOffice, which is not available here; the "
                       "document converts in its own format without it",
                   {}, std::nullopt};
  }
  return Failure{FailureCode::kNeedsLibreOffice, {},
                 std::string(format.name) + " documents (." + std::string(format.extension) +
                     ") need LibreOffice, which is not available here",
                 {}, std::nullopt};
}

namespace {

// What the engine made of the input is at fault then, not the input: its
// part is no place in the user's document, and goes into the words.
Failure InWhatTheEngineMade(const PackageError& error, const OfficeRoute& route) {
  Failure failure = AsFailure(error);
  if (route.readFrom == nullptr) return failure;
  failure.message = "the " + PackageName(route.package) + " LibreOffice made of it: " + Describe(error);
  failure.part.clear();
  return failure;
}

}  // namespace

Result<OpenPackage> ReadAlongRoute(std::string_view document, const OfficeRoute& route, const ForeignEngine* engine,
                                   const PackageLimits& limits) {
  if (route.readFrom == nullptr) {
    Outcome<OpenPackage> open = OpenPackage::Open(std::string(document), limits);
    if (!open.Ok()) return AsFailure(open.Error());
    return std::move(open.Value());
  }
  if (engine == nullptr) return NoEngine(*route.readFrom);
  WholeResult read = engine->Read(document, *route.readFrom, route.package);
  if (!read.Ok()) return std::move(read.Error());
  Outcome<OpenPackage> open = OpenPackage::Open(std::move(read.Value()), limits);
  if (!open.Ok()) return InWhatTheEngineMade(open.Error(), route);
  return std::move(open.Value());
}

WholeResult ConvertPackageAlongRoute(const ZipPackage& package, const OfficeRoute& route, OutputKind output,
                                     const ConversionProfile& profile, const OfficeOptions& options,
                                     const ForeignEngine* engine, std::string_view title) {
  const bool writes = route.writeAs != nullptr && output == OutputKind::kInPlace;
  if (engine == nullptr && writes) return NoEngine(*route.writeAs);
  OfficeResult converted = ConvertOfficePackage(package, route.package, output, profile, options, title);
  if (!converted.Ok()) return InWhatTheEngineMade(converted.Error(), route);
  if (!writes) return std::move(converted.Value());
  return engine->Write(converted.Value(), route.package, *route.writeAs);
}

WholeResult ConvertAlongRoute(std::string_view document, const OfficeRoute& route, OutputKind output,
                              const ConversionProfile& profile, const OfficeOptions& options,
                              const ForeignEngine* engine, std::string_view title) {
  if (route.readFrom == nullptr) {
    // The package as it is, read where it lies.
    if (engine == nullptr && route.writeAs != nullptr && output == OutputKind::kInPlace) return NoEngine(*route.writeAs);
    Outcome<ZipPackage> package = ZipPackage::Open(document, options.limits);
    if (!package.Ok()) return AsFailure(package.Error());
    return ConvertPackageAlongRoute(package.Value(), route, output, profile, options, engine, title);
  }
  Result<OpenPackage> package = ReadAlongRoute(document, route, engine, options.limits);
  if (!package.Ok()) return std::move(package.Error());
  return ConvertPackageAlongRoute(package.Value().Package(), route, output, profile, options, engine, title);
}

}  // namespace maravelundi
