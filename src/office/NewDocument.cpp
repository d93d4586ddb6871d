#include "office/NewDocument.h"

#include <cstdio>
#include <map>
#include <vector>

#include "package/NewPackage.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// Text for an XML attribute or element.
std::string Escaped(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

bool IsMalayalam(std::u16string_view text) {
  for (const char16_t ch : text) {
    if (ch >= 0x0D00 && ch <= 0x0D7F) return true;
  }
  return false;
}

// XML holds no control character but tab and the line ends.
bool Writable(char16_t ch) { return ch >= 0x20 || ch == u'\t' || ch == u'\n'; }

// The document's paragraphs, each a list of runs of one format.
struct Span {
  std::u16string_view text;
  const CharFormat* format;
};
using Paragraph = std::vector<Span>;

std::vector<Paragraph> Paragraphs(const Document& document) {
  std::vector<Paragraph> paragraphs(1);
  const std::u16string_view text = document.Text();
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    const CharFormat& format = document.Format(document.Runs()[r].format);
    std::size_t begin = document.Runs()[r].begin;
    const std::size_t end = document.RunEnd(r);
    for (std::size_t i = begin; i < end; ++i) {
      if (text[i] != u'\r') continue;
      if (i > begin) paragraphs.back().push_back({text.substr(begin, i - begin), &format});
      paragraphs.emplace_back();
      begin = i + (i + 1 < end && text[i + 1] == u'\n' ? 2 : 1);
      i = begin - 1;
    }
    if (end > begin) paragraphs.back().push_back({text.substr(begin, end - begin), &format});
  }
  if (paragraphs.size() > 1 && paragraphs.back().empty()) paragraphs.pop_back();  // the last paragraph's end
  return paragraphs;
}

std::string Hex(const Rgb& colour) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", colour.red, colour.green, colour.blue);
  return hex;
}

// --- WordprocessingML ---

std::string WordRunProperties(const CharFormat& format, bool malayalam) {
  const std::string font = Escaped(format.fontName);
  std::string rPr = "<w:rPr>";
  if (!font.empty()) rPr += "<w:rFonts w:ascii=\"" + font + "\" w:hAnsi=\"" + font + "\" w:cs=\"" + font + "\"/>";
  if (format.bold) rPr += "<w:b/><w:bCs/>";
  if (format.italic) rPr += "<w:i/><w:iCs/>";
  if (format.colour) rPr += "<w:color w:val=\"" + Hex(*format.colour) + "\"/>";
  const std::string size = std::to_string(format.halfPoints);
  rPr += "<w:sz w:val=\"" + size + "\"/><w:szCs w:val=\"" + size + "\"/>";
  if (format.underline) rPr += "<w:u w:val=\"single\"/>";
  if (malayalam) rPr += "<w:cs/>";
  return rPr + "</w:rPr>";
}

std::string WordRunText(std::u16string_view text) {
  std::string out;
  std::u16string pending;
  const auto flush = [&] {
    if (pending.empty()) return;
    out += "<w:t xml:space=\"preserve\">" + Escaped(ToUtf8(pending)) + "</w:t>";
    pending.clear();
  };
  for (const char16_t ch : text) {
    if (ch == u'\t' || ch == u'\n') {
      flush();
      out += ch == u'\t' ? "<w:tab/>" : "<w:br/>";
    } else if (Writable(ch)) {
      pending.push_back(ch);
    }
  }
  flush();
  return out;
}

std::string WordBody(const Document& document) {
  std::string body;
  for (const Paragraph& paragraph : Paragraphs(document)) {
    body += "<w:p>";
    for (const Span& span : paragraph) {
      body += "<w:r>" + WordRunProperties(*span.format, IsMalayalam(span.text)) + WordRunText(span.text) + "</w:r>";
    }
    body += "</w:p>";
  }
  return body;
}

constexpr std::string_view kWordNamespace = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string CoreProperties(std::string_view title) {
  return std::string(kDeclaration) +
         "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>" +
         Escaped(title) + "</dc:title></cp:coreProperties>";
}

// --- OpenDocument ---

// The automatic style of each distinct format and script, by name.
class OdfTextStyles {
 public:
  const std::string& NameOf(const CharFormat& format, bool malayalam) {
    const auto key = std::make_pair(&format, malayalam);
    const auto found = names_.find(key);
    if (found != names_.end()) return found->second;
    const std::string name = "T" + std::to_string(names_.size() + 1);
    styles_ += "<style:style style:name=\"" + name + "\" style:family=\"text\"><style:text-properties" +
               Properties(format, malayalam) + "/></style:style>";
    if (!format.fontName.empty()) fonts_.emplace(format.fontName, true);
    return names_.emplace(key, name).first->second;
  }

  const std::string& Styles() const { return styles_; }

  std::string FontFaces() const {
    std::string faces;
    for (const auto& [font, used] : fonts_) {
      const std::string name = Escaped(font);
      faces += "<style:font-face style:name=\"" + name + "\" svg:font-family=\"" +
               (font.find(' ') == std::string::npos ? name : "&apos;" + name + "&apos;") + "\"/>";
    }
    return faces;
  }

