#pragma once
// Decoded plain text as a document the conversion reads by font names: one
// paragraph per line (ending CR LF), the legacy text in the chosen font's
// name and, unless everything is to be converted, each English word in a
// font no legacy encoding claims, which the conversion copies as it is.
// Convert it with the fonts read by their names (Generation::kAuto), so that
// a font of another family than ML-TT, and a Rachana font, read as theirs.
//
// A word is judged as WordLanguage.h says; digits and punctuation standing
// alone go with the word before them on the line (the legacy font at its
// start). The legacy text is the font's reading of the codes; an English
// word keeps the characters it came as.

#include <cstddef>
#include <string_view>

#include "plaintext/GlyphText.h"
#include "plaintext/PlainTextFont.h"
#include "richtext/Document.h"

namespace maravelundi {

inline constexpr std::string_view kKeptFontName = "Arial";

struct PlainTextOptions {
  bool convertAll = false;                  // every word in the legacy font, English too
  std::string_view keptFont = kKeptFontName;  // the font of the words kept as they are
};

struct PlainTextDocument {
  Document document;
  std::size_t legacyWords = 0;
  std::size_t englishWords = 0;  // kept as they are
};

PlainTextDocument BuildPlainTextDocument(const GlyphText& text, const PlainTextFont& font,
                                         const PlainTextOptions& options = {});

// Text that is no legacy text (English, Malayalam Unicode), its characters
// as they came, in `font`: the conversion copies it.
Document UnchangedDocument(const GlyphText& text, std::string_view font = kKeptFontName);

}  // namespace maravelundi
