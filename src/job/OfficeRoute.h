#pragma once
// A word processor's document converted whole, with another engine where our
// own readers and writers stop: a foreign input (a Word 97-2003 .doc, say)
// is converted by the engine to a DOCX or ODT package first, the package is
// converted as any other, and an in-place result to be foreign is written
// back by the engine in that format. The engine is LibreOffice for the
// command line and the window; the page in the browser has none.

#include <optional>
#include <string>
#include <string_view>

#include "office/OfficeConversion.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"

namespace maravelundi {

struct OfficeRoute {
  DocumentFormat package = DocumentFormat::kDocx;  // what the office layer converts: kDocx or kOdt
  const ForeignFormat* readFrom = nullptr;  // the input's format, converted to `package` by the engine first
  const ForeignFormat* writeAs = nullptr;   // an in-place result's format, written by the engine last
};

struct WholeResult {
  std::string bytes;
  std::optional<std::string> error;  // one line, without the input's name
  bool Ok() const { return !error.has_value(); }
};

class ForeignEngine {
 public:
  virtual ~ForeignEngine() = default;
  // The document in `from`'s format converted to `to` (kDocx or kOdt).
  virtual WholeResult Read(std::string_view document, const ForeignFormat& from, DocumentFormat to) const = 0;
  // A package (`from`: kDocx or kOdt) written in `as`'s format.
  virtual WholeResult Write(std::string_view package, DocumentFormat from, const ForeignFormat& as) const = 0;
};

// The whole way: reading, the office layer's conversion, writing. Without
// an engine, a route that needs one fails, saying so.
// An in-place result is written back by the engine where the route says.
WholeResult ConvertAlongRoute(std::string_view document, const OfficeRoute& route, OutputKind output,
                              const ConversionProfile& profile, const OfficeOptions& options,
                              const ForeignEngine* engine, std::string_view title = kDefaultTitle);

}  // namespace maravelundi
