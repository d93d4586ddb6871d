#include "office/SlideDocument.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "convert/FontClassifier.h"
#include "office/DrawingText.h"
#include "office/SlideStyles.h"
#include "package/OpcPackage.h"
#include "package/XmlPart.h"

namespace maravelundi {
namespace {

enum class PartKind { kMaster, kLayout, kSlide, kNotesMaster, kNotes, kHandoutMaster };

struct SlidePart {
  std::string name;
  PartKind kind;
};

// The presentation's parts, read once however many parts refer to them: the
// relationships of each, and what each layout and master passes on.
class SlidePackage {
 public:
  SlidePackage(const ZipPackage& package, const PackageLimits& limits) : package_(package), limits_(limits) {}

  // The target of a part's first internal relationship of the type, or
  // empty.
  Outcome<std::string> Target(const std::string& part, std::string_view type) {
    Outcome<std::vector<std::string>> targets = Targets(part, type);
    if (!targets.Ok()) return targets.Error();
    return targets.Value().empty() ? std::string() : targets.Value().front();
  }

  Outcome<std::vector<std::string>> Targets(const std::string& part, std::string_view type) {
    auto found = relationships_.find(part);
    if (found == relationships_.end()) {
      Outcome<std::vector<Relationship>> read = ReadRelationships(package_, part, limits_);
      if (!read.Ok()) return read.Error();
      found = relationships_.emplace(part, std::move(read.Value())).first;
    }
    std::vector<std::string> targets;
    for (const Relationship& relationship : found->second) {
      if (!relationship.external && HasRelationshipType(relationship, type)) targets.push_back(relationship.target);
    }
    return targets;
  }

  // The styles of a layout or master, a master's with its theme; null when
  // the package lacks the part.
  Outcome<const SlideStyles*> Styles(const std::string& part) {
    if (const auto found = styles_.find(part); found != styles_.end()) return found->second.get();
    std::unique_ptr<SlideStyles>& slot = styles_[part];
    if (part.empty() || !package_.Contains(part)) return static_cast<const SlideStyles*>(nullptr);
    Outcome<XmlPart> xml = LoadXmlPart(package_, part, limits_);
    if (!xml.Ok()) return xml.Error();
    slot = std::make_unique<SlideStyles>(ReadSlideStyles(xml.Value()->document_element()));
    // A master's theme: the parts over it name theme fonts by it.
    Outcome<std::string> theme = Target(part, "theme");
    if (!theme.Ok()) return theme.Error();
    if (!theme.Value().empty() && package_.Contains(theme.Value())) {
      Outcome<XmlPart> themeXml = LoadXmlPart(package_, theme.Value(), limits_);
      if (!themeXml.Ok()) return themeXml.Error();
      slot->theme = ThemeFonts(themeXml.Value()->document_element());
    }
    return static_cast<const SlideStyles*>(slot.get());
  }

