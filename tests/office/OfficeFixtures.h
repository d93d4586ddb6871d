#pragma once
// Minimal word processor packages written in the tests from their XML, the
// way Word and LibreOffice lay them out, and readers of what the converter
// made of them.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "package/ZipBuilder.h"

namespace maravelundi::test {

inline constexpr std::string_view kWordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"";

// Set part by part: DocxParts().Body("...").Styles("...").
struct DocxParts {
  std::string body;        // the children of w:body
  std::string styles;      // the children of w:styles; no styles part when empty
  std::string themeFonts;  // the children of a:fontScheme; no theme part when empty
  std::string header;      // the children of w:hdr; no header when empty
  std::string mainContentType = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";

  DocxParts& Body(std::string xml) { return body = std::move(xml), *this; }
  DocxParts& Styles(std::string xml) { return styles = std::move(xml), *this; }
  DocxParts& ThemeFonts(std::string xml) { return themeFonts = std::move(xml), *this; }
  DocxParts& Header(std::string xml) { return header = std::move(xml), *this; }
  DocxParts& MainContentType(std::string type) { return mainContentType = std::move(type), *this; }
};

std::vector<ZipEntry> DocxEntries(const DocxParts& parts);
std::string BuildDocx(const DocxParts& parts);

// Set part by part: OdtParts().Body("...").AutomaticStyles("...").
struct OdtParts {
  std::string body;                 // the children of office:text
  std::string automaticStyles;      // of content.xml
  std::string fontFaces = "<style:font-face style:name=\"rc1\" svg:font-family=\"rc1\"/>"
                          "<style:font-face style:name=\"rc3\" svg:font-family=\"rc3\"/>";
  std::string commonStyles;         // office:styles of styles.xml
  std::string stylesAutomatic;      // office:automatic-styles of styles.xml
  std::string masterStyles;         // office:master-styles of styles.xml
  std::string mimetype = "application/vnd.oasis.opendocument.text";
  std::string bodyKind = "text";  // office:text, office:spreadsheet or office:presentation

  OdtParts& Body(std::string xml) { return body = std::move(xml), *this; }
  OdtParts& AutomaticStyles(std::string xml) { return automaticStyles = std::move(xml), *this; }
  OdtParts& FontFaces(std::string xml) { return fontFaces = std::move(xml), *this; }
  OdtParts& CommonStyles(std::string xml) { return commonStyles = std::move(xml), *this; }
  OdtParts& StylesAutomatic(std::string xml) { return stylesAutomatic = std::move(xml), *this; }
  OdtParts& MasterStyles(std::string xml) { return masterStyles = std::move(xml), *this; }
  OdtParts& Mimetype(std::string type) { return mimetype = std::move(type), *this; }
  // A spreadsheet ("spreadsheet") or a presentation ("presentation").
  OdtParts& Kind(const std::string& kind) {
    bodyKind = kind;
    mimetype = "application/vnd.oasis.opendocument." + kind;
    return *this;
  }
};

std::vector<ZipEntry> OdtEntries(const OdtParts& parts);
std::string BuildOdt(const OdtParts& parts);

// A part of an output package, parsed.
struct ParsedPart {
  pugi::xml_document document;
  pugi::xml_node Root() const { return document.document_element(); }
};
void ParsePart(const std::string& package, std::string_view name, ParsedPart& into);

// The elements named `name` in document order.
std::vector<pugi::xml_node> Descendants(pugi::xml_node root, std::string_view name);

}  // namespace maravelundi::test
