// The generated glyph tables, family by family: how many codes each maps, how
// many fonts use it, and rows chosen from the public maps, among them the rows
// whose keys are Mac Roman characters and the rows the generator corrects.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "families/LegacyEncoding.h"
#include "richtext/GlyphString.h"
#include "unicode/GlyphToEntity.h"

namespace maravelundi {
namespace {

struct SpotRow {
  std::uint8_t code;
  std::u16string_view text;  // legacy spelling: chillus as consonant, virama, ZWJ
};

struct FamilyCase {
  std::string_view encoding;
  std::size_t mappedCodes;  // keys of the map(s), plus codes the corrections fill
  std::size_t fonts;        // names index.json gives the map(s)
  std::vector<SpotRow> rows;
};

// Rows shared by the ML-TT layout, checked in every family of that layout.
const std::vector<SpotRow> kMlttLayoutRows = {
    {0x20, u""},                          // the space is in no map
    {0x41, u"അ"},
    {0x49, u"ക"},
    {0x73, u"\u0D46"},                    // E sign
    {0x7B, u"\u0D4D\u0D30"},              // RA sign
    {0xA1, u"ക്ക"},
    {0xC0, u"ര\u0D4D\u200D"},             // chillu RR
    {0xC1, u"റ്റ"},                        // "ററ" in most maps: corrected
    {0xDE, u"ണ്ഡ"},                        // "ണ്ധ" in the maps: corrected
    {0xFE, u"-"},
};

std::vector<FamilyCase> Families() {
  return {
      {"ML-TT", 171, 65, {{0x24, u"x"}, {0xE5, u"ന്"}, {0xE6, u"കു"}, {0x7D, u"\u0D4D\u0D2F\u0D42"},
                          {0xF2, u"ന്മ"}, {0xE8, u"രേ"}, {0x80, u""}}},
      {"ML", 159, 66, {{0x23, u""}, {0xE5, u"നു"}, {0xB6, u"ന്ന"}, {0xBD, u"മ്മ"}, {0xDB, u"ത്ഭ"},
                       {0xCA, u"സ്സ"}, {0xB3, u"ന\u0D4D\u200D"}, {0xE6, u""}}},
      {"ML-TT Sarada", 160, 1, {{0xB6, u""}, {0xF3, u"ന്ന"}, {0xF0, u"ല\u0D4D\u200D"}, {0xE5, u"ന്"},
                                {0x7C, u""}}},
      {"ML-TT Aswathi", 161, 2, {{0xB5, u"ന്ദ"}, {0xD4, u"ന്ധ"}, {0x24, u"$"}, {0x7C, u"~"}, {0xE5, u"ന്"}}},
      {"ML Surya", 160, 2, {{0xB7, u"ന്മ"}, {0xE5, u"നു"}, {0x24, u"x"}}},
      {"ML-TT Mayoori", 160, 1, {{0x24, u"."}, {0xE5, u"നു"}, {0xB6, u"ന്ന"}}},
      {"MLB-TT", 160, 10, {{0xF4, u"ഞ്ച"}, {0xEF, u"ണ്ട"}, {0xF1, u"ല്ല"}, {0xA9, u""}, {0xE5, u"നു"}}},
      {"MLB-TT Ambili BoldItalic", 161, 1, {{0xC2, u"ല\u0D4D\u200D"}, {0xC4, u"ള\u0D4D\u200D"}, {0x9F, u"+"}}},
      {"GIST-MLTT", 171, 3, {{0x7C, u"\u0D4D\u0D2F\u0D41"}, {0x7D, u"\u0D4D\u0D2F\u0D42"}, {0xE5, u"ല്പ"},
                             {0xE8, u"ങ്കു"}, {0xEC, u"ന്നു"}, {0xEE, u"൹"}, {0xD9, u"ന്ഥ"}}},
  };
}

// The layout with Malayalam from 0x81 up and Latin letters where ASCII has them.
std::vector<FamilyCase> HighHalfFamilies() {
  return {
      {"MLB", 217, 10, {{0x61, u"a"}, {0x7A, u"z"}, {0x5C, u"\\"}, {0x7C, u"|"}, {0x81, u"അ"}, {0x8E, u"ച"},
                        {0x9D, u"പ"}, {0xFC, u"പ"}, {0xF0, u"സ്ഥ"}, {0xCA, u"ണ്ട"}, {0xA1, u"ബ"},
                        {0xF6, u"ണ്ഡ"}, {0xD8, u"മ്പ"}, {0xFF, u""}}},
      {"MLB-TT Revathi BoldItalic", 217, 1, {{0x61, u"a"}, {0x8E, u"ച"}, {0xFC, u"ച"}, {0x9D, u"പ"},
                                             {0xF0, u"സ്ഥ"}, {0xBD, u"\u0D4D\u0D30"}, {0xDC, u"ര\u0D4D\u200D"}}},
      {"ML-TT Surya", 216, 3, {{0x8E, u"ച"}, {0xFC, u""}, {0x9D, u"പ"}, {0xF6, u"ണ്ഡ"}, {0xFD, u"ഫ"},
                               {0x89, u"ക"}, {0xDC, u"ര\u0D4D\u200D"}, {0xB5, u"\u0D46"}, {0x20, u""}}},
  };
}

std::size_t MappedCodes(const LegacyEncoding& encoding) {
  std::size_t count = 0;
  for (const LegacyGlyph& glyph : encoding.glyphs) count += !glyph.text.empty();
  return count;
}

std::size_t FontsUsing(const LegacyEncoding& encoding) {
  std::size_t count = 0;
  for (const LegacyFontName& font : KnownLegacyFonts()) count += font.encoding == &encoding;
  return count;
}

void ExpectFamily(const FamilyCase& family, const std::vector<SpotRow>& layoutRows) {
  SCOPED_TRACE(std::string(family.encoding));
  const LegacyEncoding* encoding = FindLegacyEncodingByName(family.encoding);
  ASSERT_NE(encoding, nullptr);
  EXPECT_EQ(MappedCodes(*encoding), family.mappedCodes);
  EXPECT_EQ(FontsUsing(*encoding), family.fonts);
  for (const std::vector<SpotRow>* rows : {&layoutRows, &family.rows}) {
    for (const SpotRow& row : *rows) {
      EXPECT_EQ(encoding->Glyph(row.code).text, row.text) << "code " << std::hex << int{row.code};
    }
  }
}

TEST(LegacyTablesTest, MlttLayoutFamilies) {
  for (const FamilyCase& family : Families()) ExpectFamily(family, kMlttLayoutRows);
}

TEST(LegacyTablesTest, HighHalfFamilies) {
  for (const FamilyCase& family : HighHalfFamilies()) ExpectFamily(family, {});
}

TEST(LegacyTablesTest, EveryEncodingIsChecked) {
  EXPECT_EQ(LegacyEncodings().size(), Families().size() + HighHalfFamilies().size());
}

// What the corrections and the legacy spelling promise of every row.
TEST(LegacyTablesTest, NoRowKeepsAReadingTheGeneratorCorrects) {
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    for (int code = 0; code < 256; ++code) {
      const std::u16string_view text = encoding.glyphs[code].text;
      SCOPED_TRACE(std::string(encoding.name) + " code " + std::to_string(code));
      EXPECT_EQ(text.find(u"ണ്ധ"), text.npos);
      EXPECT_EQ(text.find(u"ററ"), text.npos);
      for (const char16_t ch : text) EXPECT_FALSE(ch >= 0x0D7A && ch <= 0x0D7F) << "an atomic chillu";
    }
  }
}

// The converter's own ML-TT table (the Unicode walk's) and the generated
// ML-TT table read the same glyphs the same way, which checks the key code
// pages and the chillu spelling against a table built independently.
std::u16string FromReferences(std::string_view value) {
  std::u16string text;
  for (std::size_t i = 0; i < value.size();) {
    if (value.substr(i, 2) == "&#") {
      const std::size_t end = value.find(';', i);
      text.push_back(static_cast<char16_t>(std::stoi(std::string(value.substr(i + 2, end - i - 2)))));
      i = end + 1;
    } else {
      text.push_back(static_cast<unsigned char>(value[i++]));
    }
  }
  return text;
}

TEST(LegacyTablesTest, MlttTableAgreesWithTheWalksTable) {
  const LegacyEncoding* mltt = FindLegacyEncodingByName("ML-TT");
  ASSERT_NE(mltt, nullptr);
  ASSERT_TRUE(mltt->mltt);
  std::size_t compared = 0;
  for (int code = 0x21; code < 256; ++code) {
    const auto references = EntityRowValue(std::u16string(1, GlyphChar(static_cast<std::uint8_t>(code))));
    const std::u16string_view ours = mltt->Glyph(static_cast<std::uint8_t>(code)).text;
    // The walk reads 0x22 as a backquote and 0x2D as a break mark that draws nothing.
    if (!references || ours.empty() || code == 0x22) continue;
    ++compared;
    EXPECT_EQ(FromReferences(*references), ours) << "code " << std::hex << code;
  }
  EXPECT_GE(compared, 129u);  // every single-code Malayalam glyph of the walk's table
}

}  // namespace
}  // namespace maravelundi
