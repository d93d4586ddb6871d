#include "office/WordStyles.h"

#include <unordered_set>
#include <vector>

namespace maravelundi {
namespace {

constexpr std::string_view kWordUri = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kStrictWordUri = "http://purl.oclc.org/ooxml/wordprocessingml/main";

// Longer chains than this are loops or attacks; Word's own are a few deep.
constexpr std::size_t kMaxChain = 64;

}  // namespace

WordStyles::WordStyles(pugi::xml_node stylesRoot, const ThemeFonts& theme) {
  const XmlNamespace w = XmlNamespace::Of(stylesRoot, {kWordUri, kStrictWordUri}, "w");
  if (pugi::xml_node defaults = w.Child(stylesRoot, "docDefaults")) {
    defaults_ = ReadWordRunProperties(w.Child(w.Child(defaults, "rPrDefault"), "rPr"), w, theme);
  }
  for (pugi::xml_node style : stylesRoot.children()) {
    if (!w.Is(style, "style")) continue;
    const std::string id = w.Attribute(style, "styleId").value();
    const bool paragraph = std::string_view(w.Attribute(style, "type").value()) == "paragraph";
    if (paragraph && OnOffValue(w.Attribute(style, "default")) && w.Attribute(style, "default")) {
      defaultParagraphStyle_ = id;
    }
    Style entry{w.Attribute(w.Child(style, "basedOn"), "val").value(),
                ReadWordRunProperties(w.Child(style, "rPr"), w, theme)};
    styles_.emplace(id, std::move(entry));
  }
}

const WordRunProperties& WordStyles::Resolved(const std::string& id) const {
  if (auto found = resolved_.find(id); found != resolved_.end()) return found->second;
  std::vector<const Style*> chain;
  std::unordered_set<std::string_view> seen;
  for (std::string_view next = id; chain.size() < kMaxChain && seen.insert(next).second;) {
    auto style = styles_.find(std::string(next));
    if (style == styles_.end()) break;
    chain.push_back(&style->second);
    next = style->second.basedOn;
  }
  WordRunProperties properties;
  for (auto style = chain.rbegin(); style != chain.rend(); ++style) properties.Overlay((*style)->own);
  return resolved_.emplace(id, std::move(properties)).first->second;
}

WordRunProperties WordStyles::ParagraphBase(std::string_view paragraphStyleId) const {
  WordRunProperties base = defaults_;
  const std::string id(paragraphStyleId);
  base.Overlay(Resolved(styles_.contains(id) ? id : defaultParagraphStyle_));
  return base;
}

WordRunProperties WordStyles::Effective(const WordRunProperties& paragraphBase, pugi::xml_node rPr,
                                        const XmlNamespace& w, const ThemeFonts& theme) const {
  WordRunProperties effective = paragraphBase;
  if (pugi::xml_attribute characterStyle = w.Attribute(w.Child(rPr, "rStyle"), "val")) {
    effective.Overlay(Resolved(characterStyle.value()));
  }
  effective.Overlay(ReadWordRunProperties(rPr, w, theme));
  return effective;
}

}  // namespace maravelundi
