#include "unicode/UnicodeBody.h"

#include <array>
#include <string>

#include "unicode/GlyphToEntity.h"
#include "unicode/SpellingSink.h"
#include "unicode/UnicodeWalk.h"

namespace maravelundi {
namespace walk {

RuleIndex::RuleIndex() {
  for (const UnicodeRule& rule : UnicodeRules()) {
    if (decoded_.size() <= static_cast<std::size_t>(rule.number)) decoded_.resize(static_cast<std::size_t>(rule.number) + 1);
    for (std::size_t p = 0; p < rule.output.size(); ++p) {
      if (rule.output[p].kind == OutputPiece::Kind::kText) AppendReferencedText(rule.output[p].text, decoded_[rule.number][p]);
    }
    const PatternCell& first = rule.pattern[0];
    switch (first.kind) {
      case PatternCell::Kind::kAny:
        for (auto& list : byFirst_) list.push_back(&rule);
        others_.push_back(&rule);
        break;
      case PatternCell::Kind::kIs:
        byFirst_.at(first.ch).push_back(&rule);
        break;
      case PatternCell::Kind::kIn:
        for (char16_t ch : first.set) byFirst_.at(ch).push_back(&rule);
        break;
    }
  }
}

const RuleIndex& Rules() {
  static const RuleIndex index;
  return index;
}

namespace {

bool CellMatches(const PatternCell& cell, std::u16string_view text, std::size_t at) {
  switch (cell.kind) {
    case PatternCell::Kind::kAny: return true;
    case PatternCell::Kind::kIs: return at < text.size() && text[at] == cell.ch;
    case PatternCell::Kind::kIn: return at >= text.size() || cell.set.find(text[at]) != std::u16string_view::npos;
  }
  return false;
}

}  // namespace

// The first cell is known to match: the index chose the rule by it.
bool RuleMatches(const UnicodeRule& rule, std::u16string_view text, std::size_t i) {
  for (std::size_t k = 1; k < rule.pattern.size(); ++k) {
    if (!CellMatches(rule.pattern[k], text, i + k)) return false;
  }
  return true;
}

FontRole RoleOfFont(std::string_view fontName, bool legacyFamilies) {
  if (legacyFamilies) {
    const LegacyEncoding* encoding = FindLegacyEncoding(fontName);
    if (encoding != nullptr && !encoding->mltt) return {false, encoding};
  }
  return {IsMlttFontName(fontName), nullptr};
}

}  // namespace walk

namespace {

// The body of the HTML document: references as they are, text that reaches
// it unchanged escaped, breaks as tags.
class HtmlBodySink {
 public:
  explicit HtmlBodySink(Utf8Builder& out) : out_(out) {}
  void References(std::string_view references, std::u16string_view, std::size_t) { out_.AppendAscii(references); }
  // Malayalam as references, as the rules write it; anything else a family
  // leaves unmapped escaped.
  void Malayalam(std::u16string_view text, std::size_t) {
    for (char16_t ch : text) {
      if ((ch >= 0x0D00 && ch <= 0x0D7F) || ch == 0x200C || ch == 0x200D) {
        out_.AppendAscii("&#");
        out_.AppendAscii(std::to_string(static_cast<unsigned>(ch)));
        out_.AppendAscii(";");
      } else {
        out_.AppendEscaped(std::u16string_view(&ch, 1));
      }
    }
  }
  void Unchanged(std::u16string_view text, std::size_t) { out_.AppendEscaped(text); }
  void Break(BreakKind kind, std::size_t) { out_.AppendAscii(kind == BreakKind::kParagraph ? "<p>\r\n" : "<br>\r\n"); }
  void MlttPosition(bool) {}

 private:
  Utf8Builder& out_;
};

}  // namespace

void AppendUnicodeBody(const Document& mltt, Utf8Builder& out, ProgressSink* progress,
                       const UnicodeOptions& options) {
  HtmlBodySink body(out);
  if (options.spelling == Spelling::kLegacy) {
    WalkUnicode(mltt, body, progress, options);
    return;
  }
  SpellingSink<HtmlBodySink> respelled(options.spelling, body);
  WalkUnicode(mltt, respelled, progress, options);
  respelled.Finish();
}

std::string BuildUnicodeBody(const Document& mltt, ProgressSink* progress, const UnicodeOptions& options) {
  Utf8Builder out;
  AppendUnicodeBody(mltt, out, progress, options);
  return out.Take();
}

}  // namespace maravelundi
