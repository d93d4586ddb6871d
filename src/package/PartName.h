#pragma once
// Names of the parts of a package. A zip entry's name is a path inside the
// archive; one that is absolute, names a drive or climbs out with ".." would
// land outside any folder it were unpacked into, and no document has one.
// Relationship targets are resolved against the part that names them, as the
// Open Packaging Conventions resolve URIs.

#include <optional>
#include <string>
#include <string_view>

namespace maravelundi {

// Why an entry's name is unsafe, or nothing when it is a plain relative path.
std::optional<std::string_view> UnsafeNameReason(std::string_view name);

// The key two names share when a case-insensitive file system would take
// them for one file.
std::string FoldedName(std::string_view name);

// The part a relationship of `sourcePart` targets ("word/document.xml" and
// "media/image1.png" give "word/media/image1.png"; an absolute target starts
// from the package's root). An empty source is the package itself. Nothing
// when the target climbs above the root.
std::optional<std::string> ResolvePartTarget(std::string_view sourcePart, std::string_view target);

// The part holding the relationships of `partName`: "word/_rels/document.xml.rels";
// the package's own are "_rels/.rels".
std::string RelationshipsPartOf(std::string_view partName);

}  // namespace maravelundi
