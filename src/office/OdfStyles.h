#pragma once
// The text properties of OpenDocument styles, as a word processor applies
// them to a character: the default paragraph style, the paragraph's style
// and its parents, then each enclosing span's style and its parents, the
// innermost last. Automatic styles live in the part being read; common
// styles and defaults in styles.xml; font names lead through the
// style:font-face declarations to font families.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <pugixml.hpp>

#include "office/OdfContainerStyles.h"
#include "office/OdfNames.h"

namespace maravelundi {

// What one style's style:text-properties set itself.
struct OdfTextProperties {
  std::optional<std::string> fontName;    // style:font-name: a declaration's name
  std::optional<std::string> fontFamily;  // fo:font-family
  std::optional<std::string> weight, style, size;  // fo:font-weight, fo:font-style, fo:font-size
  std::optional<bool> underline;
  std::optional<std::string> colour;  // "#rrggbb"
};

// What applies to a character once every level has had its say.
struct OdfEffectiveText {
  std::string font;  // a family name
  std::string weight = "normal";
  std::string style = "normal";
  std::optional<double> points;  // absent: the application's default
  bool underline = false;
  std::optional<std::string> colour;
};

class OdfStyleSheet {
 public:
  // Font declarations of a part; those read first win.
  void ReadFontFaces(pugi::xml_node root, const OdfNames& names);
  // Common styles and defaults: office:styles of styles.xml.
  void ReadCommonStyles(pugi::xml_node root, const OdfNames& names);
  // The automatic styles of the part being converted.
  void ReadAutomaticStyles(pugi::xml_node root, const OdfNames& names);

  // What a paragraph's text starts from: the defaults, the style of the
  // cell or shape it stands in (spreadsheets and presentations), and the
  // paragraph's own style.
  OdfEffectiveText ParagraphBase(std::string_view paragraphStyle,
                                 const std::optional<OdfContainerStyle>& container = std::nullopt) const;
  // Applies a text style (a span's) and its parents.
  void ApplyTextStyle(OdfEffectiveText& text, std::string_view textStyle) const;
  bool HasStyleNamed(std::string_view name) const;

 private:
  struct Entry {
    std::string parent;
    OdfTextProperties own;
  };
  using StyleMap = std::unordered_map<std::string, Entry>;  // by family '/' name

  void ReadStyles(pugi::xml_node container, const OdfNames& names, StyleMap& into);
  void Apply(OdfEffectiveText& text, const OdfTextProperties& properties) const;
  void ApplyDefaults(OdfEffectiveText& text, const std::string& family) const;
  void ApplyChain(OdfEffectiveText& text, std::string_view family, std::string_view name) const;
  const Entry* Find(const std::string& key, bool automaticToo) const;

  StyleMap common_, automatic_;
  std::unordered_map<std::string, std::string> familyByFontName_;
  std::unordered_map<std::string, OdfTextProperties> defaults_;  // by family
  std::unordered_set<std::string> names_;  // of every style, any family
};

// A font size in points ("12pt", "0.5cm", "10mm", "1in", "1pc", "16px"), or
// nothing for a percentage or something unreadable.
std::optional<double> AbsolutePoints(std::string_view size);

}  // namespace maravelundi
