#include "pdf/PdfLayout.h"

#include <algorithm>
#include <cmath>

#include "pdf/PdfFonts.h"

namespace maravelundi {
namespace {

// A gap between lines larger than this share of a line's height ends the
// paragraph: lines of one paragraph stand a fifth or so of their height
// apart.
constexpr double kParagraphGap = 0.6;
// How far a box's middle may stray from its line's and still be on it.
constexpr double kSameLine = 0.5;

struct Line {
  double left, top, bottom;
  int page;
};

double Middle(const PdfTextBox& box) { return (box.top + box.bottom) / 2; }
double Height(const PdfTextBox& box) { return std::max(box.bottom - box.top, 1.0); }

bool OnLine(const PdfTextBox& box, const Line& line, const PdfTextBox& previous) {
  const double middle = (line.top + line.bottom) / 2;
  return box.page == line.page && std::abs(Middle(box) - middle) < kSameLine * (line.bottom - line.top) &&
         box.left >= previous.left;
}

bool EndsParagraph(const Line& line, const PdfTextBox& next) {
  if (next.page != line.page) return true;
  const double height = std::max(line.bottom - line.top, 1.0);
  if (next.top < line.top) return true;  // up the page: a new column or block
  return next.top - line.bottom > kParagraphGap * height;
}

class DocumentWriter {
 public:
  DocumentWriter(Document& document, const std::string& unicodeFont, PdfLayoutCounts& counts)
      : document_(document), unicodeFont_(unicodeFont), counts_(counts) {}

  void Box(const PdfTextBox& box, const std::optional<std::string>& legacyFont) {
    if (!legacyFont) {
      Append(box.text, std::string(WithoutSubsetPrefix(box.font)));
      return;
    }
    DecodedCodes decoded;
    DecodeCodes(box.text, decoded);
    counts_.legacyCharacters += box.text.size();
    counts_.codes.ambiguous += decoded.ambiguous;
    counts_.codes.unicode += decoded.unicode;
    counts_.codes.unknown += decoded.unknown;
    if (decoded.ambiguous > 0 && (counts_.ambiguousPages.empty() || counts_.ambiguousPages.back() != box.page)) {
      counts_.ambiguousPages.push_back(box.page);
    }
    // Malayalam Unicode a ToUnicode map gave is Unicode already: kept.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= decoded.glyphs.size(); ++i) {
      const bool boundary = i == decoded.glyphs.size() ||
                            (i > start && IsMalayalamUnicode(decoded.glyphs[i]) != IsMalayalamUnicode(decoded.glyphs[start]));
      if (!boundary) continue;
      if (i > start) {
        const std::u16string_view piece = std::u16string_view(decoded.glyphs).substr(start, i - start);
        Append(piece, IsMalayalamUnicode(piece.front()) ? unicodeFont_ : *legacyFont);
      }
      start = i;
    }
  }

  // A space between words and lines goes in the font of the text before it.
  void Space() { Append(u" ", lastFont_); }
  void ParagraphEnd() { Append(u"\r\n", lastFont_); }

 private:
  void Append(std::u16string_view text, const std::string& font) {
    if (text.empty()) return;
    CharFormat format;
    format.fontName = font;
    document_.Append(text, document_.Intern(format));
    lastFont_ = font;
  }

  Document& document_;
  const std::string& unicodeFont_;
  PdfLayoutCounts& counts_;
  std::string lastFont_;
};

}  // namespace

namespace {

// The boxes of one line, and where it stands.
struct LaidLine {
  std::size_t first, end;  // into the boxes
  double left, right, top, bottom;
  int page;
};

std::vector<LaidLine> Lines(const std::vector<PdfTextBox>& boxes) {
  std::vector<LaidLine> lines;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const PdfTextBox& box = boxes[i];
    if (!lines.empty()) {
      LaidLine& line = lines.back();
      const Line shape{line.left, line.top, line.bottom, line.page};
      if (OnLine(box, shape, boxes[line.end - 1])) {
        line.end = i + 1;
        line.right = std::max(line.right, box.right);
        line.top = std::min(line.top, box.top);
        line.bottom = std::max(line.bottom, box.bottom);
        continue;
      }
    }
    lines.push_back(LaidLine{i, i + 1, box.left, box.right, box.top, box.top + Height(box), box.page});
  }
  return lines;
}

// Where each column's lines reach on the right: the widest of the lines
// that follow one another down a page, one left edge under another.
std::vector<double> ColumnRights(const std::vector<LaidLine>& lines) {
  std::vector<double> rights(lines.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i <= lines.size(); ++i) {
    const bool breaks = i == lines.size() ||
                        (i > start && (lines[i].page != lines[i - 1].page || lines[i].top < lines[i - 1].top ||
                                       lines[i].left > lines[i - 1].right || lines[i].right < lines[i - 1].left));
    if (!breaks) continue;
    double right = 0;
    for (std::size_t j = start; j < i; ++j) right = std::max(right, lines[j].right);
    for (std::size_t j = start; j < i; ++j) rights[j] = right;
    start = i;
  }
  return rights;
}

// A line that stops short of its column's right edge by more than a few
// characters ends its paragraph, as one does in justified or ragged text.
constexpr double kShortLine = 3.0;  // line heights

}  // namespace

Document LayOutPdfText(const std::vector<PdfTextBox>& boxes,
                       const std::function<std::optional<std::string>(const std::string&)>& legacyFontOf,
                       const std::string& unicodeFont, PdfLayoutCounts& counts) {
  Document document;
  DocumentWriter writer(document, unicodeFont, counts);
  const std::vector<LaidLine> lines = Lines(boxes);
  const std::vector<double> rights = ColumnRights(lines);
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const LaidLine& line = lines[l];
    for (std::size_t b = line.first; b < line.end; ++b) {
      if (b > line.first && boxes[b - 1].spaceAfter) writer.Space();
      writer.Box(boxes[b], legacyFontOf(boxes[b].font));
    }
    const double height = line.bottom - line.top;
    const bool last = l + 1 == lines.size();
    const bool shortLine = rights[l] - line.right > kShortLine * height;
    if (last || shortLine || EndsParagraph(Line{line.left, line.top, line.bottom, line.page}, boxes[lines[l + 1].first])) {
      writer.ParagraphEnd();
    } else {
      // The library sees no space at a line's end: a line is taken to be
      // wrapped at a space, as text mostly is. (A word wrapped inside, after
      // a character a line may break after, gets a space too.)
      writer.Space();
    }
  }
  return document;
}

}  // namespace maravelundi
