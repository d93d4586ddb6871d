#include "office/OdfStyles.h"

#include <array>
#include <unordered_set>
#include <vector>

#include "office/DecimalNumber.h"

namespace maravelundi {
namespace {

// Longer chains than this are loops or attacks.
constexpr std::size_t kMaxChain = 64;
// What LibreOffice gives text that no style sizes.
constexpr double kDefaultPoints = 12;

struct Unit {
  std::string_view suffix;
  double points;
};

constexpr std::array kUnits = {
    Unit{"pt", 1}, Unit{"cm", 72 / 2.54}, Unit{"mm", 72 / 25.4}, Unit{"in", 72}, Unit{"pc", 12}, Unit{"px", 0.75},
};

std::string Key(std::string_view family, std::string_view name) {
  return std::string(family) + '/' + std::string(name);
}

std::optional<std::string> OptionalAttribute(pugi::xml_node node, const XmlNamespace& space, std::string_view local) {
  pugi::xml_attribute attribute = space.Attribute(node, local);
  if (!attribute) return std::nullopt;
  return std::string(attribute.value());
}

OdfTextProperties ReadTextProperties(pugi::xml_node properties, const OdfNames& names) {
  OdfTextProperties text;
  if (!properties) return text;
  text.fontName = OptionalAttribute(properties, names.style, "font-name");
  text.fontFamily = OptionalAttribute(properties, names.fo, "font-family");
  text.weight = OptionalAttribute(properties, names.fo, "font-weight");
  text.style = OptionalAttribute(properties, names.fo, "font-style");
  text.size = OptionalAttribute(properties, names.fo, "font-size");
  if (auto underline = OptionalAttribute(properties, names.style, "text-underline-style")) {
    text.underline = *underline != "none";
  }
  text.colour = OptionalAttribute(properties, names.fo, "color");
  return text;
}

// A font family as a declaration or fo:font-family writes it: quoted when
// it holds spaces ("'Times New Roman'").
std::string Unquoted(std::string_view family) {
  if (family.size() >= 2 && (family.front() == '\'' || family.front() == '"') && family.back() == family.front()) {
    family = family.substr(1, family.size() - 2);
  }
  return std::string(family);
}

std::optional<double> Percentage(std::string_view size) {
  if (!size.ends_with('%')) return std::nullopt;
  size.remove_suffix(1);
  const std::optional<DecimalPrefix> number = ReadDecimalPrefix(size);
  if (!number || number->value <= 0) return std::nullopt;
  return number->value / 100;
}

}  // namespace

std::optional<double> AbsolutePoints(std::string_view size) {
  for (const Unit& unit : kUnits) {
    if (!size.ends_with(unit.suffix)) continue;
    const std::string_view number = size.substr(0, size.size() - unit.suffix.size());
    const std::optional<DecimalPrefix> value = ReadDecimalPrefix(number);
    if (!value || value->length != number.size() || value->value <= 0) return std::nullopt;
    return value->value * unit.points;
  }
  return std::nullopt;
}

void OdfStyleSheet::ReadFontFaces(pugi::xml_node root, const OdfNames& names) {
  for (pugi::xml_node declarations : root.children()) {
    if (!names.office.Is(declarations, "font-face-decls")) continue;
    for (pugi::xml_node face : declarations.children()) {
      if (!names.style.Is(face, "font-face")) continue;
      familyByFontName_.emplace(names.style.Attribute(face, "name").value(),
                                Unquoted(names.svg.Attribute(face, "font-family").value()));
    }
  }
}

void OdfStyleSheet::ReadStyles(pugi::xml_node container, const OdfNames& names, StyleMap& into) {
  for (pugi::xml_node style : container.children()) {
    const pugi::xml_node properties = names.style.Child(style, "text-properties");
    if (names.style.Is(style, "default-style")) {
      defaults_.emplace(names.style.Attribute(style, "family").value(), ReadTextProperties(properties, names));
      continue;
    }
    if (!names.style.Is(style, "style")) continue;
    names_.insert(names.style.Attribute(style, "name").value());
    into.emplace(Key(names.style.Attribute(style, "family").value(), names.style.Attribute(style, "name").value()),
                 Entry{names.style.Attribute(style, "parent-style-name").value(), ReadTextProperties(properties, names)});
  }
}

void OdfStyleSheet::ReadCommonStyles(pugi::xml_node root, const OdfNames& names) {
  ReadStyles(names.office.Child(root, "styles"), names, common_);
}

void OdfStyleSheet::ReadAutomaticStyles(pugi::xml_node root, const OdfNames& names) {
  ReadStyles(names.office.Child(root, "automatic-styles"), names, automatic_);
}

void OdfStyleSheet::Apply(OdfEffectiveText& text, const OdfTextProperties& properties) const {
  if (properties.fontName) {
    auto family = familyByFontName_.find(*properties.fontName);
    text.font = family != familyByFontName_.end() ? family->second : *properties.fontName;
  } else if (properties.fontFamily) {
    text.font = Unquoted(*properties.fontFamily);
  }
  if (properties.weight) text.weight = *properties.weight;
  if (properties.style) text.style = *properties.style;
  if (properties.size) {
    if (auto points = AbsolutePoints(*properties.size)) {
      text.points = points;
    } else if (auto factor = Percentage(*properties.size)) {
      text.points = text.points.value_or(kDefaultPoints) * *factor;
    }
  }
  if (properties.underline) text.underline = *properties.underline;
  if (properties.colour) text.colour = properties.colour;
}

const OdfStyleSheet::Entry* OdfStyleSheet::Find(const std::string& key, bool automaticToo) const {
  if (automaticToo) {
    if (auto found = automatic_.find(key); found != automatic_.end()) return &found->second;
  }
  auto found = common_.find(key);
  return found == common_.end() ? nullptr : &found->second;
}

// An automatic style first, for the name a paragraph or span gives; its
// parents are always common styles.
void OdfStyleSheet::ApplyChain(OdfEffectiveText& text, std::string_view family, std::string_view name) const {
  std::vector<const Entry*> chain;
  std::unordered_set<std::string> seen;
  std::string key = Key(family, name);
  for (const Entry* entry = Find(key, true); entry != nullptr && chain.size() < kMaxChain && seen.insert(key).second;
       entry = entry->parent.empty() ? nullptr : Find(key = Key(family, entry->parent), false)) {
    chain.push_back(entry);
  }
  for (auto entry = chain.rbegin(); entry != chain.rend(); ++entry) Apply(text, (*entry)->own);
}

void OdfStyleSheet::ApplyDefaults(OdfEffectiveText& text, const std::string& family) const {
  if (const auto found = defaults_.find(family); found != defaults_.end()) Apply(text, found->second);
}

// A cell's or shape's style gives what the paragraph's own style does not.
OdfEffectiveText OdfStyleSheet::ParagraphBase(std::string_view paragraphStyle,
                                              const std::optional<OdfContainerStyle>& container) const {
  OdfEffectiveText text;
  ApplyDefaults(text, "paragraph");
  if (container) {
    ApplyDefaults(text, std::string(container->family));
    ApplyChain(text, container->family, container->name);
  }
  ApplyChain(text, "paragraph", paragraphStyle);
  return text;
}

void OdfStyleSheet::ApplyTextStyle(OdfEffectiveText& text, std::string_view textStyle) const {
  if (!textStyle.empty()) ApplyChain(text, "text", textStyle);
}

bool OdfStyleSheet::HasStyleNamed(std::string_view name) const { return names_.contains(std::string(name)); }

}  // namespace maravelundi
