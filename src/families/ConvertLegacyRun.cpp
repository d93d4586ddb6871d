#include "families/ConvertLegacyRun.h"

#include "families/ConjunctPairs.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// Two glyphs that together write one letter or sign.
struct GlyphPair {
  std::u16string_view first;
  std::u16string_view second;
  std::u16string_view result;
};

// Both typed before the cluster.
constexpr GlyphPair kPreBasePairs[] = {
    {u"\u0D46", u"\u0D46", u"\u0D48"},  // E + E = AI
};

// Typed on either side of the cluster.
constexpr GlyphPair kSplitSigns[] = {
    {u"\u0D46", u"\u0D3E", u"\u0D4A"},  // E + AA = O
    {u"\u0D47", u"\u0D3E", u"\u0D4B"},  // EE + AA = OO
    {u"\u0D46", u"\u0D57", u"\u0D4C"},  // E + AU length mark = AU
};

// A letter and the glyph typed right after it.
constexpr GlyphPair kLetterPairs[] = {
    {u"\u0D07", u"\u0D57", u"\u0D08"},  // I + AU length mark = II
    {u"\u0D09", u"\u0D57", u"\u0D0A"},  // U + AU length mark = UU
    {u"\u0D12", u"\u0D57", u"\u0D14"},  // O + AU length mark = AU
    {u"\u0D12", u"\u0D3E", u"\u0D13"},  // O + AA = OO
    {u"\u0D46", u"\u0D0E", u"\u0D10"},  // sign E + letter E = AI
};

template <std::size_t N>
const GlyphPair* FindPair(const GlyphPair (&pairs)[N], std::u16string_view first, std::u16string_view second) {
  for (const GlyphPair& pair : pairs) {
    if (pair.first == first && pair.second == second) return &pair;
  }
  return nullptr;
}

constexpr std::u16string_view kZwnj = u"\u200C";

constexpr bool StartsCluster(GlyphRole role) {
  return role == GlyphRole::kConsonant || role == GlyphRole::kDeadConsonant;
}

constexpr bool StartsWithConsonant(GlyphRole role) { return StartsCluster(role) || role == GlyphRole::kSyllable; }

constexpr bool TypedBeforeCluster(GlyphRole role) {
  return role == GlyphRole::kPreBaseSign || role == GlyphRole::kRaSign;
}

// The glyphs of a cluster: [start, consonantsEnd) consonants joined by
// viramas, then [consonantsEnd, end) YA and VA signs.
struct Cluster {
  std::size_t consonantsEnd;
  std::size_t end;
};

class RunConverter {
 public:
  RunConverter(const LegacyEncoding& encoding, std::u16string_view glyphs, UnicodePieceSink& sink, Spelling spelling)
      : encoding_(encoding), glyphs_(glyphs), sink_(sink), modern_(spelling == Spelling::kModern) {}

  void Convert() {
    std::size_t i = 0;
    while (i < glyphs_.size()) i = Step(i);
  }

 private:
  static const LegacyGlyph& Unmapped() {
    static constexpr LegacyGlyph kUnmapped{{}, GlyphRole::kUnmapped};
    return kUnmapped;
  }

  const LegacyGlyph& At(std::size_t i) const {
    if (i >= glyphs_.size()) return Unmapped();
    const auto code = GlyphCode(glyphs_[i]);
    return code ? encoding_.Glyph(*code) : Unmapped();
  }

  GlyphRole Role(std::size_t i) const { return At(i).role; }

  void Piece(std::u16string_view text, std::size_t source) {
    sink_.Piece(text, source);
    lastConsonants_ = {};
  }

  void Emit(std::size_t i, std::size_t source) {
    const LegacyGlyph& glyph = At(i);
    Piece(glyph.role == GlyphRole::kUnmapped ? glyphs_.substr(i, 1) : glyph.text, source);
    if (glyph.role == GlyphRole::kConsonant) lastConsonants_ = glyph.text;
  }

  // A glyph in place; a visible virama before a consonant also gets its
  // non-joiner.
  void EmitWithVisibleVirama(std::size_t i) {
    const std::u16string_view before = lastConsonants_;
    Emit(i, i);
    const GlyphRole role = Role(i);
    if (role != GlyphRole::kVirama && role != GlyphRole::kDeadConsonant) return;
    const std::size_t next = NextInLogicalOrder(i + 1);
    if (!StartsWithConsonant(Role(next))) return;
    if (modern_) {
      const std::u16string_view text = At(i).text;
      const std::u16string_view left = role == GlyphRole::kVirama ? before : text.substr(0, text.size() - 1);
      const std::u16string_view right = At(next).text.substr(0, glyph_role::ConsonantPrefix(At(next).text));
      if (!EncodingJoins(encoding_, left, right)) return;
    }
    Piece(kZwnj, i);
  }

