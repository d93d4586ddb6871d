#include "office/WordRunProperties.h"

#include <charconv>
#include <cstring>

#include "package/XmlPart.h"

namespace maravelundi {
namespace {

struct SlotAttributes {
  std::string_view font, theme;
};

// w:rFonts names each slot's font and its theme font; the theme one wins.
constexpr std::array<SlotAttributes, 4> kSlotAttributes = {
    SlotAttributes{"ascii", "asciiTheme"},
    SlotAttributes{"hAnsi", "hAnsiTheme"},
    SlotAttributes{"eastAsia", "eastAsiaTheme"},
    SlotAttributes{"cs", "cstheme"},
};

void ReadFonts(pugi::xml_node rFonts, const XmlNamespace& w, const ThemeFonts& theme, WordRunProperties& into) {
  if (!rFonts) return;
  for (std::size_t slot = 0; slot < kSlotAttributes.size(); ++slot) {
    if (pugi::xml_attribute themed = w.Attribute(rFonts, kSlotAttributes[slot].theme)) {
      if (auto font = theme.Resolve(themed.value())) {
        into.fonts[slot] = std::move(font);
        continue;
      }
    }
    if (pugi::xml_attribute font = w.Attribute(rFonts, kSlotAttributes[slot].font)) into.fonts[slot] = font.value();
  }
}

std::optional<bool> ReadOnOff(pugi::xml_node rPr, const XmlNamespace& w, std::string_view local) {
  pugi::xml_node element = w.Child(rPr, local);
  if (!element) return std::nullopt;
  return OnOffValue(w.Attribute(element, "val"));
}

std::optional<int> ReadHalfPoints(pugi::xml_node rPr, const XmlNamespace& w, std::string_view local) {
  pugi::xml_node element = w.Child(rPr, local);
  if (!element) return std::nullopt;
  const std::string_view text = w.Attribute(element, "val").value();
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || value <= 0 || value > 3276) return std::nullopt;
  return value;
}

template <typename T>
void Take(std::optional<T>& into, const std::optional<T>& top) {
  if (top) into = top;
}

}  // namespace

ThemeFonts::ThemeFonts(pugi::xml_node themeRoot) {
  // a:theme/a:themeElements/a:fontScheme/a:majorFont/a:latin@typeface, ...
  pugi::xml_node scheme;
  for (pugi::xml_node elements : themeRoot.children()) {
    if (LocalName(elements.name()) != "themeElements") continue;
    for (pugi::xml_node child : elements.children()) {
      if (LocalName(child.name()) == "fontScheme") scheme = child;
    }
  }
  constexpr std::array<std::string_view, 2> kFontSets = {"majorFont", "minorFont"};
  constexpr std::array<std::string_view, 3> kScripts = {"latin", "ea", "cs"};
  for (pugi::xml_node set : scheme.children()) {
    for (std::size_t s = 0; s < kFontSets.size(); ++s) {
      if (LocalName(set.name()) != kFontSets[s]) continue;
      for (pugi::xml_node font : set.children()) {
        for (std::size_t k = 0; k < kScripts.size(); ++k) {
          if (LocalName(font.name()) == kScripts[k]) fonts_[s * 3 + k] = font.attribute("typeface").value();
        }
      }
    }
  }
}

std::optional<std::string> ThemeFonts::Resolve(std::string_view themeValue) const {
  std::size_t set = 0;
  if (themeValue.starts_with("major")) {
    themeValue.remove_prefix(5);
  } else if (themeValue.starts_with("minor")) {
    themeValue.remove_prefix(5);
    set = 1;
  } else {
    return std::nullopt;
  }
  const std::size_t script = themeValue == "EastAsia" ? 1 : themeValue == "Bidi" ? 2 : 0;
  const std::string& font = fonts_[set * 3 + script];
  if (font.empty()) return std::nullopt;
  return font;
}

void WordRunProperties::Overlay(const WordRunProperties& top) {
  for (std::size_t slot = 0; slot < fonts.size(); ++slot) Take(fonts[slot], top.fonts[slot]);
  Take(bold, top.bold);
  Take(boldComplex, top.boldComplex);
  Take(italic, top.italic);
  Take(italicComplex, top.italicComplex);
  Take(complexScript, top.complexScript);
  Take(underline, top.underline);
  Take(halfPoints, top.halfPoints);
  Take(halfPointsComplex, top.halfPointsComplex);
  Take(colour, top.colour);
}

WordRunProperties ReadWordRunProperties(pugi::xml_node rPr, const XmlNamespace& w, const ThemeFonts& theme) {
  WordRunProperties properties;
  if (!rPr) return properties;
  ReadFonts(w.Child(rPr, "rFonts"), w, theme, properties);
  properties.bold = ReadOnOff(rPr, w, "b");
  properties.boldComplex = ReadOnOff(rPr, w, "bCs");
  properties.italic = ReadOnOff(rPr, w, "i");
  properties.italicComplex = ReadOnOff(rPr, w, "iCs");
  properties.complexScript = ReadOnOff(rPr, w, "cs");
  if (!properties.complexScript || !*properties.complexScript) {
    if (auto rtl = ReadOnOff(rPr, w, "rtl"); rtl && *rtl) properties.complexScript = true;
  }
  properties.halfPoints = ReadHalfPoints(rPr, w, "sz");
  properties.halfPointsComplex = ReadHalfPoints(rPr, w, "szCs");
  if (pugi::xml_node u = w.Child(rPr, "u")) {
    properties.underline = std::strcmp(w.Attribute(u, "val").as_string("single"), "none") != 0;
  }
  if (pugi::xml_node color = w.Child(rPr, "color")) properties.colour = w.Attribute(color, "val").value();
  return properties;
}

FontSlot SlotOfCharacter(char16_t stored, const WordRunProperties& effective) {
  if (effective.complexScript.value_or(false)) return FontSlot::kComplex;
  return stored < 0x80 ? FontSlot::kAscii : FontSlot::kHAnsi;
}

bool OnOffValue(pugi::xml_attribute value) {
  if (!value) return true;
  const std::string_view text = value.value();
  return !(text == "0" || text == "false" || text == "off");
}

}  // namespace maravelundi
