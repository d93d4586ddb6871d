#include "office/WordRunFormat.h"

#include <algorithm>
#include <array>
#include <string>

namespace maravelundi {
namespace {

// The order the schema gives the children of w:rPr; Word rejects a
// document whose properties come out of order.
constexpr std::array<std::string_view, 40> kRunPropertyOrder = {
    "rStyle", "rFonts",   "b",         "bCs",          "i",         "iCs",        "caps",   "smallCaps",
    "strike", "dstrike",  "outline",   "shadow",       "emboss",    "imprint",    "noProof", "snapToGrid",
    "vanish", "webHidden", "color",    "spacing",      "w",         "kern",       "position", "sz",
    "szCs",   "highlight", "u",        "effect",       "bdr",       "shd",        "fitText", "vertAlign",
    "rtl",    "cs",       "em",        "lang",         "eastAsianLayout", "specVanish", "oMath", "rPrChange",
};

std::size_t Rank(std::string_view local) {
  const auto found = std::find(kRunPropertyOrder.begin(), kRunPropertyOrder.end(), local);
  return static_cast<std::size_t>(found - kRunPropertyOrder.begin());  // unknown ones sort last
}

// The run's w:rPr, made when it has none.
pugi::xml_node RunProperties(pugi::xml_node run, const XmlNamespace& w) {
  if (pugi::xml_node rPr = w.Child(run, "rPr")) return rPr;
  return run.prepend_child(w.Name("rPr").c_str());
}

// The property element `local`, replaced by a fresh empty one in its place
// in the schema's order.
pugi::xml_node FreshProperty(pugi::xml_node rPr, std::string_view local, const XmlNamespace& w) {
  while (pugi::xml_node old = w.Child(rPr, local)) rPr.remove_child(old);
  const std::size_t rank = Rank(local);
  for (pugi::xml_node child : rPr.children()) {
    if (child.type() == pugi::node_element && Rank(w.Local(child.name())) > rank) {
      return rPr.insert_child_before(w.Name(local).c_str(), child);
    }
  }
  return rPr.append_child(w.Name(local).c_str());
}

void SetAttribute(pugi::xml_node node, const std::string& name, std::string_view value) {
  pugi::xml_attribute attribute = node.attribute(name.c_str());
  if (!attribute) attribute = node.append_attribute(name.c_str());
  attribute.set_value(std::string(value).c_str());
}

// Every slot in the font; theme fonts would win over it, so they go. The
// East Asian slot only where the run named one.
void SetFonts(pugi::xml_node rPr, std::string_view font, const XmlNamespace& w) {
  pugi::xml_node rFonts = w.Child(rPr, "rFonts");
  if (!rFonts) rFonts = FreshProperty(rPr, "rFonts", w);
  const bool eastAsia = w.Attribute(rFonts, "eastAsia") || w.Attribute(rFonts, "eastAsiaTheme");
  for (std::string_view theme : {"asciiTheme", "hAnsiTheme", "eastAsiaTheme", "cstheme"}) {
    rFonts.remove_attribute(w.Name(theme).c_str());
  }
  for (std::string_view slot : {"ascii", "hAnsi", "cs"}) SetAttribute(rFonts, w.Name(slot), font);
  if (eastAsia) SetAttribute(rFonts, w.Name("eastAsia"), font);
}

// A complex-script twin that says what its Latin property says; when the
// Latin one is off, the twin is written off only if something below would
// turn it on.
void MirrorToggle(pugi::xml_node rPr, std::string_view twin, std::optional<bool> latin, std::optional<bool> current,
                  const XmlNamespace& w) {
  while (pugi::xml_node old = w.Child(rPr, twin)) rPr.remove_child(old);
  if (latin.value_or(false)) {
    FreshProperty(rPr, twin, w);
  } else if (current.value_or(false)) {
    SetAttribute(FreshProperty(rPr, twin, w), w.Name("val"), "0");
  }
}

}  // namespace

void ApplyConvertedFormat(pugi::xml_node run, const WordRunProperties& effective, const ConvertedRunFormat& format,
                          const XmlNamespace& w) {
  pugi::xml_node rPr = RunProperties(run, w);
  SetFonts(rPr, format.font, w);
  if (!format.complexScript) return;
  MirrorToggle(rPr, "bCs", effective.bold, effective.boldComplex, w);
  MirrorToggle(rPr, "iCs", effective.italic, effective.italicComplex, w);
  if (effective.halfPoints) {
    SetAttribute(FreshProperty(rPr, "szCs", w), w.Name("val"), std::to_string(*effective.halfPoints));
  }
  FreshProperty(rPr, "cs", w);
}

}  // namespace maravelundi
