#include "office/OdfContainerStyles.h"

#include <algorithm>
#include <vector>

namespace maravelundi {
namespace {

constexpr std::string_view kSpreadsheetDefault = "Default";
// Calc writes at most this many columns; a repeat count beyond it is no
// sheet's.
constexpr std::uint64_t kMaxColumns = 1u << 24;

std::uint64_t Repeated(pugi::xml_node node, const XmlNamespace& table, std::string_view attribute) {
  const pugi::xml_attribute repeat = table.Attribute(node, attribute);
  return repeat ? std::clamp<std::uint64_t>(repeat.as_ullong(), 1, kMaxColumns) : 1;
}

bool IsGroup(std::string_view local) {
  return local == "table-columns" || local == "table-header-columns" || local == "table-column-group" ||
         local == "table-rows" || local == "table-header-rows" || local == "table-row-group";
}

std::string_view DefaultAt(const std::vector<ColumnDefault>& columns, std::uint64_t column) {
  auto after = std::upper_bound(columns.begin(), columns.end(), column,
                                [](std::uint64_t c, const ColumnDefault& run) { return c < run.first; });
  return after == columns.begin() ? std::string_view() : std::string_view(std::prev(after)->style);
}

}  // namespace

OdfContainerStyles::OdfContainerStyles(pugi::xml_node root, const OdfNames& names, bool spreadsheet)
    : names_(names), spreadsheet_(spreadsheet) {
  if (!spreadsheet_) return;
  // Tables are found without recursion; each is read once.
  for (pugi::xml_node node = root; node;) {
    if (names_.table.Is(node, "table")) ReadTable(node);
    if (node.first_child() && !names_.table.Is(node, "table")) {
      node = node.first_child();
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
}

// Columns come before rows, either perhaps in groups (header columns and
// rows, column and row groups); cells are not descended into.
void OdfContainerStyles::ReadTable(pugi::xml_node table) {
  std::vector<ColumnDefault> columns;
  std::uint64_t nextColumn = 0;
  pugi::xml_node node = table.first_child();
  while (node) {
    const std::string_view local = names_.table.Local(node.name());
    if (local == "table-column") {
      columns.push_back({nextColumn, names_.table.Attribute(node, "default-cell-style-name").value()});
      nextColumn = std::min(nextColumn + Repeated(node, names_.table, "number-columns-repeated"), kMaxColumns);
    } else if (local == "table-row") {
      ReadRow(node, columns);
    } else if (IsGroup(local) && node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != table && !node.next_sibling()) node = node.parent();
    if (node == table) break;
    node = node.next_sibling();
  }
}

void OdfContainerStyles::ReadRow(pugi::xml_node row, const std::vector<ColumnDefault>& columns) {
  const std::string_view rowDefault = names_.table.Attribute(row, "default-cell-style-name").value();
  std::uint64_t column = 0;
  for (pugi::xml_node cell : row.children()) {
    if (!names_.table.Is(cell, "table-cell") && !names_.table.Is(cell, "covered-table-cell")) continue;
    if (!names_.table.Attribute(cell, "style-name")) {
      const std::string_view style = !rowDefault.empty() ? rowDefault : DefaultAt(columns, column);
      if (!style.empty()) cellDefaults_.emplace(cell.internal_object(), std::string(style));
    }
    column = std::min(column + Repeated(cell, names_.table, "number-columns-repeated"), kMaxColumns);
  }
}

std::optional<OdfContainerStyle> OdfContainerStyles::For(pugi::xml_node paragraph) const {
  for (pugi::xml_node node = paragraph.parent(); node; node = node.parent()) {
    if (names_.office.Is(node, "body") || names_.style.Is(node, "master-page")) break;
    if (names_.table.Is(node, "table-cell") || names_.table.Is(node, "covered-table-cell")) {
      if (const pugi::xml_attribute style = names_.table.Attribute(node, "style-name")) {
        return OdfContainerStyle{"table-cell", style.value()};
      }
      if (const auto found = cellDefaults_.find(node.internal_object()); found != cellDefaults_.end()) {
        return OdfContainerStyle{"table-cell", found->second};
      }
      if (spreadsheet_) return OdfContainerStyle{"table-cell", kSpreadsheetDefault};
      continue;
    }
    if (const pugi::xml_attribute style = names_.presentation.Attribute(node, "style-name")) {
      return OdfContainerStyle{"presentation", style.value()};
    }
    if (const pugi::xml_attribute style = names_.draw.Attribute(node, "style-name")) {
      return OdfContainerStyle{"graphic", style.value()};
    }
  }
  return std::nullopt;
}

bool OdfContainerStyles::ShowsValue(pugi::xml_node paragraph) const {
  if (!spreadsheet_) return false;
  for (pugi::xml_node node = paragraph.parent(); node; node = node.parent()) {
    // A note's or a shape's text is typed text wherever it is anchored.
    if (names_.office.Is(node, "annotation") || !names_.draw.Local(node.name()).empty()) return false;
    if (!names_.table.Is(node, "table-cell")) continue;
    if (names_.table.Attribute(node, "formula")) return true;
    const pugi::xml_attribute type = names_.office.Attribute(node, "value-type");
    return type && std::string_view(type.value()) != "string";
  }
  return false;
}

}  // namespace maravelundi
