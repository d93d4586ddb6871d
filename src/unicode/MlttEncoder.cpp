#include "unicode/MlttEncoder.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "families/MalayalamLetters.h"
#include "richtext/GlyphString.h"
#include "unicode/GlyphToEntity.h"

namespace maravelundi {
namespace {

using namespace malayalam;

// Unicode sequences to the ML-TT codes that write them; where two rows write
// the same text, the first in table order.
class GlyphsOfText {
 public:
  GlyphsOfText() {
    for (const EntityRow& row : EntityTableRows()) {
      std::u16string text;
      AppendReferencedText(row.value, text);
      if (text.empty()) continue;  // the break mark
      std::u16string glyphs;
      for (const char code : row.key) glyphs.push_back(GlyphChar(static_cast<std::uint8_t>(code)));
      glyphs_.try_emplace(text, std::move(glyphs));
      longest_ = std::max(longest_, text.size());
    }
  }

  // The glyphs of the longest prefix of `text` that has them, and its length;
  // {nullptr, 0} when not even the first character has.
  std::pair<const std::u16string*, std::size_t> Longest(std::u16string_view text) const {
    for (std::size_t size = std::min(longest_, text.size()); size > 0; --size) {
      const auto found = glyphs_.find(std::u16string(text.substr(0, size)));
      if (found != glyphs_.end()) return {&found->second, size};
    }
    return {nullptr, 0};
  }

 private:
  std::unordered_map<std::u16string, std::u16string> glyphs_;
  std::size_t longest_ = 0;
};

const GlyphsOfText& Glyphs() {
  static const GlyphsOfText glyphs;
  return glyphs;
}

// A two-part or pre-base vowel sign as the ML-TT fonts write it: the part
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

class Encoder {
 public:
  explicit Encoder(std::u16string_view unicode) : text_(Decompose(unicode)) {}

  std::u16string Run() {
    for (std::size_t i = 0; i < text_.size();) i = IsConsonant(text_[i]) ? Cluster(i) : Other(i);
    return std::move(out_);
  }

 private:
  // Atomic chillus as consonant, virama, joiner: the way the table has them.
  static std::u16string Decompose(std::u16string_view unicode) {
    std::u16string text;
    text.reserve(unicode.size());
    for (const char16_t ch : unicode) {
      bool chillu = false;
      for (const ChilluRow& row : kChillus) {
        if (row.chillu != ch) continue;
        text += {row.consonant, kVirama, kZwj};
        chillu = true;
      }
      if (!chillu) text.push_back(ch);
    }
    return text;
  }

  // Consonants joined by viramas, a chillu's virama and joiner, then a vowel
  // sign that may have to go before it all.
  std::size_t Cluster(std::size_t begin) {
    std::size_t end = begin + 1;
    while (end + 1 < text_.size() && text_[end] == kVirama && IsConsonant(text_[end + 1])) end += 2;
    if (end + 1 < text_.size() && text_[end] == kVirama && text_[end + 1] == kZwj) end += 2;
    std::u16string body(text_, begin, end - begin);
    const bool raSign = TakeRaSign(body);
    const SplitSign* sign = end < text_.size() ? SplitSignOf(text_[end]) : nullptr;
    // Where the table has no glyph for the whole cluster, the signs go
    // before its last consonant glyph: the consonants before it keep their
    // visible viramas, as a typist had them.
    const std::vector<Unit> units = Units(body);
    std::size_t last = 0;
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (units[u].consonant) last = u;
    }
    for (std::size_t u = 0; u < units.size(); ++u) {
      if (u == last) {
        if (sign != nullptr) Append(sign->before);
        if (raSign) Append(u"\u0D4D\u0D30");
      }
      out_ += units[u].glyphs;
    }
    if (sign == nullptr) return end;
    Append(sign->after);
    return end + 1;
  }

  // One glyph, or one character that has none, and whether it writes a
  // consonant (a conjunct glyph, a consonant with its virama, or a chillu).
  struct Unit {
    std::u16string glyphs;
    bool consonant;
  };

  static std::vector<Unit> Units(std::u16string_view text) {
    std::vector<Unit> units;
    while (!text.empty()) {
      const bool consonant = IsConsonant(text.front());
      if (text.front() == kZwnj) {
        text.remove_prefix(1);
        continue;
      }
      const auto [glyphs, used] = Glyphs().Longest(text);
      if (glyphs == nullptr) {
        units.push_back({std::u16string(1, text.front()), consonant});
        text.remove_prefix(1);
        continue;
      }
      units.push_back({*glyphs, consonant});
      text.remove_prefix(used);
    }
    return units;
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

  std::size_t Other(std::size_t at) {
    if (text_[at] == kZwnj) return at + 1;
    if (const SplitSign* sign = SplitSignOf(text_[at])) {
      // A sign with no consonant before it: its parts in their own order.
      Append(sign->before);
      Append(sign->after);
      return at + 1;
    }
    const auto [glyphs, used] = Glyphs().Longest(std::u16string_view(text_).substr(at));
    if (glyphs == nullptr) {
      out_.push_back(text_[at]);
      return at + 1;
    }
    out_ += *glyphs;
    return at + used;
  }

  // Text with glyphs, longest first, any character without one as itself.
  void Append(std::u16string_view text) {
    for (const Unit& unit : Units(text)) out_ += unit.glyphs;
  }

  std::u16string text_;
  std::u16string out_;
};

}  // namespace

std::u16string EncodeMltt(std::u16string_view unicode) { return Encoder(unicode).Run(); }

}  // namespace maravelundi
