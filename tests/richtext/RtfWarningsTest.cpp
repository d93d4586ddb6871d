// What the reader reports it could not honour, while reading the document
// all the same.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/ReadWarningLog.h"
#include "richtext/ReadingPrinters.h"
#include "richtext/RtfReader.h"

namespace maravelundi {
namespace {

struct Expected {
  ReadWarningCode code;
  std::size_t offset;
};

struct WarningCase {
  const char* name;
  std::string markup;
  std::vector<Expected> warnings;  // in order
};

TEST(RtfWarningsTest, EachKindOnce) {
  using enum ReadWarningCode;
  const std::string sjis = "{\\rtf1{\\fonttbl{\\f0\\fcharset128 J;}}\\f0 ";
  const WarningCase cases[] = {
      {"a clean document",
       "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 A;}{\\f1 Symbol;}}\\f0 \\'cf\\f1 a}",
       {}},
      {"no font table, no font named", "{\\rtf1 hello}", {}},
      {"\\ansicpg0 names no code page", "{\\rtf1\\ansicpg0 a}", {}},
      {"white space after the end", "{\\rtf1 a}  \r\n\t", {}},
      {"unknown document code page", "{\\rtf1\\ansicpg4242 a}", {{UnknownCodePage, 6}}},
      {"unknown \\cpg", "{\\rtf1{\\fonttbl{\\f0\\cpg4242 F;}}\\f0 a}", {{UnknownCodePage, 19}}},
      {"unknown \\fcharset, twice", "{\\rtf1{\\fonttbl{\\f0\\fcharset99 F;}{\\f1\\fcharset99 G;}}\\f0 a}",
       {{UnknownCharset, 19}}},
      {"two unknown \\fcharset", "{\\rtf1{\\fonttbl{\\f0\\fcharset99 F;}{\\f1\\fcharset98 G;}}\\f0 a}",
       {{UnknownCharset, 19}, {UnknownCharset, 38}}},
      {"\\bin in the body", "{\\rtf1 a\\bin2 xyb\\bin1 z}", {{SkippedBinary, 8}}},
      {"\\bin in a picture is the picture's", "{\\rtf1 a{\\pict\\bin2 xy}b}", {}},
      // Where the first text in the font is.
      {"a font not in the table", "{\\rtf1{\\fonttbl{\\f0 A;}}\\f0 a\\f5 b\\f5 c{\\b\\f5 d}}", {{UnresolvedFont, 33}}},
      {"a font with no table at all", "{\\rtf1\\f2 x}", {{UnresolvedFont, 10}}},
      {"a \\deff not in the table", "{\\rtf1\\deff3{\\fonttbl{\\f0 A;}}x}", {{UnresolvedFont, 30}}},
      {"a late font table resolves", "{\\rtf1\\f1 x{\\fonttbl{\\f1 B;}}}", {}},
      {"undecodable bytes", sjis + "\\'85\\'40 \\'82}", {{UndecodableBytes, 40}}},
      {"a stray '}'", "{\\rtf1 a}b}", {{StrayCloseBrace, 8}}},
      {"bytes after the end", "{\\rtf1 a}xyz", {{IgnoredAfterEnd, 9}}},
      {"markup after the end", "{\\rtf1 a}\n\\par b", {{IgnoredAfterEnd, 10}}},
      {"a second document", "{\\rtf1 a}\n{\\rtf1 b}", {{SecondDocument, 10}}},
      {"in the order of the bytes",
       "{\\rtf1\\f7 a\\ansicpg4242{\\fonttbl{\\f0\\fcharset99 F;}}\\bin1 x}z",
       {{UnresolvedFont, 10}, {UnknownCodePage, 11}, {UnknownCharset, 36}, {SkippedBinary, 52}, {IgnoredAfterEnd, 60}}},
  };
  for (const auto& c : cases) {
    const RtfReading reading = ReadRtf(c.markup);
    ASSERT_TRUE(reading.Ok()) << c.name << ": " << reading.error->message;
    ASSERT_EQ(reading.warnings.size(), c.warnings.size())
        << c.name << (reading.warnings.empty() ? "" : ": first is " + reading.warnings[0].message);
    for (std::size_t i = 0; i < c.warnings.size(); ++i) {
      EXPECT_EQ(reading.warnings[i].code, c.warnings[i].code) << c.name << ": " << reading.warnings[i].message;
      EXPECT_EQ(reading.warnings[i].offset, c.warnings[i].offset) << c.name << ": " << reading.warnings[i].message;
      EXPECT_FALSE(reading.warnings[i].message.empty()) << c.name;
    }
  }
}

// A document that fails still says what it met on the way.
TEST(RtfWarningsTest, KeptWithAnError) {
  const RtfReading reading = ReadRtf("{\\rtf1\\ansicpg4242 a{");
  ASSERT_FALSE(reading.Ok());
  ASSERT_EQ(reading.warnings.size(), 1u);
  EXPECT_EQ(reading.warnings[0].code, ReadWarningCode::UnknownCodePage);
}

// A hostile document with a hundred thousand distinct faults gets a bounded
// list, ending with the note that more were dropped; the same fault a
// hundred thousand times is one warning.
TEST(RtfWarningsTest, Bounded) {
  std::string distinct = "{\\rtf1{\\fonttbl";
  std::string repeated = distinct;
  for (int i = 0; i < 100000; ++i) {
    distinct += "{\\f" + std::to_string(i) + "\\fcharset" + std::to_string(1000 + i) + " F;}";
    repeated += "{\\f" + std::to_string(i) + "\\fcharset99 F;}";
  }
  const RtfReading many = ReadRtf(distinct + "}x}");
  ASSERT_TRUE(many.Ok());
  ASSERT_EQ(many.warnings.size(), ReadWarningLog::kMaxWarnings + 1);
  EXPECT_EQ(many.warnings.back().code, ReadWarningCode::TooManyWarnings);
  EXPECT_EQ(many.warnings.front().code, ReadWarningCode::UnknownCharset);

  const RtfReading same = ReadRtf(repeated + "}x}");
  ASSERT_TRUE(same.Ok());
  EXPECT_EQ(same.warnings.size(), 1u);
}

}  // namespace
}  // namespace maravelundi
