#include "GenerateWorkbook.h"

#include <map>

#include "GenerateDocument.h"
#include "GenerateDocx.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"

namespace maravelundi::bench {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationshipTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::size_t kColumns = 10;
constexpr std::size_t kLongestString = 60;

std::string ColumnName(std::size_t column) { return std::string(1, static_cast<char>('A' + column)); }

struct CellString {
  std::size_t style;
  std::u16string text;
};

// The document's runs cut into strings of at most kLongestString characters,
// each with the cell style of its font (style 0 is Calibri's).
std::vector<CellString> StringsOf(const Document& document, std::map<std::string, std::size_t>& styleOfFont) {
  std::vector<CellString> strings;
  const std::u16string& text = document.Text();
  for (std::size_t r = 0; r < document.Runs().size(); ++r) {
    const std::string& font = document.Format(document.Runs()[r].format).fontName;
    const std::size_t style = styleOfFont.emplace(font, styleOfFont.size() + 1).first->second;
    for (std::size_t at = document.Runs()[r].begin; at < document.RunEnd(r); at += kLongestString) {
      std::u16string piece = text.substr(at, std::min(kLongestString, document.RunEnd(r) - at));
      std::erase_if(piece, [](char16_t c) { return c < 0x20; });
      if (!piece.empty()) strings.push_back({style, std::move(piece)});
    }
  }
  return strings;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> GenerateWorkbookParts(Generation generation, std::size_t cells,
                                                                       std::uint64_t seed) {
  std::map<std::string, std::size_t> styleOfFont;
  const Document document = ReadRtf(GenerateRtf(generation, cells * 40, seed)).document;
  const std::vector<CellString> strings = StringsOf(document, styleOfFont);

  std::string shared = std::string(kDeclaration) + "<sst xmlns=\"" + std::string(kMain) + "\">";
  for (const CellString& string : strings) {
    shared += "<si><t xml:space=\"preserve\">";
    for (const char16_t c : string.text) AppendEscaped(shared, c);
    shared += "</t></si>";
  }
  shared += "</sst>";

  std::string sheet = std::string(kDeclaration) + "<worksheet xmlns=\"" + std::string(kMain) + "\"><sheetData>";
  std::size_t next = 0;
  for (std::size_t cell = 0; cell < cells; ++cell) {
    const std::size_t row = cell / kColumns + 1, column = cell % kColumns;
    if (column == 0) sheet += (cell > 0 ? "</row><row r=\"" : "<row r=\"") + std::to_string(row) + "\">";
    const std::string reference = ColumnName(column) + std::to_string(row);
    if (column % 5 == 4 || strings.empty()) {
      sheet += "<c r=\"" + reference + "\"><v>" + std::to_string(cell * 7 % 1000) + "</v></c>";
      continue;
    }
    const CellString& string = strings[next % strings.size()];
    sheet += "<c r=\"" + reference + "\" s=\"" + std::to_string(string.style) + "\" t=\"s\"><v>" +
             std::to_string(next % strings.size()) + "</v></c>";
    ++next;
  }
  sheet += cells > 0 ? "</row></sheetData></worksheet>" : "</sheetData></worksheet>";

  std::string styles = std::string(kDeclaration) + "<styleSheet xmlns=\"" + std::string(kMain) +
                       "\"><fonts count=\"" + std::to_string(styleOfFont.size() + 1) +
                       "\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>";
  std::vector<std::string> fontOfStyle(styleOfFont.size() + 1);
  for (const auto& [font, style] : styleOfFont) fontOfStyle[style] = font;
  for (std::size_t style = 1; style < fontOfStyle.size(); ++style) {
    styles += "<font><sz val=\"12\"/><name val=\"" + fontOfStyle[style] + "\"/></font>";
  }
  styles += "</fonts><cellXfs count=\"" + std::to_string(fontOfStyle.size()) + "\">";
  for (std::size_t style = 0; style < fontOfStyle.size(); ++style) {
    styles += "<xf numFmtId=\"0\" fontId=\"" + std::to_string(style) + "\" applyFont=\"1\"/>";
  }
  styles += "</cellXfs></styleSheet>";

  return {
      {"[Content_Types].xml",
       std::string(kDeclaration) +
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
           "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd."
           "openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>"},
      {"_rels/.rels", std::string(kDeclaration) +
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"" + std::string(kRelationshipTypes) +
                          "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", std::string(kDeclaration) + "<workbook xmlns=\"" + std::string(kMain) +
                              "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                              "<sheets><sheet name=\"Register\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       std::string(kDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"" + std::string(kRelationshipTypes) +
           "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
           std::string(kRelationshipTypes) + "styles\" Target=\"styles.xml\"/><Relationship Id=\"rId3\" Type=\"" +
           std::string(kRelationshipTypes) + "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
      {"xl/styles.xml", std::move(styles)},
      {"xl/sharedStrings.xml", std::move(shared)},
      {"xl/worksheets/sheet1.xml", std::move(sheet)},
  };
}

}  // namespace maravelundi::bench
