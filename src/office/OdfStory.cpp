#include "office/OdfStory.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "office/ConvertedFonts.h"
#include "office/OdfInline.h"

namespace maravelundi {
namespace {

std::optional<Rgb> ParseColour(const std::optional<std::string>& colour) {
  if (!colour || colour->size() != 7 || (*colour)[0] != '#') return std::nullopt;
  if (colour->find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) return std::nullopt;
  const unsigned long value = std::strtoul(colour->c_str() + 1, nullptr, 16);
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

bool IsBold(const std::string& weight) {
  return weight == "bold" ||
         (!weight.empty() && std::isdigit(static_cast<unsigned char>(weight[0])) && std::atoi(weight.c_str()) >= 600);
}

// The formats the flat outputs keep.
CharFormat FlatFormat(const OdfEffectiveText& text) {
  CharFormat format;
  format.fontName = text.font;
  format.bold = IsBold(text.weight);
  format.italic = text.style == "italic" || text.style == "oblique";
  format.underline = text.underline;
  if (text.points) format.halfPoints = static_cast<std::uint16_t>(std::clamp(std::lround(*text.points * 2), 1L, 3276L));
  format.colour = ParseColour(text.colour);
  return format;
}

}  // namespace

// Gathers a paragraph's atoms into the story.
class OdfStoryCollector {
 public:
  explicit OdfStoryCollector(OdfStory& story) : story_(story) {}

  void Atom(const OdfAtom& atom) {
    const OdfPartContext& context = story_.context_;
    const bool converted = context.fonts.Converted(atom.properties.font);
    Document& text = story_.text_;
    const auto begin = static_cast<TextIndex>(text.Size());
    const FormatId format = text.Intern(FlatFormat(atom.properties));
    for (char16_t ch : atom.text) text.Append(converted ? GlyphOfStoredChar(ch) : ch, format);
    // Every atom is part of the run of text it sits in: a tab or a line
    // break among Malayalam goes into the converted span with it.
    story_.replaceable_.resize(text.Size(), true);
    story_.segments_.push_back({false, static_cast<std::uint32_t>(story_.atoms_.size())});
    story_.atoms_.push_back(OdfStory::Atom{atom.node, atom.properties, begin, static_cast<TextIndex>(text.Size())});
  }
  void Boundary() {}

 private:
  OdfStory& story_;
};

void OdfStory::AppendParagraph(pugi::xml_node paragraph) {
  const std::optional<OdfContainerStyle> container =
      context_.containers != nullptr ? context_.containers->For(paragraph) : std::nullopt;
  const OdfEffectiveText base =
      context_.sheet.ParagraphBase(context_.names.text.Attribute(paragraph, "style-name").value(), container);
  OdfStoryCollector collector(*this);
  OdfWhiteSpace space;
  WalkOdfInline(paragraph, base, "", context_.names, context_.sheet, space, collector);
  segments_.push_back({true, static_cast<std::uint32_t>(ends_.size())});
  ends_.push_back(End{static_cast<TextIndex>(text_.Size()), paragraph});
  text_.Append(u"\r\n", text_.Intern(FlatFormat(base)));
  replaceable_.resize(text_.Size(), false);
}

// Writes the converted story back into its paragraphs, in story order.
class OdfStoryRewriter {
 public:
  OdfStoryRewriter(OdfStory& story, const PlacedText& placed, OdfConvertedStyles& styles)
      : story_(story), names_(story.context_.names), placed_(placed), cursor_(placed), styles_(styles) {}

  bool Run() {
    for (const OdfStory::Segment& segment : story_.segments_) {
      if (segment.end) {
        EndOfParagraph(story_.ends_[segment.index]);
        ignoringSpace_ = true;
      } else {
        RewriteAtom(story_.atoms_[segment.index]);
      }
    }
    RemoveEmptiedSpans();
    MergeAlikeNeighbours();
    return changed_;
  }

 private:
  // Converted text in one of the placed fonts, or text kept as it was.
  struct Output {
    std::uint8_t font;  // PlacedText::kKept for kept text
    std::u16string text;
  };

  void Add(std::uint8_t font, std::u16string_view text) {
    if (text.empty()) return;
    if (outputs_.empty() || outputs_.back().font != font) outputs_.push_back(Output{font, {}});
    outputs_.back().text.append(text);
  }

  void RewriteAtom(const OdfStory::Atom& atom) {
    const std::u16string_view text = story_.text_.Text();
    outputs_.clear();
    bool atomChanged = false;
    for (TextIndex i = atom.begin; i < atom.end; ++i) {
      const std::vector<PlacedRun>& pieces = cursor_.RunsAt(i);
      atomChanged |= !pieces.empty() || placed_.replaced[i];
      for (const PlacedRun& piece : pieces) Add(piece.font, piece.text);
      if (!placed_.replaced[i]) Add(PlacedText::kKept, text.substr(i, 1));
    }
    pugi::xml_node parent = atom.node.parent();
    const pugi::xml_node after = atom.node.next_sibling();
    last_ = &atom;
    anchor_ = {parent, after};
    if (!atomChanged) return KeepAtom(atom);
    for (const Output& output : outputs_) {
      if (output.font != PlacedText::kKept) {
        WriteConverted(atom, output.text, output.font, parent, atom.node);
      } else {
        WriteOdfText(parent, atom.node, output.text, names_);
      }
    }
    if (!outputs_.empty()) ignoringSpace_ = false;  // what WriteOdfText writes ends in no space that collapses
    emptied_.push_back(parent);
    parent.remove_child(atom.node);
    changed_ = true;
  }

