#pragma once
// Where the text of a spreadsheet or a presentation takes its font before
// its paragraph's own style: from the cell it stands in (the cell's style,
// else its row's or column's default cell style, else the "Default" cell
// style of a spreadsheet) or from the shape that holds it (a presentation
// object's style, else its graphic style). A word processor's paragraphs
// take nothing from what holds them, so text documents have none of this.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

#include "office/OdfNames.h"

namespace maravelundi {

// The default cell style of each run of columns, by the column it starts at.
struct ColumnDefault {
  std::uint64_t first;
  std::string style;
};

struct OdfContainerStyle {
  std::string_view family;  // "table-cell", "presentation" or "graphic"
  std::string_view name;
};

class OdfContainerStyles {
 public:
  // Reads the default cell styles of every table under `root`, once.
  OdfContainerStyles(pugi::xml_node root, const OdfNames& names, bool spreadsheet);

  // The style of the cell or shape nearest around the paragraph, if any.
  std::optional<OdfContainerStyle> For(pugi::xml_node paragraph) const;

  // Whether the paragraph is what a spreadsheet cell shows of a value it
  // holds (a number, a date, a formula's result) rather than typed text:
  // the application writes it again from the value, so it is not converted.
  bool ShowsValue(pugi::xml_node paragraph) const;

 private:
  void ReadTable(pugi::xml_node table);
  void ReadRow(pugi::xml_node row, const std::vector<ColumnDefault>& columns);

  const OdfNames& names_;
  bool spreadsheet_;
  // The default cell style of cells that name none, by cell.
  std::unordered_map<const void*, std::string> cellDefaults_;
};

}  // namespace maravelundi
