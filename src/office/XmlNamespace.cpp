#include "office/XmlNamespace.h"

#include <cstring>

namespace maravelundi {

XmlNamespace XmlNamespace::Of(pugi::xml_node root, std::initializer_list<std::string_view> uris,
                              std::string_view fallbackPrefix) {
  XmlNamespace space;
  space.prefix_ = std::string(fallbackPrefix) + ":";
  for (pugi::xml_attribute attribute : root.attributes()) {
    const std::string_view name = attribute.name();
    const bool declaration = name == "xmlns" || name.starts_with("xmlns:");
    if (!declaration) continue;
    for (std::string_view uri : uris) {
      if (uri != attribute.value()) continue;
      space.prefix_ = name == "xmlns" ? "" : std::string(name.substr(6)) + ":";
      space.bound_ = true;
      return space;
    }
  }
  return space;
}

std::string_view XmlNamespace::Local(const char* qualifiedName) const {
  const std::string_view name = qualifiedName;
  if (!name.starts_with(prefix_)) return {};
  const std::string_view local = name.substr(prefix_.size());
  // In the default namespace a prefixed name belongs to another one.
  if (prefix_.empty() && local.find(':') != std::string_view::npos) return {};
  return local;
}

void XmlNamespace::Declare(pugi::xml_node root, std::string_view uri) {
  if (bound_) return;
  const std::string attribute = "xmlns:" + prefix_.substr(0, prefix_.size() - 1);
  if (!root.attribute(attribute.c_str())) root.append_attribute(attribute.c_str()).set_value(std::string(uri).c_str());
  bound_ = true;
}

}  // namespace maravelundi
