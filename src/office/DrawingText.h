#pragma once
// The text of a DrawingML text body (a shape's, a table cell's) converted
// where it stands. The body is one story: its paragraphs, each ended by
// CR LF, and in each the text of its runs and fields, a line break as LF, so
// that the conversion sees a word whole however many runs it is typed in.
// A run whose Latin typeface is a legacy font becomes runs of the converted
// text, copies of it in the Unicode font; what it keeps, and every run of
// another font, stays as it was.
//
// A run without a typeface of its own takes the one its paragraph's level
// inherits: the body's own list style first, then the list styles the caller
// passes (a placeholder's on the layout and the master, the master's text
// styles, the presentation's defaults), nearest first.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "convert/ConversionProfile.h"
#include "convert/FontClassifier.h"
#include "office/WordRunProperties.h"

namespace maravelundi {

// A paragraph's level (a:pPr/@lvl) is 0 to 8.
inline constexpr std::size_t kTextLevels = 9;

// The Latin typeface a list style sets for each level, as written (a theme
// reference such as "+mn-lt" included); empty where it sets none.
using LevelFonts = std::array<std::string, kTextLevels>;

// The typefaces of a list style: a:lstStyle, or a master's p:titleStyle,
// p:bodyStyle, p:otherStyle, p:notesStyle, the presentation's
// p:defaultTextStyle. A level without a:lvlNpPr/a:defRPr/a:latin of its own
// takes a:defPPr's. An empty node sets nothing.
LevelFonts ReadLevelFonts(pugi::xml_node listStyle);

// The same typeface at every level: what a shape's p:style/a:fontRef
// ("minor", "major") gives the text with no typeface of its own.
LevelFonts FontRefLevels(pugi::xml_node shapeStyle);

// The typeface a table style gives its cells' text (a:tblStyle's
// a:wholeTbl/a:tcTxStyle: an a:font's a:latin, or an a:fontRef), at every
// level; empty where it gives none.
LevelFonts TableStyleLevels(pugi::xml_node tableStyle);

// A typeface with a theme reference ("+mn-lt", "+mj-cs", ...) resolved;
// empty when the theme names no such font.
std::string ResolveTypeface(std::string_view typeface, const ThemeFonts& theme);

struct DrawingTextContext {
  const ConversionProfile& profile;
  FontClassifier& classifier;
  const ThemeFonts& theme;
};

// Converts the legacy text of `txBody` in place; `inherited` are the list
// styles under the body's own, nearest first. True when anything changed.
bool ConvertTextBody(pugi::xml_node txBody, const std::vector<const LevelFonts*>& inherited,
                     const DrawingTextContext& context);

}  // namespace maravelundi
