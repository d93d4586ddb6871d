#include "office/SlideStyles.h"

#include "package/XmlPart.h"

namespace maravelundi {
namespace {

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
    if (HasLocalName(child, "sp")) {
      if (const pugi::xml_node placeholder = PlaceholderOf(child)) {
        into.push_back({TypeOf(placeholder), placeholder.attribute("idx").value(),
                        ReadLevelFonts(ChildByLocalName(ChildByLocalName(child, "txBody"), "lstStyle"))});
      }
    } else if (HasLocalName(child, "grpSp") || HasLocalName(child, "spTree") || HasLocalName(child, "cSld")) {
      CollectPlaceholders(child, into);
    }
  }
}

const Placeholder* Match(const SlideStyles* part, const std::string& type, const std::string& index) {
  if (part == nullptr) return nullptr;
  if (!index.empty()) {
    if (const auto found = part->byIndex.find(index); found != part->byIndex.end()) return &part->placeholders[found->second];
  }
  if (const auto found = part->byType.find(type); found != part->byType.end()) return &part->placeholders[found->second];
  const auto found = part->byFamily.find(std::string(Family(type)));
  return found != part->byFamily.end() ? &part->placeholders[found->second] : nullptr;
}

}  // namespace

pugi::xml_node PlaceholderOf(pugi::xml_node shape) { return ChildByLocalName(ChildByLocalName(ChildByLocalName(shape, "nvSpPr"), "nvPr"), "ph"); }

SlideStyles ReadSlideStyles(pugi::xml_node root) {
  SlideStyles styles;
  CollectPlaceholders(root, styles.placeholders);
  for (std::size_t i = 0; i < styles.placeholders.size(); ++i) {
    const Placeholder& placeholder = styles.placeholders[i];
    if (!placeholder.index.empty()) styles.byIndex.emplace(placeholder.index, i);
    styles.byType.emplace(placeholder.type, i);
    styles.byFamily.emplace(std::string(Family(placeholder.type)), i);
  }
  if (const pugi::xml_node text = ChildByLocalName(root, "txStyles")) {
    styles.title = ReadLevelFonts(ChildByLocalName(text, "titleStyle"));
    styles.body = ReadLevelFonts(ChildByLocalName(text, "bodyStyle"));
    styles.other = ReadLevelFonts(ChildByLocalName(text, "otherStyle"));
  } else {
    styles.body = ReadLevelFonts(ChildByLocalName(root, "notesStyle"));
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
    scratch = FontRefLevels(ChildByLocalName(shape, "style"));
    levels.push_back(&scratch);
    if (textStyles != nullptr) levels.push_back(&textStyles->other);
  }
  levels.push_back(&defaults);
  return levels;
}

}  // namespace maravelundi
