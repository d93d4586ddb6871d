#pragma once
// New word processor documents, DOCX and ODT, written from a converted
// document: a paragraph for each paragraph end (CR LF), a run for each run
// of one format, its font, bold, italic, underline, size and colour. Runs
// of Malayalam take the complex-script slot and the twins of bold, italic
// and size, where word processors look for them. For text that came with no
// document of its own (plain text, a PDF's text).

#include <string>
#include <string_view>

#include "package/PackageError.h"
#include "richtext/Document.h"

namespace maravelundi {

Outcome<std::string> WriteNewDocx(const Document& document, std::string_view title);
Outcome<std::string> WriteNewOdt(const Document& document, std::string_view title);

}  // namespace maravelundi
