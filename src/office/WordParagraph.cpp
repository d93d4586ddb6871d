#include "office/WordParagraph.h"

#include <vector>

#include "office/WordInline.h"
#include "office/WordRunFormat.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

WordRunProperties ParagraphBase(pugi::xml_node paragraph, const WordPartContext& context) {
  const XmlNamespace& w = context.w;
  return context.styles.ParagraphBase(w.Attribute(w.Child(w.Child(paragraph, "pPr"), "pStyle"), "val").value());
}

// Writes text as run content: w:t (w:delText in deleted text) for
// characters, w:tab and w:br for tabs and line breaks.
void WriteRunText(pugi::xml_node run, std::u16string_view text, bool deleted, const XmlNamespace& w) {
  const std::string textElement = w.Name(deleted ? "delText" : "t");
  std::u16string pending;
  const auto flush = [&] {
    if (pending.empty()) return;
    pugi::xml_node t = run.append_child(textElement.c_str());
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(ToUtf8(pending).c_str());
    pending.clear();
  };
  for (char16_t ch : text) {
    if (ch == u'\t' || ch == u'\n') {
      flush();
      run.append_child(w.Name(ch == u'\t' ? "tab" : "br").c_str());
    } else if (ch >= 0x20) {  // no other control character is allowed in XML
      pending.push_back(ch);
    }
  }
  flush();
}

// Gathers the legacy-font runs of a paragraph into stretches and rewrites
// each stretch when something that is not its text ends it.
class StretchRewriter {
 public:
  StretchRewriter(pugi::xml_node paragraph, const WordPartContext& context)
      : context_(context), base_(ParagraphBase(paragraph, context)) {}

  void Run(pugi::xml_node run, bool deleted) {
    const XmlNamespace& w = context_.w;
    WordRunProperties effective = context_.styles.Effective(base_, w.Child(run, "rPr"), w, context_.theme);
    RunText text = ReadRunText(run, effective, w, context_.engine);
    if (!text.hasLegacyText) return Boundary();  // left exactly as it is
    if (!HasOtherContent(run, w)) return Add(run, effective, std::move(text), deleted);
    for (pugi::xml_node part : SplitRun(run, w)) {
      if (HasOtherContent(part, w)) {
        Boundary();
      } else {
        Add(part, effective, ReadRunText(part, effective, w, context_.engine), deleted);
      }
    }
  }
  void Boundary() { Flush(); }
  void EnterDeleted() { Flush(); }
  void LeaveDeleted() { Flush(); }
  bool Finish() {
    Flush();
    return changed_;
  }

 private:
  struct SourceRun {
    pugi::xml_node node;
    WordRunProperties effective;
    bool deleted;
  };

  void Add(pugi::xml_node run, WordRunProperties effective, RunText text, bool deleted) {
    const auto tag = static_cast<std::uint32_t>(runs_.size());
    for (const TextSegment& segment : text.segments) {
      CharFormat format;
      format.fontName = segment.font;
      format.sourceTag = tag;
      text_.Append(segment.text, text_.Intern(format));
    }
    runs_.push_back(SourceRun{run, std::move(effective), deleted});
  }

  void Flush() {
    if (!text_.Empty()) Rewrite();
    runs_.clear();
    text_ = Document();
  }

  void Rewrite() {
    const XmlNamespace& w = context_.w;
    const ConvertedStretch converted = ConvertStretch(text_, context_.engine);
    const ConvertedRunFormat format{context_.engine.ConvertedFont(),
                                    context_.engine.output == InPlaceOutput::kUnicode};
    std::vector<pugi::xml_node> written;
    for (const ConvertedPiece& piece : converted.pieces) {
      const SourceRun& source = runs_[piece.sourceRun];
      const pugi::xml_node slot = runs_[piece.slot].node;
      pugi::xml_node run = slot.parent().insert_child_before(source.node.name(), slot);
      for (pugi::xml_attribute attribute : source.node.attributes()) run.append_copy(attribute);
      if (pugi::xml_node properties = w.Child(source.node, "rPr")) run.append_copy(properties);
      WriteRunText(run, piece.text, source.deleted, w);
      if (piece.converted) ApplyConvertedFormat(run, source.effective, format, w);
      written.push_back(run);
    }
    for (const SourceRun& source : runs_) source.node.parent().remove_child(source.node);
    MergeAlikeNeighbours(written);
    changed_ = true;
  }

