#pragma once
// Which fonts' text a conversion converts: a Rachana font of the chosen
// generation (through its glyph table), an ML-TT font ("ML-", already in the
// ML-TT encoding), and with the other legacy families on, a font of another
// legacy family (by its own encoding). Text in any other font is copied, so
// it stays exactly where and as it is.

#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {

bool IsConvertedFont(Generation generation, std::string_view fontName);

// The answer for each format of a document, asked once per format.
std::vector<bool> ConvertedFormats(const Document& document, Generation generation);

}  // namespace maravelundi
