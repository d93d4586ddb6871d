#include "plaintext/SplitGlyphs.h"

#include <string>
#include <unordered_set>
#include <vector>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// The texts an encoding has one glyph for.
class JoinedGlyphs {
 public:
  explicit JoinedGlyphs(const LegacyEncoding& encoding) : encoding_(encoding) {
    for (const LegacyGlyph& glyph : encoding.glyphs) {
      if (glyph.text.size() > 1) texts_.emplace(glyph.text);
    }
  }

  std::size_t Count(std::u16string_view glyphs) const {
    std::size_t count = 0;
    std::u16string joined;
    for (std::size_t i = 0; i + 1 < glyphs.size(); ++i) {
      const LegacyGlyph* first = At(glyphs, i);
      const LegacyGlyph* second = At(glyphs, i + 1);
      if (first == nullptr || second == nullptr || TypedBeforeCluster(second->role)) continue;
      if (first->role == GlyphRole::kPreBaseSign) {
        // A sign typed before a consonant that is a cluster by itself: the
        // font's glyph of the consonant with its sign.
        if (second->role != GlyphRole::kConsonant || ClusterGoesOn(glyphs, i + 2) ||
            (i > 0 && TypedBefore(glyphs, i - 1))) {
          continue;
        }
        joined.assign(second->text).append(first->text);
      } else {
        if (InLargerCluster(glyphs, i)) continue;
        // Two consonants and the virama between them: the font's conjunct.
        if (second->role == GlyphRole::kVirama && first->role == GlyphRole::kConsonant) {
          const LegacyGlyph* third = i + 2 < glyphs.size() ? At(glyphs, i + 2) : nullptr;
          if (third != nullptr && third->role == GlyphRole::kConsonant && !ClusterGoesOn(glyphs, i + 3)) {
            joined.assign(first->text).append(second->text).append(third->text);
            count += texts_.contains(joined);
          }
        }
        joined.assign(first->text).append(second->text);
        if (joined.front() == kVirama) continue;
        if (joined.back() == kVirama && ConsonantFollows(glyphs, i + 2)) continue;
      }
      count += texts_.contains(joined);
    }
    return count;
  }

 private:
  static constexpr char16_t kVirama = 0x0D4D;

  static bool TypedBeforeCluster(GlyphRole role) {
    return role == GlyphRole::kPreBaseSign || role == GlyphRole::kRaSign;
  }

  const LegacyGlyph* At(std::u16string_view glyphs, std::size_t i) const {
    const auto code = GlyphCode(glyphs[i]);
    return code && !encoding_.Glyph(*code).text.empty() ? &encoding_.Glyph(*code) : nullptr;
  }

  bool TypedBefore(std::u16string_view glyphs, std::size_t i) const {
    const LegacyGlyph* glyph = At(glyphs, i);
    return glyph != nullptr && TypedBeforeCluster(glyph->role);
  }

  // Whether the glyph at `i` continues the cluster before it: a virama or a
  // YA or VA sign.
  bool ClusterGoesOn(std::u16string_view glyphs, std::size_t i) const {
    const LegacyGlyph* glyph = i < glyphs.size() ? At(glyphs, i) : nullptr;
    return glyph != nullptr && (glyph->role == GlyphRole::kVirama || glyph->role == GlyphRole::kMedialSign);
  }

  // Whether the consonant at `i` follows a virama or the RA sign of its
  // cluster.
  bool InLargerCluster(std::u16string_view glyphs, std::size_t i) const {
    if (i == 0) return false;
    const LegacyGlyph* before = At(glyphs, i - 1);
    return before != nullptr && (before->role == GlyphRole::kVirama || before->role == GlyphRole::kRaSign ||
                                 before->role == GlyphRole::kDeadConsonant);
  }

  // Whether a consonant comes next in logical order: signs typed before a
  // cluster stand between.
  bool ConsonantFollows(std::u16string_view glyphs, std::size_t i) const {
    for (; i < glyphs.size(); ++i) {
      const LegacyGlyph* glyph = At(glyphs, i);
      if (glyph == nullptr) return false;
      if (TypedBeforeCluster(glyph->role)) continue;
      return glyph->role == GlyphRole::kConsonant || glyph->role == GlyphRole::kDeadConsonant ||
             glyph->role == GlyphRole::kSyllable;
    }
    return false;
  }

  const LegacyEncoding& encoding_;
  std::unordered_set<std::u16string> texts_;
};

const JoinedGlyphs& JoinedGlyphsOf(const LegacyEncoding& encoding) {
  static const std::vector<JoinedGlyphs> all = [] {
    std::vector<JoinedGlyphs> joined;
    for (const LegacyEncoding& e : LegacyEncodings()) joined.emplace_back(e);
    return joined;
  }();
  return all[static_cast<std::size_t>(&encoding - LegacyEncodings().data())];
}

}  // namespace

std::size_t CountSplitGlyphs(const LegacyEncoding& encoding, std::u16string_view glyphs) {
  return JoinedGlyphsOf(encoding).Count(glyphs);
}

}  // namespace maravelundi
