#include "unicode/UnicodeOutputs.h"

#include <cstdio>
#include <string>

#include "richtext/GlyphString.h"
#include "unicode/Utf8Builder.h"

namespace maravelundi {
namespace {

// Characters an HTML document may not contain: controls other than tab and
// line ends, and the noncharacters.
bool ForbiddenInHtml(char16_t ch) {
  return (ch < 0x20 && ch != u'\t') || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0xFDD0 && ch <= 0xFDEF) || ch >= 0xFFFE;
}

std::string EscapeAttribute(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '"') out += "&quot;";
    else if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else out.push_back(c);
  }
  return out;
}

// The tags that give one run its format, and the ones that end it.
struct RunTags {
  std::string open, close;
};

RunTags TagsFor(const CharFormat& format) {
  RunTags tags;
  std::string style;
  if (format.halfPoints != 24) {
    style += "font-size:" + std::to_string(format.halfPoints / 2) + (format.halfPoints % 2 ? ".5pt" : "pt");
  }
  if (format.colour) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", format.colour->red, format.colour->green, format.colour->blue);
    style += std::string(style.empty() ? "" : ";") + "color:" + colour;
  }
  if (!style.empty()) {
    tags.open += "<span style=\"" + style + "\">";
    tags.close = "</span>" + tags.close;
  }
  if (format.bold) tags.open += "<b>", tags.close = "</b>" + tags.close;
  if (format.italic) tags.open += "<i>", tags.close = "</i>" + tags.close;
  if (format.underline) tags.open += "<u>", tags.close = "</u>" + tags.close;
  return tags;
}

// A browser shows no empty line after a paragraph's last <br>, so a
// paragraph that ends in a line break gets one more to keep that line.
std::string_view ParagraphEnd(bool endsInLineBreak) { return endsInLineBreak ? "<br></p>\n" : "</p>\n"; }

}  // namespace

void WriteUnicodeText(const Document& unicode, ByteSink& sink) {
  Utf8Builder out(&sink);
  const std::u16string_view text = unicode.Text();
  // Line by line: the LF of a CR LF ends the line, its CR goes.
  std::size_t begin = 0;
  for (std::size_t cr = text.find(u'\r'); cr != std::u16string_view::npos; cr = text.find(u'\r', cr + 1)) {
    if (cr + 1 >= text.size() || text[cr + 1] != u'\n') continue;
    out.Append(text.substr(begin, cr - begin));
    begin = cr + 1;
  }
  out.Append(text.substr(begin));
  out.Finish();
}

void WriteHtml5(const Document& unicode, std::string_view title, std::string_view unicodeFont, ByteSink& sink) {
  Utf8Builder out(&sink);
  out.AppendAscii("<!DOCTYPE html>\n<html lang=\"ml\">\n<head>\n<meta charset=\"utf-8\">\n<title>");
  for (char16_t ch : FromUtf8(title)) out.AppendEscaped(ForbiddenInHtml(ch) ? u'\uFFFD' : ch);
  out.AppendAscii("</title>\n<style>body { font-family: \"");
  out.AppendAscii(EscapeAttribute(unicodeFont));
  out.AppendAscii("\", sans-serif; }</style>\n</head>\n<body>\n");

  const std::u16string& text = unicode.Text();
  bool inParagraph = false;
  bool endsInLineBreak = false;
  for (std::size_t r = 0; r < unicode.Runs().size(); ++r) {
    const RunTags tags = TagsFor(unicode.Format(unicode.Runs()[r].format));
    bool tagsOpen = false;
    const std::size_t end = unicode.RunEnd(r);
    for (std::size_t i = unicode.Runs()[r].begin; i < end; ++i) {
      const char16_t ch = text[i];
      if (ch == u'\n' && i > 0 && text[i - 1] == u'\r') continue;  // the rest of a paragraph end
      if (ch == u'\r') {
        // A paragraph ends; an empty one still counts, and holds a line
        // break as editors write it, so that it keeps its height.
        if (tagsOpen) out.AppendAscii(tags.close), tagsOpen = false;
        out.AppendAscii(inParagraph ? ParagraphEnd(endsInLineBreak) : "<p><br></p>\n");
        inParagraph = false;
        continue;
      }
      if (!inParagraph) out.AppendAscii("<p>"), inParagraph = true;
      endsInLineBreak = ch == u'\n';
      if (ch == u'\n') {
        out.AppendAscii("<br>");
        continue;
      }
      if (!tagsOpen) out.AppendAscii(tags.open), tagsOpen = true;
      out.AppendEscaped(ForbiddenInHtml(ch) ? u'\uFFFD' : ch);
    }
    if (tagsOpen) out.AppendAscii(tags.close);
  }
  if (inParagraph) out.AppendAscii(ParagraphEnd(endsInLineBreak));
  out.AppendAscii("</body>\n</html>\n");
  out.Finish();
}

}  // namespace maravelundi
