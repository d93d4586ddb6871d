#include "office/WordInline.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "office/ConvertedFonts.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct InlineRow {
  std::string_view local;
  InlineKind kind;
};

// Children of a paragraph by local name; what is not listed stops the text.
constexpr std::array kInlineRows = {
    InlineRow{"r", InlineKind::kRun},
    InlineRow{"hyperlink", InlineKind::kContainer},
    InlineRow{"fldSimple", InlineKind::kContainer},
    InlineRow{"smartTag", InlineKind::kContainer},
    InlineRow{"customXml", InlineKind::kContainer},
    InlineRow{"ins", InlineKind::kContainer},
    InlineRow{"moveTo", InlineKind::kContainer},
    InlineRow{"dir", InlineKind::kContainer},
    InlineRow{"bdo", InlineKind::kContainer},
    InlineRow{"sdt", InlineKind::kContentControl},
    InlineRow{"del", InlineKind::kDeleted},
    InlineRow{"moveFrom", InlineKind::kDeleted},
    InlineRow{"pPr", InlineKind::kMarker},
    InlineRow{"bookmarkStart", InlineKind::kMarker},
    InlineRow{"bookmarkEnd", InlineKind::kMarker},
    InlineRow{"proofErr", InlineKind::kMarker},
    InlineRow{"permStart", InlineKind::kMarker},
    InlineRow{"permEnd", InlineKind::kMarker},
    InlineRow{"commentRangeStart", InlineKind::kMarker},
    InlineRow{"commentRangeEnd", InlineKind::kMarker},
    InlineRow{"moveFromRangeStart", InlineKind::kMarker},
    InlineRow{"moveFromRangeEnd", InlineKind::kMarker},
    InlineRow{"moveToRangeStart", InlineKind::kMarker},
    InlineRow{"moveToRangeEnd", InlineKind::kMarker},
    InlineRow{"customXmlInsRangeStart", InlineKind::kMarker},
    InlineRow{"customXmlInsRangeEnd", InlineKind::kMarker},
    InlineRow{"customXmlDelRangeStart", InlineKind::kMarker},
    InlineRow{"customXmlDelRangeEnd", InlineKind::kMarker},
};

struct RunChildRow {
  std::string_view local;
  RunChildKind kind;
};

constexpr std::array kRunChildRows = {
    RunChildRow{"rPr", RunChildKind::kProperties},
    RunChildRow{"t", RunChildKind::kText},
    RunChildRow{"delText", RunChildKind::kText},
    RunChildRow{"tab", RunChildKind::kTab},
    RunChildRow{"cr", RunChildKind::kLineBreak},
    RunChildRow{"br", RunChildKind::kLineBreak},
    RunChildRow{"sym", RunChildKind::kSymbol},
    RunChildRow{"lastRenderedPageBreak", RunChildKind::kDroppable},
};

template <typename Row, std::size_t N>
const Row* FindRow(const std::array<Row, N>& rows, std::string_view local) {
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.local == local; });
  return found == rows.end() ? nullptr : &*found;
}

// Appends to the last segment when the font is the same.
void Append(RunText& into, char16_t ch, std::string_view font) {
  if (into.segments.empty() || into.segments.back().font != font) into.segments.push_back(TextSegment{{}, font});
  into.segments.back().text.push_back(ch);
}

}  // namespace

InlineKind ClassifyInline(pugi::xml_node node, const XmlNamespace& w) {
  const std::string_view local = w.Local(node.name());
  if (local.empty()) return InlineKind::kBoundary;
  const InlineRow* row = FindRow(kInlineRows, local);
  return row == nullptr ? InlineKind::kBoundary : row->kind;
}

RunChildKind ClassifyRunChild(pugi::xml_node child, const XmlNamespace& w) {
  if (child.type() != pugi::node_element) return RunChildKind::kDroppable;  // whitespace between elements
  const std::string_view local = w.Local(child.name());
  const RunChildRow* row = local.empty() ? nullptr : FindRow(kRunChildRows, local);
  if (row == nullptr) return RunChildKind::kOther;
  if (local == "br") {
    const std::string_view type = w.Attribute(child, "type").value();
    if (!type.empty() && type != "textWrapping") return RunChildKind::kOther;  // a page or column break
  }
  return row->kind;
}

RunTextReader::RunTextReader(const WordRunProperties& effective, const XmlNamespace& w, FontClassifier& fonts)
    : effective_(effective), w_(w), fonts_(fonts) {
  for (std::size_t slot = 0; slot < slotFonts_.size(); ++slot) {
    if (effective.fonts[slot]) slotFonts_[slot] = *effective.fonts[slot];
    converted_[slot] = fonts.Converted(slotFonts_[slot]);
  }
}

void RunTextReader::Read(pugi::xml_node child, RunChildKind kind, RunText& into) const {
  const std::string_view lineFont = slotFonts_[static_cast<std::size_t>(FontSlot::kAscii)];
  switch (kind) {
    case RunChildKind::kText: ReadText(child.child_value(), into); break;
    case RunChildKind::kTab: Append(into, u'\t', lineFont); break;
    case RunChildKind::kLineBreak: Append(into, u'\n', lineFont); break;
    case RunChildKind::kSymbol: ReadSymbol(child, into); break;
    case RunChildKind::kProperties:
    case RunChildKind::kDroppable:
    case RunChildKind::kOther: break;
  }
}

void RunTextReader::ReadText(std::string_view utf8, RunText& into) const {
  for (char16_t ch : FromUtf8(utf8)) {
    const auto slot = static_cast<std::size_t>(SlotOfCharacter(ch, effective_));
    into.hasLegacyText |= converted_[slot];
    Append(into, converted_[slot] ? GlyphOfStoredChar(ch) : ch, slotFonts_[slot]);
  }
}

void RunTextReader::ReadSymbol(pugi::xml_node sym, RunText& into) const {
  const std::string_view font = w_.Attribute(sym, "font").value();
  const std::string_view hex = w_.Attribute(sym, "char").value();
  unsigned code = 0;
  if (std::from_chars(hex.data(), hex.data() + hex.size(), code, 16).ec != std::errc() || code > 0xFFFF) return;
  const bool converted = fonts_.Converted(font);
  into.hasLegacyText |= converted;
  Append(into, converted ? GlyphOfSymbolCode(code) : static_cast<char16_t>(code), font);
}

RunText ReadRunText(pugi::xml_node run, const WordRunProperties& effective, const XmlNamespace& w,
                    FontClassifier& fonts) {
  const RunTextReader reader(effective, w, fonts);
  RunText text;
  for (pugi::xml_node child : run.children()) reader.Read(child, ClassifyRunChild(child, w), text);
  return text;
}

}  // namespace maravelundi
