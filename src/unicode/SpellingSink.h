#pragma once
// Between the Unicode walk and an output: the Malayalam pieces pass through a
// SpellingFilter (Normalization Form C, and the modern spelling when asked),
// everything else goes straight on. Text outside Malayalam, and every break,
// first lets out what the filter holds, so that nothing is reordered across
// them and every piece keeps its source position.

#include <string>
#include <string_view>

#include "families/SpellingFilter.h"
#include "unicode/GlyphToEntity.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {

template <typename Out>
class SpellingSink final : public UnicodePieceSink {
 public:
  SpellingSink(Spelling spelling, Out& out) : filter_(spelling, *this), out_(out) {}

  void MlttPosition(bool malayalam) {
    filter_.Finish();
    malayalam_ = malayalam;
    out_.MlttPosition(malayalam);
  }

  // The code units of "&#3349;&#3405;"; the break mark's are none.
  void References(std::string_view, std::u16string_view text, std::size_t position) {
    if (!text.empty()) filter_.Piece(text, position);
  }

  void Malayalam(std::u16string_view text, std::size_t position) { filter_.Piece(text, position); }

  // Units of Malayalam text that the entity table leaves as they are (a
  // space, a digit) belong to the text: a word ends there.
  void Unchanged(std::u16string_view text, std::size_t position) {
    if (malayalam_) {
      filter_.Piece(text, position);
      return;
    }
    filter_.Finish();
    out_.Unchanged(text, position);
  }

  void Break(BreakKind kind, std::size_t position) {
    filter_.Finish();
    out_.Break(kind, position);
  }

  void Finish() { filter_.Finish(); }

  void Consumed(std::size_t begin, std::size_t count) {
    if constexpr (requires { out_.Consumed(begin, count); }) out_.Consumed(begin, count);
  }

  // What the filter lets out.
  void Piece(std::u16string_view text, std::size_t source) override { out_.Malayalam(text, source); }

 private:
  SpellingFilter filter_;
  Out& out_;
  bool malayalam_ = false;
};

}  // namespace maravelundi
