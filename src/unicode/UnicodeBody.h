#pragma once
// The walk of the Unicode output: ML-TT text in an "ML-" font goes through the
// ordering rules and the entity table; text in any other font is copied, its
// line ends turned into HTML breaks. The body is UTF-8.

#include <string>
#include <string_view>

#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "unicode/UnicodeOptions.h"
#include "unicode/Utf8Builder.h"

namespace maravelundi {

// With legacy spelling, the body is exactly the rules' references; modern
// spelling respells the Malayalam first (SpellingFilter.h).
void AppendUnicodeBody(const Document& mltt, Utf8Builder& out, ProgressSink* progress = nullptr,
                       const UnicodeOptions& options = {});
std::string BuildUnicodeBody(const Document& mltt, ProgressSink* progress = nullptr,
                             const UnicodeOptions& options = {});

}  // namespace maravelundi
