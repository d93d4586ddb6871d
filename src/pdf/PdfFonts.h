#pragma once
// What a PDF's font names say. An embedded font is named by its PostScript
// name behind a subset prefix ("ABCDEF+ML-TTKarthika"), perhaps with its
// style ("ML-TTKarthika,Bold", "ML-TTKarthika-Bold"); a font a producer
// renamed ("F1", "T3", "TT2") says nothing of what it is.

#include <optional>
#include <string>
#include <string_view>

#include "convert/FontClassifier.h"

namespace maravelundi {

// The name without its subset prefix.
std::string_view WithoutSubsetPrefix(std::string_view name);

// The legacy font a PDF font name names (the name as it is, or without its
// style), or nothing.
std::optional<std::string> LegacyFontNamed(std::string_view pdfName, FontClassifier& fonts);

// Whether a name (without its prefix) says nothing of the font: empty, or a
// letter or two and a number, as producers rename fonts.
bool SaysNothing(std::string_view name);

}  // namespace maravelundi
