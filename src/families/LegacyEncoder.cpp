#include "families/LegacyEncoder.h"

#include <algorithm>

#include "families/MalayalamLetters.h"

namespace maravelundi {
namespace {

using namespace malayalam;

// A two-part or pre-base vowel sign as the legacy fonts write it: the part
// before the cluster and the part after it.
struct SplitSign {
  char16_t sign;
  std::u16string_view before;
  std::u16string_view after;
};
constexpr SplitSign kSplitSigns[] = {
    {0x0D46, u"\u0D46", u""},        {0x0D47, u"\u0D47", u""},        {0x0D48, u"\u0D46\u0D46", u""},
    {0x0D4A, u"\u0D46", u"\u0D3E"},  {0x0D4B, u"\u0D47", u"\u0D3E"},  {0x0D4C, u"\u0D46", u"\u0D57"},
};

const SplitSign* SplitSignOf(char16_t ch) {
  for (const SplitSign& split : kSplitSigns) {
    if (split.sign == ch) return &split;
  }
  return nullptr;
}

constexpr std::u16string_view kRaSign = u"\u0D4D\u0D30";

// Letters no legacy font has a glyph for, which typists wrote as two: a
// vowel and the length mark or AA sign after it, or the E sign before the
// letter E.
struct LetterParts {
  char16_t letter;
  std::u16string_view parts;
};
constexpr LetterParts kLetterParts[] = {
    {0x0D08, u"\u0D07\u0D57"},  // II: I and the length mark
    {0x0D0A, u"\u0D09\u0D57"},  // UU: U and the length mark
    {0x0D14, u"\u0D12\u0D57"},  // AU: O and the length mark
    {0x0D13, u"\u0D12\u0D3E"},  // OO: O and AA
    {0x0D10, u"\u0D46\u0D0E"},  // AI: the E sign and E
};

std::u16string_view PartsOf(char16_t letter) {
  for (const LetterParts& row : kLetterParts) {
    if (row.letter == letter) return row.parts;
  }
  return {};
}

class Encoder {
 public:
  Encoder(const GlyphInventory& inventory, std::u16string_view unicode, LegacyGlyphSink& sink)
      : inventory_(inventory), sink_(sink) {
    Decompose(unicode);
  }

  void Run() {
    for (std::size_t i = 0; i < text_.size();) i = IsConsonant(text_[i]) ? Cluster(i) : Other(i);
  }

 private:
  // Atomic chillus as consonant, virama, joiner, each character remembering
  // the one it came from.
  void Decompose(std::u16string_view unicode) {
    text_.reserve(unicode.size());
    origin_.reserve(unicode.size());
    for (std::size_t i = 0; i < unicode.size(); ++i) {
      const std::u16string decomposed = DecomposeChillus(unicode.substr(i, 1));
      text_ += decomposed;
      origin_.insert(origin_.end(), decomposed.size(), i);
    }
  }

  // Consonants joined by viramas, a chillu's virama and joiner, then a vowel
  // sign that may have to go before it all.
  std::size_t Cluster(std::size_t begin) {
    std::size_t end = begin + 1;
    while (end + 1 < text_.size() && text_[end] == kVirama && IsConsonant(text_[end + 1])) end += 2;
    if (end + 1 < text_.size() && text_[end] == kVirama && text_[end + 1] == kZwj) end += 2;
    std::u16string body(text_, begin, end - begin);
    const bool raSign = TakeRaSign(body);
    const std::u16string medials = TakeMedialSigns(body);
    const SplitSign* sign = end < text_.size() ? SplitSignOf(text_[end]) : nullptr;
    const std::size_t source = origin_[begin];
    const std::vector<Unit> units = Units(body);
    std::size_t last = 0;
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (units[u].consonant) last = u;
    }
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (u == last) {
        if (sign != nullptr) Append(sign->before, source);
        if (raSign) Append(kRaSign, source);
      }
      Hand(units[u], source);
    }
    Append(medials, source);
    if (sign == nullptr) return end;
    Append(sign->after, source);
    return end + 1;
  }

  // One glyph, or one character that has none, and whether it writes a
  // consonant (a conjunct glyph, a consonant with its virama, or a chillu).
  struct Unit {
    const InventoryGlyph* glyph;  // nullptr: `ch` has none
    char16_t ch;
    bool consonant;
  };

  std::vector<Unit> Units(std::u16string_view text) const {
    std::vector<Unit> units;
    while (!text.empty()) {
      const bool consonant = IsConsonant(text.front());
      if (text.front() == kZwnj) {
        text.remove_prefix(1);
        continue;
      }
      std::size_t used = 0;
      const InventoryGlyph* glyph = inventory_.Longest(text, used);
      if (glyph == nullptr) {
        units.push_back({nullptr, text.front(), consonant});
        text.remove_prefix(1);
        continue;
      }
      units.push_back({glyph, 0, consonant});
      text.remove_prefix(used);
    }
    return units;
  }

