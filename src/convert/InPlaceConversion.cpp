#include "convert/InPlaceConversion.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "convert/FontClassifier.h"
#include "convert/LegacyTarget.h"
#include "convert/MlttStage.h"
#include "richtext/GlyphString.h"
#include "unicode/SpellingSink.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {
namespace {

// Adds pieces in the order the conversion hands them over. A piece the
// conversion gives to an earlier character than the piece before it (a sign
// written after the conjunct sign it follows) goes with the later one, so
// that pieces never change places.
class PieceList {
 public:
  PieceList(const Document& story, const std::vector<bool>& replaceable, PlacedText& placed)
      : storyText_(story.Text()), replaceable_(replaceable), placed_(placed) {
    // About a piece per character and as many characters again: sized once,
    // these never pass through a doubling, which for a large story would
    // hold the old and the new arrays at once.
    placed_.pieces.reserve(story.Size());
    placed_.text.reserve(story.Size() + story.Size() / 4);
  }

  void Place(std::u16string_view text, TextIndex own, std::uint8_t font = 0) {
    // A piece that is the very character the markup stands for (the tab of
    // a table cell) is still in the file.
    if (!replaceable_[own] && text.size() == 1 && text[0] == storyText_[own]) return Itself(own);
    const TextIndex source = std::max(own, last_);
    last_ = source;
    placed_.text.append(text);
    placed_.pieces.push_back({source, static_cast<std::uint32_t>(placed_.text.size()), font});
  }

  bool Replaceable(TextIndex index) const { return replaceable_[index]; }

  // The conversion handed on the character at `own`, which markup stands
  // for and which stays in the file, as itself: whatever it hands on after
  // it goes after it too, before the next character (after the line feed
  // of a paragraph end), so that the order is the flat outputs'. A sign
  // typed last in a paragraph thus begins the next, as it does there.
  void Itself(TextIndex own) {
    TextIndex next = own + 1;
    if (storyText_[own] == u'\r' && next < storyText_.size() && storyText_[next] == u'\n') ++next;
    if (next < storyText_.size()) last_ = std::max(last_, next);
  }

 private:
  std::u16string_view storyText_;
  const std::vector<bool>& replaceable_;
  PlacedText& placed_;
  TextIndex last_ = 0;
};

// The sink of the Unicode walk over the ML-TT text of a story: positions are
// the ML-TT text's, `sourceOf` leads back to the story's.
class UnicodePlacer {
 public:
  UnicodePlacer(PieceList& pieces, const std::vector<TextIndex>& sourceOf, std::vector<bool>& consumed)
      : pieces_(pieces), sourceOf_(sourceOf), consumed_(consumed) {}

  void MlttPosition(bool malayalam) { malayalam_ = malayalam; }
  void Malayalam(std::u16string_view text, std::size_t position) { pieces_.Place(text, sourceOf_[position]); }
  // Text the walk copies stays as it is, unless it is a Malayalam unit the
  // walk passes on (a space, a digit of the legacy font): its own character
  // gives way, so it must be written again.
  void Unchanged(std::u16string_view text, std::size_t position) {
    const TextIndex own = sourceOf_[position];
    if (malayalam_ && pieces_.Replaceable(own)) pieces_.Place(text, own);
  }
  // A paragraph end is markup and stays; so does a line break that markup
  // stands for. A line break typed among Malayalam text gives way and
  // comes back here, like any other unit the walk passes on.
  void Break(BreakKind kind, std::size_t position) {
    const TextIndex own = sourceOf_[position];
    if (!pieces_.Replaceable(own)) return pieces_.Itself(own);
    if (kind == BreakKind::kLine && malayalam_) pieces_.Place(u"\n", own);
  }
  // Characters a rule read as Malayalam give way to its pieces, even in a
  // font that is not converted (a rule takes the character after a pre-base
  // sign whatever its font).
  void Consumed(std::size_t begin, std::size_t count) {
    for (std::size_t p = begin; p < begin + count && p < sourceOf_.size(); ++p) consumed_[sourceOf_[p]] = true;
  }

 private:
  PieceList& pieces_;
  const std::vector<TextIndex>& sourceOf_;
  std::vector<bool>& consumed_;
  bool malayalam_ = false;
};

void PlaceUnicode(const Document& mltt, const std::vector<TextIndex>& sourceOf, const ConversionProfile& profile,
                  PieceList& pieces, std::vector<bool>& consumed, ProgressSink* progress) {
  UnicodePlacer placer(pieces, sourceOf, consumed);
  SpellingSink<UnicodePlacer> respelled(profile.spelling, placer);
  WalkUnicode(mltt, respelled, progress, profile.Unicode());
  respelled.Finish();
}

// Every character of the ML-TT text that came from converted text is a
// piece: stage one put it in "ML-TTRevathi", or it was in an ML-TT font
// already.
void PlaceMltt(const Document& mltt, const std::vector<TextIndex>& sourceOf, const std::vector<bool>& converted,
               const Document& story, PieceList& pieces) {
  RunCursor storyFormats(story);
  const std::u16string_view text = mltt.Text();
  std::size_t i = 0;
  while (i < text.size()) {
    const TextIndex source = sourceOf[i];
    std::size_t end = i + 1;
    while (end < text.size() && sourceOf[end] == source) ++end;
    if (converted[storyFormats.FormatAt(source)]) pieces.Place(text.substr(i, end - i), source);
    i = end;
  }
}

bool IsMalayalamUnicode(char16_t ch) { return (ch >= 0x0D00 && ch <= 0x0D7F) || ch == 0x200C || ch == 0x200D; }

// The glyphs of one stretch of Malayalam Unicode, each at the character it
// is placed at; a character the font has no glyph for stays as it was.
class LegacyPlacer final : public LegacyGlyphSink {
 public:
  LegacyPlacer(PieceList& pieces, PlacedText& placed) : pieces_(pieces), placed_(placed) {}

