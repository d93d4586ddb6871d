#pragma once
// One WordprocessingML paragraph, converted in place or read as text.

#include <pugixml.hpp>

#include "office/StretchConversion.h"
#include "office/WordRunProperties.h"
#include "office/WordStyles.h"
#include "office/XmlNamespace.h"
#include "richtext/Document.h"

namespace maravelundi {

struct WordPartContext {
  const XmlNamespace& w;
  const WordStyles& styles;
  const ThemeFonts& theme;
  const EngineOptions& engine;
};

// Rewrites each stretch of the paragraph's legacy-font runs as runs of the
// converted text, each piece a copy of the run it came from with the
// converted font; every other child stays as and where it was. True when
// anything changed.
bool ConvertWordParagraph(pugi::xml_node paragraph, const WordPartContext& context);

// Appends the paragraph's current text (deleted text left out) with the
// formats the flat outputs keep, and a paragraph end (CR LF).
void AppendWordParagraph(pugi::xml_node paragraph, const WordPartContext& context, Document& document);

}  // namespace maravelundi
