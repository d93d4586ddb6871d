#include "richtext/FontEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace maravelundi {
namespace {

TEST(FontEncodingTest, KindByName) {
  struct Case {
    const char* name;
    FontKind kind;
  };
  using enum FontKind;
  const Case cases[] = {
      {"ra1", Legacy},         {"RA6", Legacy},         {"rkr3", Legacy},         {"rc1", Legacy},
      {"Rl6", Legacy},         {"ML-TTRevathi", Legacy}, {"ml-ttkarthika", Legacy}, {"ML Surya", Legacy},
      {"MLB-TTIndulekha", Legacy}, {"GIST-MLTTKarthika", Legacy},
      {"Symbol", Symbol},      {"SYMBOL", Symbol},
      {"ra7", Other},          {"ra0", Other},          {"rc", Other},            {"rc1 ", Other},
      {"arc1", Other},         {"ML", Other},           {"MLA", Other},           {"GIST-DVOT", Other},
      {"Symbol MT", Other},    {"OpenSymbol", Other},   {"Wingdings", Other},     {"", Other},
  };
  for (const auto& c : cases) EXPECT_EQ(KindOfFont(c.name), c.kind) << '"' << c.name << '"';
}

TEST(FontEncodingTest, Charsets) {
  struct Case {
    std::int64_t charset;
    std::optional<int> page;
  };
  const Case cases[] = {
      {0, kGlyphBytes},      {1, kDocumentBytes}, {2, kGlyphBytes},    {256, kDocumentBytes},
      {77, 10000},           {88, 10029},         {89, 10007},         {128, 932},
      {204, 1251},           {255, 850},          {3, std::nullopt},   {79, std::nullopt},
      {-1, std::nullopt},    {257, std::nullopt}, {1LL << 40, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(CodePageOfCharset(c.charset), c.page) << c.charset;
  EXPECT_EQ(CodePageOfCpg(1252), kGlyphBytes);
  EXPECT_EQ(CodePageOfCpg(1251), 1251);
  EXPECT_EQ(CodePageOfCpg(4242), std::nullopt);
}

// The name first, then \cpg, then \fcharset, then the document's page.
TEST(FontEncodingTest, WhatDecides) {
  struct Case {
    const char* name;
    FontKind kind;
    FontDeclaration declared;
    int expected;
  };
  using enum FontKind;
  constexpr int kDocument = 1251;
  const Case cases[] = {
      {"legacy over a code page", Legacy, {932, 1251, false}, kGlyphBytes},
      {"legacy over following the document", Legacy, {kDocumentBytes, {}, false}, kGlyphBytes},
      {"Symbol over ANSI", Symbol, {kGlyphBytes, {}, false}, kSymbolBytes},
      {"Symbol over \\cpg", Symbol, {{}, 1251, false}, kSymbolBytes},
      {"\\cpg over \\fcharset", Other, {932, 936, false}, 936},
      {"\\cpg1252 over \\fcharset", Other, {932, kGlyphBytes, false}, kGlyphBytes},
      {"\\fcharset", Other, {932, {}, false}, 932},
      {"ANSI", Other, {kGlyphBytes, {}, false}, kGlyphBytes},
      {"symbol charset", Other, {kGlyphBytes, {}, true}, kGlyphBytes},
      {"default charset", Other, {kDocumentBytes, {}, false}, kDocument},
      {"nothing declared", Other, {}, kDocument},
  };
  for (const auto& c : cases) EXPECT_EQ(BytesOfFont(c.kind, c.declared, kDocument), c.expected) << c.name;
  EXPECT_EQ(BytesOfFont(Other, {}, kGlyphBytes), kGlyphBytes);
}

TEST(FontEncodingTest, NamesAndPrivateUse) {
  EXPECT_EQ(BytesOfFontName({kGlyphBytes, {}, false}, 1251), 1251);
  EXPECT_EQ(BytesOfFontName({kDocumentBytes, {}, false}, 1251), 1251);
  EXPECT_EQ(BytesOfFontName({1253, {}, false}, 1251), 1253);
  EXPECT_EQ(BytesOfFontName({1253, 932, false}, 1251), 932);

  EXPECT_TRUE(TakesPrivateUseAsBytes(FontKind::Legacy, {}));
  EXPECT_TRUE(TakesPrivateUseAsBytes(FontKind::Symbol, {}));
  EXPECT_TRUE(TakesPrivateUseAsBytes(FontKind::Other, {kGlyphBytes, {}, true}));
  EXPECT_FALSE(TakesPrivateUseAsBytes(FontKind::Other, {kGlyphBytes, {}, false}));
  EXPECT_FALSE(TakesPrivateUseAsBytes(FontKind::Other, {950, {}, false}));
}

}  // namespace
}  // namespace maravelundi
