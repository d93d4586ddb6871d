#include "families/TypistEncoder.h"

#include <algorithm>
#include <vector>

#include "richtext/GlyphString.h"

namespace maravelundi::testing {
namespace {

constexpr char16_t kVirama = 0x0D4D;
constexpr char16_t kZwj = 0x200D;
constexpr char16_t kZwnj = 0x200C;

bool IsConsonant(char16_t ch) { return ch >= 0x0D15 && ch <= 0x0D39; }

// Signs that the fonts draw as two glyphs, in logical order: the first half
// is a pre-base sign and moves when the word is put in visual order.
const std::map<char16_t, std::u16string_view> kTwoGlyphSigns = {
    {0x0D48, u"\u0D46\u0D46"},  // AI: E, E
    {0x0D4A, u"\u0D46\u0D3E"},  // O: E, AA
    {0x0D4B, u"\u0D47\u0D3E"},  // OO: EE, AA
    {0x0D4C, u"\u0D46\u0D57"},  // AU: E, AU length mark
};

// Letters typed as two glyphs, in the visual order they are typed in.
const std::map<char16_t, std::u16string_view> kTwoGlyphLetters = {
    {0x0D08, u"\u0D07\u0D57"},  // II: I, AU length mark
    {0x0D0A, u"\u0D09\u0D57"},  // UU: U, AU length mark
    {0x0D10, u"\u0D46\u0D0E"},  // AI: sign E, E
    {0x0D13, u"\u0D12\u0D3E"},  // OO: O, AA
    {0x0D14, u"\u0D12\u0D57"},  // AU: O, AU length mark
};

// Atomic chillus as the tables write them.
const std::map<char16_t, char16_t> kChilluConsonants = {
    {0x0D7A, 0x0D23}, {0x0D7B, 0x0D28}, {0x0D7C, 0x0D30}, {0x0D7D, 0x0D32}, {0x0D7E, 0x0D33}, {0x0D7F, 0x0D15},
};

std::u16string SpellOutForTyping(std::u16string_view word) {
  std::u16string text;
  for (const char16_t ch : word) {
    if (const auto sign = kTwoGlyphSigns.find(ch); sign != kTwoGlyphSigns.end()) {
      text += sign->second;
    } else if (const auto chillu = kChilluConsonants.find(ch); chillu != kChilluConsonants.end()) {
      text += {chillu->second, kVirama, kZwj};
    } else {
      text.push_back(ch);
    }
  }
  return text;
}

bool TypedBeforeCluster(std::u16string_view glyph) {
  return glyph == u"\u0D46" || glyph == u"\u0D47" || glyph == u"\u0D4D\u0D30";
}

bool StartsWithConsonant(std::u16string_view glyph) {
  return IsConsonant(glyph.front()) && glyph.back() != kZwj;
}

// Glyphs that keep a cluster open: a virama, a YA or VA sign.
bool ContinuesCluster(std::u16string_view glyph) {
  return glyph == u"\u0D4D" || glyph == u"\u0D4D\u0D2F" || glyph == u"\u0D4D\u0D35";
}

// One word being typed: the codes so far and where the current cluster's
// (last) consonant glyph went, before which its pre-base signs go.
class Typing {
 public:
  explicit Typing(const std::map<std::u16string, std::uint8_t, std::less<>>& codeOf, std::size_t longest)
      : codeOf_(codeOf), longest_(longest) {}

  std::optional<std::u16string> Type(std::u16string_view word) {
    const std::u16string text = SpellOutForTyping(word);
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t used = TypeNext(std::u16string_view(text).substr(i));
      if (used == 0) return std::nullopt;
      i += used;
    }
    std::u16string glyphs;
    for (const std::uint8_t code : typed_) glyphs.push_back(GlyphChar(code));
    return glyphs;
  }

 private:
  std::size_t TypeNext(std::u16string_view rest) {
    if (rest.front() == kZwnj) return 1;  // no key for it: a visible virama shows by itself
    for (std::size_t length = std::min(longest_, rest.size()); length > 0; --length) {
      // A glyph that ends in a virama (NA with virama) is for a virama that
      // shows, not for the first half of a conjunct.
      if (rest[length - 1] == kVirama && length > 1 && length < rest.size() && IsConsonant(rest[length])) continue;
      const auto found = codeOf_.find(rest.substr(0, length));
      if (found != codeOf_.end()) {
        Place(found->first, found->second);
        return length;
      }
    }
    if (const auto letter = kTwoGlyphLetters.find(rest.front()); letter != kTwoGlyphLetters.end()) {
      return TypeInPlace(letter->second) ? 1 : 0;
    }
    return 0;
  }

  bool TypeInPlace(std::u16string_view glyphs) {
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      const auto found = codeOf_.find(glyphs.substr(i, 1));
      if (found == codeOf_.end()) return false;
      typed_.push_back(found->second);
    }
    clusterStart_.reset();
    return true;
  }

  void Place(std::u16string_view glyph, std::uint8_t code) {
    if (TypedBeforeCluster(glyph) && clusterStart_) {
      typed_.insert(typed_.begin() + static_cast<std::ptrdiff_t>(*clusterStart_), code);
      return;
    }
    if (StartsWithConsonant(glyph)) {
      clusterStart_ = typed_.size();
    } else if (!ContinuesCluster(glyph) && !TypedBeforeCluster(glyph)) {
      clusterStart_.reset();
    }
    typed_.push_back(code);
  }

  const std::map<std::u16string, std::uint8_t, std::less<>>& codeOf_;
  std::size_t longest_;
  std::vector<std::uint8_t> typed_;
  std::optional<std::size_t> clusterStart_;
};

}  // namespace

TypistEncoder::TypistEncoder(const LegacyEncoding& encoding) {
  for (int code = 255; code >= 0; --code) {
    const std::u16string_view text = encoding.glyphs[code].text;
    if (text.empty()) continue;
    codeOf_[std::u16string(text)] = static_cast<std::uint8_t>(code);  // the lowest code wins
    longest_ = std::max(longest_, text.size());
  }
}

std::optional<std::u16string> TypistEncoder::Type(std::u16string_view word) const {
  return Typing(codeOf_, longest_).Type(word);
}

}  // namespace maravelundi::testing
