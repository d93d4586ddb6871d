// Legacy and modern spelling. The words come from Debian's hunspell-ml
// dictionary, which spells chillus as consonant, virama, ZWJ and marks visible
// viramas with ZWNJ; the expected modern spellings are written out by hand.
// ICU's normalizer judges Normalization Form C.

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <string>
#include <vector>

#include "families/SpellingFilter.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct SpellingCase {
  std::string_view why;
  std::u16string_view dictionary;
  std::u16string_view modern;
};

constexpr SpellingCase kDictionaryWords[] = {
    {"chillu RR", u"അംഗങ്ങളാണിവര്\u200D", u"അംഗങ്ങളാണിവർ"},
    {"chillu L", u"അംഗങ്ങളായില്ലെങ്കില്\u200D", u"അംഗങ്ങളായില്ലെങ്കിൽ"},
    {"chillu N and a decomposed OO", u"ഉദ്യ\u0D47\u0D3Eഗസ്ഥന്\u200D", u"ഉദ്യോഗസ്ഥൻ"},
    {"chillu N", u"ഈശ്വരന്\u200D", u"ഈശ്വരൻ"},
    {"chillu L after UU", u"ഊഞ്ഞാല്\u200D", u"ഊഞ്ഞാൽ"},
    {"chillu RR and chillu LL", u"വിദ്യാര്\u200Dത്ഥി", u"വിദ്യാർത്ഥി"},
    {"SHA+NA: no legacy font has the conjunct", u"ജീവിതപ്രശ്\u200Cനങ്ങള്\u200D", u"ജീവിതപ്രശ്നങ്ങൾ"},
    {"LLLA+CA: no legacy font has the conjunct", u"ആഴ്\u200Cച", u"ആഴ്ച"},
    {"KA+NA: no legacy font has the conjunct", u"ടെക്\u200Cനോളജി", u"ടെക്നോളജി"},
    {"YA+LA: no legacy font has the conjunct", u"കൊയ്\u200Cലൊ", u"കൊയ്ലൊ"},
    {"KA+MA: no legacy font has the conjunct", u"അശോക്\u200Cമിത്ര", u"അശോക്മിത്ര"},
    {"a non-joiner at the end of a word says nothing", u"അക്ഷരമാണ്\u200C", u"അക്ഷരമാണ്"},
    {"a non-joiner after a chillu says nothing", u"ഉള്\u200D\u200Cക്കൊള്ളാനാവില്ല", u"ഉൾക്കൊള്ളാനാവില്ല"},
    {"DA+RA: the fonts have the RA sign, so the visible virama was chosen", u"ഇദ്\u200Cരിസി", u"ഇദ്\u200Cരിസി"},
    {"GA+VA: the fonts have the VA sign", u"ഋഗ്\u200Cവേദപ്രകാരമുള്ള", u"ഋഗ്\u200Cവേദപ്രകാരമുള്ള"},
    {"HA+MA: the fonts have the conjunct glyph", u"അബ്ദുറഹ്\u200Cമാന്\u200D", u"അബ്ദുറഹ്\u200Cമാൻ"},
    {"KA+TTA kept, the final non-joiner goes, OO composed",
     u"ഇലക്\u200Cട്ര\u0D47\u0D3Eണിക്\u200C", u"ഇലക്\u200Cട്രോണിക്"},
    {"chillu N before RRA stays a chillu", u"ആന്\u200Dറണി", u"ആൻറണി"},
    {"nothing to change", u"പൗരന്റെ", u"പൗരന്റെ"},
    {"nothing to change: AU sign", u"കൌമാരം", u"കൌമാരം"},
    {"nothing to change: a virama at the end", u"പൊന്ന്", u"പൊന്ന്"},
    {"nothing to change: RA sign, YA sign", u"ദാരിദ്ര്യം", u"ദാരിദ്ര്യം"},
};

TEST(SpellingFilterTest, ModernSpellingOfDictionaryWords) {
  for (const SpellingCase& c : kDictionaryWords) {
    SCOPED_TRACE(std::string(c.why));
    EXPECT_EQ(ToUtf8(ModernSpelling(c.dictionary)), ToUtf8(c.modern));
  }
}

TEST(SpellingFilterTest, TheBriefsExample) {
  EXPECT_EQ(ModernSpelling(u"സ്\u200Cനേഹം"), u"സ്നേഹം");
}

TEST(SpellingFilterTest, LegacySpellingOnlyComposes) {
  EXPECT_EQ(ComposeMalayalam(u"ഉദ്യ\u0D47\u0D3Eഗസ്ഥന്\u200D"), u"ഉദ്യോഗസ്ഥന്\u200D");
  EXPECT_EQ(ComposeMalayalam(u"ക\u0D46\u0D57 ക\u0D46\u0D3E ക്\u200Cന"), u"കൌ കൊ ക്\u200Cന");
}

