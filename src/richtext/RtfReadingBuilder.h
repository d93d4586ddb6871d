#pragma once
// The end of reading a Rich Text document: the format slots its text was
// written in become CharFormats with the fonts and colours the tables give
// them (tables after the text still apply), the stories become Documents,
// and what is left to say about fonts becomes warnings. The Rich Text
// reader's own.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "richtext/Document.h"
#include "richtext/ReadWarningLog.h"
#include "richtext/RtfColourTable.h"
#include "richtext/RtfFontTable.h"
#include "richtext/RtfFormatSlots.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfStory.h"
#include "richtext/RtfTextDecoding.h"

namespace maravelundi::rtfread {

// Text read before a table defined its font was read as if in the font then
// in force, but is named by the later definition. If that names a symbol or
// legacy font, U+F020..U+F0FF there stand for the font's bytes, as they
// would have had the font been known: no writer could carry them otherwise.
// Only a document with such a late definition pays for this second look at
// its text.
inline void ReadPrivateUseAsBytesOfLateFonts(Story& story, const FontTable& fonts, const FormatSlots& slots) {
  const auto& runs = story.runs;
  for (std::size_t r = 0; r < runs.Size(); ++r) {
    const FontEntry* font = fonts.Find(slots.State(runs[r].format).font);
    if (font == nullptr || !TakesPrivateUseAsBytes(font->kind, font->declared)) continue;
    const std::size_t end = r + 1 < runs.Size() ? runs[r + 1].begin : story.Size();
    char16_t* text = story.text.Data();
    ReadPrivateUseAsBytes(text + runs[r].begin, text + end, font->kind == FontKind::Symbol);
  }
}

// A document without a font table gets the empty font name.
inline std::vector<CharFormat> ResolvedFormats(const FormatSlots& slots, const FontTable& fonts,
                                               const ColourTable& colours) {
  std::vector<CharFormat> formats;
  formats.reserve(slots.Count());
  for (const CharState& chars : slots.States()) {
    const FontEntry* entry = fonts.Find(chars.font);
    CharFormat format;
    if (entry != nullptr) format.fontName = entry->name;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    format.halfPoints = chars.halfPoints;
    format.colour = colours.ColourOf(chars.colour);
    formats.push_back(std::move(format));
  }
  return formats;
}

// A font number the table does not list reads in the default font. Text
// that never named a font is in the default font by right; it is only
// unresolved when a table exists and lacks the \deff font.
inline void WarnUnresolvedFonts(const FormatSlots& slots, const FontTable& fonts, ReadWarningLog& warnings) {
  for (FormatId slot = 0; slot < slots.Count(); ++slot) {
    const std::int32_t font = slots.State(slot).font;
    const bool byDefault = font == kDefaultFont;
    const std::int32_t number = byDefault ? fonts.DefaultFont() : font;
    if ((byDefault && fonts.Empty()) || fonts.Contains(number)) continue;
    if (!warnings.Wants(ReadWarningCode::UnresolvedFont, number)) continue;
    warnings.Add(ReadWarningCode::UnresolvedFont, number,
                 "font " + std::to_string(number) + " is not in the font table; the default font stands in",
                 slots.FirstOffset(slot));
  }
}

// Everything a reading is made of, once the markup has been read (or given
// up on: a failed reading keeps what was read before the failure).
struct ReadParts {
  Story& body;
  Story& side;
  const FormatSlots& slots;
  const FontTable& fonts;
  const ColourTable& colours;
  ReadWarningLog& warnings;
  bool sourceSpans = false;
  std::optional<std::size_t> fontTableEnd;
};

inline RtfReading BuildReading(ReadParts parts, std::optional<ParseError> error) {
  if (parts.fonts.DefinedAfterText()) {
    ReadPrivateUseAsBytesOfLateFonts(parts.body, parts.fonts, parts.slots);
    ReadPrivateUseAsBytesOfLateFonts(parts.side, parts.fonts, parts.slots);
  }
  const std::vector<CharFormat> formats = ResolvedFormats(parts.slots, parts.fonts, parts.colours);
  Document document = parts.body.TakeDocument(formats);
  Document side = parts.side.TakeDocument(formats);
  WarnUnresolvedFonts(parts.slots, parts.fonts, parts.warnings);
  RtfReading reading{std::move(document), std::move(error), parts.warnings.Take()};
  reading.side = std::move(side);
  if (parts.sourceSpans) {
    // One span per character, also where a failed reading stopped mid-way.
    parts.body.spans.Resize(reading.document.Size());
    reading.sourceSpans = parts.body.spans.Take();
    parts.side.spans.Resize(reading.side.Size());
    reading.sideSpans = parts.side.spans.Take();
  }
  reading.fontTableEnd = parts.fontTableEnd;
  reading.unusedFontNumber = parts.fonts.UnusedNumber(parts.slots.States());
  return reading;
}

}  // namespace maravelundi::rtfread
