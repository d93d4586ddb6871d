#pragma once
// A story converted where it stands. A story is text that a word processor
// shows in one flow: a document's body, a header, the notes. It is converted
// as a whole, exactly as the flat outputs convert it, so that a sign moves
// across runs of other fonts and a rule sees the characters after a run,
// whatever their font; then each piece of the result is placed at the source
// character it stands for (the consonant's, for a vowel sign typed before
// it). A writer replaces the characters that give way with the pieces placed
// at them, puts the pieces placed at a character it keeps before that
// character, and leaves every other byte of its file as it was.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/ConversionProfile.h"
#include "richtext/Document.h"
#include "richtext/Progress.h"

namespace maravelundi {

struct PlacedText {
  // A piece's font number for a character the target has no glyph for: it
  // is kept as it was, in its own font.
  static constexpr std::uint8_t kKept = 0xFF;

  struct Piece {
    TextIndex source;       // the story character it is placed at
    std::uint32_t textEnd;  // in `text`; the piece begins where the one before ends
    std::uint8_t font;      // into `fonts`, or kKept
  };
  std::u16string text;
  std::vector<Piece> pieces;   // in text order; sources never descend
  std::vector<bool> replaced;  // per story character: the pieces placed at it take its place
  // The fonts converted pieces are set in: the target's one, or the six of
  // a Rachana family, each piece in the one that draws it.
  std::vector<std::string> fonts;
  std::u16string unmapped;     // the characters kept for want of a glyph, in order
};

// `replaceable`, per character of `story`: text that a writer can replace
// (a character typed in the document), rather than one that markup stands
// for (a paragraph end, a tab or line break element), which stays where it
// is whatever its font. Converted text comes back in the profile's target.
PlacedText ConvertInPlace(const Document& story, const std::vector<bool>& replaceable,
                          const ConversionProfile& profile, ProgressSink* progress = nullptr);

// The characters of `story` that the way back (a kLegacy profile) keeps for
// want of a glyph in the target, in order: what a user is told of.
std::u16string CharactersWithoutGlyph(const Document& story, const ConversionProfile& profile);

// Text placed at a character, in one font: a number of PlacedText::fonts,
// or kKept.
struct PlacedRun {
  std::u16string_view text;
  std::uint8_t font;
};

// The pieces placed at each story character in turn.
class PlacedCursor {
 public:
  explicit PlacedCursor(const PlacedText& placed) : placed_(placed) {}
  // The text placed at `index`, whatever its fonts; indexes must ascend
  // from call to call, and so must those of At below.
  std::u16string_view At(std::size_t index);
  // The same, a run for each font in turn (pieces of one font side by side
  // make one run); valid until the next call.
  const std::vector<PlacedRun>& RunsAt(std::size_t index);

 private:
  const PlacedText& placed_;
  std::vector<PlacedRun> runs_;  // RunsAt's, reused: it is called for every character
  std::size_t piece_ = 0;
  std::uint32_t textBegin_ = 0;
};

}  // namespace maravelundi