  // Pieces of one word from runs that differed only in their legacy font
  // come out alike; one run keeps the word's cluster whole for the shaper.
  void MergeAlikeNeighbours(const std::vector<pugi::xml_node>& written) {
    const XmlNamespace& w = context_.w;
    for (std::size_t i = 1, kept = 0; i < written.size(); ++i) {
      const pugi::xml_node run = written[i];
      if (run.previous_sibling() != written[kept] || !SameShell(written[kept], run)) {
        kept = i;
        continue;
      }
      for (pugi::xml_node child = run.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (!w.Is(child, "rPr")) pugi::xml_node(written[kept]).append_move(child);
        child = next;
      }
      run.parent().remove_child(run);
    }
  }

  // Same element, attributes and properties.
  static bool SameShell(pugi::xml_node a, pugi::xml_node b) {
    if (std::string_view(a.name()) != b.name() || !SameAttributes(a, b)) return false;
    return SameTree(a.child(b.first_child().name()), b.first_child());  // the w:rPr both begin with
  }

  static bool SameAttributes(pugi::xml_node a, pugi::xml_node b) {
    pugi::xml_attribute left = a.first_attribute(), right = b.first_attribute();
    for (; left && right; left = left.next_attribute(), right = right.next_attribute()) {
      if (std::string_view(left.name()) != right.name() || std::string_view(left.value()) != right.value()) return false;
    }
    return !left && !right;
  }

  // Same elements, attributes and text, in the same order.
  static bool SameTree(pugi::xml_node a, pugi::xml_node b) {
    if (a.type() != b.type() || std::string_view(a.name()) != b.name() || std::string_view(a.value()) != b.value() ||
        !SameAttributes(a, b)) {
      return false;
    }
    pugi::xml_node left = a.first_child(), right = b.first_child();
    for (; left && right; left = left.next_sibling(), right = right.next_sibling()) {
      if (!SameTree(left, right)) return false;
    }
    return !left && !right;
  }

  const WordPartContext& context_;
  const WordRunProperties base_;
  std::vector<SourceRun> runs_;
  Document text_;
  bool changed_ = false;
};

std::optional<Rgb> ParseColour(const std::optional<std::string>& hex) {
  if (!hex || hex->size() != 6) return std::nullopt;
  const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(std::stoi(hex->substr(at, 2), nullptr, 16)); };
  if (hex->find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  return Rgb{byte(0), byte(2), byte(4)};
}

// Word's size when nothing sets one: 10 points.
constexpr int kWordDefaultHalfPoints = 20;

CharFormat FlatFormat(std::string_view font, const WordRunProperties& effective) {
  CharFormat format;
  format.fontName = font;
  format.bold = effective.bold.value_or(false);
  format.italic = effective.italic.value_or(false);
  format.underline = effective.underline.value_or(false);
  format.halfPoints = static_cast<std::uint16_t>(effective.halfPoints.value_or(kWordDefaultHalfPoints));
  format.colour = ParseColour(effective.colour);
  return format;
}

// Gathers the paragraph's text with the formats of its runs.
class TextCollector {
 public:
  TextCollector(pugi::xml_node paragraph, const WordPartContext& context, Document& document)
      : context_(context), base_(ParagraphBase(paragraph, context)), document_(document) {}

  void Run(pugi::xml_node run, bool deleted) {
    if (deleted) return;
    const XmlNamespace& w = context_.w;
    const WordRunProperties effective = context_.styles.Effective(base_, w.Child(run, "rPr"), w, context_.theme);
    for (const TextSegment& segment : ReadRunText(run, effective, w, context_.engine).segments) {
      document_.Append(segment.text, document_.Intern(FlatFormat(segment.font, effective)));
    }
  }
  void Boundary() {}
  void EnterDeleted() {}
  void LeaveDeleted() {}
  void EndParagraph() {
    const auto& font = base_.Font(FontSlot::kAscii);
    document_.Append(u"\r\n", document_.Intern(FlatFormat(font ? *font : "", base_)));
  }

 private:
  const WordPartContext& context_;
  const WordRunProperties base_;
  Document& document_;
};

}  // namespace

bool ConvertWordParagraph(pugi::xml_node paragraph, const WordPartContext& context) {
  StretchRewriter rewriter(paragraph, context);
  WalkInline(paragraph, context.w, rewriter);
  return rewriter.Finish();
}

void AppendWordParagraph(pugi::xml_node paragraph, const WordPartContext& context, Document& document) {
  TextCollector collector(paragraph, context, document);
  WalkInline(paragraph, context.w, collector);
  collector.EndParagraph();
}

}  // namespace maravelundi
