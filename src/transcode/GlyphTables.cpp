#include "transcode/GlyphTables.h"

#include <algorithm>
#include <vector>

#include "transcode/GlyphRowsVersion2.h"
#include "transcode/GlyphRowsVersion7.h"

namespace maravelundi {

using namespace glyph_rows;

// The first font of version 2 and of version 7 differ in what an unlisted
// code gives: nothing in version 2, the code itself in version 7's first
// font, a space in version 7's other fonts.
const std::array<GlyphTableDescriptor, 12> kGlyphTables = {{
    {"MapV2Font1", Generation::kVersion2, {"ra1", "rkr1"}, kMapV2Font1Rows, NoMatch::kEmpty},
    {"MapV2Font2", Generation::kVersion2, {"ra2", "rkr2"}, kMapV2Font2Rows, NoMatch::kEmpty},
    {"MapV2Font3", Generation::kVersion2, {"ra3", "rkr3"}, kMapV2Font3Rows, NoMatch::kEmpty},
    {"MapV2Font4", Generation::kVersion2, {"ra4", "rkr4"}, kMapV2Font4Rows, NoMatch::kEmpty},
    {"MapV2Font5", Generation::kVersion2, {"ra5", "rkr5"}, kMapV2Font5Rows, NoMatch::kEmpty},
    {"MapV2Font6", Generation::kVersion2, {"ra6", "rkr6"}, kMapV2Font6Rows, NoMatch::kEmpty},
    {"MapV7Font1", Generation::kVersion7, {"rc1", "rl1"}, kMapV7Font1Rows, NoMatch::kInput},
    {"MapV7Font2", Generation::kVersion7, {"rc2", "rl2"}, kMapV7Font2Rows, NoMatch::kSpace},
    {"MapV7Font3", Generation::kVersion7, {"rc3", "rl3"}, kMapV7Font3Rows, NoMatch::kSpace},
    {"MapV7Font4", Generation::kVersion7, {"rc4", "rl4"}, kMapV7Font4Rows, NoMatch::kSpace},
    {"MapV7Font5", Generation::kVersion7, {"rc5", "rl5"}, kMapV7Font5Rows, NoMatch::kSpace},
    {"MapV7Font6", Generation::kVersion7, {"rc6", "rl6"}, kMapV7Font6Rows, NoMatch::kSpace},
}};

const FontTable& GlyphTable(const GlyphTableDescriptor& descriptor) {
  // Built on first use from the descriptor's rows; the descriptors live as
  // long as the program, and so do these.
  static const std::vector<FontTable> tables = [] {
    std::vector<FontTable> built;
    built.reserve(kGlyphTables.size());
    for (const GlyphTableDescriptor& table : kGlyphTables) built.emplace_back(table.rows, table.noMatch);
    return built;
  }();
  return tables[static_cast<std::size_t>(&descriptor - kGlyphTables.data())];
}

const GlyphTableDescriptor* FindGlyphTable(std::string_view name) {
  const auto found = std::find_if(kGlyphTables.begin(), kGlyphTables.end(),
                                  [name](const GlyphTableDescriptor& table) { return table.name == name; });
  return found == kGlyphTables.end() ? nullptr : &*found;
}

std::u16string MapGlyph(const GlyphTableDescriptor& descriptor, std::u16string_view glyph) {
  return std::u16string(GlyphTable(descriptor).Lookup(glyph));
}

}  // namespace maravelundi
