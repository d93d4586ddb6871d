#include "office/OdfConvertedStyles.h"

#include <cstdio>

namespace maravelundi {
namespace {

std::string PointsText(double points) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4gpt", points);
  return text;
}

// A font family as LibreOffice declares it: quoted when it holds a space.
std::string DeclaredFamily(const std::string& font) {
  return font.find(' ') == std::string::npos ? font : "'" + font + "'";
}

std::string UnquotedFamily(std::string_view family) {
  if (family.size() >= 2 && (family.front() == '\'' || family.front() == '"') && family.back() == family.front()) {
    family = family.substr(1, family.size() - 2);
  }
  return std::string(family);
}

}  // namespace

OdfConvertedStyles::OdfConvertedStyles(pugi::xml_node root, const OdfNames& names, const OdfStyleSheet& sheet,
                                       const ConversionProfile& profile)
    : root_(root), names_(names), sheet_(sheet), profile_(profile) {}

// A child of the root, made in its place when the part has none.
pugi::xml_node OdfConvertedStyles::Container(std::string_view local, std::initializer_list<std::string_view> before) {
  if (pugi::xml_node existing = names_.office.Child(root_, local)) return existing;
  for (std::string_view next : before) {
    if (pugi::xml_node sibling = names_.office.Child(root_, next)) {
      return root_.insert_child_before(names_.office.Name(local).c_str(), sibling);
    }
  }
  return root_.append_child(names_.office.Name(local).c_str());
}

const std::string& OdfConvertedStyles::FontDeclaration(std::string_view fontName) {
  const std::string font(fontName);
  if (const auto found = declarations_.find(font); found != declarations_.end()) return found->second;
  pugi::xml_node declarations =
      Container("font-face-decls", {"styles", "automatic-styles", "master-styles", "body"});
  std::unordered_map<std::string, bool> taken;
  for (pugi::xml_node face : declarations.children()) {
    if (!names_.style.Is(face, "font-face")) continue;
    const std::string name = names_.style.Attribute(face, "name").value();
    if (UnquotedFamily(names_.svg.Attribute(face, "font-family").value()) == font) return declarations_[font] = name;
    taken[name] = true;
  }
  std::string name = font;
  for (int n = 1; taken.contains(name); ++n) name = font + std::to_string(n);
  names_.svg.Declare(root_, kOdfSvgUri);
  pugi::xml_node face = declarations.append_child(names_.style.Name("font-face").c_str());
  face.append_attribute(names_.style.Name("name").c_str()).set_value(name.c_str());
  face.append_attribute(names_.svg.Name("font-family").c_str()).set_value(DeclaredFamily(font).c_str());
  return declarations_[font] = name;
}

std::string OdfConvertedStyles::UnusedStyleName() {
  std::string name;
  do {
    name = "MV" + std::to_string(nextNumber_++);
  } while (sheet_.HasStyleNamed(name));
  return name;
}

const std::string& OdfConvertedStyles::StyleFor(const OdfEffectiveText& source, std::string_view fontName) {
  const bool complex = profile_.target == TextTarget::kUnicode;
  const std::string size = source.points ? PointsText(*source.points) : "";
  const std::string key = std::string(fontName) + '|' + (complex ? source.weight + '|' + source.style + '|' + size : "");
  if (auto found = styleByKey_.find(key); found != styleByKey_.end()) return found->second;

  const std::string& font = FontDeclaration(fontName);
  pugi::xml_node automatic = Container("automatic-styles", {"master-styles", "body"});
  const std::string name = UnusedStyleName();
  pugi::xml_node style = automatic.append_child(names_.style.Name("style").c_str());
  style.append_attribute(names_.style.Name("name").c_str()).set_value(name.c_str());
  style.append_attribute(names_.style.Name("family").c_str()).set_value("text");
  pugi::xml_node properties = style.append_child(names_.style.Name("text-properties").c_str());
  const auto set = [&](const XmlNamespace& space, std::string_view local, const std::string& value) {
    properties.append_attribute(space.Name(local).c_str()).set_value(value.c_str());
  };
  set(names_.style, "font-name", font);
  if (complex) {
    set(names_.style, "font-name-complex", font);
    set(names_.style, "font-weight-complex", source.weight);
    set(names_.style, "font-style-complex", source.style);
    if (!size.empty()) set(names_.style, "font-size-complex", size);
  }
  return styleByKey_.emplace(key, name).first->second;
}

}  // namespace maravelundi
