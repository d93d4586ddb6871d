#pragma once
// The walk that turns ML-TT text into Unicode: at a position in an "ML-" font
// the first matching ordering rule applies, and each unit it emits goes
// through the entity table; text in any other font is copied, its line ends
// becoming breaks. The walk hands what it finds to a sink, with the position
// whose character format each piece takes, so that one walk serves every
// Unicode output:
//
//   sink.References(std::string_view references, std::u16string_view text, std::size_t position)
//       character references ("&#3349;"), from the table or a rule, and the
//       code units they name (decoded once, not at every unit)
//   sink.Unchanged(std::u16string_view text, std::size_t position)
//       text that reaches the output as it is: copied from another font, or
//       an ML-TT unit the table does not know
//   sink.Break(BreakKind kind, std::size_t position)
//       a paragraph end (carriage return) or a line break (line feed); in
//       ML-TT text the line feed of a CR LF pair is part of the paragraph
//       end and gives nothing, elsewhere it is a break of its own kind
//   sink.Malayalam(std::u16string_view text, std::size_t position)
//       Unicode text converted from a font of another legacy family
//   sink.MlttPosition(bool ml)
//       whether the pieces that follow come from Malayalam text (ML-TT or
//       another legacy family)

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/Document.h"
#include "families/ConvertLegacyRun.h"
#include "families/LegacyEncoding.h"
#include "richtext/Progress.h"
#include "unicode/GlyphToEntity.h"
#include "unicode/UnicodeOptions.h"
#include "unicode/UnicodeRules.h"

namespace maravelundi {

enum class BreakKind {
  kParagraph,          // a carriage return: the paragraph ends
  kLine,               // a line feed on its own: a line break in the paragraph
  kParagraphLineFeed,  // the line feed of a CR LF pair in a font other than ML-TT
};

namespace walk {

// The rules that can match at a character, in rule order, so that a position
// tries only the few rules whose first cell admits its character.
class RuleIndex {
 public:
  RuleIndex();
  const std::vector<const UnicodeRule*>& Candidates(char16_t ch) const {
    return ch < byFirst_.size() ? byFirst_[ch] : others_;
  }
  // True when only the last rule, one character mapped by itself, can apply.
  bool OnlyByItself(char16_t ch) const { return ch >= byFirst_.size() || byFirst_[ch].size() == 1; }
  // The code units a rule's written-out references name.
  std::u16string_view TextOf(const UnicodeRule& rule, std::size_t piece) const {
    return decoded_[static_cast<std::size_t>(rule.number)][piece];
  }

