#include "package/PartName.h"

#include <cctype>
#include <vector>

namespace maravelundi {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The segments of a path, either separator counting (a Windows unzipper
// honours the backslash).
std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      segments.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return segments;
}

}  // namespace

std::optional<std::string_view> UnsafeNameReason(std::string_view name) {
  if (name.empty()) return "has an empty name";
  if (IsSeparator(name.front())) return "has an absolute name";
  if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) {
    return "names a drive";
  }
  for (std::string_view segment : Segments(name)) {
    if (segment == "..") return "climbs out of the package with \"..\"";
  }
  return std::nullopt;
}

std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

std::optional<std::string> ResolvePartTarget(std::string_view sourcePart, std::string_view target) {
  std::vector<std::string_view> resolved;
  if (target.empty() || target.front() != '/') {
    resolved = Segments(sourcePart);
    resolved.pop_back();  // the source's own name: targets are relative to its folder
  }
  for (std::string_view segment : Segments(target)) {
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") {
      if (resolved.empty()) return std::nullopt;
      resolved.pop_back();
    } else {
      resolved.push_back(segment);
    }
  }
  std::string name;
  for (std::string_view segment : resolved) {
    if (segment.empty()) continue;
    if (!name.empty()) name += '/';
    name += segment;
  }
  return name;
}

std::string RelationshipsPartOf(std::string_view partName) {
  const std::size_t slash = partName.rfind('/');
  const std::string_view folder = slash == std::string_view::npos ? "" : partName.substr(0, slash + 1);
  const std::string_view file = slash == std::string_view::npos ? partName : partName.substr(slash + 1);
  return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

}  // namespace maravelundi
