#pragma once
// Stage one of every conversion: re-encode each character set in a Rachana
// font of the chosen generation through that font's glyph table into the
// ML-TT encoding, in the font "ML-TTRevathi"; copy every other character
// unchanged, in its own font.

#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "richtext/Progress.h"
#include "transcode/FontTable.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {

inline constexpr std::string_view kMlttFontName = "ML-TTRevathi";

// The glyph table that serves a font of this generation (of either, for
// kAuto), or nullptr when the font is none of the generation's six. The
// whole name, lower-cased, must equal one of the two names of a font ("ra1"/"rkr1" ... for version 2,
// "rc1"/"rl1" ... for version 7): no trimming, no prefixes.
const FontTable* TableForFont(Generation generation, std::string_view fontName);

// With `sourceOf`, also hands back for every character of the result the
// index of the source character it came from.
Document Transcode(const Document& source, Generation generation, ProgressSink* progress = nullptr,
                   std::vector<TextIndex>* sourceOf = nullptr);
Document TranscodeVersion2(const Document& source, ProgressSink* progress = nullptr);
Document TranscodeVersion7(const Document& source, ProgressSink* progress = nullptr);

}  // namespace maravelundi
