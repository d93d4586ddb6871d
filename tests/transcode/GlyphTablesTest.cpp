// The twelve glyph tables: sizes, no-match results, the shape every value
// keeps, rows checked by hand, and a dump of every table over all 256 codes
// against a reviewed golden file, so that any change to a row shows.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <stdexcept>
#include <sstream>

#include "TestDocuments.h"
#include "transcode/GlyphTables.h"

namespace maravelundi {
namespace {

using testing::Codes;
using testing::Hex;

struct TableFacts {
  const char* name;
  std::size_t rows;
  std::size_t identityRows;
  NoMatch noMatch;
};

const TableFacts kTables[] = {
    {"MapV2Font1", 139, 71, NoMatch::kEmpty},
    {"MapV2Font2", 184, 3, NoMatch::kEmpty},
    {"MapV2Font3", 182, 3, NoMatch::kEmpty},
    {"MapV2Font4", 181, 3, NoMatch::kEmpty},
    {"MapV2Font5", 182, 3, NoMatch::kEmpty},
    {"MapV2Font6", 87, 3, NoMatch::kEmpty},
    {"MapV7Font1", 137, 67, NoMatch::kInput},
    {"MapV7Font2", 171, 5, NoMatch::kSpace},
    {"MapV7Font3", 181, 5, NoMatch::kSpace},
    {"MapV7Font4", 181, 4, NoMatch::kSpace},
    {"MapV7Font5", 175, 5, NoMatch::kSpace},
    {"MapV7Font6", 131, 5, NoMatch::kSpace},
};

const FontTable& TableOf(const TableFacts& facts) {
  const GlyphTableDescriptor* descriptor = FindGlyphTable(facts.name);
  if (descriptor == nullptr) throw std::logic_error(std::string("no table ") + facts.name);
  return GlyphTable(*descriptor);
}

std::u16string Lookup(const TableFacts& facts, std::u16string_view glyph) {
  return MapGlyph(*FindGlyphTable(facts.name), glyph);
}

bool IsVersion2(const TableFacts& facts) { return std::string_view(facts.name).starts_with("MapV2"); }

TEST(GlyphTables, SizesKeysAndIdentityRows) {
  for (const TableFacts& facts : kTables) {
    SCOPED_TRACE(facts.name);
    const FontTable& table = TableOf(facts);
    EXPECT_EQ(table.RowCount(), facts.rows);
    EXPECT_EQ(table.NoMatchResult(), facts.noMatch);
    std::set<int> keys;
    std::size_t identity = 0;
    for (const GlyphRow& row : table.Rows()) {
      EXPECT_TRUE(keys.insert(row.key).second) << "key repeats: " << std::hex << int(row.key);
      EXPECT_LE(row.codes.size(), 6u);
      if (row.codes.size() == 1 && static_cast<std::uint8_t>(row.codes[0]) == row.key) ++identity;
    }
    EXPECT_EQ(identity, facts.identityRows);
  }
}

TEST(GlyphTables, NoMatchResultsAndControlCodes) {
  for (const TableFacts& facts : kTables) {
    SCOPED_TRACE(facts.name);
    for (const char* code : {"20", "0A", "0D"}) EXPECT_EQ(Lookup(facts, Codes(code)), Codes(code)) << code;
    // Tab and the break mark have no row in any table.
    for (const char* code : {"09", "2D"}) {
      const std::u16string input = Codes(code);
      const std::u16string expected = facts.noMatch == NoMatch::kEmpty ? u""
                                      : facts.noMatch == NoMatch::kSpace ? u" " : input;
      EXPECT_EQ(Lookup(facts, input), expected) << code;
    }
    // Inputs that are not one listed code: empty, two codes, a character no
    // code stands for, and the raw U+0093 (code 0x93 arrives as U+201C).
    for (const std::u16string& input : {std::u16string(), Codes("49 49"), std::u16string(u"\u0D15"),
                                        std::u16string(u"\u0093")}) {
      const std::u16string expected = facts.noMatch == NoMatch::kEmpty ? u""
                                      : facts.noMatch == NoMatch::kSpace ? u" " : input;
      EXPECT_EQ(Lookup(facts, input), expected) << Hex(input);
    }
  }
}

// The sign codes keep their places in every value: 'p', 'q', 'r' only last,
// after a base; '{' right before a base; 'v' joins two codes, never at an end.
TEST(GlyphTables, ValuesKeepTheirShape) {
  std::size_t breakMarksV2 = 0, breakMarksAfterViramaV2 = 0, breakMarksV7 = 0;
  for (const TableFacts& facts : kTables) {
    SCOPED_TRACE(facts.name);
    // Font 1 holds the signs themselves as single codes, so only the other
    // fonts' values are built around a base.
    const bool builtOnBases = !std::string_view(facts.name).ends_with("Font1");
    for (const GlyphRow& row : TableOf(facts).Rows()) {
      const std::string_view v = row.codes;
      for (std::size_t k = 0; k < v.size(); ++k) {
        const auto c = static_cast<std::uint8_t>(v[k]);
        if (c == 0x2D) {
          (IsVersion2(facts) ? breakMarksV2 : breakMarksV7)++;
          if (IsVersion2(facts) && k > 0 && v[k - 1] == 0x76) ++breakMarksAfterViramaV2;
        }
        if (!builtOnBases) continue;
        const bool last = k + 1 == v.size();
        if (c >= 0x70 && c <= 0x72) {
          EXPECT_TRUE(last) << "key " << int(row.key);
        } else if (c == 0x7B) {
          EXPECT_TRUE(!last && (k == 0 || v[k - 1] == 0x76)) << "key " << int(row.key);
        } else if (c == 0x76) {
          EXPECT_TRUE(k > 0 && !last) << "key " << int(row.key);
        }
      }
    }
  }
  EXPECT_EQ(breakMarksV2, 66u);
  EXPECT_EQ(breakMarksAfterViramaV2, 65u);
  EXPECT_EQ(breakMarksV7, 2u);  // only font 1's vocalic L and LL; conjuncts carry none
}

// Rows checked by hand against the listing, several from every table,
// including the ones that break their neighbours' pattern.
TEST(GlyphTables, SpotRows) {
  struct Row {
    const char* table;
    const char* key;
    const char* value;
  };
  const Row rows[] = {
      {"MapV2Font1", "41", "41"}, {"MapV2Font1", "61", "61"}, {"MapV2Font1", "60", ""},
      {"MapV2Font1", "6C", "64"}, {"MapV2Font1", "6D", "76"}, {"MapV2Font1", "7A", "79 70"},
      {"MapV2Font1", "93", "93"}, {"MapV2Font1", "92", "91"}, {"MapV2Font1", "C6", "62 76 2D A1"},
      {"MapV2Font1", "F8", "29"}, {"MapV2Font1", "23", ""},
      {"MapV2Font2", "39", "49 76 2D 5C"}, {"MapV2Font2", "3A", "49 76 5C 70"}, {"MapV2Font2", "28", "7B A1"},
      {"MapV2Font2", "69", "4B 76 7B B2"}, {"MapV2Font2", "82", "2C"}, {"MapV2Font2", "FB", "A4 72"},
      {"MapV2Font3", "21", "55 76 61"}, {"MapV2Font3", "CD", "5C 70"}, {"MapV2Font3", "F8", "B3 64 70"},
      {"MapV2Font3", "2F", ""},
      {"MapV2Font4", "6D", "5F 50 70"}, {"MapV2Font4", "6E", "5F 50 71"}, {"MapV2Font4", "3F", "5D 76 7B 6B"},
      {"MapV2Font4", "C8", ""}, {"MapV2Font4", "FB", "5E 76 6B 71"},
      {"MapV2Font5", "D1", "6B 76 76 7B 53 71"}, {"MapV2Font5", "92", "2D 65 76 58 72"},
      {"MapV2Font5", "45", "68 76 66 70"}, {"MapV2Font5", "C8", "6B 76 7B 49 70"}, {"MapV2Font5", "64", "C8 71"},
      {"MapV2Font6", "A1", ""}, {"MapV2Font6", "7B", ""}, {"MapV2Font6", "F9", "39"}, {"MapV2Font6", "92", "7B CC"},
      {"MapV7Font1", "94", "27 27"}, {"MapV7Font1", "F4", "FE"}, {"MapV7Font1", "7E", "7E"},
      {"MapV7Font1", "CC", "76 2D 66"}, {"MapV7Font1", "CD", "66 2D 6E"}, {"MapV7Font1", "22", "27"},
      {"MapV7Font1", "60", "22"}, {"MapV7Font1", "FB", "76"},
      {"MapV7Font2", "39", "49 76 5C"}, {"MapV7Font2", "22", "27 27"}, {"MapV7Font2", "91", "20"},
      {"MapV7Font2", "3C", "49 76 61"}, {"MapV7Font2", "2F", "FE"},
      {"MapV7Font3", "36", "57 76 54"}, {"MapV7Font3", "94", "27 27"}, {"MapV7Font3", "CD", "20"},
      {"MapV7Font4", "61", ""}, {"MapV7Font4", "6D", "5F 50 70"}, {"MapV7Font4", "93", "5D 71"},
      {"MapV7Font5", "D1", "6B 76 76 7B 53 71"}, {"MapV7Font5", "45", "68 76 66 70"}, {"MapV7Font5", "BB", "20"},
      {"MapV7Font6", "D1", "5D 76 58"}, {"MapV7Font6", "FC", "5C 70"}, {"MapV7Font6", "6A", "20"},
      {"MapV7Font6", "60", "22"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Hex(MapGlyph(*FindGlyphTable(row.table), Codes(row.key))), Hex(Codes(row.value)))
        << row.table << " key " << row.key;
  }
}

// Every table over every code, one line a code: "MapV2Font2 39 -> 49 76 2D 5C".
std::string DumpTables() {
  std::ostringstream out;
  for (const TableFacts& facts : kTables) {
    for (int code = 0; code < 256; ++code) {
      const std::u16string input(1, GlyphChar(static_cast<std::uint8_t>(code)));
      char key[8];
      std::snprintf(key, sizeof key, "%02X", code);
      out << facts.name << ' ' << key << " -> " << Hex(Lookup(facts, input)) << '\n';
    }
  }
  return out.str();
}

TEST(GlyphTables, MatchGoldenDump) {
  const std::string path = MARAVELUNDI_SOURCE_DIR "/tests/transcode/golden/glyph-tables.txt";
  const std::string dump = DumpTables();
  if (std::getenv("MARAVELUNDI_REGENERATE_GOLDEN") != nullptr) std::ofstream(path, std::ios::binary) << dump;
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path << "; regenerate with MARAVELUNDI_REGENERATE_GOLDEN=1 and review it";
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(golden.str(), dump);
}

}  // namespace
}  // namespace maravelundi
