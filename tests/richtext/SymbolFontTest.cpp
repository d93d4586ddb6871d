#include "richtext/SymbolFont.h"

#include <gtest/gtest.h>

#include <set>

namespace maravelundi {
namespace {

TEST(SymbolFontTest, WhatTheFontDraws) {
  struct Case {
    std::uint8_t byte;
    char16_t character;
  };
  const Case cases[] = {
      {0x20, u' '},      {0x22, u'\u2200'}, {0x41, u'\u0391'}, {0x44, u'\u0394'}, {0x57, u'\u03A9'},
      {0x61, u'\u03B1'}, {0x6D, u'\u03BC'}, {0x7E, u'\u223C'}, {0xA0, u'\u20AC'}, {0xA4, u'\u2044'},
      {0xB7, u'\u2022'}, {0xD7, u'\u22C5'}, {0xE5, u'\u2211'}, {0xF1, u'\u232A'}, {0xFE, u'\uF8FE'},
  };
  for (const auto& c : cases) EXPECT_EQ(SymbolChar(c.byte), c.character) << std::hex << int(c.byte);
}

// Control bytes stay themselves; the other bytes the font leaves empty
// become U+F000 plus the byte, which no byte it draws gives: all 256 read
// differently, so the byte can always be told.
TEST(SymbolFontTest, Shape) {
  std::set<char16_t> read;
  for (int code = 0; code < 256; ++code) {
    const auto byte = static_cast<std::uint8_t>(code);
    read.insert(SymbolChar(byte));
    const bool empty = (code >= 0x7F && code <= 0x9F) || code == 0xF0 || code == 0xFF;
    if (code < 0x20) {
      EXPECT_EQ(SymbolChar(byte), code);
    } else if (empty) {
      EXPECT_EQ(SymbolChar(byte), 0xF000 + code);
    } else {
      EXPECT_FALSE(SymbolChar(byte) >= 0xF000 && SymbolChar(byte) <= 0xF0FF) << code;
    }
  }
  EXPECT_EQ(read.size(), 256u);
}

}  // namespace
}  // namespace maravelundi
