#pragma once
// The Unicode text of an ML-TT document as a document of its own: Malayalam
// as Unicode characters in a Unicode Malayalam font, other text in its own
// font, every piece with the character format of the position it came from,
// and each break (a paragraph end or a line break) as CR LF. The text is that
// of the HTML output's body, its references decoded and its tags read as
// paragraph breaks.

#include <string_view>

#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "unicode/UnicodeOptions.h"

namespace maravelundi {

inline constexpr std::string_view kDefaultUnicodeFont = "Manjari";

// The Malayalam is in Normalization Form C, in the spelling the options ask
// for.
Document BuildUnicodeDocument(const Document& mltt, std::string_view unicodeFont = kDefaultUnicodeFont,
                              ProgressSink* progress = nullptr, const UnicodeOptions& options = {});

}  // namespace maravelundi
