#include "office/WordStory.h"

#include <string>

#include "office/WordInline.h"
#include "office/WordRunFormat.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

WordRunProperties ParagraphBase(pugi::xml_node paragraph, const WordPartContext& context) {
  const XmlNamespace& w = context.w;
  return context.styles.ParagraphBase(w.Attribute(w.Child(w.Child(paragraph, "pPr"), "pStyle"), "val").value());
}

std::optional<Rgb> ParseColour(const std::optional<std::string>& hex) {
  if (!hex || hex->size() != 6) return std::nullopt;
  if (hex->find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(std::stoi(hex->substr(at, 2), nullptr, 16)); };
  return Rgb{byte(0), byte(2), byte(4)};
}

// Word's size when nothing sets one: 10 points.
constexpr int kWordDefaultHalfPoints = 20;

// The formats the flat outputs keep.
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

bool HoldsText(RunChildKind kind) {
  return IsTextual(kind) && kind != RunChildKind::kProperties && kind != RunChildKind::kDroppable;
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

// Same element, attributes and text, in the same order.
bool SameAttributes(pugi::xml_node a, pugi::xml_node b) {
  pugi::xml_attribute left = a.first_attribute(), right = b.first_attribute();
  for (; left && right; left = left.next_attribute(), right = right.next_attribute()) {
    if (std::string_view(left.name()) != right.name() || std::string_view(left.value()) != right.value()) return false;
  }
  return !left && !right;
}

bool SameTree(pugi::xml_node a, pugi::xml_node b) {
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

// Same element, attributes and properties.
bool SameShell(pugi::xml_node a, pugi::xml_node b) {
  if (std::string_view(a.name()) != b.name() || !SameAttributes(a, b)) return false;
  return SameTree(a.child(b.first_child().name()), b.first_child());  // the w:rPr both begin with
}

}  // namespace

// Gathers a paragraph's runs into the story, and its deleted runs into the
// story of deleted text.
class WordStoryCollector {
 public:
  WordStoryCollector(WordStory& story, WordStory* deleted, pugi::xml_node paragraph)
      : story_(story), deleted_(deleted), paragraph_(paragraph), base_(ParagraphBase(paragraph, story.context_)) {}

  void Run(pugi::xml_node run, bool deleted) {
    if (!deleted) return Add(story_, run, false);
    if (deleted_ != nullptr) Add(*deleted_, run, true);
  }
  void Boundary() {}
  void EnterDeleted() { deletedBefore_ = deleted_ != nullptr ? deleted_->text_.Size() : 0; }
  void LeaveDeleted() {
    if (deleted_ != nullptr && deleted_->text_.Size() > deletedBefore_) deleted_->AppendEnd(paragraph_, EndFormat());
  }
  void EndParagraph() { story_.AppendEnd(paragraph_, EndFormat()); }

 private:
  CharFormat EndFormat() const {
    const auto& font = base_.Font(FontSlot::kAscii);
    return FlatFormat(font ? *font : "", base_);
  }

  void Add(WordStory& into, pugi::xml_node node, bool deleted) {
    const WordPartContext& context = story_.context_;
    const XmlNamespace& w = context.w;
    WordStory::Run run{node, context.styles.Effective(base_, w.Child(node, "rPr"), w, context.theme), deleted,
                       static_cast<std::uint32_t>(into.children_.size()), 0};
    const RunTextReader reader(run.effective, w, context.fonts);
    for (pugi::xml_node child : node.children()) {
      const RunChildKind kind = ClassifyRunChild(child, w);
      if (!HoldsText(kind)) continue;
      RunText text;
      reader.Read(child, kind, text);
      const auto begin = static_cast<TextIndex>(into.text_.Size());
      for (const TextSegment& segment : text.segments) {
        into.text_.Append(segment.text, into.text_.Intern(FlatFormat(segment.font, run.effective)));
      }
      const auto end = static_cast<TextIndex>(into.text_.Size());
      if (end == begin) continue;
      into.replaceable_.resize(end, true);
      into.children_.push_back(WordStory::Child{child, begin, end});
    }
    run.childEnd = static_cast<std::uint32_t>(into.children_.size());
    if (run.childEnd == run.firstChild) return;  // no text: nothing of it can change
    into.segments_.push_back({false, static_cast<std::uint32_t>(into.runs_.size())});
    into.runs_.push_back(std::move(run));
  }

  WordStory& story_;
  WordStory* deleted_;
  pugi::xml_node paragraph_;
  const WordRunProperties base_;
  std::size_t deletedBefore_ = 0;
};

void WordStory::AppendParagraph(pugi::xml_node paragraph, WordStory* deleted) {
  WordStoryCollector collector(*this, deleted, paragraph);
  WalkInline(paragraph, context_.w, collector);
  collector.EndParagraph();
}

void WordStory::AppendEnd(pugi::xml_node paragraph, const CharFormat& format) {
  segments_.push_back({true, static_cast<std::uint32_t>(ends_.size())});
  ends_.push_back(End{static_cast<TextIndex>(text_.Size()), paragraph});
  text_.Append(u"\r\n", text_.Intern(format));
  replaceable_.resize(text_.Size(), false);
}

// Writes the converted story back into its runs, in story order.
class WordRunRewriter {
 public:
  WordRunRewriter(WordStory& story, const PlacedText& placed)
      : story_(story), w_(story.context_.w), placed_(placed), cursor_(placed),
        complexScript_(story.context_.profile.target == TextTarget::kUnicode) {}

  bool Run() {
    for (const WordStory::Segment& segment : story_.segments_) {
      if (segment.end) {
        EndOfParagraph(story_.ends_[segment.index]);
      } else {
        RewriteRun(story_.runs_[segment.index]);
      }
    }
    MergeAlikeNeighbours();
    return changed_;
  }

 private:
  // What a rewritten run becomes, in order: runs of converted text, and
  // runs of what it keeps (its own children moved, or the kept part of a
  // text element written anew).
  struct Kept {
    pugi::xml_node node;  // moved as it is, unless null
    std::u16string text;
  };
  struct Output {
    bool converted;
    std::uint8_t font;  // of converted text
    std::u16string text;
    std::vector<Kept> kept;
  };

  // What is placed at a character: converted text in its font, and what the
  // target has no glyph for, kept in the run's own properties.
  void AddPlaced(const std::vector<PlacedRun>& runs) {
    for (const PlacedRun& run : runs) {
      if (run.text.empty()) continue;
      runChanged_ = true;
      if (run.font == PlacedText::kKept) {
        KeepText(run.text);
        continue;
      }
      if (outputs_.empty() || !outputs_.back().converted || outputs_.back().font != run.font) {
        outputs_.push_back(Output{true, run.font, {}, {}});
      }
      outputs_.back().text.append(run.text);
    }
  }

  Output& KeptOutput() {
    if (outputs_.empty() || outputs_.back().converted) outputs_.push_back(Output{false, 0, {}, {}});
    return outputs_.back();
  }

  ConvertedRunFormat FormatOf(std::uint8_t font) const { return {placed_.fonts[font], complexScript_}; }

  void KeepNode(pugi::xml_node node) { KeptOutput().kept.push_back(Kept{node, {}}); }

  void KeepText(std::u16string_view text) {
    if (text.empty()) return;
    Output& output = KeptOutput();
    if (output.kept.empty() || output.kept.back().node) output.kept.push_back(Kept{});
    output.kept.back().text.append(text);
  }

  // A child whose characters are all kept, with nothing placed inside it,
  // moves whole; otherwise what it keeps is written anew around the
  // converted text.
  void ReadChild(const WordStory::Child& child) {
    const std::u16string_view text = story_.text_.Text();
    std::u16string kept;
    bool whole = true;
    for (TextIndex i = child.begin; i < child.end; ++i) {
      const std::vector<PlacedRun>& pieces = cursor_.RunsAt(i);
      if (!pieces.empty() && i > child.begin) {
        whole = false;
        KeepText(kept);
        kept.clear();
      }
      AddPlaced(pieces);
      if (placed_.replaced[i]) {
        whole = false;
        runChanged_ = true;
        KeepText(kept);
        kept.clear();
      } else {
        kept.push_back(text[i]);
      }
    }
    if (whole) {
      KeepNode(child.node);
    } else {
      KeepText(kept);
    }
  }

  void RewriteRun(const WordStory::Run& run) {
    outputs_.clear();
    runChanged_ = false;
    std::uint32_t next = run.firstChild;
    for (pugi::xml_node child = run.node.first_child(); child; child = child.next_sibling()) {
      if (next < run.childEnd && story_.children_[next].node == child) {
        ReadChild(story_.children_[next++]);
      } else if (!w_.Is(child, "rPr")) {
        KeepNode(child);
      }
    }
    after_ = run.node;
    lastRun_ = &run;
    if (!runChanged_) return;
    pugi::xml_node previous = run.node.previous_sibling();
    pugi::xml_node parent = run.node.parent();
    for (const Output& output : outputs_) {
      previous = output.converted ? WriteConverted(run, output.text, output.font, parent, previous)
                                  : WriteKept(run, output, parent, previous);
    }
    parent.remove_child(run.node);
    after_ = previous;
    afterParent_ = parent;
    changed_ = true;
  }

  // A copy of the run's shell (its element, attributes and properties)
  // after `previous` (first in `parent` when null).
  pugi::xml_node Shell(const WordStory::Run& run, pugi::xml_node parent, pugi::xml_node previous) {
    pugi::xml_node made = previous ? parent.insert_child_after(run.node.name(), previous)
                                   : parent.prepend_child(run.node.name());
    for (pugi::xml_attribute attribute : run.node.attributes()) made.append_copy(attribute);
    if (pugi::xml_node properties = w_.Child(run.node, "rPr")) made.append_copy(properties);
    return made;
  }

  pugi::xml_node WriteConverted(const WordStory::Run& run, std::u16string_view text, std::uint8_t font,
                                pugi::xml_node parent, pugi::xml_node previous) {
    pugi::xml_node made = Shell(run, parent, previous);
    WriteRunText(made, text, run.deleted, w_);
    ApplyConvertedFormat(made, run.effective, FormatOf(font), w_);
    written_.push_back(made);
    return made;
  }

  pugi::xml_node WriteKept(const WordStory::Run& run, const Output& output, pugi::xml_node parent,
                           pugi::xml_node previous) {
    pugi::xml_node made = Shell(run, parent, previous);
    for (const Kept& kept : output.kept) {
      if (kept.node) {
        made.append_move(kept.node);
      } else {
        WriteRunText(made, kept.text, run.deleted, w_);
      }
    }
    return made;
  }

  // Text placed at a paragraph end (a sign typed last, whose consonant
  // never came) follows the run before it.
  void EndOfParagraph(const WordStory::End& end) {
    std::vector<PlacedRun> runs = cursor_.RunsAt(end.at);
    for (const PlacedRun& run : cursor_.RunsAt(end.at + 1)) runs.push_back(run);
    for (const PlacedRun& placed : runs) {
      if (placed.text.empty()) continue;
      changed_ = true;
      const bool kept = placed.font == PlacedText::kKept;  // what the target has no glyph for, as it was
      if (lastRun_ == nullptr) {
        pugi::xml_node run = pugi::xml_node(end.paragraph).append_child(w_.Name("r").c_str());
        WriteRunText(run, placed.text, false, w_);
        if (!kept) ApplyConvertedFormat(run, WordRunProperties{}, FormatOf(placed.font), w_);
        continue;
      }
      const pugi::xml_node parent = after_ ? after_.parent() : afterParent_;
      if (kept) {
        after_ = Shell(*lastRun_, parent, after_);
        WriteRunText(after_, placed.text, lastRun_->deleted, w_);
      } else {
        after_ = WriteConverted(*lastRun_, placed.text, placed.font, parent, after_);
      }
    }
  }

  // Pieces of one word from runs that differed only in their legacy font
  // come out alike; one run keeps the word's cluster whole for the shaper.
  void MergeAlikeNeighbours() {
    for (std::size_t i = 1, kept = 0; i < written_.size(); ++i) {
      const pugi::xml_node run = written_[i];
      if (run.previous_sibling() != written_[kept] || !SameShell(written_[kept], run)) {
        kept = i;
        continue;
      }
      for (pugi::xml_node child = run.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (!w_.Is(child, "rPr")) pugi::xml_node(written_[kept]).append_move(child);
        child = next;
      }
      run.parent().remove_child(run);
    }
  }

  WordStory& story_;
  const XmlNamespace& w_;
  const PlacedText& placed_;
  PlacedCursor cursor_;
  const bool complexScript_;
  std::vector<Output> outputs_;
  bool runChanged_ = false;
  bool changed_ = false;
  const WordStory::Run* lastRun_ = nullptr;
  pugi::xml_node after_;        // what text placed after the last run goes after
  pugi::xml_node afterParent_;  // its parent, when that is the first place in it
  std::vector<pugi::xml_node> written_;  // the converted runs, in order
};

bool WordStory::Convert(ProgressSink* progress) {
  if (text_.Empty()) return false;
  const PlacedText placed = ConvertInPlace(text_, replaceable_, context_.profile, progress);
  return WordRunRewriter(*this, placed).Run();
}

}  // namespace maravelundi
