// Visual order to logical order, glyph by glyph, with the cases other
// converters get wrong named one by one. The glyph codes are those of the
// "ML" fonts (the ML-TT byte layout) unless a case says otherwise:
//   I KA  J KHA  ] PA  c RA  k SA  \ NA  l HA  Z DA  C I  D U  H O  F E
//   s E sign  t EE sign  { RA sign  y YA sign  z VA sign  v virama
//   m AA  n I sign  u AU length mark  w anusvara
//   0xA1 KA+KA  0xE2 NA+RRA  0xC0 chillu RR

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "families/ConvertLegacyRun.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct RunCase {
  std::string_view name;
  std::string_view encoding;
  std::string_view codes;
  std::u16string_view expected;
};

constexpr RunCase kCases[] = {
    {"AI typed as two E signs", "ML", "ssI", u"കൈ"},
    {"O: E sign and AA around the consonant", "ML", "sIm", u"കൊ"},
    {"OO: EE sign and AA", "ML", "tIm", u"കോ"},
    {"AU: E sign and the AU length mark", "ML", "sIu", u"കൌ"},
    {"pauran: the length mark stays after PA", "ML", "]ucs\xE2", u"പൗരന്റെ"},
    {"RA sign after the E signs of AI", "ML", "ss{I", u"ക്രൈ"},
    {"RA sign after an E sign", "ML", "s{I", u"ക്രെ"},
    {"RA sign alone", "ML", "{I", u"ക്ര"},
    {"RA sign before a consonant with the YA sign", "ML", "Zmcn{Zyw", u"ദാരിദ്ര്യം"},
    {"EE typed before the last consonant of a cluster without a glyph", "ML", "kvt\\lw", u"സ്\u200Cനേഹം"},
    {"EE typed before the whole cluster", "ML", "tkv\\lw", u"സ്\u200Cനേഹം"},
    {"a conjunct glyph takes the sign", "ML", "s\xA1", u"ക്കെ"},
    {"a conjunct glyph takes both halves of O", "ML", "s\xA1m", u"ക്കൊ"},
    {"E sign after the YA sign", "ML", "sIy", u"ക്യെ"},
    {"EE sign after the VA sign", "ML", "tkz", u"സ്വേ"},
    {"O after the VA sign", "ML", "skzm", u"സ്വൊ"},
    {"a glyph that holds its sign stays whole: rekha", "ML-TT", "\xE8J", u"രേഖ"},
    {"an E sign before a space stays", "ML", "s I", u"\u0D46 ക"},
    {"an E sign before a digit stays", "ML", "s1I", u"\u0D46" u"1ക"},
    {"an E sign at the end of the run stays", "ML", "s", u"\u0D46"},
    {"II: I and the AU length mark", "ML", "Cu", u"ഈ"},
    {"UU: U and the AU length mark", "ML", "Du", u"ഊ"},
    {"AU: O and the AU length mark", "ML", "Hu", u"ഔ"},
    {"OO: O and AA", "ML", "Hm", u"ഓ"},
    {"AI: E sign and the letter E", "ML", "sF", u"ഐ"},
    {"a visible virama between consonants keeps a non-joiner", "ML", "IvI", u"ക്\u200Cക"},
    {"a virama at the end of a word needs none", "ML", "Iv I", u"ക് ക"},
    {"a chillu glyph", "ML", "\xC0", u"ര്\u200D"},
    {"a code the font's map lacks passes unchanged", "ML", "#I", u"#ക"},
    {"the high-half layout: E sign and KA", "MLB", "\xB5\x89", u"കെ"},
    {"the high-half layout: O", "MLB", "\xB5\x89\xAF", u"കൊ"},
    {"the high-half layout: RA sign", "MLB", "\xBD\x89", u"ക്ര"},
};

TEST(ConvertLegacyRunTest, VisualOrderBecomesLogicalOrder) {
  for (const RunCase& c : kCases) {
    SCOPED_TRACE(std::string(c.name));
    const LegacyEncoding* encoding = FindLegacyEncodingByName(c.encoding);
    ASSERT_NE(encoding, nullptr);
    EXPECT_EQ(ToUtf8(ConvertLegacyText(*encoding, GlyphString(c.codes))), ToUtf8(c.expected));
  }
}

// In modern spelling a visible virama keeps its non-joiner only where the
// typist chose it: the font had a glyph for the joined cluster.
struct ModernCase {
  std::string_view name;
  std::string_view encoding;
  std::string_view codes;
  std::u16string_view legacy;
  std::u16string_view modern;
};

