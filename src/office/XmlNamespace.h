#pragma once
// One XML namespace of a part, by the prefix its root element binds it to.
// Word writes "w:" and LibreOffice "text:", "style:" ..., but a document may
// bind any prefix, so names are matched through the namespace's URI rather
// than a fixed spelling.

#include <initializer_list>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace maravelundi {

class XmlNamespace {
 public:
  // The namespace bound on `root` to any of `uris`; when none is bound,
  // `fallbackPrefix` (without its colon) is assumed and `Bound()` is false.
  static XmlNamespace Of(pugi::xml_node root, std::initializer_list<std::string_view> uris,
                         std::string_view fallbackPrefix);

  bool Bound() const { return bound_; }
  const std::string& Prefix() const { return prefix_; }  // "w:", or "" for the default namespace

  // The local part of `qualifiedName` when it is in this namespace, else empty.
  std::string_view Local(const char* qualifiedName) const;
  bool Is(pugi::xml_node node, std::string_view local) const { return Local(node.name()) == local; }
  std::string Name(std::string_view local) const { return prefix_ + std::string(local); }
  // The lookups compare names in place rather than build the qualified one:
  // every run of a document asks for several.
  pugi::xml_attribute Attribute(pugi::xml_node node, std::string_view local) const {
    for (pugi::xml_attribute attribute = node.first_attribute(); attribute; attribute = attribute.next_attribute()) {
      if (Local(attribute.name()) == local) return attribute;
    }
    return {};
  }
  // The first child element of this namespace with that local name.
  pugi::xml_node Child(pugi::xml_node node, std::string_view local) const {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
      if (Local(child.name()) == local) return child;
    }
    return {};
  }

  // Binds the namespace on `root` when it is not bound yet, under the
  // fallback prefix.
  void Declare(pugi::xml_node root, std::string_view uri);

 private:
  std::string prefix_;
  bool bound_ = false;
};

}  // namespace maravelundi
