#pragma once
// Test and measure material for the plain-text layer: hunspell words typed in
// a legacy font as a typist did (TypistEncoder), written out as people hold
// such text (UTF-8 of the font's code page, bytes, private use, UTF-16), and
// read back into glyph text. Random choices take a seed, printed by the
// callers, and use their own arithmetic, so a seed means the same on every
// standard library.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "families/LegacyEncoding.h"
#include "families/TypistEncoder.h"
#include "plaintext/GlyphText.h"

namespace maravelundi::testing {

// How a text of codes is held.
enum class HeldAs : std::uint8_t {
  kNatural,      // UTF-8 of the code page the encoding's maps were keyed by
  kWindows1252,  // UTF-8 of Windows-1252 characters
  kMacRoman,     // UTF-8 of Mac Roman characters
  kPrivateUse,   // UTF-8 of U+F000 plus each code
  kBytes,        // the codes as bytes
  kUtf16Le,      // UTF-16 LE with a byte order mark, of the natural characters
  kUtf16Be,      // UTF-16 BE with a byte order mark, of the natural characters
};

std::string_view HeldAsName(HeldAs form);

// The file's bytes for a text of codes (glyph characters, line ends '\n').
std::string HoldCodes(std::u16string_view glyphs, const LegacyEncoding& encoding, HeldAs form);

// The words of a hunspell .dic file in file order (its first line, the
// count, skipped; affix flags cut off).
std::vector<std::u16string> ReadDictionary(const std::string& path);

// Every tenth word (index % 10 == 9) was kept out of the statistics by
// tools/plaintext/generate_statistics.py; the measure draws its texts from
// these.
std::vector<std::u16string> HeldOutWords(const std::vector<std::u16string>& words);

// A small generator of our own: the same numbers for a seed everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15u + 1) {}
  std::uint64_t Next();
  std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }

 private:
  std::uint64_t state_;
};

// A text of `count` words drawn at random from those the encoding can type,
// separated by spaces: the Unicode words and the glyph text.
struct TypedText {
  std::vector<std::u16string> words;
  std::u16string glyphs;
};
TypedText TypeRandomWords(const TypistEncoder& typist, const std::vector<std::u16string>& words, std::size_t count,
                          Random& random);

}  // namespace maravelundi::testing
