#include "families/ConjunctPairs.h"

#include <algorithm>
#include <bitset>
#include <string>
#include <vector>

#include "families/MalayalamLetters.h"

namespace maravelundi {
namespace {

using malayalam::ConsonantIndex;
using malayalam::IsConsonant;
using malayalam::kConsonantCount;
using malayalam::kVirama;

bool IsSignGlyph(std::u16string_view text) { return text.size() == 2 && text[0] == kVirama && IsConsonant(text[1]); }

// The clusters one encoding draws as one glyph, and the consonants it has a
// sign glyph for.
class EncodingClusters {
 public:
  explicit EncodingClusters(const LegacyEncoding& encoding) {
    for (const LegacyGlyph& glyph : encoding.glyphs) {
      if (glyph.role == GlyphRole::kConsonant && glyph.text.size() > 1) clusters_.push_back(glyph.text);
      if (IsSignGlyph(glyph.text)) signs_[ConsonantIndex(glyph.text[1])] = true;
    }
    std::sort(clusters_.begin(), clusters_.end());
  }

  bool Joins(std::u16string_view left, std::u16string_view right) const {
    if (right.size() == 1 && IsConsonant(right[0]) && signs_[ConsonantIndex(right[0])]) return true;
    std::u16string cluster(left);
    cluster.push_back(kVirama);
    cluster += right;
    return std::binary_search(clusters_.begin(), clusters_.end(), std::u16string_view(cluster));
  }

 private:
  std::vector<std::u16string_view> clusters_;
  std::bitset<kConsonantCount> signs_;
};

// Consonant pairs that some encoding draws as one glyph of exactly two
// consonants, and consonants that some encoding has a sign glyph for.
class AnyEncodingPairs {
 public:
  void Add(std::u16string_view text) {
    if (text.size() == 3 && IsConsonant(text[0]) && text[1] == kVirama && IsConsonant(text[2])) {
      pairs_[ConsonantIndex(text[0]) * kConsonantCount + ConsonantIndex(text[2])] = true;
    } else if (IsSignGlyph(text)) {
      signs_[ConsonantIndex(text[1])] = true;
    }
  }

  bool Joins(char16_t first, char16_t second) const {
    if (!IsConsonant(first) || !IsConsonant(second)) return false;
    return signs_[ConsonantIndex(second)] || pairs_[ConsonantIndex(first) * kConsonantCount + ConsonantIndex(second)];
  }

 private:
  std::bitset<kConsonantCount * kConsonantCount> pairs_;
  std::bitset<kConsonantCount> signs_;
};

// Built once, in the order of LegacyEncodings().
struct AllClusters {
  std::vector<EncodingClusters> byEncoding;
  AnyEncodingPairs any;

  AllClusters() {
    for (const LegacyEncoding& encoding : LegacyEncodings()) {
      byEncoding.emplace_back(encoding);
      for (const LegacyGlyph& glyph : encoding.glyphs) any.Add(glyph.text);
    }
  }
};

const AllClusters& Clusters() {
  static const AllClusters clusters;
  return clusters;
}

}  // namespace

bool EncodingJoins(const LegacyEncoding& encoding, std::u16string_view left, std::u16string_view right) {
  const std::size_t index = static_cast<std::size_t>(&encoding - LegacyEncodings().data());
  return Clusters().byEncoding.at(index).Joins(left, right);
}

bool LegacyFontsJoin(char16_t first, char16_t second) { return Clusters().any.Joins(first, second); }

}  // namespace maravelundi
