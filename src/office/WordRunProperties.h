#pragma once
// The character properties of WordprocessingML that conversion reads: the
// four font slots of w:rFonts (theme fonts resolved through the theme part),
// bold, italic and size with their complex-script twins, the complex-script
// flag, and for the flat outputs underline and colour. Each is either set at
// a level of the style hierarchy or left to the level below.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "office/XmlNamespace.h"

namespace maravelundi {

enum class FontSlot { kAscii, kHAnsi, kEastAsia, kComplex };

// The fonts a theme names: w:asciiTheme="minorHAnsi" means the minor Latin font.
class ThemeFonts {
 public:
  ThemeFonts() = default;
  explicit ThemeFonts(pugi::xml_node themeRoot);
  // The font for a theme value ("majorAscii", "minorBidi", ...), or nothing.
  std::optional<std::string> Resolve(std::string_view themeValue) const;

 private:
  // major then minor; each Latin, East Asian, complex script
  std::array<std::string, 6> fonts_;
};

struct WordRunProperties {
  std::array<std::optional<std::string>, 4> fonts;  // by FontSlot
  std::optional<bool> bold, boldComplex, italic, italicComplex, complexScript, underline;
  std::optional<int> halfPoints, halfPointsComplex;
  std::optional<std::string> colour;  // "RRGGBB" or "auto"

  const std::optional<std::string>& Font(FontSlot slot) const { return fonts[static_cast<int>(slot)]; }
  // Everything `top` sets replaces what this sets.
  void Overlay(const WordRunProperties& top);
};

// The properties a w:rPr (or a style's w:rPr) sets itself; an empty node sets none.
WordRunProperties ReadWordRunProperties(pugi::xml_node rPr, const XmlNamespace& w, const ThemeFonts& theme);

// The slot Word takes a character's font from: the complex-script slot for
// a run marked w:cs or w:rtl; otherwise w:ascii below 0x80 and w:hAnsi for
// the rest (legacy text is 8-bit, so never the East Asian slot).
FontSlot SlotOfCharacter(char16_t stored, const WordRunProperties& effective);

// An ST_OnOff value: absent, "1", "true", "on" are true.
bool OnOffValue(pugi::xml_attribute value);

}  // namespace maravelundi
