#pragma once
// The w:rPr of a converted run: its font in every slot Word might take it
// from, and for Malayalam Unicode the complex-script twins of bold, italic
// and size, which Word and LibreOffice apply to Malayalam instead of the
// Latin ones. Everything else the run's properties say is kept as it was.

#include <string_view>

#include <pugixml.hpp>

#include "office/WordRunProperties.h"
#include "office/XmlNamespace.h"

namespace maravelundi {

struct ConvertedRunFormat {
  std::string_view font;
  bool complexScript;  // Malayalam Unicode: set the twins and mark the run w:cs
};

// `effective` is what the run had before, styles included.
void ApplyConvertedFormat(pugi::xml_node run, const WordRunProperties& effective, const ConvertedRunFormat& format,
                          const XmlNamespace& w);

}  // namespace maravelundi
