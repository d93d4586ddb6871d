#pragma once
// A new zip package from its parts, for the documents the converter makes
// from scratch (a DOCX or ODT of plain text). Every part takes one fixed
// time, so the same document makes the same bytes on every run, here and in
// the browser.

#include <string>
#include <vector>

#include "package/PackageError.h"

namespace maravelundi {

struct NewPart {
  std::string name;
  std::string content;
  bool stored = false;  // kept uncompressed: an OpenDocument's mimetype must be
};

// The parts in the order given.
Outcome<std::string> BuildPackage(const std::vector<NewPart>& parts);

}  // namespace maravelundi