  // White space collapses across a paragraph's text: a text node kept as it
  // was reads otherwise when what stands before it changed (a letter before
  // its leading space became nothing, or a space). Such a node is written
  // again, so that it reads as it did.
  void KeepAtom(const OdfStory::Atom& atom) {
    const pugi::xml_node node = atom.node;
    if (node.type() != pugi::node_pcdata && node.type() != pugi::node_cdata) {
      ignoringSpace_ = false;  // an element: a text:s, tab or line break
      return;
    }
    const std::u16string_view wanted = std::u16string_view(story_.text_.Text()).substr(atom.begin, atom.end - atom.begin);
    OdfWhiteSpace space(ignoringSpace_);
    if (space.Collapse(node.value()) == wanted) {
      ignoringSpace_ = space.IgnoringSpace();
      return;
    }
    pugi::xml_node parent = node.parent();
    WriteOdfText(parent, node, wanted, names_);
    parent.remove_child(node);
    ignoringSpace_ = false;
    changed_ = true;
  }

  // A span of the converted style for text whose source had the atom's
  // properties, before `before` in `parent` (at its end when null).
  void WriteConverted(const OdfStory::Atom& atom, std::u16string_view text, std::uint8_t font, pugi::xml_node parent,
                      pugi::xml_node before) {
    const std::string name = names_.text.Name("span");
    pugi::xml_node span = before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
    const std::string& style = styles_.StyleFor(atom.properties, placed_.fonts[font]);
    span.append_attribute(names_.text.Name("style-name").c_str()).set_value(style.c_str());
    WriteOdfText(span, pugi::xml_node(), text, names_);
    made_.push_back(span);
  }

  // Text placed at a paragraph end (a sign typed last, whose consonant
  // never came) follows the story's text before it.
  void EndOfParagraph(const OdfStory::End& end) {
    std::vector<PlacedRun> runs = cursor_.RunsAt(end.at);
    for (const PlacedRun& run : cursor_.RunsAt(end.at + 1)) runs.push_back(run);
    static const OdfStory::Atom kNoSource{{}, OdfEffectiveText{}, 0, 0};
    const OdfStory::Atom& source = last_ != nullptr ? *last_ : kNoSource;
    const pugi::xml_node parent = last_ != nullptr ? anchor_.parent : end.paragraph;
    const pugi::xml_node before = last_ != nullptr ? anchor_.before : pugi::xml_node();
    for (const PlacedRun& run : runs) {
      if (run.text.empty()) continue;
      changed_ = true;
      if (run.font == PlacedText::kKept) {
        WriteOdfText(parent, before, run.text, names_);
      } else {
        WriteConverted(source, run.text, run.font, parent, before);
      }
    }
  }

  // Spans whose every atom was replaced by nothing go too.
  void RemoveEmptiedSpans() {
    for (pugi::xml_node parent : emptied_) {
      while (parent && names_.text.Is(parent, "span") && !parent.first_child()) {
        pugi::xml_node above = parent.parent();
        above.remove_child(parent);
        parent = above;
      }
    }
  }

  // Spans of one style made side by side take one another's text: the
  // pieces of one word stay in one span, its cluster whole for the shaper.
  void MergeAlikeNeighbours() {
    const XmlNamespace& text = names_.text;
    for (pugi::xml_node span : made_) {
      pugi::xml_node previous = span.previous_sibling();
      if (!text.Is(previous, "span") ||
          std::string_view(text.Attribute(previous, "style-name").value()) != text.Attribute(span, "style-name").value()) {
        continue;
      }
      for (pugi::xml_node child = span.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        previous.append_move(child);
        child = next;
      }
      span.parent().remove_child(span);
    }
  }

  struct Anchor {
    pugi::xml_node parent, before;
  };

  OdfStory& story_;
  const OdfNames& names_;
  const PlacedText& placed_;
  PlacedCursor cursor_;
  OdfConvertedStyles& styles_;
  std::vector<Output> outputs_;
  const OdfStory::Atom* last_ = nullptr;
  Anchor anchor_;
  bool ignoringSpace_ = true;  // as the reader's, at the point the rewrite has reached
  std::vector<pugi::xml_node> made_;     // the converted spans, in order
  std::vector<pugi::xml_node> emptied_;  // parents an atom was removed from
  bool changed_ = false;
};

bool OdfStory::Convert(OdfConvertedStyles& styles, ProgressSink* progress) {
  if (text_.Empty()) return false;
  const PlacedText placed = ConvertInPlace(text_, replaceable_, context_.profile, progress);
  return OdfStoryRewriter(*this, placed, styles).Run();
}

}  // namespace maravelundi
