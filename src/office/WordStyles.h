#pragma once
// The style hierarchy of a WordprocessingML document, as Word applies it to
// a run: document defaults, then the paragraph's style and the styles it is
// based on, then the run's character style and its bases, then the run's
// own properties. Each style's chain is resolved once; a chain that loops
// (a hostile w:basedOn) stops where it would repeat.

#include <string>
#include <string_view>
#include <unordered_map>

#include <pugixml.hpp>

#include "office/WordRunProperties.h"
#include "office/XmlNamespace.h"

namespace maravelundi {

class WordStyles {
 public:
  WordStyles() = default;  // a document without a styles part
  WordStyles(pugi::xml_node stylesRoot, const ThemeFonts& theme);

  // The defaults with the paragraph style's chain over them; an empty or
  // unknown id takes the default paragraph style.
  WordRunProperties ParagraphBase(std::string_view paragraphStyleId) const;

  // A run's effective properties: the paragraph's base, its character style's
  // chain, then its own w:rPr.
  WordRunProperties Effective(const WordRunProperties& paragraphBase, pugi::xml_node rPr, const XmlNamespace& w,
                              const ThemeFonts& theme) const;

 private:
  struct Style {
    std::string basedOn;
    WordRunProperties own;
  };
  const WordRunProperties& Resolved(const std::string& id) const;

  std::unordered_map<std::string, Style> styles_;
  std::string defaultParagraphStyle_;
  WordRunProperties defaults_;
  mutable std::unordered_map<std::string, WordRunProperties> resolved_;
};

}  // namespace maravelundi
