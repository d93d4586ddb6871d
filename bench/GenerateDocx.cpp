#include "GenerateDocx.h"

#include <zip.h>

#include <string_view>

#include "GenerateDocument.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"

namespace maravelundi::bench {
namespace {

constexpr std::string_view kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";

constexpr std::string_view kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/></Relationships>";

}  // namespace

void AppendEscaped(std::string& xml, char16_t ch) {
  switch (ch) {
    case u'&': xml += "&amp;"; return;
    case u'<': xml += "&lt;"; return;
    case u'>': xml += "&gt;"; return;
    default: break;
  }
  if (ch < 0x20) return;  // no control character may stand in XML text
  AppendUtf8(xml, ch);
}

namespace {

void AppendRun(std::string& xml, const std::string& font, std::u16string_view text) {
  xml += "<w:r><w:rPr><w:rFonts w:ascii=\"";
  xml += font;
  xml += "\" w:hAnsi=\"";
  xml += font;
  xml += "\"/></w:rPr><w:t xml:space=\"preserve\">";
  for (const char16_t ch : text) AppendEscaped(xml, ch);
  xml += "</w:t></w:r>";
}

}  // namespace

std::string GenerateDocumentXml(Generation generation, std::size_t textBytes, std::uint64_t seed) {
  const Document document = ReadRtf(GenerateRtf(generation, textBytes, seed)).document;
  const std::u16string& text = document.Text();
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body><w:p>";
  const auto& runs = document.Runs();
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::string& font = document.Format(runs[r].format).fontName;
    std::size_t begin = runs[r].begin;
    const std::size_t end = document.RunEnd(r);
    // A paragraph end inside a run closes the w:p and goes on in a new one.
    for (std::size_t at = begin; at < end; ++at) {
      if (text[at] != u'\r') continue;
      if (at > begin) AppendRun(xml, font, std::u16string_view(text).substr(begin, at - begin));
      xml += "</w:p><w:p>";
      begin = at + 1;
    }
    if (end > begin) AppendRun(xml, font, std::u16string_view(text).substr(begin, end - begin));
  }
  xml += "</w:p></w:body></w:document>";
  return xml;
}

bool WritePackage(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& parts) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (archive == nullptr) return false;
  for (const auto& [name, bytes] : parts) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

bool WriteDocx(const std::filesystem::path& path, const std::string& documentXml) {
  return WritePackage(path, {{"[Content_Types].xml", std::string(kContentTypes)},
                             {"_rels/.rels", std::string(kRelationships)},
                             {"word/document.xml", documentXml}});
}

}  // namespace maravelundi::bench