  void Stretch(const LegacyTarget& target, std::u16string_view text, std::size_t begin) {
    begin_ = begin;
    EncodeForTarget(target, text, *this);
  }
  void Glyph(const InventoryGlyph& glyph, std::size_t source) override {
    char16_t codes[2];
    for (std::size_t c = 0; c < glyph.count; ++c) codes[c] = GlyphChar(glyph.codes[c]);
    pieces_.Place(std::u16string_view(codes, glyph.count), static_cast<TextIndex>(begin_ + source), glyph.font);
  }
  void Unmapped(char16_t ch, std::size_t source) override {
    pieces_.Place(std::u16string_view(&ch, 1), static_cast<TextIndex>(begin_ + source), PlacedText::kKept);
    placed_.unmapped.push_back(ch);
  }

 private:
  PieceList& pieces_;
  PlacedText& placed_;
  std::size_t begin_ = 0;
};

// The way back: every stretch of Malayalam Unicode that can be replaced,
// whatever its font, spelled in the legacy font's codes.
PlacedText PlaceLegacy(const Document& story, const std::vector<bool>& replaceable, const ConversionProfile& profile) {
  PlacedText placed;
  const std::optional<LegacyTarget> target = LegacyTargetNamed(profile.legacyFont);
  if (!target) throw std::invalid_argument("no legacy font is named " + profile.legacyFont);
  placed.fonts = target->fonts;
  placed.replaced.assign(story.Size(), false);
  const std::u16string_view text = story.Text();
  {
    PieceList pieces(story, replaceable, placed);
    LegacyPlacer placer(pieces, placed);
    for (std::size_t i = 0; i < text.size();) {
      if (!replaceable[i] || !IsMalayalamUnicode(text[i])) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < text.size() && replaceable[end] && IsMalayalamUnicode(text[end])) placed.replaced[end++] = true;
      placer.Stretch(*target, text.substr(i, end - i), i);
      i = end;
    }
  }
  return placed;
}

}  // namespace

std::u16string CharactersWithoutGlyph(const Document& story, const ConversionProfile& profile) {
  const std::u16string_view text = story.Text();
  std::vector<bool> replaceable(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) replaceable[i] = text[i] != u'\r' && text[i] != u'\n';
  return ConvertInPlace(story, replaceable, profile).unmapped;
}

PlacedText ConvertInPlace(const Document& story, const std::vector<bool>& replaceable,
                          const ConversionProfile& profile, ProgressSink* progress) {
  if (profile.target == TextTarget::kLegacy) return PlaceLegacy(story, replaceable, profile);
  PlacedText placed;
  placed.fonts = {std::string(profile.ConvertedFont())};
  std::vector<TextIndex> sourceOf;
  const Document mltt = ConvertToMltt(story, profile, progress, &sourceOf);
  const std::vector<bool> converted = FontClassifier(profile.generation).ConvertedFormats(story);
  std::vector<bool> consumed(story.Size());
  {
    PieceList pieces(story, replaceable, placed);
    if (profile.target == TextTarget::kUnicode) {
      PlaceUnicode(mltt, sourceOf, profile, pieces, consumed, progress);
    } else {
      PlaceMltt(mltt, sourceOf, converted, story, pieces);
    }
  }
  placed.replaced.assign(story.Size(), false);
  RunCursor formats(story);
  for (std::size_t i = 0; i < story.Size(); ++i) {
    placed.replaced[i] = replaceable[i] && (consumed[i] || converted[formats.FormatAt(i)]);
  }
  return placed;
}

const std::vector<PlacedRun>& PlacedCursor::RunsAt(std::size_t index) {
  std::vector<PlacedRun>& runs = runs_;
  runs.clear();
  const auto& pieces = placed_.pieces;
  while (piece_ < pieces.size() && pieces[piece_].source <= index) {
    const PlacedText::Piece& piece = pieces[piece_++];
    const std::u16string_view text = std::u16string_view(placed_.text).substr(textBegin_, piece.textEnd - textBegin_);
    textBegin_ = piece.textEnd;
    if (!runs.empty() && runs.back().font == piece.font && runs.back().text.data() + runs.back().text.size() == text.data()) {
      runs.back().text = std::u16string_view(runs.back().text.data(), runs.back().text.size() + text.size());
    } else {
      runs.push_back({text, piece.font});
    }
  }
  return runs;
}

std::u16string_view PlacedCursor::At(std::size_t index) {
  const std::uint32_t begin = textBegin_;
  const auto& pieces = placed_.pieces;
  while (piece_ < pieces.size() && pieces[piece_].source <= index) textBegin_ = pieces[piece_++].textEnd;
  return std::u16string_view(placed_.text).substr(begin, textBegin_ - begin);
}

}  // namespace maravelundi
