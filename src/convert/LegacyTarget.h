#pragma once
// The legacy fonts the way back writes in: for each, the glyphs it has and
// the font each glyph is set in. Every font of a family with a map can be
// written (an ML-TT font by the entity table, the exact inverse of how its
// text is read); Rachana's two generations spread their glyphs over six
// fonts, so a glyph is set in whichever of them has it, which only a
// document can carry.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "families/LegacyEncoder.h"

namespace maravelundi {

class RachanaGlyphs;

struct LegacyTarget {
  std::string name;                         // as asked: "ML-TTKarthika", or a Rachana family "rl"
  const GlyphInventory* inventory = nullptr;
  std::vector<std::string> fonts;           // the font of each glyph's font number
  // Rachana spells the ML-TT glyphs of the inventory again in its own, so
  // that what stage one makes of them is exactly the ML-TT that the walk
  // reads back.
  const RachanaGlyphs* rachana = nullptr;
  bool SpreadOverFonts() const { return fonts.size() > 1; }
};

inline constexpr std::string_view kDefaultLegacyFont = "ML-TTKarthika";

// A font --list-fonts lists (in any letter case) whose map is known, or a
// Rachana family: "rl" or "rc" for version 7, "ra" or "rkr" for version 2.
std::optional<LegacyTarget> LegacyTargetNamed(std::string_view fontName);

// Spells `unicode` in the target's glyphs, each handed on with its font
// number and the index of the character it is placed at.
void EncodeForTarget(const LegacyTarget& target, std::u16string_view unicode, LegacyGlyphSink& sink);

}  // namespace maravelundi
