#include "pdf/PdfLayout.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "families/LegacyEncoding.h"
#include "office/ConvertedFonts.h"
#include "pdf/PdfFonts.h"
#include "plaintext/PlainTextFont.h"
#include "plaintext/WordLanguage.h"
#include "richtext/GlyphString.h"

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

// A space is about a quarter of a line's height wide; a gap of a line's
// height between two boxes of a line is no space but a table's cells.
constexpr double kSpaceWidth = 0.25;
constexpr double kCellGap = 1.0;

// The boxes of one line, and where it stands.
struct LaidLine {
  std::size_t first, end;  // into the boxes
  double left, right, top, bottom;
  int page;
  bool cells = false;  // boxes stand apart as a table's cells do
};

std::vector<LaidLine> Lines(const std::vector<PdfTextBox>& boxes) {
  std::vector<LaidLine> lines;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const PdfTextBox& box = boxes[i];
    if (!lines.empty()) {
      LaidLine& line = lines.back();
      const Line shape{line.left, line.top, line.bottom, line.page};
      if (OnLine(box, shape, boxes[line.end - 1])) {
        line.cells |= box.left - boxes[line.end - 1].right > kCellGap * (line.bottom - line.top);
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
    // A table's row says nothing of where the text beside it reaches.
    double right = 0;
    for (std::size_t j = start; j < i; ++j) {
      if (!lines[j].cells) right = std::max(right, lines[j].right);
    }
    for (std::size_t j = start; j < i; ++j) rights[j] = lines[j].cells ? lines[j].right : right;
    start = i;
  }
  return rights;
}

// Text of a symbol font, in private-use characters. A producer's line
// breaker sees no space among them (LibreOffice breaks such text only at
// the few ASCII characters it holds, never at its spaces): a line ends
// inside a word unless it ends in a space, and the spaces between words
// stand in the lines' text.
bool InSymbolForm(const PdfTextBox& box) {
  return std::any_of(box.text.begin(), box.text.end(), [](char16_t c) { return c >= 0xF020 && c <= 0xF0FF; });
}

bool EndsInSpace(const PdfTextBox& box) {
  return !box.text.empty() && (box.text.back() == u' ' || box.text.back() == 0xF020);
}

// Where a line breaker may break inside a word of a legacy font's codes,
// which put letters at characters that are punctuation to it: after a
// backslash (ML-TT's NA), and before an acute accent or a currency sign
// (pound, cent), as LibreOffice breaks lines. These are the characters as
// the PDF gives them: of a symbol font's text only the backslash stays one
// (LibreOffice keeps the ASCII characters Rich Text escapes as themselves).
// An opening bracket or an inverted exclamation or question mark is no such
// place: no line breaks between a letter and an opening mark.
bool BreaksAfter(char16_t ch) { return ch == u'\\'; }
bool BreaksBefore(char16_t ch) { return ch == 0x00B4 || ch == 0x00A3 || ch == 0x00A2; }

// Characters before which a line breaker never breaks, even after a space
// (closing brackets and punctuation): a word beginning with one goes with
// the word before it. ML-TT's codes put PA at "]".
bool NoBreakBefore(char16_t ch) {
  return std::u16string_view(u"])}!?,.:;/%").find(ch) != std::u16string_view::npos;
}

// How many of a box's first characters a line breaker could not part: up
// to a space (but a symbol font's), or to a break inside a word.
std::size_t UnbreakableLength(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u' ' || text[i] == 0x00A0) return i;
    if (i > 0 && BreaksBefore(text[i])) return i;
    if (BreaksAfter(text[i])) return i + 1;
  }
  return text.size();
}

// Where the box's first `count` characters end on the right: as the library
// measured each character, or else the box's share by characters.
double RightOfFirst(const PdfTextBox& box, std::size_t count) {
  if (count == 0) return box.left;
  if (box.charRights.size() == box.text.size()) return box.charRights[count - 1];
  return box.left + (box.right - box.left) * static_cast<double>(count) / static_cast<double>(box.text.size());
}

// The width of what the producer could not break in the next line's
// beginning: its first word, up to the first place a line may break inside
// it, with the words after it that begin where no line may break.
double FirstUnitWidth(const std::vector<PdfTextBox>& boxes, const LaidLine& next) {
  const PdfTextBox& first = boxes[next.first];
  const std::size_t unbreakable = UnbreakableLength(first.text);
  if (unbreakable < first.text.size()) return RightOfFirst(first, unbreakable) - first.left;
  double right = first.right;
  for (std::size_t b = next.first + 1; b < next.end && !boxes[b].text.empty() &&
                                       NoBreakBefore(GlyphOfStoredChar(boxes[b].text.front()));
       ++b) {
    right = boxes[b].right;
  }
  return right - first.left;
}

// The library sees no line's end as a space or a break, so why a line
// ended is judged from where it stops. Had the next line's first unbreakable
// run fitted (after a space, but in a symbol font's text, whose spaces are
// in its lines), a producer filling lines would have set it there: the line
// ended its paragraph. Otherwise it was wrapped.
bool NextWordWouldHaveFitted(const LaidLine& line, const PdfTextBox& end, double columnRight,
                             const std::vector<PdfTextBox>& boxes, const LaidLine& next) {
  const double space = InSymbolForm(end) ? 0.0 : kSpaceWidth * (line.bottom - line.top);
  return columnRight - line.right > space + FirstUnitWidth(boxes, next);
}

