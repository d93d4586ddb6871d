#pragma once
// A worksheet's header or footer (oddHeader, evenFooter ...), whose text is
// one string of codes: &L, &C and &R begin its sections, &"Name,Style" sets
// the font of what follows (until the next section, which begins in the
// workbook's default font), && is an ampersand, and the other codes (&B,
// &12, &KFF0000, &P ...) set a property or stand for a field. The text set
// in a legacy font is converted, and &"Unicode font,Style" put before it;
// every code is kept where it stood, and the source font is named again
// where kept text follows converted text.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "convert/ConversionProfile.h"

namespace maravelundi {

// The header or footer with its legacy text converted, or nothing when none
// of it is set in a legacy font. `defaultFont` is the workbook's (its first
// font); `isLegacy` says whether a font name is a legacy font.
std::optional<std::string> ConvertHeaderFooter(std::string_view codes, std::string_view defaultFont,
                                               const ConversionProfile& profile,
                                               const std::function<bool(std::string_view)>& isLegacy);

}  // namespace maravelundi
