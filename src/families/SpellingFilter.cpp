#include "families/SpellingFilter.h"

#include "families/ConjunctPairs.h"
#include "families/MalayalamLetters.h"

namespace maravelundi {
namespace {

using namespace malayalam;

struct Composition {
  char16_t first;
  char16_t second;
  char16_t composed;
};

// Malayalam's canonical compositions: the two-part vowel signs.
constexpr Composition kCompositions[] = {
    {kSignE, kSignAa, 0x0D4A},         // O
    {kSignEe, kSignAa, 0x0D4B},        // OO
    {kSignE, kAuLengthMark, 0x0D4C},   // AU
};

constexpr char16_t Composed(char16_t first, char16_t second) {
  for (const Composition& row : kCompositions) {
    if (row.first == first && row.second == second) return row.composed;
  }
  return 0;
}

constexpr std::size_t kWait = 0;

class StringSink final : public UnicodePieceSink {
 public:
  void Piece(std::u16string_view text, std::size_t) override { text_ += text; }
  std::u16string text_;
};

}  // namespace

// Whether no rule can start anywhere in `text`: then, with nothing waiting,
// it passes on whole. Most pieces are such, one consonant or sign each.
bool SpellingFilter::PassesWhole(std::u16string_view text) const {
  if (pendingCount_ != 0 || text.empty()) return false;
  for (const char16_t ch : text) {
    if (ch == kSignE || ch == kSignEe) return false;
    if (modern_ && (ch == kVirama || ch == kZwnj || AtomicChilluOf(ch) != 0)) return false;
  }
  return true;
}

void SpellingFilter::Piece(std::u16string_view text, std::size_t source) {
  if (PassesWhole(text)) {
    FlushOutput();
    out_.Piece(text, source);
    lastEmitted_ = text.back();
    return;
  }
  for (const char16_t ch : text) {
    pending_[pendingCount_++] = {ch, source};
    Resolve(false);
  }
  FlushOutput();
}

void SpellingFilter::Finish() {
  Resolve(true);
  FlushOutput();
}

void SpellingFilter::Resolve(bool atEnd) {
  while (pendingCount_ > 0) {
    const std::size_t used = ApplyFirstRule(atEnd);
    if (used == kWait) return;
    for (std::size_t i = used; i < pendingCount_; ++i) pending_[i - used] = pending_[i];
    pendingCount_ -= used;
  }
}

// Each rule looks at the first waiting unit and the ones after it; it either
// hands on what it decided and says how many units it used, or waits.
std::size_t SpellingFilter::ApplyFirstRule(bool atEnd) {
  const Unit first = pending_[0];
  if (first.ch == kSignE || first.ch == kSignEe) return ComposeSign(atEnd);
  if (modern_) {
    if (AtomicChilluOf(first.ch) != 0) return MakeChillu(atEnd);
    if (first.ch == kVirama) return VisibleVirama(atEnd);
    if (first.ch == kZwnj && IsAtomicChillu(lastEmitted_)) return 1;
  }
  Emit(first.ch, first.source);
  return 1;
}

std::size_t SpellingFilter::ComposeSign(bool atEnd) {
  if (pendingCount_ < 2 && !atEnd) return kWait;
  const Unit sign = pending_[0];
  if (pendingCount_ >= 2) {
    if (const char16_t composed = Composed(sign.ch, pending_[1].ch)) {
      Emit(composed, sign.source);
      return 2;
    }
  }
  Emit(sign.ch, sign.source);
  return 1;
}

// Consonant, virama, zero width joiner: the atomic chillu.
std::size_t SpellingFilter::MakeChillu(bool atEnd) {
  const Unit consonant = pending_[0];
  const bool viramaNext = pendingCount_ >= 2 && pending_[1].ch == kVirama;
  const bool undecided = pendingCount_ == 1 || (viramaNext && pendingCount_ == 2);
  if (undecided && !atEnd) return kWait;
  if (viramaNext && pendingCount_ == 3 && pending_[2].ch == kZwj) {
    Emit(AtomicChilluOf(consonant.ch), consonant.source);
    return 3;
  }
  Emit(consonant.ch, consonant.source);
  return 1;
}

// Virama, zero width non-joiner: the non-joiner stays only before a consonant
// that the legacy fonts could have joined to the one before the virama.
std::size_t SpellingFilter::VisibleVirama(bool atEnd) {
  const Unit virama = pending_[0];
  const bool nonJoinerNext = pendingCount_ >= 2 && pending_[1].ch == kZwnj;
  const bool undecided = pendingCount_ == 1 || (nonJoinerNext && pendingCount_ == 2);
  if (undecided && !atEnd) return kWait;
  const char16_t before = lastEmitted_;
  Emit(virama.ch, virama.source);
  if (!nonJoinerNext) return 1;
  if (pendingCount_ == 3 && LegacyFontsJoin(before, pending_[2].ch)) Emit(kZwnj, pending_[1].source);
  return 2;
}

void SpellingFilter::Emit(char16_t ch, std::size_t source) {
  if (!output_.empty() && source != outputSource_) FlushOutput();
  output_.push_back(ch);
  outputSource_ = source;
  lastEmitted_ = ch;
}

void SpellingFilter::FlushOutput() {
  if (output_.empty()) return;
  out_.Piece(output_, outputSource_);
  output_.clear();
}

std::u16string Respell(std::u16string_view text, Spelling spelling) {
  StringSink sink;
  SpellingFilter filter(spelling, sink);
  filter.Piece(text, 0);
  filter.Finish();
  return std::move(sink.text_);
}

}  // namespace maravelundi
