#pragma once
// How the Malayalam of a Unicode output is spelled.
//
// Legacy spelling is the text as converted, in Normalization Form C: the
// two-part vowel signs O, OO and AU as one code point each (the only
// compositions Malayalam has).
//
// Modern spelling, as Malayalam is written in Unicode today, also writes
//   - an atomic chillu (U+0D7A-U+0D7F) for consonant, virama, zero width
//     joiner, dropping a zero width non-joiner right after it (a chillu never
//     joins, so the non-joiner says nothing);
//   - no zero width non-joiner after a virama, except between two consonants
//     that the legacy fonts could join (ConjunctPairs.h): there the typist
//     chose the visible virama, and it stays. A non-joiner that only stood
//     for a conjunct glyph the font lacked goes, so that a Unicode font forms
//     the conjunct (SA, virama, NA in "snEham"). Text alone does not say
//     which font it came from, so the filter asks whether any legacy font
//     could join the pair; ConvertLegacyRun, which knows the font, decides
//     for its own output when given the modern spelling too.
//
// The filter works on a stream of pieces, each with the source position whose
// format it takes, and keeps the pieces' positions: a chillu or a composed
// sign takes the position of its first code unit.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "families/Spelling.h"
#include "families/UnicodePieceSink.h"

namespace maravelundi {

class SpellingFilter final : public UnicodePieceSink {
 public:
  SpellingFilter(Spelling spelling, UnicodePieceSink& out) : modern_(spelling == Spelling::kModern), out_(out) {}

  // Up to three code units wait for what follows them; the rest pass on
  // before Piece returns.
  void Piece(std::u16string_view text, std::size_t source) override;

  // Hands on what still waits: call it where the text ends or something that
  // does not pass through the filter (a paragraph break) comes next.
  void Finish();

 private:
  struct Unit {
    char16_t ch;
    std::size_t source;
  };

  bool PassesWhole(std::u16string_view text) const;
  void Resolve(bool atEnd);
  std::size_t ApplyFirstRule(bool atEnd);
  std::size_t ComposeSign(bool atEnd);
  std::size_t MakeChillu(bool atEnd);
  std::size_t VisibleVirama(bool atEnd);
  void Emit(char16_t ch, std::size_t source);
  void FlushOutput();

  bool modern_;
  UnicodePieceSink& out_;
  std::array<Unit, 3> pending_{};
  std::size_t pendingCount_ = 0;
  char16_t lastEmitted_ = 0;
  std::u16string output_;
  std::size_t outputSource_ = 0;
};

// The text respelled as a whole.
std::u16string Respell(std::u16string_view text, Spelling spelling);

// Legacy spelling: Normalization Form C of the Malayalam.
inline std::u16string ComposeMalayalam(std::u16string_view text) { return Respell(text, Spelling::kLegacy); }

inline std::u16string ModernSpelling(std::u16string_view text) { return Respell(text, Spelling::kModern); }

}  // namespace maravelundi