 private:
  static std::string Properties(const CharFormat& format, bool malayalam) {
    std::string out;
    const std::string font = Escaped(format.fontName);
    const std::string size = std::to_string(format.halfPoints / 2) + (format.halfPoints % 2 ? ".5pt" : "pt");
    if (!font.empty()) out += " style:font-name=\"" + font + "\"";
    out += " fo:font-size=\"" + size + "\"";
    if (format.bold) out += " fo:font-weight=\"bold\"";
    if (format.italic) out += " fo:font-style=\"italic\"";
    if (format.underline) out += " style:text-underline-style=\"solid\" style:text-underline-width=\"auto\" style:text-underline-color=\"font-color\"";
    if (format.colour) out += " fo:color=\"#" + Hex(*format.colour) + "\"";
    if (malayalam) {
      if (!font.empty()) out += " style:font-name-complex=\"" + font + "\"";
      out += " style:font-size-complex=\"" + size + "\"";
      out += std::string(" style:font-weight-complex=\"") + (format.bold ? "bold" : "normal") + "\"";
      out += std::string(" style:font-style-complex=\"") + (format.italic ? "italic" : "normal") + "\"";
    }
    return out;
  }

  std::map<std::pair<const CharFormat*, bool>, std::string> names_;
  std::map<std::string, bool> fonts_;
  std::string styles_;
};

// Text as a word processor reads it back: runs of spaces after the first as
// text:s, and a space that begins the paragraph too; tabs and line breaks as
// elements.
std::string OdfText(std::u16string_view text, bool& afterSpace) {
  std::string out;
  std::u16string pending;
  const auto flush = [&] {
    if (!pending.empty()) out += Escaped(ToUtf8(pending));
    pending.clear();
  };
  for (std::size_t i = 0; i < text.size();) {
    const char16_t ch = text[i];
    if (ch == u' ') {
      std::size_t end = i;
      while (end < text.size() && text[end] == u' ') ++end;
      std::size_t count = end - i;
      if (!afterSpace) {
        pending.push_back(u' ');
        --count;
      }
      if (count > 0) {
        flush();
        out += count == 1 ? "<text:s/>" : "<text:s text:c=\"" + std::to_string(count) + "\"/>";
      }
      afterSpace = true;
      i = end;
      continue;
    }
    if (ch == u'\t' || ch == u'\n') {
      flush();
      out += ch == u'\t' ? "<text:tab/>" : "<text:line-break/>";
      afterSpace = false;
    } else if (Writable(ch)) {
      pending.push_back(ch);
      afterSpace = false;
    }
    ++i;
  }
  flush();
  return out;
}

constexpr std::string_view kOdfNamespaces =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
    "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
    "xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" office:version=\"1.3\"";

}  // namespace

Outcome<std::string> WriteNewDocx(const Document& document, std::string_view title) {
  const std::string types =
      std::string(kDeclaration) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/word/document.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
      "<Override PartName=\"/docProps/core.xml\" "
      "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/></Types>";
  const std::string rels =
      std::string(kDeclaration) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"" + std::string(kRelationships) + "/officeDocument\" Target=\"word/document.xml\"/>"
      "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
      "core-properties\" Target=\"docProps/core.xml\"/></Relationships>";
  const std::string main = std::string(kDeclaration) + "<w:document xmlns:w=\"" + std::string(kWordNamespace) +
                           "\"><w:body>" + WordBody(document) + "</w:body></w:document>";
  return BuildPackage({{"[Content_Types].xml", types, false},
                       {"_rels/.rels", rels, false},
                       {"word/document.xml", main, false},
                       {"docProps/core.xml", CoreProperties(title), false}});
}

Outcome<std::string> WriteNewOdt(const Document& document, std::string_view title) {
  OdfTextStyles styles;
  std::string body;
  for (const Paragraph& paragraph : Paragraphs(document)) {
    body += "<text:p>";
    bool afterSpace = true;  // at the paragraph's start a space collapses
    for (const Span& span : paragraph) {
      body += "<text:span text:style-name=\"" + styles.NameOf(*span.format, IsMalayalam(span.text)) + "\">" +
              OdfText(span.text, afterSpace) + "</text:span>";
    }
    body += "</text:p>";
  }
  const std::string content = std::string(kDeclaration) + "<office:document-content " + std::string(kOdfNamespaces) +
                              "><office:font-face-decls>" + styles.FontFaces() +
                              "</office:font-face-decls><office:automatic-styles>" + styles.Styles() +
                              "</office:automatic-styles><office:body><office:text>" + body +
                              "</office:text></office:body></office:document-content>";
  const std::string meta = std::string(kDeclaration) + "<office:document-meta " + std::string(kOdfNamespaces) +
                           "><office:meta><dc:title>" + Escaped(title) + "</dc:title></office:meta></office:document-meta>";
  const std::string manifest =
      std::string(kDeclaration) +
      "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\">"
      "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
      "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
      "<manifest:file-entry manifest:full-path=\"meta.xml\" manifest:media-type=\"text/xml\"/>"
      "</manifest:manifest>";
  return BuildPackage({{"mimetype", "application/vnd.oasis.opendocument.text", true},
                       {"META-INF/manifest.xml", manifest, false},
                       {"content.xml", content, false},
                       {"meta.xml", meta, false}});
}

}  // namespace maravelundi
