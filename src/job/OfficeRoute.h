#pragma once
// A word processor's document converted whole, with another engine where our
// own readers and writers stop: a foreign input (a Word 97-2003 .doc, say)
// is converted by the engine to a DOCX or ODT package first, the package is
// converted as any other, and an in-place result to be foreign is written
// back by the engine in that format. The engine is LibreOffice for the
// command line and the window; the page in the browser has none.

#include <string>
#include <string_view>

#include "failure/Failure.h"
#include "office/OfficeConversion.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"
#include "package/OpenPackage.h"

namespace maravelundi {

struct OfficeRoute {
  DocumentFormat package = DocumentFormat::kDocx;  // what the office layer converts: kDocx or kOdt
  const ForeignFormat* readFrom = nullptr;  // the input's format, converted to `package` by the engine first
  const ForeignFormat* writeAs = nullptr;   // an in-place result's format, written by the engine last:
                                            // a foreign one, or another of our own (DOCX to ODT, say)
};

// A whole document's bytes, or why there are none. The failures name no
// document: the caller knows which it was.
using WholeResult = Result<std::string>;

class ForeignEngine {
 public:
  virtual ~ForeignEngine() = default;
  // The document in `from`'s format converted to `to` (kDocx or kOdt).
  virtual WholeResult Read(std::string_view document, const ForeignFormat& from, DocumentFormat to) const = 0;
  // A package (`from`: kDocx or kOdt), or Rich Text (kRtf), written in
  // `as`'s format: a foreign one, or one of our own (OwnFormatWritten).
  virtual WholeResult Write(std::string_view package, DocumentFormat from, const ForeignFormat& as) const = 0;
};

// Why a route that writes through the engine cannot go without one.
Failure NoEngine(const ForeignFormat& format);

// The first step of a route that reads through the engine: the package it
// makes of the foreign `document`, open (a route that reads from no foreign
// format opens a copy of the document itself). Without an engine it fails,
// saying what the document needs.
Result<OpenPackage> ReadAlongRoute(std::string_view document, const OfficeRoute& route, const ForeignEngine* engine,
                                   const PackageLimits& limits = {});

// The rest of the way from the open package: the office layer's
// conversion, and the engine's writing of an in-place result where the route
// says.
WholeResult ConvertPackageAlongRoute(const ZipPackage& package, const OfficeRoute& route, OutputKind output,
                                     const ConversionProfile& profile, const OfficeOptions& options,
                                     const ForeignEngine* engine, std::string_view title = kDefaultTitle);

// The whole way from the document's bytes: reading, the office layer's
// conversion, writing.
WholeResult ConvertAlongRoute(std::string_view document, const OfficeRoute& route, OutputKind output,
                              const ConversionProfile& profile, const OfficeOptions& options,
                              const ForeignEngine* engine, std::string_view title = kDefaultTitle);

}  // namespace maravelundi
