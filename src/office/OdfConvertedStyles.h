#pragma once
// The automatic text styles that set converted text in its new font. A
// converted piece becomes a span of such a style inside the span it sits
// in, so it keeps everything its surroundings give it but the font; for
// Malayalam Unicode the style also names the font in the complex-script
// slot and copies the weight, posture and size there, which is where
// LibreOffice looks for Malayalam. The font gets its style:font-face
// declaration in the part.

#include <string>
#include <unordered_map>

#include <pugixml.hpp>

#include "office/OdfNames.h"
#include "office/OdfStyles.h"
#include "convert/ConversionProfile.h"

namespace maravelundi {

class OdfConvertedStyles {
 public:
  OdfConvertedStyles(pugi::xml_node root, const OdfNames& names, const OdfStyleSheet& sheet,
                     const ConversionProfile& profile);

  // The name of the style for a converted piece whose source had `source`,
  // set in `font` (the profile's converted font, or one of a Rachana
  // family's six).
  const std::string& StyleFor(const OdfEffectiveText& source, std::string_view font);

 private:
  const std::string& FontDeclaration(std::string_view font);
  pugi::xml_node Container(std::string_view local, std::initializer_list<std::string_view> before);
  std::string UnusedStyleName();

  pugi::xml_node root_;
  OdfNames names_;  // a copy: declaring svg: binds it here
  const OdfStyleSheet& sheet_;
  const ConversionProfile& profile_;
  std::unordered_map<std::string, std::string> declarations_;  // style:name by font, once declared
  std::unordered_map<std::string, std::string> styleByKey_;
  std::size_t nextNumber_ = 1;
};

}  // namespace maravelundi