  void Hand(const Unit& unit, std::size_t source) {
    if (unit.glyph != nullptr) {
      sink_.Glyph(*unit.glyph, source);
    } else {
      sink_.Unmapped(unit.ch, source);
    }
  }

  // RA after a virama, last in the cluster or followed only by the YA and
  // VA signs, is the RA sign, which the fonts draw before the cluster.
  static bool TakeRaSign(std::u16string& body) {
    std::size_t end = body.size();
    while (end >= 4 && body[end - 2] == kVirama && (body[end - 1] == 0x0D2F || body[end - 1] == 0x0D35)) end -= 2;
    if (end < 3 || body[end - 2] != kVirama || body[end - 1] != 0x0D30) return false;
    body.erase(end - 2, 2);
    return true;
  }

  // The YA and VA signs that end a cluster, which the fonts draw after the
  // consonants they follow, where the font has a glyph for them and none for
  // the whole cluster: otherwise the consonant before them would take a
  // glyph of its own with a visible virama, which reads back as two
  // syllables.
  std::u16string TakeMedialSigns(std::u16string& body) const {
    std::size_t used = 0;
    if (inventory_.Longest(body, used) != nullptr && used == body.size()) return {};
    std::size_t end = body.size();
    while (end >= 3 && body[end - 2] == kVirama && (body[end - 1] == 0x0D2F || body[end - 1] == 0x0D35)) {
      const std::u16string_view medial = std::u16string_view(body).substr(end - 2, 2);
      if (inventory_.Longest(medial, used) == nullptr || used != 2) break;
      end -= 2;
    }
    std::u16string medials = body.substr(end);
    body.erase(end);
    return medials;
  }

  std::size_t Other(std::size_t at) {
    const std::size_t source = origin_[at];
    if (text_[at] == kZwnj) return at + 1;
    if (const SplitSign* sign = SplitSignOf(text_[at])) {
      // A sign with no consonant before it: its parts in their own order.
      Append(sign->before, source);
      Append(sign->after, source);
      return at + 1;
    }
    std::size_t used = 0;
    const InventoryGlyph* glyph = inventory_.Longest(std::u16string_view(text_).substr(at), used);
    if (glyph == nullptr) {
      const std::u16string_view parts = PartsOf(text_[at]);
      if (!parts.empty() && AllHaveGlyphs(parts)) {
        Append(parts, source);
      } else {
        sink_.Unmapped(text_[at], source);
      }
      return at + 1;
    }
    sink_.Glyph(*glyph, source);
    return at + used;
  }

  bool AllHaveGlyphs(std::u16string_view text) const {
    for (const Unit& unit : Units(text)) {
      if (unit.glyph == nullptr) return false;
    }
    return true;
  }

  // Text with glyphs, longest first, any character without one as itself.
  void Append(std::u16string_view text, std::size_t source) {
    for (const Unit& unit : Units(text)) Hand(unit, source);
  }

  const GlyphInventory& inventory_;
  LegacyGlyphSink& sink_;
  std::u16string text_;
  std::vector<std::size_t> origin_;  // the input's index of each character of text_
};

}  // namespace

GlyphInventory::GlyphInventory(const std::vector<InventoryGlyph>& glyphs) {
  for (const InventoryGlyph& glyph : glyphs) {
    if (glyph.text.empty()) continue;
    std::u16string text = DecomposeChillus(glyph.text);
    longest_ = std::max(longest_, text.size());
    byText_.try_emplace(std::move(text), glyph);
  }
}

const InventoryGlyph* GlyphInventory::Longest(std::u16string_view text, std::size_t& used) const {
  std::u16string key;
  for (std::size_t size = std::min(longest_, text.size()); size > 0; --size) {
    key.assign(text.substr(0, size));
    const auto found = byText_.find(key);
    if (found != byText_.end()) {
      used = size;
      return &found->second;
    }
  }
  used = 0;
  return nullptr;
}

void EncodeLegacy(const GlyphInventory& inventory, std::u16string_view unicode, LegacyGlyphSink& sink) {
  Encoder(inventory, unicode, sink).Run();
}

std::u16string DecomposeChillus(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t ch : text) {
    const auto row = std::find_if(std::begin(kChillus), std::end(kChillus), [&](const ChilluRow& r) { return r.chillu == ch; });
    if (row == std::end(kChillus)) {
      out.push_back(ch);
    } else {
      out += {row->consonant, kVirama, kZwj};
    }
  }
  return out;
}

}  // namespace maravelundi
