#pragma once
// The inline content of a WordprocessingML paragraph: which children hold
// runs (hyperlinks, simple fields, smart tags, content controls, insertions),
// which hold deleted text, which are mere markers that text flows across
// (bookmarks, proofing marks, comment ranges) and which stop the flow of text
// (math, alternate content, anything not known here). Inside a run, which
// children are text (w:t, w:tab, a line break, w:sym) and which are other
// content (drawings, field characters, note references, page breaks), which
// never moves.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "convert/FontClassifier.h"
#include "office/WordRunProperties.h"
#include "office/XmlNamespace.h"

namespace maravelundi {

enum class InlineKind { kRun, kContainer, kContentControl, kDeleted, kMarker, kBoundary };
InlineKind ClassifyInline(pugi::xml_node node, const XmlNamespace& w);

enum class RunChildKind {
  kProperties,
  kText,       // w:t, w:delText
  kTab,
  kLineBreak,  // w:cr, and w:br that breaks a line (not a page or column)
  kSymbol,     // w:sym: a character of its own font
  kDroppable,  // w:lastRenderedPageBreak: a layout cache that Word rebuilds
  kOther,
};
RunChildKind ClassifyRunChild(pugi::xml_node child, const XmlNamespace& w);
inline bool IsTextual(RunChildKind kind) { return kind != RunChildKind::kOther; }

// Characters of a run in the font each is drawn in; the characters of
// converted fonts already read as glyph characters.
struct TextSegment {
  std::u16string text;
  std::string_view font;  // into the run's effective properties or the XML
};

struct RunText {
  std::vector<TextSegment> segments;
  bool hasLegacyText = false;  // a character (not a tab or break) in a converted font
};

// Reads the text of a run's textual children, one child at a time, each
// character in the font of the slot Word draws it from. The fonts of the
// run's slots, and whether each is converted, are looked up once per run.
class RunTextReader {
 public:
  RunTextReader(const WordRunProperties& effective, const XmlNamespace& w, FontClassifier& fonts);
  // Appends the text of `child`, of kind `kind`, to `into`.
  void Read(pugi::xml_node child, RunChildKind kind, RunText& into) const;

 private:
  void ReadText(std::string_view utf8, RunText& into) const;
  void ReadSymbol(pugi::xml_node sym, RunText& into) const;

  const WordRunProperties& effective_;
  const XmlNamespace& w_;
  FontClassifier& fonts_;
  std::array<std::string_view, 4> slotFonts_;
  std::array<bool, 4> converted_{};
};

// The text of all the run's textual children.
RunText ReadRunText(pugi::xml_node run, const WordRunProperties& effective, const XmlNamespace& w,
                    FontClassifier& fonts);

// Visits the runs of a paragraph (or of a container in it) in order; a
// visitor has Run(node, deleted), Boundary(), EnterDeleted(), LeaveDeleted().
template <typename Visitor>
void WalkInline(pugi::xml_node parent, const XmlNamespace& w, Visitor& visitor, bool deleted = false) {
  for (pugi::xml_node child = parent.first_child(); child;) {
    // The visitor may split the run into runs after it, or rewrite the runs
    // before it; the node after it stays where it is.
    const pugi::xml_node next = child.next_sibling();
    if (child.type() == pugi::node_element) {
      switch (ClassifyInline(child, w)) {
        case InlineKind::kRun: visitor.Run(child, deleted); break;
        case InlineKind::kContainer: WalkInline(child, w, visitor, deleted); break;
        case InlineKind::kContentControl: WalkInline(w.Child(child, "sdtContent"), w, visitor, deleted); break;
        case InlineKind::kDeleted:
          visitor.EnterDeleted();
          WalkInline(child, w, visitor, true);
          visitor.LeaveDeleted();
          break;
        case InlineKind::kMarker: break;
        case InlineKind::kBoundary: visitor.Boundary(); break;
      }
    }
    child = next;
  }
}

}  // namespace maravelundi
