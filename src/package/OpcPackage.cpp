#include "package/OpcPackage.h"

#include "package/PartName.h"
#include "package/XmlPart.h"

namespace maravelundi {
namespace {

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view Attribute(pugi::xml_node node, std::string_view localName) {
  for (pugi::xml_attribute attribute : node.attributes()) {
    if (LocalName(attribute.name()) == localName) return attribute.value();
  }
  return {};
}

// A small part of the package's own, parsed.
std::optional<PackageError> ReadXml(const ZipPackage& package, std::string_view name, pugi::xml_document& document,
                                    const PackageLimits& limits) {
  Outcome<std::string> bytes = package.Read(name);
  if (!bytes.Ok()) return bytes.Error();
  return ParseXmlPart(name, bytes.Value(), document, limits);
}

}  // namespace

Outcome<std::vector<Relationship>> ReadRelationships(const ZipPackage& package, std::string_view sourcePart,
                                                      const PackageLimits& limits) {
  const std::string relsPart = RelationshipsPartOf(sourcePart);
  std::vector<Relationship> relationships;
  if (!package.Contains(relsPart)) return relationships;
  pugi::xml_document document;
  if (auto failure = ReadXml(package, relsPart, document, limits)) return std::move(*failure);
  for (pugi::xml_node node : document.document_element().children()) {
    if (LocalName(node.name()) != "Relationship") continue;
    Relationship relationship{std::string(Attribute(node, "Id")), std::string(Attribute(node, "Type")),
                              std::string(Attribute(node, "Target")), Attribute(node, "TargetMode") == "External"};
    if (!relationship.external) {
      std::optional<std::string> resolved = ResolvePartTarget(sourcePart, relationship.target);
      if (!resolved) continue;
      relationship.target = std::move(*resolved);
    }
    relationships.push_back(std::move(relationship));
  }
  return relationships;
}

bool HasRelationshipType(const Relationship& relationship, std::string_view typeSuffix) {
  const std::string_view type = relationship.type;
  return EndsWith(type, typeSuffix) && type.size() > typeSuffix.size() && type[type.size() - typeSuffix.size() - 1] == '/';
}

const Relationship* FindRelationship(const std::vector<Relationship>& relationships, std::string_view typeSuffix) {
  for (const Relationship& relationship : relationships) {
    if (HasRelationshipType(relationship, typeSuffix)) return &relationship;
  }
  return nullptr;
}

Outcome<ContentTypes> ContentTypes::Read(const ZipPackage& package, const PackageLimits& limits) {
  pugi::xml_document document;
  if (auto failure = ReadXml(package, kContentTypesPart, document, limits)) return std::move(*failure);
  ContentTypes types;
  for (pugi::xml_node node : document.document_element().children()) {
    const std::string_view kind = LocalName(node.name());
    const std::string contentType(Attribute(node, "ContentType"));
    if (kind == "Default") {
      types.byExtension_.emplace(FoldedName(Attribute(node, "Extension")), contentType);
    } else if (kind == "Override") {
      std::string_view part = Attribute(node, "PartName");
      if (!part.empty() && part.front() == '/') part.remove_prefix(1);
      types.byPart_.emplace(FoldedName(part), contentType);
    }
  }
  return types;
}

std::string_view ContentTypes::Of(std::string_view partName) const {
  if (auto found = byPart_.find(FoldedName(partName)); found != byPart_.end()) return found->second;
  const std::size_t dot = partName.rfind('.');
  if (dot == std::string_view::npos || partName.find('/', dot) != std::string_view::npos) return {};
  if (auto found = byExtension_.find(FoldedName(partName.substr(dot + 1))); found != byExtension_.end()) {
    return found->second;
  }
  return {};
}

Outcome<MainPart> FindMainPart(const ZipPackage& package, const PackageLimits& limits) {
  Outcome<std::vector<Relationship>> relationships = ReadRelationships(package, "", limits);
  if (!relationships.Ok()) return relationships.Error();
  const Relationship* main = FindRelationship(relationships.Value(), "officeDocument");
  if (main == nullptr || main->external) {
    return PackageError{PackageErrorCode::kMissingPart, "_rels/.rels", "names no main document part"};
  }
  if (!package.Contains(main->target)) {
    return PackageError{PackageErrorCode::kMissingPart, main->target, "is named as the main document but is missing"};
  }
  Outcome<ContentTypes> types = ContentTypes::Read(package, limits);
  if (!types.Ok()) return types.Error();
  return MainPart{main->target, std::string(types.Value().Of(main->target))};
}

}  // namespace maravelundi
