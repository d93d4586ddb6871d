#pragma once
// Where a shape's text takes its typeface from when its runs set none, as
// PowerPoint resolves it. A placeholder on a slide inherits from the
// placeholder it fills on the slide's layout (matched by its index, else its
// type), which inherits from the master's; then come the master's text
// styles (the title style for titles, the body style for every other
// placeholder, the other style for shapes that fill none) and the
// presentation's default text style. A shape's p:style/a:fontRef (the theme
// font a drawn shape takes) stands between the placeholders and the master.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "office/DrawingText.h"
#include "office/WordRunProperties.h"

namespace maravelundi {

struct Placeholder {
  std::string type;  // as written, "body" when unset
  std::string index;
  LevelFonts fonts;  // its text body's list style
};

// What a layout or master (a notes or handout master too) passes on to the
// parts drawn over it.
struct SlideStyles {
  std::vector<Placeholder> placeholders;
  // The first placeholder of each index, type and family, into
  // `placeholders`: a slide of many shapes over a layout of many
  // placeholders looks each up at once.
  std::unordered_map<std::string, std::size_t> byIndex, byType, byFamily;
  LevelFonts title, body, other;  // a notes master's notes style is its body style
  ThemeFonts theme;               // a master's; the parts over it name theme fonts by it
};

// The placeholders and text styles of a layout or master part's root.
SlideStyles ReadSlideStyles(pugi::xml_node root);

// The placeholder element of a shape (p:nvSpPr/p:nvPr/p:ph), or none.
pugi::xml_node PlaceholderOf(pugi::xml_node shape);

// The list styles a text body of `shape` (a p:sp, or none for a table
// cell's) inherits under its own, nearest first. `layout` and `master` are
// the parts whose placeholders it fills (either may be null: a master's own
// shapes fill none), `textStyles` the master whose text styles apply (the
// part itself, for a master). The pointers stay valid while the arguments
// and `scratch` (which holds the shape's own font reference) live.
std::vector<const LevelFonts*> InheritedLevels(pugi::xml_node shape, const SlideStyles* layout,
                                               const SlideStyles* master, const SlideStyles* textStyles,
                                               const LevelFonts& defaults, LevelFonts& scratch);

}  // namespace maravelundi
