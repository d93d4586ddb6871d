#include "office/OdfParagraph.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "office/ConvertedFonts.h"
#include "office/OdfInline.h"

namespace maravelundi {
namespace {

OdfEffectiveText ParagraphBase(pugi::xml_node paragraph, const OdfPartContext& context) {
  return context.sheet.ParagraphBase(context.names.text.Attribute(paragraph, "style-name").value());
}

// Gathers the legacy-font text of a paragraph into stretches and rewrites
// each when something that is not its text ends it.
class StretchRewriter {
 public:
  StretchRewriter(const OdfPartContext& context, OdfConvertedStyles& styles) : context_(context), styles_(styles) {}

  void Atom(const OdfAtom& atom) {
    if (!IsConvertedFont(context_.engine, atom.properties.font)) return Flush();
    const auto tag = static_cast<std::uint32_t>(atoms_.size());
    CharFormat format;
    format.fontName = atom.properties.font;
    format.sourceTag = tag;
    const FormatId id = text_.Intern(format);
    for (char16_t ch : atom.text) text_.Append(GlyphOfStoredChar(ch), id);
    atoms_.push_back(SourceAtom{atom.node, atom.properties, std::string(atom.carrierStyle)});
  }
  void Boundary() { Flush(); }
  bool Finish() {
    Flush();
    return changed_;
  }

 private:
  struct SourceAtom {
    pugi::xml_node node;
    OdfEffectiveText properties;
    std::string carrierStyle;
  };

  void Flush() {
    if (!text_.Empty()) Rewrite();
    atoms_.clear();
    text_ = Document();
  }

  // A span of `style` before `before`, or the parent itself for no style.
  pugi::xml_node Span(pugi::xml_node parent, pugi::xml_node& before, std::string_view style) {
    if (style.empty()) return parent;
    const OdfNames& names = context_.names;
    const std::string name = names.text.Name("span");
    pugi::xml_node span = before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
    span.append_attribute(names.text.Name("style-name").c_str()).set_value(std::string(style).c_str());
    before = pugi::xml_node();  // inside the new span, text goes at its end
    made_.push_back(span);
    return span;
  }

  void Rewrite() {
    const ConvertedStretch converted = ConvertStretch(text_, context_.engine);
    for (const ConvertedPiece& piece : converted.pieces) {
      const SourceAtom& source = atoms_[piece.sourceRun];
      const SourceAtom& slot = atoms_[piece.slot];
      pugi::xml_node before = slot.node;
      pugi::xml_node parent = slot.node.parent();
      // A piece the walk moved past the next atom keeps its own span's style
      // around it.
      if (source.node.parent() != parent && source.carrierStyle != slot.carrierStyle) {
        parent = Span(parent, before, source.carrierStyle);
      }
      if (piece.converted) parent = Span(parent, before, styles_.StyleFor(source.properties));
      WriteOdfText(parent, before, piece.text, context_.names);
    }
    RemoveSourceAtoms();
    MergeAlikeNeighbours();
    changed_ = true;
  }

  // Spans of one style made side by side take one another's text: the
  // pieces of one word stay in one span, its cluster whole for the shaper.
  void MergeAlikeNeighbours() {
    const XmlNamespace& text = context_.names.text;
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
    made_.clear();
  }

  // Removes the atoms, then the spans they leave empty.
  void RemoveSourceAtoms() {
    std::vector<pugi::xml_node> parents;
    for (const SourceAtom& atom : atoms_) {
      parents.push_back(atom.node.parent());
      atom.node.parent().remove_child(atom.node);
    }
    for (pugi::xml_node parent : parents) {
      while (parent && context_.names.text.Is(parent, "span") && !parent.first_child()) {
        pugi::xml_node above = parent.parent();
        above.remove_child(parent);
        parent = above;
      }
    }
  }

  const OdfPartContext& context_;
  OdfConvertedStyles& styles_;
  std::vector<SourceAtom> atoms_;
  Document text_;
  std::vector<pugi::xml_node> made_;  // the spans the rewrite of a stretch made, in order
  bool changed_ = false;
};

std::optional<Rgb> ParseColour(const std::optional<std::string>& colour) {
  if (!colour || colour->size() != 7 || (*colour)[0] != '#') return std::nullopt;
  if (colour->find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) return std::nullopt;
  const unsigned long value = std::strtoul(colour->c_str() + 1, nullptr, 16);
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

bool IsBold(const std::string& weight) {
  return weight == "bold" || (!weight.empty() && std::isdigit(static_cast<unsigned char>(weight[0])) && std::atoi(weight.c_str()) >= 600);
}

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

// Gathers the paragraph's text with its formats.
class TextCollector {
 public:
  TextCollector(const EngineOptions& engine, Document& document) : engine_(engine), document_(document) {}
  void Atom(const OdfAtom& atom) {
    const bool converted = IsConvertedFont(engine_, atom.properties.font);
    const FormatId id = document_.Intern(FlatFormat(atom.properties));
    for (char16_t ch : atom.text) document_.Append(converted ? GlyphOfStoredChar(ch) : ch, id);
  }
  void Boundary() {}

 private:
  const EngineOptions& engine_;
  Document& document_;
};

}  // namespace

bool ConvertOdfParagraph(pugi::xml_node paragraph, const OdfPartContext& context, OdfConvertedStyles& styles) {
  const OdfEffectiveText base = ParagraphBase(paragraph, context);
  StretchRewriter rewriter(context, styles);
  OdfWhiteSpace space;
  WalkOdfInline(paragraph, base, "", context.names, context.sheet, space, rewriter);
  return rewriter.Finish();
}

void AppendOdfParagraph(pugi::xml_node paragraph, const OdfPartContext& context, Document& document) {
  const OdfEffectiveText base = ParagraphBase(paragraph, context);
  TextCollector collector(context.engine, document);
  OdfWhiteSpace space;
  WalkOdfInline(paragraph, base, "", context.names, context.sheet, space, collector);
  document.Append(u"\r\n", document.Intern(FlatFormat(base)));
}

}  // namespace maravelundi
