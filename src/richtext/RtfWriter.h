#pragma once
// Writes a document as Rich Text: a font table naming every font used, and
// each character in its font. Reading the result back gives the same
// characters and fonts.

#include <string>

#include "richtext/Document.h"

namespace maravelundi {

std::string WriteRtf(const Document& document);

}  // namespace maravelundi
