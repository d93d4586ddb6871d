// Real words, typed in every family as a typist would and converted back.
// The words are from Debian's hunspell-ml dictionary. In legacy spelling each
// comes back as the dictionary spells it but for non-joiners after viramas
// (the dictionary writes some, the fonts draw others); in modern spelling as
// written out here.

#include <gtest/gtest.h>

#include <string>

#include "families/ConvertLegacyRun.h"
#include "families/SpellingFilter.h"
#include "families/TypistEncoder.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

struct WordCase {
  std::u16string_view word;    // as the dictionary spells it
  std::u16string_view modern;  // modern spelling
};

constexpr WordCase kWords[] = {
    {u"കൈ", u"കൈ"},
    {u"പൗരന്റെ", u"പൗരന്റെ"},
    {u"ദാരിദ്ര്യം", u"ദാരിദ്ര്യം"},
    {u"ഐക്യം", u"ഐക്യം"},
    {u"ഈശ്വരന്\u200D", u"ഈശ്വരൻ"},
    {u"ഔദ്യോഗിക", u"ഔദ്യോഗിക"},
    {u"ഓണം", u"ഓണം"},
    {u"ഊഞ്ഞാല്\u200D", u"ഊഞ്ഞാൽ"},
    {u"കൌമാരം", u"കൌമാരം"},
    {u"പൊന്ന്", u"പൊന്ന്"},
    {u"രേഖ", u"രേഖ"},
    {u"ക്രിസ്തു", u"ക്രിസ്തു"},
    {u"പ്രേമം", u"പ്രേമം"},
    {u"ശ്രീ", u"ശ്രീ"},
    {u"സ്വന്തം", u"സ്വന്തം"},
    {u"വിദ്യാര്\u200Dത്ഥി", u"വിദ്യാർത്ഥി"},
    {u"ചക്ക്", u"ചക്ക്"},
    {u"തീവ്രവാദം", u"തീവ്രവാദം"},
    {u"സ്നേഹം", u"സ്നേഹം"},
    {u"ആഴ്\u200Cച", u"ആഴ്ച"},
    {u"ടെക്\u200Cനോളജി", u"ടെക്നോളജി"},
    {u"അംഗങ്ങളായില്ലെങ്കില്\u200D", u"അംഗങ്ങളായില്ലെങ്കിൽ"},
};

std::u16string WithoutNonJoiners(std::u16string_view text) {
  std::u16string out;
  for (const char16_t ch : text) {
    if (ch != u'\u200C') out.push_back(ch);
  }
  return out;
}

TEST(RoundTripTest, DictionaryWordsComeBackInEveryFamily) {
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const testing::TypistEncoder typist(encoding);
    for (const WordCase& c : kWords) {
      SCOPED_TRACE(std::string(encoding.name) + ": " + ToUtf8(c.word));
      const auto glyphs = typist.Type(c.word);
      ASSERT_TRUE(glyphs.has_value()) << "every family can type these words";
      const std::u16string legacy = ComposeMalayalam(ConvertLegacyText(encoding, *glyphs));
      EXPECT_EQ(ToUtf8(WithoutNonJoiners(legacy)), ToUtf8(WithoutNonJoiners(c.word)));
      const std::u16string modern = ModernSpelling(ConvertLegacyText(encoding, *glyphs, Spelling::kModern));
      EXPECT_EQ(ToUtf8(modern), ToUtf8(c.modern));
    }
  }
}

}  // namespace
}  // namespace maravelundi
