#pragma once
// The OpenDocument namespaces a part uses, by the prefixes its root binds
// them to.

#include <pugixml.hpp>

#include "office/XmlNamespace.h"

namespace maravelundi {

inline constexpr std::string_view kOdfSvgUri = "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0";

struct OdfNames {
  XmlNamespace office, style, text, fo, svg, table, draw, presentation;
  static OdfNames Of(pugi::xml_node root);
};

}  // namespace maravelundi