  // The glyph that comes next in logical order: signs typed before a cluster
  // will move after it.
  std::size_t NextInLogicalOrder(std::size_t i) const {
    while (TypedBeforeCluster(Role(i))) ++i;
    return i;
  }

  std::size_t Step(std::size_t i) {
    const GlyphRole role = Role(i);
    if (TypedBeforeCluster(role)) return ReorderCluster(i);
    if (role == GlyphRole::kVowelLetter) {
      if (const GlyphPair* pair = FindPair(kLetterPairs, At(i).text, At(i + 1).text)) {
        Piece(pair->result, i);
        return i + 2;
      }
    }
    EmitWithVisibleVirama(i);
    return i + 1;
  }

  Cluster ScanCluster(std::size_t start) const {
    std::size_t i = start;
    std::size_t consonantsEnd = start;
    while (StartsCluster(Role(i))) {
      const bool dead = Role(i) == GlyphRole::kDeadConsonant;
      consonantsEnd = ++i;
      if (!dead) {
        if (Role(i) != GlyphRole::kVirama || !StartsCluster(Role(i + 1))) break;
        ++i;
      }
    }
    while (Role(i) == GlyphRole::kMedialSign) ++i;
    return {consonantsEnd, i};
  }

  // Signs typed at [first, start) before the cluster at `start`.
  std::size_t ReorderCluster(std::size_t first) {
    std::size_t start = first;
    while (TypedBeforeCluster(Role(start))) ++start;
    if (!StartsCluster(Role(start))) return SignsWithoutCluster(first, start);

    const Cluster cluster = ScanCluster(start);
    for (std::size_t i = start; i < cluster.consonantsEnd; ++i) EmitWithVisibleVirama(i);
    for (std::size_t i = first; i < start; ++i) {
      if (Role(i) == GlyphRole::kRaSign) Emit(i, start);
    }
    for (std::size_t i = cluster.consonantsEnd; i < cluster.end; ++i) Emit(i, i);
    return cluster.end + EmitVowelSigns(first, start, cluster.end);
  }

  // The pre-base vowel signs among [first, start), after the cluster that
  // ends at `after`: two halves become one sign. Returns how many glyphs
  // after the cluster the signs took up.
  std::size_t EmitVowelSigns(std::size_t first, std::size_t start, std::size_t after) {
    std::size_t signs[2] = {};
    std::size_t count = 0;
    for (std::size_t i = first; i < start; ++i) {
      if (Role(i) != GlyphRole::kPreBaseSign) continue;
      if (count < 2) signs[count] = i;
      ++count;
    }
    if (count == 2) {
      if (const GlyphPair* pair = FindPair(kPreBasePairs, At(signs[0]).text, At(signs[1]).text)) {
        Piece(pair->result, start);
        return 0;
      }
    }
    if (count == 1) {
      if (const GlyphPair* pair = FindPair(kSplitSigns, At(signs[0]).text, At(after).text)) {
        Piece(pair->result, start);
        return 1;
      }
    }
    for (std::size_t i = first; i < start; ++i) {
      if (Role(i) == GlyphRole::kPreBaseSign) Emit(i, start);
    }
    return 0;
  }

  // Signs with no consonant after them stay where they were typed, apart
  // from an E sign that makes a letter with the vowel after it.
  std::size_t SignsWithoutCluster(std::size_t first, std::size_t start) {
    if (start == first + 1 && Role(start) == GlyphRole::kVowelLetter) {
      if (const GlyphPair* pair = FindPair(kLetterPairs, At(first).text, At(start).text)) {
        Piece(pair->result, first);
        return start + 1;
      }
    }
    for (std::size_t i = first; i < start; ++i) Emit(i, i);
    return start;
  }

  const LegacyEncoding& encoding_;
  std::u16string_view glyphs_;
  UnicodePieceSink& sink_;
  bool modern_;
  std::u16string_view lastConsonants_;  // the last glyph handed on, if it was consonants only
};

class StringSink final : public UnicodePieceSink {
 public:
  void Piece(std::u16string_view text, std::size_t) override { text_ += text; }
  std::u16string text_;
};

}  // namespace

void ConvertLegacyRun(const LegacyEncoding& encoding, std::u16string_view glyphs, UnicodePieceSink& sink,
                      Spelling spelling) {
  RunConverter(encoding, glyphs, sink, spelling).Convert();
}

std::u16string ConvertLegacyText(const LegacyEncoding& encoding, std::u16string_view glyphs, Spelling spelling) {
  StringSink sink;
  ConvertLegacyRun(encoding, glyphs, sink, spelling);
  return std::move(sink.text_);
}

}  // namespace maravelundi