 private:
  const ZipPackage& package_;
  const PackageLimits& limits_;
  std::map<std::string, std::vector<Relationship>> relationships_;
  std::map<std::string, std::unique_ptr<SlideStyles>> styles_;
};

// Every part that holds text, each once: the masters and their layouts,
// the slides (and a layout no master lists), the notes, the notes and
// handout masters.
Outcome<std::vector<SlidePart>> CollectParts(SlidePackage& slides, const std::string& presentation) {
  std::vector<SlidePart> parts;
  std::set<std::string> seen;
  const auto add = [&](const std::vector<std::string>& names, PartKind kind) {
    for (const std::string& name : names) {
      if (seen.insert(name).second) parts.push_back({name, kind});
    }
  };
  const auto targets = [&](const std::string& part, std::string_view type, PartKind kind) -> std::optional<PackageError> {
    Outcome<std::vector<std::string>> found = slides.Targets(part, type);
    if (!found.Ok()) return found.Error();
    add(found.Value(), kind);
    return std::nullopt;
  };
  if (auto error = targets(presentation, "slideMaster", PartKind::kMaster)) return *error;
  for (std::size_t i = 0, masters = parts.size(); i < masters; ++i) {
    if (auto error = targets(parts[i].name, "slideLayout", PartKind::kLayout)) return *error;
  }
  const std::size_t firstSlide = parts.size();
  if (auto error = targets(presentation, "slide", PartKind::kSlide)) return *error;
  for (std::size_t i = firstSlide, end = parts.size(); i < end; ++i) {
    if (parts[i].kind != PartKind::kSlide) continue;
    const std::string slide = parts[i].name;
    if (auto error = targets(slide, "slideLayout", PartKind::kLayout)) return *error;
    if (auto error = targets(slide, "notesSlide", PartKind::kNotes)) return *error;
  }
  if (auto error = targets(presentation, "notesMaster", PartKind::kNotesMaster)) return *error;
  if (auto error = targets(presentation, "handoutMaster", PartKind::kHandoutMaster)) return *error;
  return parts;
}

// What a part's text inherits from: the layout and master whose
// placeholders it fills, and the master whose text styles and theme apply.
struct Inheritance {
  const SlideStyles* layout = nullptr;
  const SlideStyles* master = nullptr;
  const SlideStyles* textStyles = nullptr;
};

Outcome<Inheritance> InheritanceOf(SlidePackage& slides, const SlidePart& part) {
  Inheritance inheritance;
  std::string layout, master;
  switch (part.kind) {
    case PartKind::kSlide: {
      Outcome<std::string> found = slides.Target(part.name, "slideLayout");
      if (!found.Ok()) return found.Error();
      layout = found.Value();
      break;
    }
    case PartKind::kLayout: break;  // it fills its master's placeholders
    case PartKind::kMaster:
    case PartKind::kNotesMaster:
    case PartKind::kHandoutMaster: {
      Outcome<const SlideStyles*> own = slides.Styles(part.name);
      if (!own.Ok()) return own.Error();
      inheritance.textStyles = own.Value();
      return inheritance;
    }
    case PartKind::kNotes: {
      Outcome<std::string> found = slides.Target(part.name, "notesMaster");
      if (!found.Ok()) return found.Error();
      master = found.Value();
      break;
    }
  }
  if (!layout.empty()) {
    Outcome<const SlideStyles*> styles = slides.Styles(layout);
    if (!styles.Ok()) return styles.Error();
    inheritance.layout = styles.Value();
  }
  const bool underMaster = part.kind == PartKind::kLayout || (part.kind == PartKind::kSlide && !layout.empty());
  if (underMaster) {
    Outcome<std::string> found = slides.Target(part.kind == PartKind::kSlide ? layout : part.name, "slideMaster");
    if (!found.Ok()) return found.Error();
    master = found.Value();
  }
  if (!master.empty()) {
    Outcome<const SlideStyles*> styles = slides.Styles(master);
    if (!styles.Ok()) return styles.Error();
    inheritance.master = inheritance.textStyles = styles.Value();
  }
  return inheritance;
}

// The text bodies of a part, in shapes, groups and table cells alike, in
// document order; a body holds no other body.
void CollectTextBodies(pugi::xml_node node, std::vector<pugi::xml_node>& into) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (HasLocalName(child, "txBody")) {
      into.push_back(child);
    } else {
      CollectTextBodies(child, into);
    }
  }
}

// The fonts of the presentation's table styles, by style id.
using TableStyleFonts = std::unordered_map<std::string, LevelFonts>;

Outcome<TableStyleFonts> ReadTableStyles(SlidePackage& slides, const ZipPackage& package,
                                         const std::string& presentation, const PackageLimits& limits) {
  TableStyleFonts fonts;
  Outcome<std::string> part = slides.Target(presentation, "tableStyles");
  if (!part.Ok()) return part.Error();
  if (part.Value().empty() || !package.Contains(part.Value())) return fonts;
  Outcome<XmlPart> xml = LoadXmlPart(package, part.Value(), limits);
  if (!xml.Ok()) return xml.Error();
  for (pugi::xml_node style : ChildrenByLocalName(xml.Value()->document_element(), "tblStyle")) {
    fonts.emplace(style.attribute("styleId").value(), TableStyleLevels(style));
  }
  return fonts;
}

