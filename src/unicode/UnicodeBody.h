#pragma once
// The walk of the Unicode output: ML-TT text in an "ML-" font goes through the
// ordering rules and the entity table; text in any other font is copied, its
// line ends turned into HTML breaks. The body is UTF-8.

#include <string>
#include <string_view>

#include "richtext/Document.h"
#include "transcode/Progress.h"
#include "unicode/Utf8Builder.h"

namespace maravelundi {

// Appends the Unicode text of one ML-TT unit: its character references, the
// paragraph tag for a carriage return, nothing for a line feed, and any unit
// the table does not know as escaped text.
void AppendEntity(Utf8Builder& out, std::u16string_view unit);

void AppendUnicodeBody(const Document& mltt, Utf8Builder& out, ProgressSink* progress = nullptr);
std::string BuildUnicodeBody(const Document& mltt, ProgressSink* progress = nullptr);

}  // namespace maravelundi
