#pragma once
// What a conversion makes of the legacy text it meets, in one value that
// every reader and writer is handed: which fonts it reads (the Rachana
// generation, and with it whether the other legacy families count), what
// their text becomes, and how the Malayalam of a Unicode result is spelled
// and set.

#include <string>
#include <string_view>

#include "families/Spelling.h"
#include "transcode/GlyphTables.h"
#include "transcode/Transcoder.h"
#include "unicode/UnicodeDocument.h"
#include "unicode/UnicodeOptions.h"

namespace maravelundi {

// What converted text becomes.
enum class TextTarget {
  kUnicode,  // Malayalam Unicode, in the Unicode font
  kMltt,     // the ML-TT encoding, in "ML-TTRevathi"
  kIsm,      // the same, with break marks between unbound glyphs
  kLegacy,   // the way back: Malayalam Unicode spelled in a legacy font's codes
};

// The other legacy families are known by name where the Rachana fonts are
// read by name too; a generation chosen by hand keeps every "ML-" font
// ML-TT, as it always was.
inline bool ReadsLegacyFamilies(Generation generation) { return generation == Generation::kAuto; }

struct ConversionProfile {
  Generation generation = Generation::kAuto;
  TextTarget target = TextTarget::kUnicode;
  Spelling spelling = Spelling::kLegacy;
  std::string unicodeFont = std::string(kDefaultUnicodeFont);
  // The font the way back writes in (LegacyTargetNamed): any font with a
  // map, or a Rachana family ("rl", "rc", "ra", "rkr").
  std::string legacyFont = "ML-TTKarthika";
  // The way back's text as the font's raw codes, rather than each code as
  // its Windows-1252 character in UTF-8 (what pasting into a program set in
  // that font needs).
  bool legacyBytes = false;

  bool LegacyFamilies() const { return ReadsLegacyFamilies(generation); }
  UnicodeOptions Unicode() const { return UnicodeOptions{.legacyFamilies = LegacyFamilies(), .spelling = spelling}; }
  // The font converted text is set in (the first of a Rachana family's).
  std::string_view ConvertedFont() const {
    switch (target) {
      case TextTarget::kUnicode: return unicodeFont;
      case TextTarget::kLegacy: return legacyFont;
      case TextTarget::kMltt:
      case TextTarget::kIsm: break;
    }
    return kMlttFontName;
  }
};

}  // namespace maravelundi
