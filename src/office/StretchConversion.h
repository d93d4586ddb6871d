#pragma once
// A stretch is the legacy-font text of a paragraph between two things that
// are not text (a picture, a field's code, a note's reference, text in
// another font). Its source runs go to the engine as one document, each
// character's format naming its run in `sourceTag`, because a word typed in
// Rachana spans runs of several fonts and a pre-base sign moves past the
// consonant of the next run. What comes back is a list of pieces, each with
// the run whose properties it takes and the run it is written beside.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "transcode/GlyphTables.h"
#include "unicode/UnicodeOptions.h"

namespace maravelundi {

enum class InPlaceOutput {
  kUnicode,  // Malayalam Unicode in the Unicode font
  kMltt,     // the ML-TT encoding in "ML-TTRevathi"
  kIsm,      // the same, with break marks between unbound glyphs
};

struct EngineOptions {
  Generation generation = Generation::kAuto;
  InPlaceOutput output = InPlaceOutput::kUnicode;
  std::string unicodeFont;
  UnicodeOptions unicode;  // the other legacy families and the spelling, for Unicode output
  // The font converted pieces are set in: the Unicode font or "ML-TTRevathi".
  const std::string& ConvertedFont() const;
};

struct ConvertedPiece {
  std::u16string_view text;  // into the converted document
  std::uint32_t sourceRun;   // whose properties the piece takes
  // The run the piece is written before: its own, or a later one when the
  // walk moved it past the next run's text. Slots never go backwards, so the
  // pieces keep their order and everything between the runs stays in place.
  std::uint32_t slot;
  bool converted;  // set in the converted font (Malayalam), not copied
};

struct ConvertedStretch {
  Document document;  // owns the pieces' text
  std::vector<ConvertedPiece> pieces;
};

// `source`: the stretch's text, each character in its own font, its run's
// index in `sourceTag`.
ConvertedStretch ConvertStretch(const Document& source, const EngineOptions& options);

}  // namespace maravelundi
