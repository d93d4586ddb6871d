#pragma once
// What an RTF group carries for the text inside it, and what its closing
// brace restores: the character formatting as the markup states it, where
// the group's text goes, and the \ucN count. The Rich Text reader's own
// (RtfReader.cpp and the headers it includes); not part of its interface.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <limits>

#include "richtext/Document.h"

namespace maravelundi::rtfread {

// Font numbers are kept in 32 bits; this one stands for "the \deff font",
// which `\plain` and the start of the document select.
inline constexpr std::int32_t kDefaultFont = std::numeric_limits<std::int32_t>::min();

// A font number as the reader keeps it: 32 bits, clamped.
inline std::int32_t FontNumber(std::int64_t parameter) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(parameter, -kMax, kMax));
}

// RTF's size when a document names none: 12 points.
inline constexpr std::uint16_t kDefaultHalfPoints = 24;

// The formatting a group carries for the characters in it, as the markup
// states it: fonts and colours by their table numbers, which only the end of
// the document turns into names and values (RtfReadingBuilder.h), so that a
// table after the text still applies. A new attribute of CharFormat becomes
// a field here, set by its control word and resolved there. Each distinct
// state is one format slot (RtfFormatSlots.h).
struct CharState {
  std::int32_t font = kDefaultFont;
  std::int32_t colour = 0;  // \cfN; 0, an empty entry or one past the table: automatic
  std::uint16_t halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::uint8_t unused[3] = {};  // no padding: states compare as their bytes

  bool operator==(const CharState& other) const { return std::memcmp(this, &other, sizeof other) == 0; }
};
static_assert(std::has_unique_object_representations_v<CharState>);

// Body and Side are text: the body's, and the shown text outside its flow.
enum class Destination : std::uint8_t { Body, Side, FontTable, ColourTable, Skip };

inline bool IsText(Destination destination) {
  return destination == Destination::Body || destination == Destination::Side;
}

// Everything a `}` restores.
struct GroupState {
  CharState chars;
  // The format slot of `chars` once text has been written in it, kNoFormat
  // until then and after any change: Rachana text changes font every few
  // characters, and a group's closing brace gives the outer state's slot
  // back without a lookup.
  FormatId slot = kNoFormat;
  std::int32_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  Destination destination = Destination::Body;
  // A `\upr` group: its branches are skipped except the one that begins with
  // `\ud`, which reads as the `\upr` group itself would have.
  bool unicodePair = false;
  Destination pairDestination = Destination::Body;
  // The group that opened a side story, whose end ends it as a paragraph.
  bool sideStoryRoot = false;

  // Every change of character formatting goes through here, so that the
  // slot never describes another state.
  CharState& Chars() {
    slot = kNoFormat;
    return chars;
  }
};

}  // namespace maravelundi::rtfread
