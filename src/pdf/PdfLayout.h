#pragma once
// A PDF's text as a document of paragraphs. The library hands the boxes of
// each page over in its reading order (it finds columns and blocks, and
// reads a table row by row), so the order is kept; lines are the boxes
// that follow one another along one baseline, and a paragraph ends where
// the gap to the next line is larger than a line's spacing, where the next
// line goes up the page (a new column), where the next line's first word
// would have fitted on the line, and at every page's end. Lines of one
// paragraph are joined by a space, but where the glyphs say the line was
// wrapped inside a word.
//
// Each box's text goes in its font's name: a legacy font's as glyph
// characters of its codes (PdfCodes.h), Malayalam Unicode a ToUnicode map
// gave already in `unicodeFont`, any other font's text as it came.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pdf/PdfCodes.h"
#include "pdf/PdfTextBox.h"
#include "richtext/Document.h"

namespace maravelundi {

struct PdfLayoutCounts {
  std::size_t legacyCharacters = 0;
  DecodedCodes codes;  // of the legacy text; its glyphs are not kept here
  std::vector<int> ambiguousPages;  // where a bullet of a legacy font stood, once a page
};

// `legacyFontOf` names the legacy font a box's font is read in, or nothing
// for a font that is not one.
Document LayOutPdfText(const std::vector<PdfTextBox>& boxes,
                       const std::function<std::optional<std::string>(const std::string&)>& legacyFontOf,
                       const std::string& unicodeFont, PdfLayoutCounts& counts);

}  // namespace maravelundi
