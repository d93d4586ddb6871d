#pragma once
// LibreOffice as the engine that reads and writes the foreign formats for
// us (a Word 97-2003 .doc, say), with messages that name LibreOffice, the
// format, and what went wrong.

#include <string_view>
#include <utility>

#include "external/LibreOffice.h"
#include "job/OfficeRoute.h"
#include "package/DocumentFormat.h"
#include "package/ForeignFormat.h"

namespace maravelundi {

// The document in `from`'s format converted by LibreOffice to `to`
// (kDocx or kOdt).
WholeResult ReadThroughLibreOffice(std::string_view document, const ForeignFormat& from, DocumentFormat to,
                                   const LibreOfficeSettings& settings);

// A package (`from`: kDocx or kOdt), or Rich Text (kRtf), written by
// LibreOffice in `as`'s format.
WholeResult WriteThroughLibreOffice(std::string_view package, DocumentFormat from, const ForeignFormat& as,
                                    const LibreOfficeSettings& settings);

class LibreOfficeEngine : public ForeignEngine {
 public:
  explicit LibreOfficeEngine(LibreOfficeSettings settings) : settings_(std::move(settings)) {}
  WholeResult Read(std::string_view document, const ForeignFormat& from, DocumentFormat to) const override {
    return ReadThroughLibreOffice(document, from, to, settings_);
  }
  WholeResult Write(std::string_view package, DocumentFormat from, const ForeignFormat& as) const override {
    return WriteThroughLibreOffice(package, from, as, settings_);
  }

 private:
  LibreOfficeSettings settings_;
};

}  // namespace maravelundi
