#include "unicode/UnicodeBody.h"

#include <array>
#include <vector>

#include "unicode/GlyphToEntity.h"
#include "unicode/UnicodeRules.h"

namespace maravelundi {
namespace {

// The rules that can match at a character, in rule order, so that a position
// tries only the few rules whose first cell admits its character.
class RuleIndex {
 public:
  RuleIndex() {
    for (const UnicodeRule& rule : UnicodeRules()) {
      const PatternCell& first = rule.pattern[0];
      switch (first.kind) {
        case PatternCell::Kind::kAny:
          for (auto& list : byFirst_) list.push_back(&rule);
          others_.push_back(&rule);
          break;
        case PatternCell::Kind::kIs:
          Add(first.ch, rule);
          break;
        case PatternCell::Kind::kIn:
          for (char16_t ch : first.set) Add(ch, rule);
          break;
      }
    }
  }

  const std::vector<const UnicodeRule*>& Candidates(char16_t ch) const {
    return ch < byFirst_.size() ? byFirst_[ch] : others_;
  }

  // True when only the last rule, one character mapped by itself, can apply.
  bool OnlyByItself(char16_t ch) const { return ch >= byFirst_.size() || byFirst_[ch].size() == 1; }

 private:
  void Add(char16_t ch, const UnicodeRule& rule) { byFirst_.at(ch).push_back(&rule); }

  std::array<std::vector<const UnicodeRule*>, 256> byFirst_;
  std::vector<const UnicodeRule*> others_;
};

const RuleIndex& Rules() {
  static const RuleIndex index;
  return index;
}

bool CellMatches(const PatternCell& cell, std::u16string_view text, std::size_t at) {
  switch (cell.kind) {
    case PatternCell::Kind::kAny: return true;
    case PatternCell::Kind::kIs: return at < text.size() && text[at] == cell.ch;
    case PatternCell::Kind::kIn: return at >= text.size() || cell.set.find(text[at]) != std::u16string_view::npos;
  }
  return false;
}

// The first cell is known to match: the index chose the rule by it.
bool RuleMatches(const UnicodeRule& rule, std::u16string_view text, std::size_t i) {
  for (std::size_t k = 1; k < rule.pattern.size(); ++k) {
    if (!CellMatches(rule.pattern[k], text, i + k)) return false;
  }
  return true;
}

void AppendPieces(const UnicodeRule& rule, std::u16string_view text, std::size_t i, Utf8Builder& out) {
  for (const OutputPiece& piece : rule.output) {
    switch (piece.kind) {
      case OutputPiece::Kind::kNone: break;
      case OutputPiece::Kind::kUnitAt: {
        const std::size_t at = i + piece.offset;
        AppendEntity(out, at < text.size() ? text.substr(at, 1) : std::u16string_view());
        break;
      }
      case OutputPiece::Kind::kUnit: AppendEntity(out, piece.unit); break;
      case OutputPiece::Kind::kText: out.AppendAscii(piece.text); break;
    }
  }
}

// Applies the first matching rule at i and returns the positions it used.
std::size_t ApplyMlttRules(const RuleIndex& rules, std::u16string_view text, std::size_t i, Utf8Builder& out) {
  // Most positions hold a letter that no rule but the last starts with.
  if (rules.OnlyByItself(text[i])) {
    AppendEntity(out, text.substr(i, 1));
    return 1;
  }
  for (const UnicodeRule* rule : rules.Candidates(text[i])) {
    if (RuleMatches(*rule, text, i)) {
      AppendPieces(*rule, text, i, out);
      return rule->consumed;
    }
  }
  return 1;  // unreachable: the last rule matches anything
}

// The table's values for single codes, looked up once.
const std::array<std::optional<std::string_view>, 256> kSingleEntities = [] {
  std::array<std::optional<std::string_view>, 256> single;
  for (char16_t code = 0; code < 256; ++code) single[code] = EntityRowValue(std::u16string_view(&code, 1));
  return single;
}();

void AppendOtherFont(char16_t ch, Utf8Builder& out) {
  if (ch == u'\n') out.AppendAscii("<br>\r\n");
  else if (ch == u'\r') out.AppendAscii("<p>\r\n");
  else out.AppendEscaped(ch);
}

}  // namespace

void AppendEntity(Utf8Builder& out, std::u16string_view unit) {
  // The common case first: a single code that the table holds.
  if (unit.size() == 1 && unit[0] < kSingleEntities.size() && kSingleEntities[unit[0]]) {
    out.AppendAscii(*kSingleEntities[unit[0]]);
    return;
  }
  if (const auto value = EntityRowValue(unit)) {
    out.AppendAscii(*value);
  } else if (unit == u"\r") {
    out.AppendAscii("<p>\r\n");
  } else if (unit != u"\n") {
    out.AppendEscaped(unit);
  }
}

void AppendUnicodeBody(const Document& mltt, Utf8Builder& out, ProgressSink* progress) {
  const std::u16string_view text = mltt.Text();
  std::vector<bool> isMltt(mltt.FormatCount());
  for (std::size_t f = 0; f < isMltt.size(); ++f) {
    isMltt[f] = mltt.Format(static_cast<FormatId>(f)).fontName.starts_with("ML-");
  }
  const RuleIndex& rules = Rules();
  std::size_t nextReport = kProgressStride;
  std::size_t i = 0;
  for (std::size_t r = 0; r < mltt.Runs().size(); ++r) {
    const std::size_t end = mltt.RunEnd(r);
    // Only the font of the position a rule starts at counts: the positions a
    // rule uses up are taken whatever their font, in this run or the next.
    const bool ml = isMltt[mltt.Runs()[r].format];
    while (i < end) {
      if (i >= nextReport) {
        ReportProgress(progress, i, text.size());
        nextReport = i + kProgressStride;
      }
      if (ml) {
        i += ApplyMlttRules(rules, text, i, out);
      } else {
        AppendOtherFont(text[i], out);
        ++i;
      }
    }
  }
  ReportProgress(progress, text.size(), text.size());
}

std::string BuildUnicodeBody(const Document& mltt, ProgressSink* progress) {
  Utf8Builder out;
  AppendUnicodeBody(mltt, out, progress);
  return out.Take();
}

}  // namespace maravelundi
