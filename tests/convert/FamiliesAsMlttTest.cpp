// The ML-TT outputs of documents typed in the other legacy families: real
// words typed in each family (as a typist would, apart from the converter)
// come out in "ML-TTRevathi", and that ML-TT reads back as the same words.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "convert/Conversion.h"
#include "families/SpellingFilter.h"
#include "families/TypistEncoder.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"
#include "unicode/MlttEncoder.h"

namespace maravelundi {
namespace {

// Words from Debian's hunspell-ml dictionary with every hard case of visual
// order: AI as two E signs, O and AU split round their cluster, the RA sign
// before a cluster with its vowel sign before both, chillus, conjuncts.
constexpr std::u16string_view kWords[] = {
    u"കൈ",    u"പൗരന്റെ",       u"ദാരിദ്ര്യം", u"ഐക്യം",   u"ഈശ്വരന്\u200D", u"ഔദ്യോഗിക", u"ഓണം",
    u"പൊന്ന്", u"രേഖ",          u"ക്രിസ്തു",  u"പ്രേമം",  u"ശ്രീ",           u"സ്വന്തം",   u"ചക്ക്",
    u"തീവ്രവാദം", u"സ്നേഹം", u"കൌമാരം", u"സ്ത്രീ",   u"വിദ്യാര്\u200Dത്ഥി", u"അംഗങ്ങളായില്ലെങ്കില്\u200D",
};

std::u16string WithoutNonJoiners(std::u16string_view text) {
  std::u16string out;
  for (const char16_t ch : text) {
    if (ch != u'\u200C') out.push_back(ch);
  }
  return out;
}

// A Rich Text document of `glyphs` in `font`, each glyph as \'hh.
std::string DocumentIn(std::string_view font, std::u16string_view glyphs) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 " + std::string(font) + ";}{\\f1 Arial;}}\\f0 ";
  for (const char16_t ch : glyphs) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\'%02x", *GlyphCode(ch));
    rtf += hex;
  }
  return rtf + "\\f1  end\\par}";
}

const char* FontOf(const LegacyEncoding& encoding) {
  for (const LegacyFontName& font : KnownLegacyFonts()) {
    if (font.encoding == &encoding) return font.name.data();
  }
  return nullptr;
}

TEST(FamiliesAsMlttTest, EveryFamilyComesOutInMlttThatReadsBackAsTheSameWords) {
  int families = 0;
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    if (encoding.mltt) continue;
    const std::string font = FontOf(encoding);
    const testing::TypistEncoder typist(encoding);
    ++families;
    for (const std::u16string_view word : kWords) {
      SCOPED_TRACE(font + ": " + ToUtf8(word));
      const auto glyphs = typist.Type(word);
      ASSERT_TRUE(glyphs.has_value());
      for (const TextTarget target : {TextTarget::kMltt, TextTarget::kIsm}) {
        const RtfReading mltt = ReadRtf(ConvertDocument(ReadRtf(DocumentIn(font, *glyphs)).document,
                                                        OutputKind::kRichText, ConversionProfile{.target = target}));
        ASSERT_TRUE(mltt.Ok());
        EXPECT_EQ(mltt.document.FontAt(0), "ML-TTRevathi");
        EXPECT_EQ(mltt.document.FontAt(mltt.document.Size() - 4), "Arial") << "text in other fonts stays";
        const std::string text = ConvertDocument(mltt.document, OutputKind::kText, ConversionProfile{});
        EXPECT_EQ(WithoutNonJoiners(FromUtf8(text)), WithoutNonJoiners(std::u16string(word) + u" end\n"));
      }
    }
  }
  EXPECT_GE(families, 8) << "the maps hold a dozen encodings";
}

