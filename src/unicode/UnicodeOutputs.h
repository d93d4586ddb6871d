#pragma once
// Writers of the Unicode document (see UnicodeDocument.h) in formats people
// keep editing: UTF-8 plain text and HTML5. (Rich Text comes from the RTF
// writer with formatting on.)

#include <string_view>

#include "richtext/ByteSink.h"
#include "richtext/Document.h"

namespace maravelundi {

// One line per paragraph, each ended by a line feed; a line break inside a
// paragraph is a line feed too.
void WriteUnicodeText(const Document& unicode, ByteSink& sink);

// A complete HTML5 document: one <p> per paragraph, <br> for a line break in
// one, real characters, and
// <b>, <i>, <u> and styles for the rest of each run's format.
void WriteHtml5(const Document& unicode, std::string_view title, std::string_view unicodeFont, ByteSink& sink);

}  // namespace maravelundi
