#pragma once
// The HTML document of the Unicode output: a fixed head, the body of the
// Unicode walk on the same line as <body>, and a fixed tail.

#include <string>

#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "unicode/UnicodeOptions.h"
#include "unicode/Utf8Builder.h"

namespace maravelundi {

// The document's text, UTF-8, every line ended by CR LF.
void AppendUnicodeHtml(const Document& mltt, Utf8Builder& out, ProgressSink* progress = nullptr,
                       const UnicodeOptions& options = {});
std::string BuildUnicodeHtml(const Document& mltt, ProgressSink* progress = nullptr,
                             const UnicodeOptions& options = {});

}  // namespace maravelundi
