// Font names to encodings: every name of the maps, in any letter case; the
// ML-TT layout flagged; names without a map and unknown names find nothing.

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "families/LegacyEncoding.h"

namespace maravelundi {
namespace {

struct NameCase {
  std::string_view fontName;
  std::string_view encoding;  // empty: no encoding
};

constexpr NameCase kNames[] = {
    {"ML-TTKarthika", "ML-TT"},
    {"ml-ttkarthika", "ML-TT"},
    {"ML-TTREVATHI", "ML-TT"},
    {"ML-Nandini", "ML"},
    {"ML-NANDINI", "ML"},
    {"ml-ravivarma-bolditalic", "ML"},
    {"ML-TTAswathi", "ML-TT Aswathi"},
    {"ML-TTSurya-Normal", "ML-TT Surya"},
    {"ML-TTSurya-Bold", "ML-TT"},
    {"ML-Surya-Normal", "ML Surya"},
    {"ml-mayoori", "ML Surya"},
    {"ML-TTMayoori", "ML-TT Mayoori"},
    {"ML-TTSarada-Normal", "ML-TT Sarada"},
    {"MLB-Ambili-Normal", "MLB"},
    {"mlb-indulekha-bold", "MLB"},
    {"MLB-TTRevathi-Normal", "MLB-TT"},
    {"ML-Ravivarma-Normal", "MLB-TT"},
    {"MLB-TTRevathi-BoldItalic", "MLB-TT Revathi BoldItalic"},
    {"MLB-TTAmbili-BoldItalic", "MLB-TT Ambili BoldItalic"},
    {"gist-mlttaswathi", "GIST-MLTT"},
    {"GIST-MLTTMalavika", "GIST-MLTT"},
    // Named by the maps, but their maps are missing.
    {"ML-Aswathi", ""},
    {"GIST-MLTTRevathi", ""},
    {"ML-TTRavivarma-Normal", ""},
    // Unknown.
    {"Arial", ""},
    {"", ""},
    {"ML-TTKarthik", ""},
    {"ML-TTKarthika ", ""},
    {"ML-TTKarthikaa", ""},
    {"rc1", ""},
};

TEST(FontNamesTest, NamesFindTheirEncodingInAnyCase) {
  for (const NameCase& name : kNames) {
    SCOPED_TRACE(std::string(name.fontName));
    const LegacyEncoding* encoding = FindLegacyEncoding(name.fontName);
    if (name.encoding.empty()) {
      EXPECT_EQ(encoding, nullptr);
    } else {
      ASSERT_NE(encoding, nullptr);
      EXPECT_EQ(encoding->name, name.encoding);
    }
  }
}

TEST(FontNamesTest, OnlyTheMlttLayoutIsFlagged) {
  for (const LegacyFontName& font : KnownLegacyFonts()) {
    if (!font.encoding) continue;
    // Some ML-TT names use other layouts, but every font of the ML-TT layout is named ML-TT.
    if (font.encoding->mltt) {
      EXPECT_TRUE(font.name.starts_with("ML-TT")) << font.name;
    }
  }
  const LegacyEncoding* karthika = FindLegacyEncoding("ML-TTKarthika");
  ASSERT_NE(karthika, nullptr);
  EXPECT_TRUE(karthika->mltt);
  const LegacyEncoding* aswathi = FindLegacyEncoding("ML-TTAswathi");
  ASSERT_NE(aswathi, nullptr);
  EXPECT_FALSE(aswathi->mltt);
}

std::string Swapcase(std::string_view name) {
  std::string swapped(name);
  for (char& c : swapped) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
  }
  return swapped;
}

TEST(FontNamesTest, EveryKnownNameFindsItsOwnEncoding) {
  ASSERT_EQ(KnownLegacyFonts().size(), 170u);
  std::size_t withoutMap = 0;
  for (const LegacyFontName& font : KnownLegacyFonts()) {
    EXPECT_EQ(FindLegacyEncoding(font.name), font.encoding) << font.name;
    EXPECT_EQ(FindLegacyEncoding(Swapcase(font.name)), font.encoding) << font.name;
    withoutMap += font.encoding == nullptr;
  }
  EXPECT_EQ(withoutMap, 5u);
}

}  // namespace
}  // namespace maravelundi
