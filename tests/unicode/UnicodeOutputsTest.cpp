// The Unicode outputs people keep editing: their text is the text of the HTML
// output's body, and each piece keeps the format of the position it came from.

#include <gtest/gtest.h>

#include <random>

#include "TestDocuments.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "unicode/UnicodeBody.h"
#include "unicode/UnicodeDocument.h"
#include "unicode/UnicodeOutputs.h"

namespace maravelundi {
namespace {

using testing::Describe;

// The body of the HTML output as a reader sees it: references decoded, each
// tag a paragraph break, the escapes undone.
std::string ReadBody(const std::string& body) {
  std::u16string text;
  for (std::size_t i = 0; i < body.size();) {
    if (body.compare(i, 2, "&#") == 0) {
      const auto semicolon = body.find(';', i);
      text.push_back(static_cast<char16_t>(std::stoul(body.substr(i + 2, semicolon - i - 2))));
      i = semicolon + 1;
    } else if (body.compare(i, 5, "<p>\r\n") == 0 || body.compare(i, 6, "<br>\r\n") == 0) {
      text.push_back(u'\n');
      i += body[i + 1] == 'p' ? 5 : 6;
    } else if (body.compare(i, 4, "&lt;") == 0 || body.compare(i, 4, "&gt;") == 0) {
      text.push_back(body[i + 1] == 'l' ? u'<' : u'>');
      i += 4;
    } else if (body.compare(i, 5, "&amp;") == 0) {
      text.push_back(u'&');
      i += 5;
    } else {
      // Copied UTF-8: find the whole character.
      std::size_t length = 1;
      while (i + length < body.size() && (static_cast<unsigned char>(body[i + length]) & 0xC0) == 0x80) ++length;
      text += FromUtf8(body.substr(i, length));
      i += length;
    }
  }
  return ToUtf8(text);
}

// The paragraphs of an HTML5 document, each ended by a line feed. Text after
// the document's last break is a paragraph too, so it gains one.
std::string ReadHtml5(const std::string& html) {
  std::string text;
  std::size_t at = html.find("<body>\n") + 7;
  const std::size_t end = html.find("</body>");
  bool inTag = false;
  for (; at < end; ++at) {
    if (html.compare(at, 4, "</p>") == 0) text += '\n';
    if (html[at] == '<') inTag = true;
    if (!inTag && html[at] != '\n') text += html[at];
    if (html[at] == '>') inTag = false;
  }
  std::string unescaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 4, "&lt;") == 0) unescaped += '<', i += 3;
    else if (text.compare(i, 4, "&gt;") == 0) unescaped += '>', i += 3;
    else if (text.compare(i, 5, "&amp;") == 0) unescaped += '&', i += 4;
    else unescaped += text[i];
  }
  text = unescaped;
  return text;
}

Document RandomMlttDocument(std::mt19937& random) {
  // Printable text only: the HTML5 writer stands in U+FFFD for controls.
  const std::u16string alphabet = u"IJKLmnopqrstuvwxyz {-\\]fCDFHAB01<&>\u00C0\u00CC\u00E4\u00A1\u00E9\u0D15\r\n";
  Document doc;
  const FormatId fonts[] = {doc.InternFont("ML-TTRevathi"), doc.InternFont("ML-TTKarthika"), doc.InternFont("Arial")};
  const int length = static_cast<int>(random() % 60);
  for (int i = 0; i < length; ++i) {
    const char16_t ch = alphabet[random() % alphabet.size()];
    doc.Append(ch, fonts[random() % 5 < 3 ? 0 : random() % 3]);
  }
  return doc;
}

TEST(UnicodeOutputs, CarryTheTextOfTheHtmlBody) {
  const unsigned seed = 61207;
  std::mt19937 random(seed);
  for (int round = 0; round < 2000; ++round) {
    const Document mltt = RandomMlttDocument(random);
    const std::string expected = ReadBody(BuildUnicodeBody(mltt));
    const Document unicode = BuildUnicodeDocument(mltt);
    StringSink text, html5;
    WriteUnicodeText(unicode, text);
    WriteHtml5(unicode, "t", "Manjari", html5);
    // Read back, the Rich Text output's paragraph ends are CR LF.
    std::u16string rtfText;
    const RtfReading rtf = ReadRtf(WriteRtf(unicode, RtfWriteOptions{.formatting = true}));
    for (char16_t ch : rtf.document.Text()) {
      if (ch != u'\r') rtfText.push_back(ch);
    }
    const std::string context = "seed " + std::to_string(seed) + " round " + std::to_string(round) + ": " + Describe(mltt);
    ASSERT_EQ(text.Bytes(), expected) << context;
    const bool endsWithBreak = expected.empty() || expected.back() == '\n';
    ASSERT_EQ(ReadHtml5(html5.Bytes()), endsWithBreak ? expected : expected + "\n") << context;
    ASSERT_EQ(ToUtf8(rtfText), expected) << context;
  }
}

TEST(UnicodeDocument, PiecesKeepTheFormatOfWhereTheyCameFrom) {
  Document mltt;
  CharFormat plain, bold, italic, underlined;
  plain.fontName = bold.fontName = italic.fontName = underlined.fontName = "ML-TTRevathi";
  bold.bold = true;
  italic.italic = true;
  underlined.underline = true;
  // s I m: vowel sign O split around KA; s I y: KA, the ya sign, then E.
  mltt.Append(u's', mltt.Intern(bold));
  mltt.Append(u'I', mltt.Intern(italic));
  mltt.Append(u'm', mltt.Intern(plain));
  mltt.Append(u's', mltt.Intern(bold));
  mltt.Append(u'I', mltt.Intern(plain));
  mltt.Append(u'y', mltt.Intern(underlined));
  const Document unicode = BuildUnicodeDocument(mltt, "Manjari");
  EXPECT_EQ(unicode.Text(), u"\u0D15\u0D4A\u0D15\u0D4D\u0D2F\u0D46");
  const auto formatAt = [&](std::size_t i) { return unicode.Format(unicode.FormatAt(i)); };
  // The consonant and the vowel sign moved behind it take the consonant's format.
  EXPECT_TRUE(formatAt(0).italic && !formatAt(0).bold);
  EXPECT_TRUE(formatAt(1).italic && !formatAt(1).bold);
  EXPECT_FALSE(formatAt(2).underline || formatAt(2).bold);
  EXPECT_TRUE(formatAt(3).underline && formatAt(4).underline);  // the ya sign keeps its own
  EXPECT_FALSE(formatAt(5).bold);                                 // E goes with its consonant
  EXPECT_EQ(formatAt(0).fontName, "Manjari");
}

TEST(UnicodeDocument, OtherFontsKeepTheirFont) {
  const Document mltt = testing::Doc({{"ML-TTRevathi", "49"}, {"Arial", "41 0D 0A"}});
  const Document unicode = BuildUnicodeDocument(mltt, "Rachana");
  EXPECT_EQ(Describe(unicode), "Rachana:U+0D15 | Arial:41 0D 0A 0D 0A");
}

}  // namespace
}  // namespace maravelundi
