#pragma once
// The XML parts of a package, through pugixml. Parsing keeps everything a
// rewrite must give back (whitespace-only text such as a space in its own
// run, the declaration, comments, processing instructions) and refuses
// elements nested deeper than the limit, so that the passes over the tree may
// recurse. Serialising writes the tree as it stands, in UTF-8, unindented.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "package/PackageError.h"
#include "package/PackageLimits.h"
#include "package/ZipPackage.h"

namespace maravelundi {

// Fills `document` from `bytes`; the error names `partName`.
std::optional<PackageError> ParseXmlPart(std::string_view partName, std::string_view bytes,
                                         pugi::xml_document& document, const PackageLimits& limits);

using XmlPart = std::unique_ptr<pugi::xml_document>;

// A part of the package, read and parsed.
Outcome<XmlPart> LoadXmlPart(const ZipPackage& package, std::string_view partName, const PackageLimits& limits);

std::string SerializeXmlPart(const pugi::xml_document& document);

// The name of an element or attribute without its namespace prefix, for the
// package's own small parts, whose prefixes vary between writers.
std::string_view LocalName(const char* qualifiedName);

// Elements by their local name, for parts whose prefixes vary between
// writers (SpreadsheetML and DrawingML are written "x:" and "a:" as often
// as without a prefix).
bool HasLocalName(pugi::xml_node node, std::string_view local);
pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view local);
std::vector<pugi::xml_node> ChildrenByLocalName(pugi::xml_node parent, std::string_view local);

}  // namespace maravelundi