// Every word of Debian's Malayalam dictionary, spelled in ML-TT and read back
// through the walk as one document. What does not come back is the
// dictionary's own debris (stray joiners, signs in an order no script has)
// and AI after a YA or VA sign, which the walk's rules read before it.
TEST(FamiliesAsMlttTest, DictionaryWordsComeBackFromMltt) {
  std::ifstream dictionary("/usr/share/hunspell/ml_IN.dic");
  if (!dictionary) {
    if (std::getenv("CI") != nullptr) FAIL() << "hunspell-ml is not installed";
    GTEST_SKIP() << "hunspell-ml is not installed";
  }
  std::vector<std::u16string> words;
  std::string line;
  std::getline(dictionary, line);  // the count
  while (std::getline(dictionary, line)) {
    std::u16string word = FromUtf8(line.substr(0, line.find('/')));
    if (!word.empty() && word[0] >= 0x0D00 && word[0] <= 0x0D7F) words.push_back(std::move(word));
  }
  std::u16string glyphs;
  for (const std::u16string& word : words) glyphs += EncodeMltt(word) + u"\r\n";
  Document mltt;
  mltt.Append(glyphs, mltt.InternFont("ML-TTRevathi"));
  const std::u16string text = FromUtf8(ConvertDocument(mltt, OutputKind::kText, ConversionProfile{}));
  std::size_t same = 0, at = 0;
  for (const std::u16string& word : words) {
    const std::size_t end = text.find(u'\n', at);
    ASSERT_NE(end, std::u16string::npos) << "one line a word";
    same += WithoutNonJoiners(text.substr(at, end - at)) == WithoutNonJoiners(ComposeMalayalam(word));
    at = end + 1;
  }
  EXPECT_GT(words.size(), 140'000u);
  EXPECT_GE(same * 1000, words.size() * 997) << same << " of " << words.size();
}

// A line end set in a family's font ends its stretch and stays as it is,
// whichever output spells the family in ML-TT; such a document once made the
// ML-TT outputs loop for ever.
TEST(FamiliesAsMlttTest, ALineEndInAFamilysFontStaysAndEndsTheStretch) {
  const std::string markup = "{\\rtf1{\\fonttbl{\\f0 rc1;}{\\f1 ML-Nandini;}}\\f0 uIcj \\f1 abc\\line abc\\par}";
  const Document source = ReadRtf(markup).document;
  for (const TextTarget target : {TextTarget::kMltt, TextTarget::kIsm}) {
    const Document converted = ReadRtf(ConvertDocument(source, OutputKind::kRichText, ConversionProfile{.target = target})).document;
    const std::u16string& text = converted.Text();
    EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 2) << ToUtf8(text);  // the \line and the \par
    EXPECT_EQ(converted.FontAt(text.find(u'\n') - 1), "ML-TTRevathi") << ToUtf8(text);
  }
}

TEST(FamiliesAsMlttTest, SignsGoWhereAnMlttTypistPutsThem) {
  struct Case {
    std::u16string_view unicode;
    std::string_view glyphs;  // ML-TT codes
  };
  constexpr Case kCases[] = {
      {u"കൈ", "ssI"},            // AI: two E signs before the consonant
      {u"കൊ", "sIm"},            // O: E before, AA after
      {u"കോ", "tIm"},            // OO: EE before, AA after
      {u"കൌ", "sIu"},            // AU: E before, the length mark after
      {u"പ്രേമം", "t{]aw"},      // EE, then the RA sign, then PA
      {u"സ്ത്രീ", "kv{Xo"},      // no glyph for SA, TA: the RA sign before TA
      {u"സ്തേ", "kvtX"},         // and so the EE sign
      {u"ന്ത്ര", "{\xB4"},      // a conjunct glyph: the RA sign before it
      {u"ക്ക", "\xA1"},          // one conjunct glyph
      {u"ക്\u200Cക", "IvI"},    // a visible virama: no conjunct, no non-joiner
      {u"ൻ", "\xB3"},            // an atomic chillu as the table's chillu
      {u"ക്യെ", "sIy"},          // the E sign before YA's sign too
      {u"ദ്ര്യം", "{Zyw"},       // the RA sign before a cluster that YA's sign ends
  };
  for (const Case& c : kCases) {
    std::u16string expected;
    for (const char code : c.glyphs) expected.push_back(GlyphChar(static_cast<std::uint8_t>(code)));
    EXPECT_EQ(ToUtf8(EncodeMltt(c.unicode)), ToUtf8(expected)) << ToUtf8(c.unicode);
  }
}

}  // namespace
}  // namespace maravelundi
