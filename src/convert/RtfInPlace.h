#pragma once
// A Rich Text document converted where it stands: every byte of the file is
// kept (paragraph properties, tables, lists, pictures, fields, headers and
// footers, styles) except the bytes of the characters set in legacy
// Malayalam fonts, which are replaced by the Unicode text the conversion
// assigns them, each piece in a group of its own that sets the Unicode font
// in both the Latin and the complex-script slots, with the complex-script
// twins of the bold, italic and size in force there, as word processors
// expect of Malayalam.
//
// The body is converted as a whole, so reordering crosses font runs; a piece
// lands at the place of the source character the walk assigns it (the
// consonant's, for a vowel sign typed before it). The shown text outside the
// body's flow (headers and footers, notes, comments, the text of shapes and
// text boxes) is converted as a story of its own, each destination ended as
// a paragraph. Characters that a control word stands for (\par, \tab) stay
// as they are, and so does every destination that shows no text (field
// instructions, bookmarks, pictures, the tables of the header).

#include <string_view>

#include "convert/ConversionProfile.h"
#include "richtext/ByteSink.h"
#include "richtext/RtfReader.h"

namespace maravelundi {

// `reading` is ReadRtf(markup) with source spans and side stories.
void ConvertRtfInPlace(std::string_view markup, const RtfReading& reading, const ConversionProfile& profile,
                       ByteSink& sink, ProgressSink* progress = nullptr);

}  // namespace maravelundi
