#include "job/OfficeRoute.h"

namespace maravelundi {
namespace {

std::string PackageName(DocumentFormat format) { return format == DocumentFormat::kOdt ? "ODT" : "DOCX"; }

WholeResult NoEngine(const ForeignFormat& format) {
  return {{}, std::string(format.name) + " documents (." + std::string(format.extension) +
                  ") need LibreOffice, which is not available here"};
}

}  // namespace

WholeResult ConvertAlongRoute(std::string_view document, const OfficeRoute& route, OutputKind output,
                              const ConversionProfile& profile, const OfficeOptions& options,
                              const ForeignEngine* engine, std::string_view title) {
  const bool writes = route.writeAs != nullptr && output == OutputKind::kInPlace;
  if (engine == nullptr && route.readFrom != nullptr) return NoEngine(*route.readFrom);
  if (engine == nullptr && writes) return NoEngine(*route.writeAs);
  WholeResult read;
  if (route.readFrom != nullptr) {
    read = engine->Read(document, *route.readFrom, route.package);
    if (!read.Ok()) return read;
    document = read.bytes;
  }
  OfficeResult converted = ConvertOfficeDocument(document, route.package, output, profile, options, title);
  if (!converted.Ok()) {
    const std::string part = Describe(converted.Error());
    // What the engine made of the input is at fault then, not the input.
    return {{}, route.readFrom != nullptr ? "the " + PackageName(route.package) + " LibreOffice made of it: " + part : part};
  }
  std::string().swap(read.bytes);
  if (!writes) return {std::move(converted.Value()), std::nullopt};
  return engine->Write(converted.Value(), route.package, *route.writeAs);
}

}  // namespace maravelundi