// A line breaker that finds no place to break a full line breaks it
// anywhere. A symbol font's line that ends where no line may break and
// stops short of its column by more than a character (a line's height is
// wider than any) was no such line: it ended its paragraph.
bool StopsShortWithoutBreak(const LaidLine& line, const PdfTextBox& end, double columnRight) {
  return InSymbolForm(end) && !end.text.empty() && !BreaksAfter(end.text.back()) &&
         columnRight - line.right > line.bottom - line.top;
}

// The glyph a legacy font's box begins or ends with, as its family's
// encoding reads it; none for a font of no family encoding (a Rachana
// font) or no text.
const LegacyGlyph* GlyphAt(const PdfTextBox& box, const std::optional<std::string>& font, bool last) {
  if (!font || box.text.empty()) return nullptr;
  const LegacyEncoding* encoding = FindLegacyEncoding(*font);
  if (encoding == nullptr && IsMlttFontName(*font)) encoding = &LegacyEncodings().front();
  const std::optional<std::uint8_t> code = GlyphCode(GlyphOfStoredChar(last ? box.text.back() : box.text.front()));
  return encoding != nullptr && code ? &encoding->Glyph(*code) : nullptr;
}

bool IsDependentSign(char16_t ch) {
  return ch == 0x0D02 || ch == 0x0D03 || (ch >= 0x0D3E && ch <= 0x0D4D) || ch == 0x0D57 || ch == 0x0D62 ||
         ch == 0x0D63;
}

// What the glyphs say of a wrapped line: a word does not end in a sign
// typed before its consonant, nor begin with a sign that follows one (a
// vowel sign, a virama, a YA or VA sign). A line that ends or begins so was
// wrapped inside a word (after a character a line may break after, which
// legacy fonts' codes are full of), and the two parts are one word.
bool GlyphsJoin(const PdfTextBox& last, const std::optional<std::string>& lastFont, const PdfTextBox& first,
                const std::optional<std::string>& firstFont) {
  if (const LegacyGlyph* end = GlyphAt(last, lastFont, true)) {
    if (end->role == GlyphRole::kPreBaseSign || end->role == GlyphRole::kRaSign) return true;
  }
  const LegacyGlyph* begin = GlyphAt(first, firstFont, false);
  if (begin == nullptr || begin->role == GlyphRole::kPreBaseSign || begin->role == GlyphRole::kRaSign) return false;
  return begin->role == GlyphRole::kVirama || begin->role == GlyphRole::kMedialSign ||
         (!begin->text.empty() && IsDependentSign(begin->text.front()));
}

// Glyph characters of a legacy font's codes as the PDF gives them.
std::u16string GlyphsOf(std::u16string_view text) {
  DecodedCodes decoded;
  DecodeCodes(text, decoded);
  return std::move(decoded.glyphs);
}

// A line that ends where a line breaker may break inside a word, or whose
// next line begins so, was wrapped there or at a space the PDF does not
// show. What the glyphs draw decides: the two parts as one Malayalam word,
// or as two, whichever the model of Malayalam words finds likelier.
bool WrappedInsideWord(const PdfTextBox& last, const std::optional<std::string>& lastFont, const PdfTextBox& first,
                       const std::optional<std::string>& firstFont) {
  if (!lastFont || lastFont != firstFont || last.text.empty() || first.text.empty()) return false;
  if (!BreaksAfter(last.text.back()) && !BreaksBefore(first.text.front())) return false;
  const std::optional<PlainTextFont> font = FindPlainTextFont(*lastFont);
  if (!font) return false;
  const std::u16string_view lastText(last.text);
  const std::u16string_view firstText(first.text);
  const std::size_t space = lastText.find_last_of(u' ');
  const std::u16string before = GlyphsOf(space == std::u16string_view::npos ? lastText : lastText.substr(space + 1));
  const std::u16string after = GlyphsOf(firstText.substr(0, firstText.find(u' ')));
  const double apart = ReadAsMalayalam(*font, before).log2 + ReadAsMalayalam(*font, after).log2;
  return ReadAsMalayalam(*font, before + after).log2 > apart;
}

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
      // A space the library saw, or a gap wider than a space: the next cell
      // of a table row.
      if (b > line.first && (boxes[b - 1].spaceAfter ||
                             boxes[b].left - boxes[b - 1].right > kCellGap * (line.bottom - line.top))) {
        writer.Space();
      }
      writer.Box(boxes[b], legacyFontOf(boxes[b].font));
    }
    const bool last = l + 1 == lines.size();
    if (last) {
      writer.ParagraphEnd();
      continue;
    }
    const PdfTextBox& end = boxes[line.end - 1];
    const PdfTextBox& next = boxes[lines[l + 1].first];
    if (EndsParagraph(Line{line.left, line.top, line.bottom, line.page}, next) ||
        NextWordWouldHaveFitted(line, end, rights[l], boxes, lines[l + 1]) ||
        StopsShortWithoutBreak(line, end, rights[l])) {
      writer.ParagraphEnd();
    } else if (InSymbolForm(end) ? EndsInSpace(end) || end.spaceAfter
                                 : !EndsInSpace(end) &&
                                       !GlyphsJoin(end, legacyFontOf(end.font), next, legacyFontOf(next.font)) &&
                                       !WrappedInsideWord(end, legacyFontOf(end.font), next,
                                                          legacyFontOf(next.font))) {
      // Wrapped at a space, as text mostly is; a symbol font's line was
      // wrapped inside a word unless a space ends it. (A word another
      // font's line was wrapped inside where the glyphs do not say so gets
      // a space: there is no telling.)
      if (!EndsInSpace(end)) writer.Space();
    }
  }
  return document;
}

}  // namespace maravelundi
