#pragma once
// The Open Packaging Conventions that DOCX packages follow: every part has a
// content type ([Content_Types].xml gives defaults by extension and
// overrides by part name), and parts find each other through relationships
// (the .rels part beside each source part). The package's own relationships
// name its main part.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "package/PackageError.h"
#include "package/PackageLimits.h"
#include "package/ZipPackage.h"

namespace maravelundi {

inline constexpr std::string_view kContentTypesPart = "[Content_Types].xml";

struct Relationship {
  std::string id;
  std::string type;    // a URI; callers compare its last segment ("/styles")
  std::string target;  // the resolved part name for internal targets, else as written
  bool external = false;
};

// The relationships of `sourcePart` (empty: the package's own). A part
// without a .rels part has none. Targets that climb out of the package are
// dropped.
Outcome<std::vector<Relationship>> ReadRelationships(const ZipPackage& package, std::string_view sourcePart,
                                                      const PackageLimits& limits);

// Whether the relationship's type ends in "/" + `typeSuffix`.
bool HasRelationshipType(const Relationship& relationship, std::string_view typeSuffix);

// The first relationship whose type ends in "/" + `typeSuffix`, or nullptr.
const Relationship* FindRelationship(const std::vector<Relationship>& relationships, std::string_view typeSuffix);

class ContentTypes {
 public:
  static Outcome<ContentTypes> Read(const ZipPackage& package, const PackageLimits& limits);
  // The content type of a part, or empty when none applies.
  std::string_view Of(std::string_view partName) const;

 private:
  std::unordered_map<std::string, std::string> byExtension_;  // folded extension
  std::unordered_map<std::string, std::string> byPart_;       // folded name, without the leading '/'
};

struct MainPart {
  std::string name;
  std::string contentType;
};

// The part the package's officeDocument relationship names, with its type.
Outcome<MainPart> FindMainPart(const ZipPackage& package, const PackageLimits& limits);

}  // namespace maravelundi