// Strings over the letters that take part in some rule, every one up to
// `length` units long.
std::vector<std::u16string> AllStrings(std::size_t length) {
  static constexpr std::u16string_view kAlphabet =
      u"\u0D15\u0D28\u0D30\u0D38\u0D46\u0D47\u0D3E\u0D57\u0D4A\u0D4B\u0D4C\u0D4D\u200C\u200D\u0D02a";
  std::vector<std::u16string> strings = {u""};
  for (std::size_t begin = 0, n = 0; n < length; ++n) {
    const std::size_t end = strings.size();
    for (std::size_t i = begin; i < end; ++i) {
      for (const char16_t ch : kAlphabet) strings.push_back(strings[i] + ch);
    }
    begin = end;
  }
  return strings;
}

std::u16string IcuNfc(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  icu::UnicodeString normalized = nfc->normalize(icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())), status);
  EXPECT_TRUE(U_SUCCESS(status));
  return std::u16string(normalized.getBuffer(), static_cast<std::size_t>(normalized.length()));
}

TEST(SpellingFilterTest, LegacySpellingIsIcusNormalizationFormC) {
  for (const std::u16string& text : AllStrings(3)) {
    ASSERT_EQ(ToUtf8(ComposeMalayalam(text)), ToUtf8(IcuNfc(text))) << ToUtf8(text);
  }
}

TEST(SpellingFilterTest, ModernSpellingIsInNormalizationFormC) {
  for (const std::u16string& text : AllStrings(4)) {
    const std::u16string modern = ModernSpelling(text);
    ASSERT_EQ(ToUtf8(modern), ToUtf8(IcuNfc(modern))) << ToUtf8(text);
  }
}

struct Piece {
  std::u16string text;
  std::size_t source;
  bool operator==(const Piece&) const = default;
};

class PieceList final : public UnicodePieceSink {
 public:
  void Piece(std::u16string_view text, std::size_t source) override { pieces.push_back({std::u16string(text), source}); }
  std::u16string Text() const {
    std::u16string text;
    for (const auto& piece : pieces) text += piece.text;
    return text;
  }
  std::vector<struct Piece> pieces;
};

// One code unit a piece, each its own position: the rules must look across
// pieces and give what they make the position of its first unit.
PieceList FeedUnitByUnit(std::u16string_view text, Spelling spelling) {
  PieceList out;
  SpellingFilter filter(spelling, out);
  for (std::size_t i = 0; i < text.size(); ++i) filter.Piece(text.substr(i, 1), i);
  filter.Finish();
  return out;
}

TEST(SpellingFilterTest, PiecesGiveTheSameTextAsTheWhole) {
  for (const SpellingCase& c : kDictionaryWords) {
    EXPECT_EQ(ToUtf8(FeedUnitByUnit(c.dictionary, Spelling::kModern).Text()), ToUtf8(c.modern)) << c.why;
  }
  for (const std::u16string& text : AllStrings(3)) {
    ASSERT_EQ(FeedUnitByUnit(text, Spelling::kModern).Text(), ModernSpelling(text)) << ToUtf8(text);
    ASSERT_EQ(FeedUnitByUnit(text, Spelling::kLegacy).Text(), ComposeMalayalam(text)) << ToUtf8(text);
  }
}

TEST(SpellingFilterTest, WhatTheRulesMakeTakesItsFirstUnitsPosition) {
  EXPECT_EQ(FeedUnitByUnit(u"വര്\u200D", Spelling::kModern).pieces,
            (std::vector<Piece>{{u"വ", 0}, {u"\u0D7C", 1}}));
  EXPECT_EQ(FeedUnitByUnit(u"ക\u0D46\u0D3E", Spelling::kModern).pieces,
            (std::vector<Piece>{{u"ക", 0}, {u"\u0D4A", 1}}));
  EXPECT_EQ(FeedUnitByUnit(u"ക്\u200Cക", Spelling::kModern).pieces,
            (std::vector<Piece>{{u"ക", 0}, {u"\u0D4D", 1}, {u"\u200C", 2}, {u"ക", 3}}));
}

TEST(SpellingFilterTest, UnitsOfOnePositionTravelAsOnePiece) {
  PieceList out;
  SpellingFilter filter(Spelling::kModern, out);
  filter.Piece(u"വര്\u200D", 7);
  filter.Piece(u"ക", 8);
  filter.Finish();
  EXPECT_EQ(out.pieces, (std::vector<Piece>{{u"വ\u0D7C", 7}, {u"ക", 8}}));
}

TEST(SpellingFilterTest, FinishHandsOnWhatWaits) {
  PieceList out;
  SpellingFilter filter(Spelling::kModern, out);
  filter.Piece(u"ന്", 0);
  EXPECT_TRUE(out.pieces.empty()) << "a chillu may yet follow";
  filter.Finish();
  EXPECT_EQ(out.Text(), u"ന്");
}

}  // namespace
}  // namespace maravelundi
