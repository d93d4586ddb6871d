#pragma once
// The inline content of an OpenDocument paragraph (text:p, text:h): text,
// spans and links that carry it, spaces, tabs and line breaks as elements,
// markers that text flows across (bookmarks, change marks, index marks), and
// everything else (frames, notes, fields, annotations), which stops the flow.
// Text is read as a word processor reads it: runs of white space collapse
// into one space, and the paragraph's leading white space is dropped.

#include <algorithm>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "office/OdfNames.h"
#include "office/OdfStyles.h"

namespace maravelundi {

enum class OdfInlineKind { kText, kSpan, kSpaces, kTab, kLineBreak, kMarker, kBoundary };
OdfInlineKind ClassifyOdfInline(pugi::xml_node node, const OdfNames& names);

// Collapses white space across the text nodes of one paragraph.
class OdfWhiteSpace {
 public:
  OdfWhiteSpace() = default;
  explicit OdfWhiteSpace(bool ignoreSpace) : ignoreSpace_(ignoreSpace) {}

  std::u16string Collapse(std::string_view utf8);
  // After a text:s, text:tab or text:line-break, white space counts again.
  void AfterElement() { ignoreSpace_ = false; }
  // Whether white space that comes next collapses into what came before.
  bool IgnoringSpace() const { return ignoreSpace_; }

 private:
  bool ignoreSpace_ = true;  // at the paragraph's start
};

// A piece of a paragraph's text: the node that holds it, the text it stands
// for, the properties that apply, and the style of the innermost span
// around it (empty when none).
struct OdfAtom {
  pugi::xml_node node;
  std::u16string text;
  const OdfEffectiveText& properties;
  std::string_view carrierStyle;
};

// Visits a paragraph's atoms in order; a visitor has Atom(const OdfAtom&)
// and Boundary().
template <typename Visitor>
void WalkOdfInline(pugi::xml_node parent, const OdfEffectiveText& properties, std::string_view carrierStyle,
                   const OdfNames& names, const OdfStyleSheet& sheet, OdfWhiteSpace& space, Visitor& visitor) {
  for (pugi::xml_node child = parent.first_child(); child;) {
    const pugi::xml_node next = child.next_sibling();  // the visitor rewrites only what came before
    switch (ClassifyOdfInline(child, names)) {
      case OdfInlineKind::kText:
        if (std::u16string text = space.Collapse(child.value()); !text.empty()) {
          visitor.Atom(OdfAtom{child, std::move(text), properties, carrierStyle});
        }
        break;
      case OdfInlineKind::kSpan: {
        const char* style = names.text.Attribute(child, "style-name").value();
        OdfEffectiveText inner = properties;
        sheet.ApplyTextStyle(inner, style);
        const bool isSpan = names.text.Is(child, "span");
        WalkOdfInline(child, inner, isSpan ? std::string_view(style) : carrierStyle, names, sheet, space, visitor);
        break;
      }
      case OdfInlineKind::kSpaces: {
        const int count = std::clamp(names.text.Attribute(child, "c").as_int(1), 1, 0xFFFF);
        space.AfterElement();
        visitor.Atom(OdfAtom{child, std::u16string(static_cast<std::size_t>(count), u' '), properties, carrierStyle});
        break;
      }
      case OdfInlineKind::kTab:
      case OdfInlineKind::kLineBreak: {
        space.AfterElement();
        const bool tab = ClassifyOdfInline(child, names) == OdfInlineKind::kTab;
        visitor.Atom(OdfAtom{child, tab ? u"\t" : u"\n", properties, carrierStyle});
        break;
      }
      case OdfInlineKind::kMarker: break;
      case OdfInlineKind::kBoundary: visitor.Boundary(); break;
    }
    child = next;
  }
}

// Writes text into `parent` before `before` (at its end when null): plain
// text where a word processor keeps it, text:s for spaces it would collapse,
// text:tab and text:line-break for tabs and breaks.
void WriteOdfText(pugi::xml_node parent, pugi::xml_node before, std::u16string_view text, const OdfNames& names);

}  // namespace maravelundi
