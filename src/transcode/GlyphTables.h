#pragma once
// The twelve glyph tables of the Rachana fonts, two generations of six fonts,
// described once: which fonts each serves, its rows and its no-match result.
// Stage one, the tests and the tools all find the tables here.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "transcode/FontTable.h"

namespace maravelundi {

// kAuto reads each font name as the generation it belongs to, so that a
// document typed in both converts whole.
enum class Generation { kVersion2, kVersion7, kAuto };

struct GlyphTableDescriptor {
  std::string_view name;              // "MapV2Font1" ... "MapV7Font6"
  Generation generation;              // kVersion2 or kVersion7
  std::array<std::string_view, 2> fontNames;  // lower case: "ra1" and "rkr1", ...
  std::span<const GlyphRow> rows;
  NoMatch noMatch;
};

// Version 2's six tables, then version 7's, each generation in font order.
extern const std::array<GlyphTableDescriptor, 12> kGlyphTables;

// The lookup table built from a descriptor of kGlyphTables, once.
const FontTable& GlyphTable(const GlyphTableDescriptor& descriptor);

// The descriptor of a table by its name, or nullptr.
const GlyphTableDescriptor* FindGlyphTable(std::string_view name);

// A table's result for a glyph string: only a single listed glyph character
// matches a row; anything else gets the table's no-match result.
std::u16string MapGlyph(const GlyphTableDescriptor& descriptor, std::u16string_view glyph);

}  // namespace maravelundi