 private:
  std::array<std::vector<const UnicodeRule*>, 256> byFirst_;
  std::vector<const UnicodeRule*> others_;
  std::vector<std::array<std::u16string, kMaxOutputPieces>> decoded_;  // by rule number, then piece
};

const RuleIndex& Rules();
bool RuleMatches(const UnicodeRule& rule, std::u16string_view text, std::size_t i);

// The text of one unit: its references, a paragraph end for a carriage
// return, nothing for a line feed, itself for a unit the table lacks.
template <typename Sink>
void EmitUnit(Sink& sink, std::u16string_view unit, std::size_t position) {
  const UnitEntity entity = unit.size() == 1 ? EntityOfCode(unit[0]) : EntityOfUnit(unit);
  switch (entity.kind) {
    case UnitEntity::Kind::kReferences: sink.References(entity.references, entity.text, position); break;
    case UnitEntity::Kind::kParagraphEnd: sink.Break(BreakKind::kParagraph, position); break;
    case UnitEntity::Kind::kUnchanged: sink.Unchanged(unit, position); break;
    case UnitEntity::Kind::kNothing: break;
  }
}

// The unit at `at`, which may be past the end (empty). A line feed that does
// not end a CR LF pair is a line break typed inside Malayalam: a break, not
// nothing, so that the words on either side stay apart.
template <typename Sink>
void EmitUnitAt(Sink& sink, std::u16string_view text, std::size_t at, std::size_t position) {
  if (at >= text.size()) return;
  if (text[at] == u'\n' && (at == 0 || text[at - 1] != u'\r')) {
    sink.Break(BreakKind::kLine, position);
    return;
  }
  EmitUnit(sink, text.substr(at, 1), position);
}

template <typename Sink>
void EmitPieces(const RuleIndex& rules, const UnicodeRule& rule, std::u16string_view text, std::size_t i, Sink& sink) {
  for (std::size_t p = 0; p < rule.output.size(); ++p) {
    const OutputPiece& piece = rule.output[p];
    // A piece's format comes from a position of the text, the last one at most.
    const std::size_t position = std::min(i + piece.from, text.size() - 1);
    switch (piece.kind) {
      case OutputPiece::Kind::kNone: break;
      case OutputPiece::Kind::kUnitAt: EmitUnitAt(sink, text, i + piece.offset, position); break;
      case OutputPiece::Kind::kUnit: EmitUnit(sink, piece.unit, position); break;
      case OutputPiece::Kind::kText: sink.References(piece.text, rules.TextOf(rule, p), position); break;
    }
  }
}

// Applies the first matching rule at i and returns the positions it used.
template <typename Sink>
std::size_t ApplyMlttRules(const RuleIndex& rules, std::u16string_view text, std::size_t i, Sink& sink) {
  // Most positions hold a letter that no rule but the last starts with.
  if (rules.OnlyByItself(text[i])) {
    EmitUnitAt(sink, text, i, i);
    return 1;
  }
  for (const UnicodeRule* rule : rules.Candidates(text[i])) {
    if (RuleMatches(*rule, text, i)) {
      EmitPieces(rules, *rule, text, i, sink);
      return rule->consumed;
    }
  }
  return 1;  // unreachable: the last rule matches anything
}

// What the walk does with the text of a font: its role in the walk.
struct FontRole {
  bool mltt = false;                          // the rules and the entity table
  const LegacyEncoding* family = nullptr;     // that family's converter
  bool Malayalam() const { return mltt || family != nullptr; }
};

// Every "ML-" font is ML-TT, as it always was, unless the other families are
// on and the font's name belongs to another encoding.
FontRole RoleOfFont(std::string_view fontName, bool legacyFamilies);

// A character outside Malayalam text: copied, its line end a break.
template <typename Sink>
void CopyOtherFont(std::u16string_view text, std::size_t i, Sink& sink) {
  if (text[i] == u'\n') {
    sink.Break(i > 0 && text[i - 1] == u'\r' ? BreakKind::kParagraphLineFeed : BreakKind::kLine, i);
  } else if (text[i] == u'\r') {
    sink.Break(BreakKind::kParagraph, i);
  } else {
    sink.Unchanged(text.substr(i, 1), i);
  }
}

// Converts the stretch from `begin` set in fonts of `family`, which ends
// before the next line end or font of another kind, and returns its end.
// `run` is the run of `begin`. Reordering stays inside the stretch, so a
// sign never moves across a line end or into another font's text.
template <typename Sink>
std::size_t ConvertFamilyStretch(const Document& document, const std::vector<FontRole>& roles,
                                 const LegacyEncoding& family, std::size_t begin, std::size_t run, Sink& sink,
                                 Spelling spelling) {
  const std::u16string_view text = document.Text();
  const auto& runs = document.Runs();
  std::size_t end = begin;
  while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') {
    while (run + 1 < runs.size() && runs[run + 1].begin <= end) ++run;
    if (roles[runs[run].format].family != &family) break;
    ++end;
  }
  ConvertLegacyRun(
      family, text.substr(begin, end - begin),
      [&](std::u16string_view piece, std::size_t source) { sink.Malayalam(piece, begin + source); }, spelling);
  return end;
}

}  // namespace walk

// The walk over a whole document. Positions in an "ML-" font go through the
// rules; with the other legacy families on, a stretch of positions in fonts
// of one family's encoding goes through that family's converter, up to the
// next line end; everything else is copied, its line ends becoming breaks.
template <typename Sink>
void WalkUnicode(const Document& mltt, Sink& sink, ProgressSink* progress = nullptr,
                 const UnicodeOptions& options = {}) {
  const std::u16string_view text = mltt.Text();
  std::vector<walk::FontRole> roles(mltt.FormatCount());
  for (std::size_t f = 0; f < roles.size(); ++f) {
    roles[f] = walk::RoleOfFont(mltt.Format(static_cast<FormatId>(f)).fontName, options.legacyFamilies);
  }
  const walk::RuleIndex& rules = walk::Rules();
  const auto& runs = mltt.Runs();
  std::size_t nextReport = kProgressStride;
  std::size_t i = 0;
  const walk::FontRole* current = nullptr;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::size_t end = mltt.RunEnd(r);
    if (i >= end) continue;  // a rule or a stretch used this run up
    // Only the font of the position a rule or a stretch starts at counts:
    // the positions a rule uses up are taken whatever their font.
    const walk::FontRole& kind = roles[runs[r].format];
    if (current == nullptr || current->Malayalam() != kind.Malayalam()) sink.MlttPosition(kind.Malayalam());
    current = &kind;
    while (i < end) {
      if (i >= nextReport) {
        ReportProgress(progress, i, text.size());
        nextReport = i + kProgressStride;
      }
      if (kind.mltt) {
        const std::size_t used = walk::ApplyMlttRules(rules, text, i, sink);
        // A sink that rewrites its source in place learns which positions a
        // rule read as Malayalam, whatever their font.
        if constexpr (requires { sink.Consumed(i, used); }) sink.Consumed(i, used);
        i += used;
      } else if (kind.family != nullptr && text[i] != u'\r' && text[i] != u'\n') {
        i = walk::ConvertFamilyStretch(mltt, roles, *kind.family, i, r, sink, options.spelling);
      } else {
        walk::CopyOtherFont(text, i, sink);
        ++i;
      }
    }
  }
  ReportProgress(progress, text.size(), text.size());
}

}  // namespace maravelundi