constexpr ModernCase kModernCases[] = {
    {"SA+NA: no font has the conjunct", "ML", "kvt\\lw", u"സ്\u200Cനേഹം", u"സ്നേഹം"},
    {"KA+KA typed apart though the font has the conjunct", "ML", "IvI", u"ക്\u200Cക", u"ക്\u200Cക"},
    {"TA+THA: the ML fonts have the conjunct", "ML", "XvY", u"ത്\u200Cഥ", u"ത്\u200Cഥ"},
    {"TA+THA: the high-half layout lacks it", "MLB", "\x98\xB8\x99", u"ത്\u200Cഥ", u"ത്ഥ"},
    {"PA+PA then LA: PA+LA is a glyph, PA+PA+LA is not", "ML", "\xB8ve", u"പ്പ്\u200Cല", u"പ്പ്ല"},
    {"YA then KA+KA: the ML-TT fonts have YA+KA+KA", "ML-TT", "bv\xA1", u"യ്\u200Cക്ക", u"യ്\u200Cക്ക"},
    {"YA then KA+KA: the ML fonts do not", "ML", "bv\xA1", u"യ്\u200Cക്ക", u"യ്ക്ക"},
    {"DA then RA: every font has the RA sign", "ML", "Zvc", u"ദ്\u200Cര", u"ദ്\u200Cര"},
};

TEST(ConvertLegacyRunTest, ModernSpellingKeepsOnlyChosenVisibleViramas) {
  for (const ModernCase& c : kModernCases) {
    SCOPED_TRACE(std::string(c.name));
    const LegacyEncoding* encoding = FindLegacyEncodingByName(c.encoding);
    ASSERT_NE(encoding, nullptr);
    const std::u16string glyphs = GlyphString(c.codes);
    EXPECT_EQ(ToUtf8(ConvertLegacyText(*encoding, glyphs)), ToUtf8(c.legacy));
    EXPECT_EQ(ToUtf8(ConvertLegacyText(*encoding, glyphs, Spelling::kModern)), ToUtf8(c.modern));
  }
}

struct Piece {
  std::u16string text;
  std::size_t source;
  bool operator==(const Piece&) const = default;
};

std::vector<Piece> Pieces(std::string_view codes) {
  std::vector<Piece> pieces;
  ConvertLegacyRun(*FindLegacyEncodingByName("ML"), GlyphString(codes),
                   [&](std::u16string_view text, std::size_t source) { pieces.push_back({std::u16string(text), source}); });
  return pieces;
}

TEST(ConvertLegacyRunTest, AMovedSignTakesItsConsonantsPosition) {
  EXPECT_EQ(Pieces("ss{I"), (std::vector<Piece>{{u"ക", 3}, {u"\u0D4D\u0D30", 3}, {u"\u0D48", 3}}));
  EXPECT_EQ(Pieces("]ucs\xE2"),
            (std::vector<Piece>{{u"പ", 0}, {u"\u0D57", 1}, {u"ര", 2}, {u"ന്റ", 4}, {u"\u0D46", 4}}));
  EXPECT_EQ(Pieces("kvt\\"), (std::vector<Piece>{{u"സ", 0}, {u"\u0D4D", 1}, {u"\u200C", 1}, {u"ന", 3}, {u"\u0D47", 3}}));
}

TEST(ConvertLegacyRunTest, ASignThatCannotMoveKeepsItsOwnPosition) {
  EXPECT_EQ(Pieces("Is"), (std::vector<Piece>{{u"ക", 0}, {u"\u0D46", 1}}));
  EXPECT_EQ(Pieces("s I"), (std::vector<Piece>{{u"\u0D46", 0}, {u" ", 1}, {u"ക", 2}}));
}

TEST(ConvertLegacyRunTest, CharactersThatAreNoGlyphPassUnchanged) {
  EXPECT_EQ(ConvertLegacyText(*FindLegacyEncodingByName("ML"), u"\u0D15\u20AC\t"), u"\u0D15\u20AC\t");
}

TEST(ConvertLegacyRunTest, ALongRunOfSignsConvertsWhole) {
  const std::string codes = std::string(100000, 's') + "I";
  const std::u16string text = ConvertLegacyText(*FindLegacyEncodingByName("ML"), GlyphString(codes));
  ASSERT_EQ(text.size(), 100001u);
  EXPECT_EQ(text.front(), u'ക');
}

}  // namespace
}  // namespace maravelundi
