#pragma once
// Stage one of every conversion, and what an ML-TT target makes of it: the
// Rachana fonts re-encoded into ML-TT through their glyph tables; for the
// ML-TT targets, the other legacy families spelled again in ML-TT too, so
// that the whole result is in one encoding; for ISM, break marks between the
// glyphs that no sign binds. The Unicode targets walk the result on from
// here. Every conversion goes through this one function: the flat outputs,
// the documents converted in place, the window.

#include <vector>

#include "convert/ConversionProfile.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

// With `sourceOf`, also hands back for every character of the result the
// index of the story character it came from.
Document ConvertToMltt(const Document& story, const ConversionProfile& profile, ProgressSink* progress = nullptr,
                       std::vector<TextIndex>* sourceOf = nullptr);

}  // namespace maravelundi
