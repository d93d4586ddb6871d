#include "office/OdfInline.h"

#include <algorithm>
#include <array>

#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct InlineRow {
  std::string_view local;
  OdfInlineKind kind;
};

// Elements of the text namespace inside a paragraph, by local name; what is
// not listed (notes, fields, ruby, frames of other namespaces) stops the text.
constexpr std::array kTextRows = {
    InlineRow{"span", OdfInlineKind::kSpan},
    InlineRow{"a", OdfInlineKind::kSpan},
    InlineRow{"meta", OdfInlineKind::kSpan},
    InlineRow{"s", OdfInlineKind::kSpaces},
    InlineRow{"tab", OdfInlineKind::kTab},
    InlineRow{"line-break", OdfInlineKind::kLineBreak},
    InlineRow{"bookmark", OdfInlineKind::kMarker},
    InlineRow{"bookmark-start", OdfInlineKind::kMarker},
    InlineRow{"bookmark-end", OdfInlineKind::kMarker},
    InlineRow{"soft-page-break", OdfInlineKind::kMarker},
    InlineRow{"reference-mark", OdfInlineKind::kMarker},
    InlineRow{"reference-mark-start", OdfInlineKind::kMarker},
    InlineRow{"reference-mark-end", OdfInlineKind::kMarker},
    InlineRow{"change", OdfInlineKind::kMarker},
    InlineRow{"change-start", OdfInlineKind::kMarker},
    InlineRow{"change-end", OdfInlineKind::kMarker},
    InlineRow{"toc-mark", OdfInlineKind::kMarker},
    InlineRow{"toc-mark-start", OdfInlineKind::kMarker},
    InlineRow{"toc-mark-end", OdfInlineKind::kMarker},
    InlineRow{"alphabetical-index-mark", OdfInlineKind::kMarker},
    InlineRow{"alphabetical-index-mark-start", OdfInlineKind::kMarker},
    InlineRow{"alphabetical-index-mark-end", OdfInlineKind::kMarker},
    InlineRow{"user-index-mark", OdfInlineKind::kMarker},
    InlineRow{"user-index-mark-start", OdfInlineKind::kMarker},
    InlineRow{"user-index-mark-end", OdfInlineKind::kMarker},
};

bool IsWhiteSpace(char16_t ch) { return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n'; }

}  // namespace

OdfInlineKind ClassifyOdfInline(pugi::xml_node node, const OdfNames& names) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return OdfInlineKind::kText;
  if (node.type() != pugi::node_element) return OdfInlineKind::kMarker;  // comments, instructions
  if (const std::string_view local = names.text.Local(node.name()); !local.empty()) {
    const auto row = std::find_if(kTextRows.begin(), kTextRows.end(), [&](const InlineRow& r) { return r.local == local; });
    return row == kTextRows.end() ? OdfInlineKind::kBoundary : row->kind;
  }
  if (names.office.Local(node.name()) == "annotation-end") return OdfInlineKind::kMarker;
  return OdfInlineKind::kBoundary;
}

std::u16string OdfWhiteSpace::Collapse(std::string_view utf8) {
  std::u16string text;
  for (char16_t ch : FromUtf8(utf8)) {
    if (IsWhiteSpace(ch)) {
      if (!ignoreSpace_) text.push_back(u' ');
      ignoreSpace_ = true;
    } else {
      text.push_back(ch);
      ignoreSpace_ = false;
    }
  }
  return text;
}

void WriteOdfText(pugi::xml_node parent, pugi::xml_node before, std::u16string_view text, const OdfNames& names) {
  const auto insert = [&](pugi::xml_node_type type) {
    return before ? parent.insert_child_before(type, before) : parent.append_child(type);
  };
  const auto element = [&](std::string_view local) {
    const std::string name = names.text.Name(local);
    return before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
  };
  std::u16string pending;
  const auto flush = [&] {
    if (!pending.empty()) insert(pugi::node_pcdata).set_value(ToUtf8(pending).c_str());
    pending.clear();
  };
  for (std::size_t i = 0; i < text.size();) {
    const char16_t ch = text[i];
    if (ch == u' ') {
      std::size_t end = text.find_first_not_of(u' ', i);
      if (end == std::u16string_view::npos) end = text.size();
      std::size_t count = end - i;
      // A space right after a character of ours survives as itself; any
      // other would collapse into what stands before the piece. Spaces that
      // end the piece are elements, after which white space counts again:
      // as text, the white space that follows the piece would collapse into
      // them.
      if (!pending.empty() && pending.back() != u' ' && end < text.size()) {
        pending.push_back(u' ');
        --count;
      }
      if (count > 0) {
        flush();
        pugi::xml_node spaces = element("s");
        if (count > 1) spaces.append_attribute(names.text.Name("c").c_str()).set_value(count);
      }
      i = end;
      continue;
    }
    if (ch == u'\t' || ch == u'\n') {
      flush();
      element(ch == u'\t' ? "tab" : "line-break");
    } else if (ch >= 0x20) {  // no other control character is allowed in XML
      pending.push_back(ch);
    }
    ++i;
  }
  flush();
}

}  // namespace maravelundi
