#include "richtext/Document.h"

#include <vector>

#include <gtest/gtest.h>

namespace maravelundi {
namespace {

TEST(DocumentTest, InternGivesOneIdPerDistinctFormat) {
  Document doc;
  const FormatId a = doc.InternFont("rc1");
  const FormatId b = doc.InternFont("rc1 ");
  EXPECT_NE(a, b);
  EXPECT_EQ(doc.InternFont("rc1"), a);
  CharFormat same;
  same.fontName = "rc1 ";
  EXPECT_EQ(doc.Intern(same), b);
  EXPECT_EQ(doc.FormatCount(), 2u);
}

// Formats that differ in one attribute only are distinct, and a document of
// very many of them in one font interns each once. (Interning used to search
// every format of the same font: this case took 80 seconds.)
TEST(DocumentTest, InternKeepsManyFormatsOfOneFontApart) {
  Document doc;
  constexpr int kFormats = 160'000;
  CharFormat format;
  format.fontName = "rc1";
  std::vector<FormatId> ids;
  for (int i = 0; i < kFormats; ++i) {
    format.halfPoints = static_cast<std::uint16_t>(2 + i % 1000);
    format.colour = Rgb{static_cast<std::uint8_t>(i / 1000), 0, 0};
    format.bold = i % 2 == 1;
    ids.push_back(doc.Intern(format));
  }
  EXPECT_EQ(doc.FormatCount(), static_cast<std::size_t>(kFormats));
  for (int i = 0; i < kFormats; i += 997) {
    format.halfPoints = static_cast<std::uint16_t>(2 + i % 1000);
    format.colour = Rgb{static_cast<std::uint8_t>(i / 1000), 0, 0};
    format.bold = i % 2 == 1;
    EXPECT_EQ(doc.Intern(format), ids[i]);
    EXPECT_EQ(doc.Format(ids[i]), format);
  }
  CharFormat noColour = doc.Format(ids[0]);
  noColour.colour.reset();
  EXPECT_EQ(doc.Intern(noColour), static_cast<FormatId>(kFormats));
}

TEST(DocumentTest, AppendsInTheSameFormatMergeIntoOneRun) {
  Document doc;
  const FormatId a = doc.InternFont("A");
  const FormatId b = doc.InternFont("B");
  doc.Append(u"ab", a);
  doc.Append(u'c', a);
  doc.Append(u"", b);  // adds no characters, so no run
  doc.Append(u"de", b);
  doc.Append(u"f", a);
  ASSERT_EQ(doc.Runs().size(), 3u);
  EXPECT_EQ(doc.Runs()[0].begin, 0u);
  EXPECT_EQ(doc.Runs()[1].begin, 3u);
  EXPECT_EQ(doc.Runs()[2].begin, 5u);
  EXPECT_EQ(doc.RunEnd(2), 6u);
  EXPECT_EQ(doc.Text(), u"abcdef");
}

TEST(DocumentTest, FormatAtFindsTheRunAtEachBoundary) {
  Document doc;
  const FormatId a = doc.InternFont("A");
  const FormatId b = doc.InternFont("B");
  doc.Append(u"aa", a);
  doc.Append(u"b", b);
  doc.Append(u"aaa", a);
  const FormatId expected[] = {a, a, b, a, a, a};
  RunCursor cursor(doc);
  for (std::size_t i = 0; i < doc.Size(); ++i) {
    EXPECT_EQ(doc.FormatAt(i), expected[i]) << i;
    EXPECT_EQ(cursor.FormatAt(i), expected[i]) << i;
  }
  EXPECT_EQ(doc.FontAt(2), "B");
}

TEST(DocumentTest, EqualityComparesFormatsByValueNotById) {
  Document first;
  const FormatId x1 = first.InternFont("X");
  const FormatId y1 = first.InternFont("Y");
  first.Append(u"ab", x1);
  first.Append(u"cd", y1);

  Document second;  // interns in the other order, and appends in pieces
  const FormatId y2 = second.InternFont("Y");
  const FormatId x2 = second.InternFont("X");
  second.InternFont("unused");
  second.Append(u"a", x2);
  second.Append(u"b", x2);
  second.Append(u"cd", y2);
  EXPECT_EQ(first, second);

  Document third;
  third.Append(u"abc", third.InternFont("X"));
  third.Append(u"d", third.InternFont("Y"));
  EXPECT_FALSE(first == third);  // same text, one character in another font

  Document fourth;
  fourth.Append(u"ab", fourth.InternFont("X"));
  fourth.Append(u"ce", fourth.InternFont("Y"));
  EXPECT_FALSE(first == fourth);

  EXPECT_EQ(Document{}, Document{});
}

}  // namespace
}  // namespace maravelundi
