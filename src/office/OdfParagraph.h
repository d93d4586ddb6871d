#pragma once
// One OpenDocument paragraph, converted in place or read as text.

#include <pugixml.hpp>

#include "office/OdfConvertedStyles.h"
#include "office/OdfNames.h"
#include "office/OdfStyles.h"
#include "office/StretchConversion.h"
#include "richtext/Document.h"

namespace maravelundi {

struct OdfPartContext {
  const OdfNames& names;
  const OdfStyleSheet& sheet;
  const EngineOptions& engine;
};

// Rewrites each stretch of the paragraph's legacy-font text: a converted
// piece becomes a span of a converted style where its text stood, a copied
// piece plain text; every element that is not text stays as and where it
// was. True when anything changed.
bool ConvertOdfParagraph(pugi::xml_node paragraph, const OdfPartContext& context, OdfConvertedStyles& styles);

// Appends the paragraph's text with the formats the flat outputs keep, and a
// paragraph end (CR LF).
void AppendOdfParagraph(pugi::xml_node paragraph, const OdfPartContext& context, Document& document);

}  // namespace maravelundi