// The table a cell's text body stands in (a:tc > a:txBody), or none.
pugi::xml_node TableOfCell(pugi::xml_node body) {
  if (!HasLocalName(body.parent(), "tc")) return {};
  const pugi::xml_node table = body.parent().parent().parent();  // a:tc < a:tr < a:tbl
  return HasLocalName(table, "tbl") ? table : pugi::xml_node();
}

bool ConvertPart(pugi::xml_document& xml, const Inheritance& inheritance, const LevelFonts& defaults,
                 const TableStyleFonts& tableStyles, const ConversionProfile& profile, FontClassifier& classifier) {
  std::vector<pugi::xml_node> bodies;
  CollectTextBodies(xml.document_element(), bodies);
  static const ThemeFonts kNoTheme;
  const DrawingTextContext context{profile, classifier,
                                   inheritance.textStyles != nullptr ? inheritance.textStyles->theme : kNoTheme};
  bool changed = false;
  for (pugi::xml_node body : bodies) {
    // A shape's body is its child; a table cell's is the cell's, and the
    // cell fills no placeholder.
    const pugi::xml_node shape = HasLocalName(body.parent(), "sp") ? body.parent() : pugi::xml_node();
    LevelFonts fontRef;
    std::vector<const LevelFonts*> levels =
        InheritedLevels(shape, inheritance.layout, inheritance.master, inheritance.textStyles, defaults, fontRef);
    // A cell's text takes its table style's font before the master's.
    if (const pugi::xml_node table = TableOfCell(body)) {
      const std::string id = ChildByLocalName(ChildByLocalName(table, "tblPr"), "tableStyleId").child_value();
      if (const auto found = tableStyles.find(id); found != tableStyles.end()) {
        levels.insert(levels.begin(), &found->second);
      }
    }
    changed |= ConvertTextBody(body, levels, context);
  }
  return changed;
}

}  // namespace

Outcome<std::string> ConvertSlidePackage(const ZipPackage& package, const ConversionProfile& profile,
                                         const OfficeOptions& options) {
  Outcome<MainPart> main = FindMainPart(package, options.limits);
  if (!main.Ok()) return main.Error();
  Outcome<XmlPart> presentation = LoadXmlPart(package, main.Value().name, options.limits);
  if (!presentation.Ok()) return presentation.Error();
  pugi::xml_node defaultStyle;
  for (pugi::xml_node child : presentation.Value()->document_element().children()) {
    if (HasLocalName(child, "defaultTextStyle")) defaultStyle = child;
  }
  const LevelFonts defaults = ReadLevelFonts(defaultStyle);
  SlidePackage slides(package, options.limits);
  Outcome<std::vector<SlidePart>> parts = CollectParts(slides, main.Value().name);
  if (!parts.Ok()) return parts.Error();
  Outcome<TableStyleFonts> tableStyles = ReadTableStyles(slides, package, main.Value().name, options.limits);
  if (!tableStyles.Ok()) return tableStyles.Error();
  FontClassifier classifier(profile.generation);
  std::vector<PartReplacement> replacements;
  const std::size_t total = parts.Value().size();
  for (std::size_t i = 0; i < total; ++i) {
    const SlidePart& part = parts.Value()[i];
    if (package.Contains(part.name)) {
      Outcome<Inheritance> inheritance = InheritanceOf(slides, part);
      if (!inheritance.Ok()) return inheritance.Error();
      Outcome<XmlPart> xml = LoadXmlPart(package, part.name, options.limits);
      if (!xml.Ok()) return xml.Error();
      if (ConvertPart(*xml.Value(), inheritance.Value(), defaults, tableStyles.Value(), profile, classifier)) {
        replacements.emplace_back(part.name, SerializeXmlPart(*xml.Value()));
      }
    }
    if (options.progress != nullptr) options.progress->Advance(i + 1, total);
  }
  return package.Rewrite(replacements);
}

}  // namespace maravelundi
