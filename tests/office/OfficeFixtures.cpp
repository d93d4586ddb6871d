#include "office/OfficeFixtures.h"

#include <stdexcept>

namespace maravelundi::test {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string WordContentTypes(const DocxParts& parts) {
  std::string types = std::string(kDeclaration) +
                      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                      "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                      "<Override PartName=\"/word/document.xml\" ContentType=\"" + parts.mainContentType + "\"/>";
  if (!parts.styles.empty()) {
    types += "<Override PartName=\"/word/styles.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>";
  }
  if (!parts.header.empty()) {
    types += "<Override PartName=\"/word/header1.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/>";
  }
  return types + "</Types>";
}

std::string WordRelationships(const DocxParts& parts) {
  constexpr std::string_view kType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  std::string rels = std::string(kDeclaration) +
                     "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  const auto add = [&](std::string_view id, std::string_view type, std::string_view target) {
    rels += "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + std::string(kType) + std::string(type) +
            "\" Target=\"" + std::string(target) + "\"/>";
  };
  if (!parts.styles.empty()) add("rId1", "styles", "styles.xml");
  if (!parts.themeFonts.empty()) add("rId2", "theme", "theme/theme1.xml");
  if (!parts.header.empty()) add("rId3", "header", "header1.xml");
  add("rId4", "image", "media/image1.png");
  return rels + "</Relationships>";
}

}  // namespace

std::vector<ZipEntry> DocxEntries(const DocxParts& parts) {
  std::vector<ZipEntry> entries = {
      {"[Content_Types].xml", WordContentTypes(parts)},
      {"_rels/.rels", std::string(kDeclaration) +
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                          "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
      {"word/document.xml", std::string(kDeclaration) + "<w:document " + std::string(kWordNamespaces) + "><w:body>" +
                                parts.body + "</w:body></w:document>"},
      {"word/_rels/document.xml.rels", WordRelationships(parts)},
      {"word/media/image1.png", LiteralBytes("\x89PNG\r\n\x1a\n not really a picture, but bytes to keep")},
  };
  if (!parts.styles.empty()) {
    entries.push_back({"word/styles.xml", std::string(kDeclaration) + "<w:styles " + std::string(kWordNamespaces) +
                                              ">" + parts.styles + "</w:styles>"});
  }
  if (!parts.themeFonts.empty()) {
    entries.push_back({"word/theme/theme1.xml",
                       std::string(kDeclaration) +
                           "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"T\">"
                           "<a:themeElements><a:fontScheme name=\"F\">" + parts.themeFonts +
                           "</a:fontScheme></a:themeElements></a:theme>"});
  }
  if (!parts.header.empty()) {
    entries.push_back({"word/header1.xml", std::string(kDeclaration) + "<w:hdr " + std::string(kWordNamespaces) +
                                               ">" + parts.header + "</w:hdr>"});
  }
  return entries;
}

std::string BuildDocx(const DocxParts& parts) { return BuildZip(DocxEntries(parts)); }

namespace {

constexpr std::string_view kOdfNamespaces =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\" "
    "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
    "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" "
    "xmlns:xlink=\"http://www.w3.org/1999/xlink\" office:version=\"1.3\"";

}  // namespace

std::vector<ZipEntry> OdtEntries(const OdtParts& parts) {
  return {
      {"mimetype", parts.mimetype, true},
      {"content.xml", std::string(kDeclaration) + "<office:document-content " + std::string(kOdfNamespaces) +
                          "><office:font-face-decls>" + parts.fontFaces + "</office:font-face-decls>"
                          "<office:automatic-styles>" + parts.automaticStyles + "</office:automatic-styles>"
                          "<office:body><office:" + parts.bodyKind + ">" + parts.body + "</office:" + parts.bodyKind +
                          "></office:body>"
                          "</office:document-content>"},
      {"styles.xml", std::string(kDeclaration) + "<office:document-styles " + std::string(kOdfNamespaces) +
                         "><office:font-face-decls>" + parts.fontFaces + "</office:font-face-decls>"
                         "<office:styles>" + parts.commonStyles + "</office:styles>"
                         "<office:automatic-styles>" + parts.stylesAutomatic + "</office:automatic-styles>"
                         "<office:master-styles>" + parts.masterStyles + "</office:master-styles>"
                         "</office:document-styles>"},
      {"Pictures/image1.png", LiteralBytes("\x89PNG\r\n\x1a\n a picture's bytes")},
      {"META-INF/manifest.xml",
       std::string(kDeclaration) +
           "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
           "manifest:version=\"1.3\"><manifest:file-entry manifest:full-path=\"/\" "
           "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
           "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
           "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
           "</manifest:manifest>"},
  };
}

std::string BuildOdt(const OdtParts& parts) { return BuildZip(OdtEntries(parts)); }

void ParsePart(const std::string& package, std::string_view name, ParsedPart& into) {
  const std::string bytes = ReadEntry(package, name);
  if (!into.document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata)) {
    throw std::runtime_error("the part " + std::string(name) + " does not parse");
  }
}

std::vector<pugi::xml_node> Descendants(pugi::xml_node root, std::string_view name) {
  std::vector<pugi::xml_node> found;
  for (const pugi::xpath_node& node : root.select_nodes(("descendant-or-self::" + std::string(name)).c_str())) {
    found.push_back(node.node());
  }
  // select_nodes keeps document order for a single axis step.
  return found;
}

}  // namespace maravelundi::test
