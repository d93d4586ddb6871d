#include "office/OdfNames.h"

namespace maravelundi {

OdfNames OdfNames::Of(pugi::xml_node root) {
  return OdfNames{
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:office:1.0"}, "office"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:style:1.0"}, "style"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:text:1.0"}, "text"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"}, "fo"),
      XmlNamespace::Of(root, {kOdfSvgUri}, "svg"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:table:1.0"}, "table"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"}, "draw"),
      XmlNamespace::Of(root, {"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"}, "presentation"),
  };
}

}  // namespace maravelundi
