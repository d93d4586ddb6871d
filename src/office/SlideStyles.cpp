#include "office/SlideStyles.h"

#include "package/XmlPart.h"

namespace maravelundi {
namespace {

bool Named(pugi::xml_node node, std::string_view local) { return LocalName(node.name()) == local; }

pugi::xml_node Child(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (Named(child, local)) return child;
  }
  return {};
}

std::string TypeOf(pugi::xml_node placeholder) {
  const std::string_view type = placeholder.attribute("type").value();
  return type.empty() ? "body" : std::string(type);
}

// Placeholders that stand for one another between a slide, its layout and
// its master: a centred title fills the master's title, a subtitle or a
// content placeholder its body.
std::string_view Family(std::string_view type) {
  if (type == "ctrTitle") return "title";
  if (type == "subTitle" || type == "obj") return "body";
  return type;
}

bool IsTitle(std::string_view type) { return Family(type) == "title"; }

// Every placeholder shape of the tree, in groups too; the XML depth is
// bounded as the part is read.
void CollectPlaceholders(pugi::xml_node node, std::vector<Placeholder>& into) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (Named(child, "sp")) {
      if (const pugi::xml_node placeholder = PlaceholderOf(child)) {
        into.push_back({TypeOf(placeholder), placeholder.attribute("idx").value(),
                        ReadLevelFonts(Child(Child(child, "txBody"), "lstStyle"))});
      }
    } else if (Named(child, "grpSp") || Named(child, "spTree") || Named(child, "cSld")) {
      CollectPlaceholders(child, into);
    }
  }
}

const Placeholder* Match(const SlideStyles* part, std::string_view type, std::string_view index) {
  if (part == nullptr) return nullptr;
  if (!index.empty()) {
    for (const Placeholder& placeholder : part->placeholders) {
      if (placeholder.index == index) return &placeholder;
    }
  }
  for (const Placeholder& placeholder : part->placeholders) {
    if (placeholder.type == type) return &placeholder;
  }
  for (const Placeholder& placeholder : part->placeholders) {
    if (Family(placeholder.type) == Family(type)) return &placeholder;
  }
  return nullptr;
}

}  // namespace

pugi::xml_node PlaceholderOf(pugi::xml_node shape) { return Child(Child(Child(shape, "nvSpPr"), "nvPr"), "ph"); }

SlideStyles ReadSlideStyles(pugi::xml_node root) {
  SlideStyles styles;
  CollectPlaceholders(root, styles.placeholders);
  if (const pugi::xml_node text = Child(root, "txStyles")) {
    styles.title = ReadLevelFonts(Child(text, "titleStyle"));
    styles.body = ReadLevelFonts(Child(text, "bodyStyle"));
    styles.other = ReadLevelFonts(Child(text, "otherStyle"));
  } else {
    styles.body = ReadLevelFonts(Child(root, "notesStyle"));
  }
  return styles;
}

std::vector<const LevelFonts*> InheritedLevels(pugi::xml_node shape, const SlideStyles* layout,
                                               const SlideStyles* master, const SlideStyles* textStyles,
                                               const LevelFonts& defaults, LevelFonts& scratch) {
  std::vector<const LevelFonts*> levels;
  const pugi::xml_node placeholder = PlaceholderOf(shape);
  if (placeholder) {
    std::string type = TypeOf(placeholder);
    std::string index = placeholder.attribute("idx").value();
    const bool typed = placeholder.attribute("type");
    if (const Placeholder* onLayout = Match(layout, type, index)) {
      levels.push_back(&onLayout->fonts);
      // A slide's placeholder often gives only its index: the layout's says
      // what it is, and which of the master's it fills.
      if (!typed) type = onLayout->type;
      index = onLayout->index;
    }
    if (const Placeholder* onMaster = Match(master, type, index)) levels.push_back(&onMaster->fonts);
    if (textStyles != nullptr) levels.push_back(IsTitle(type) ? &textStyles->title : &textStyles->body);
  } else {
    scratch = FontRefLevels(Child(shape, "style"));
    levels.push_back(&scratch);
    if (textStyles != nullptr) levels.push_back(&textStyles->other);
  }
  levels.push_back(&defaults);
  return levels;
}

}  // namespace maravelundi
