#include "package/XmlPart.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace maravelundi {
namespace {

constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

// The depth of the deepest element, measured without recursion: the tree may
// be hostile.
std::size_t DeepestNesting(const pugi::xml_document& document, std::size_t stopAbove) {
  std::size_t depth = 0, deepest = 0;
  pugi::xml_node node = document.first_child();
  while (node && deepest <= stopAbove) {
    if (node.first_child()) {
      node = node.first_child();
      deepest = std::max(deepest, ++depth);
      continue;
    }
    while (node && !node.next_sibling()) {
      node = node.parent();
      if (depth == 0) return deepest;
      --depth;
    }
    if (node) node = node.next_sibling();
  }
  return deepest;
}

// A part declared in UTF-16 is written back in UTF-8; its declaration must
// say so.
void DeclareUtf8(pugi::xml_document& document) {
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    if (node.type() != pugi::node_declaration) continue;
    if (pugi::xml_attribute encoding = node.attribute("encoding"); encoding && strcasecmp(encoding.value(), "UTF-8") != 0) {
      encoding.set_value("UTF-8");
    }
  }
}

struct StringWriter : pugi::xml_writer {
  std::string bytes;
  void write(const void* data, std::size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};

}  // namespace

std::optional<PackageError> ParseXmlPart(std::string_view partName, std::string_view bytes,
                                         pugi::xml_document& document, const PackageLimits& limits) {
  const pugi::xml_parse_result result = document.load_buffer(bytes.data(), bytes.size(), kParseOptions);
  if (!result) {
    return PackageError{PackageErrorCode::kMalformedXml, std::string(partName),
                        std::string("is not well-formed XML: ") + result.description() + " at byte " +
                            std::to_string(result.offset)};
  }
  if (!document.document_element()) {
    return PackageError{PackageErrorCode::kMalformedXml, std::string(partName), "holds no XML element"};
  }
  if (DeepestNesting(document, limits.maxXmlDepth) > limits.maxXmlDepth) {
    document.reset();
    return PackageError{PackageErrorCode::kXmlTooDeep, std::string(partName),
                        "nests elements deeper than " + std::to_string(limits.maxXmlDepth) + " levels"};
  }
  DeclareUtf8(document);
  return std::nullopt;
}

Outcome<XmlPart> LoadXmlPart(const ZipPackage& package, std::string_view partName, const PackageLimits& limits) {
  Outcome<std::string> bytes = package.Read(partName);
  if (!bytes.Ok()) return bytes.Error();
  auto document = std::make_unique<pugi::xml_document>();
  if (auto failure = ParseXmlPart(partName, bytes.Value(), *document, limits)) return std::move(*failure);
  return document;
}

std::string SerializeXmlPart(const pugi::xml_document& document) {
  StringWriter writer;
  document.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return std::move(writer.bytes);
}

std::string_view LocalName(const char* qualifiedName) {
  const char* colon = std::strchr(qualifiedName, ':');
  return colon == nullptr ? qualifiedName : colon + 1;
}

bool HasLocalName(pugi::xml_node node, std::string_view local) { return LocalName(node.name()) == local; }

pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (HasLocalName(child, local)) return child;
  }
  return {};
}

std::vector<pugi::xml_node> ChildrenByLocalName(pugi::xml_node parent, std::string_view local) {
  std::vector<pugi::xml_node> found;
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (HasLocalName(child, local)) found.push_back(child);
  }
  return found;
}

}  // namespace maravelundi
