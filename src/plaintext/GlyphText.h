#pragma once
// Text as glyph characters (GlyphString.h), the form every legacy table
// reads. Text that came as Unicode characters rather than bytes can stand for
// codes in two ways: a font made on Windows puts the Windows-1252 character of
// each code in the text, a font made on the Macintosh the Mac Roman one (0xB9
// is U+00B9 in the first, U+03C0 in the second). Which one a text used shows
// only in what the codes convert to, so the text keeps both readings, and a
// detector tries both.

#include <cstdint>
#include <string_view>

namespace maravelundi {

enum class GlyphReading : std::uint8_t {
  kWindows1252,  // each character as the code Windows-1252 gives it
  kMacRoman,     // each character as the code Mac Roman gives it
};

// Views of one text, position for position: all three have the same length.
struct GlyphText {
  // The Windows-1252 reading: glyph characters, and any character that
  // stands for no code (Malayalam Unicode, say) as itself.
  std::u16string_view windows1252;
  // The Mac Roman reading; empty where it is the same as the first (text
  // that came as bytes, or without a character the two read apart).
  std::u16string_view macRoman;
  // The characters as the reader sees them, which English words keep; empty
  // where they are the Windows-1252 reading.
  std::u16string_view characters;

  std::u16string_view Reading(GlyphReading reading) const {
    return reading == GlyphReading::kMacRoman && !macRoman.empty() ? macRoman : windows1252;
  }
  bool ReadsApart() const { return !macRoman.empty(); }
  std::u16string_view Characters() const { return characters.empty() ? windows1252 : characters; }
  std::size_t Size() const { return windows1252.size(); }
};

}  // namespace maravelundi
