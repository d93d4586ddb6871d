// A document converted in place holds, read back by our own reader, the
// text the flat text output gives for it, character for character, and no
// legacy-font text: for Rich Text, DOCX and ODT, over random documents whose
// words are split into runs at random points (right after a virama, before
// punctuation in another font, between the fonts of one Rachana word).

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "TestDocuments.h"
#include "convert/Conversion.h"
#include "convert/FontClassifier.h"
#include "convert/RtfInPlace.h"
#include "office/OfficeConversion.h"
#include "office/OfficeFixtures.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace maravelundi {
namespace {

struct RandomRun {
  std::string font;
  std::u16string text;  // glyph characters for the legacy fonts
};
using RandomParagraph = std::vector<RandomRun>;
using RandomDocument = std::vector<RandomParagraph>;

constexpr const char* kLegacyFonts[] = {"rc1", "rc2", "rc3", "rl4", "ra1", "ra2", "ML-TTKarthika", "ML-Nandini"};
constexpr const char* kOtherFont = "Times New Roman";
constexpr char16_t kMlttVirama = u'v';
constexpr std::u16string_view kMlttPreBase = u"st{";
constexpr std::u16string_view kPunctuation = u",.;:?!'\"()- ab";

char16_t RandomCode(std::mt19937& random) { return GlyphChar(static_cast<std::uint8_t>(0x21 + random() % 0xDF)); }

// A word: legacy codes, which in ML-TT end in a virama or a pre-base sign
// now and then, and sometimes punctuation in another font after it.
void AddWord(std::mt19937& random, std::vector<RandomRun>& pieces) {
  const std::string font = kLegacyFonts[random() % std::size(kLegacyFonts)];
  std::u16string word;
  for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) word.push_back(RandomCode(random));
  if (font.starts_with("ML-TT")) {
    const unsigned ending = random() % 4;
    if (ending == 0) word.push_back(kMlttVirama);
    if (ending == 1) word.push_back(kMlttPreBase[random() % kMlttPreBase.size()]);
  }
  // Rachana words mix the six fonts of a generation.
  if (font.size() == 3 && random() % 3 == 0) {
    const std::string other = font.substr(0, 2) + static_cast<char>('1' + random() % 6);
    pieces.push_back({font, word.substr(0, word.size() / 2)});
    pieces.push_back({other, word.substr(word.size() / 2)});
  } else {
    pieces.push_back({font, word});
  }
  const std::u16string after = random() % 2 == 0 ? u" " : std::u16string(1, kPunctuation[random() % kPunctuation.size()]);
  pieces.push_back({random() % 3 == 0 ? font : kOtherFont, after});
}

// Runs of one font split again at random points.
RandomParagraph SplitAtRandom(std::mt19937& random, const std::vector<RandomRun>& pieces) {
  RandomParagraph runs;
  for (const RandomRun& piece : pieces) {
    std::size_t at = 0;
    while (at < piece.text.size()) {
      const std::size_t length = 1 + random() % piece.text.size();
      runs.push_back({piece.font, piece.text.substr(at, length)});
      at += length;
    }
  }
  return runs;
}

// Every document ends with a paragraph in another font: no text follows a
// document's last paragraph mark.
RandomDocument MakeDocument(std::mt19937& random) {
  RandomDocument document;
  for (int p = 1 + static_cast<int>(random() % 3); p > 0; --p) {
    std::vector<RandomRun> pieces;
    for (int w = 1 + static_cast<int>(random() % 6); w > 0; --w) AddWord(random, pieces);
    document.push_back(SplitAtRandom(random, pieces));
  }
  document.push_back({{kOtherFont, u"end"}});
  return document;
}

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (char ch : ToUtf8(text)) {
    if (ch == '<') out += "&lt;";
    else if (ch == '&') out += "&amp;";
    else if (ch == '"') out += "&quot;";
    else out += ch;
  }
  return out;
}

std::string AsRtf(const RandomDocument& source) {
  Document document;
  for (const RandomParagraph& paragraph : source) {
    for (const RandomRun& run : paragraph) document.Append(run.text, document.InternFont(run.font));
    document.Append(u"\r\n", document.InternFont(kOtherFont));
  }
  return WriteRtf(document, RtfWriteOptions{.formatting = true});
}

std::string AsDocx(const RandomDocument& source) {
  std::string body;
  for (const RandomParagraph& paragraph : source) {
    body += "<w:p>";
    for (const RandomRun& run : paragraph) {
      body += "<w:r><w:rPr><w:rFonts w:ascii=\"" + run.font + "\" w:hAnsi=\"" + run.font +
              "\"/></w:rPr><w:t xml:space=\"preserve\">" + Escaped(run.text) + "</w:t></w:r>";
    }
    body += "</w:p>";
  }
  return test::BuildDocx(test::DocxParts().Body(body));
}

std::string AsOdt(const RandomDocument& source) {
  std::vector<std::string> fonts;
  std::string body;
  for (const RandomParagraph& paragraph : source) {
    body += "<text:p>";
    for (const RandomRun& run : paragraph) {
      auto found = std::find(fonts.begin(), fonts.end(), run.font);
      if (found == fonts.end()) found = fonts.insert(fonts.end(), run.font);
      body += "<text:span text:style-name=\"T" + std::to_string(found - fonts.begin()) + "\">" + Escaped(run.text) +
              "</text:span>";
    }
    body += "</text:p>";
  }
  std::string faces, styles;
  for (std::size_t f = 0; f < fonts.size(); ++f) {
    faces += "<style:font-face style:name=\"" + fonts[f] + "\" svg:font-family=\"'" + fonts[f] + "'\"/>";
    styles += "<style:style style:name=\"T" + std::to_string(f) +
              "\" style:family=\"text\"><style:text-properties style:font-name=\"" + fonts[f] +
              "\"/></style:style>";
  }
  return test::BuildOdt(test::OdtParts().Body(body).FontFaces(faces).AutomaticStyles(styles));
}

// One format: how to write a random document in it, how our reader reads
// a document of it, and how it converts in place.
struct Format {
  const char* name;
  std::function<std::string(const RandomDocument&)> write;
  std::function<Document(const std::string&)> read;
  std::function<std::string(const std::string&, Spelling)> inPlace;
};

Document ReadRtfDocument(const std::string& bytes) {
  const RtfReading reading = ReadRtf(bytes);
  EXPECT_TRUE(reading.Ok());
  return reading.document;
}

std::string RtfInPlace(const std::string& bytes, Spelling spelling) {
  const RtfReading reading = ReadRtf(bytes, RtfReadOptions{.sourceSpans = true, .sideStories = true});
  StringSink sink;
  ConvertRtfInPlace(bytes, reading, ConversionProfile{.spelling = spelling}, sink);
  return sink.Bytes();
}

std::function<Document(const std::string&)> OfficeReader(DocumentFormat format) {
  return [format](const std::string& bytes) {
    Outcome<Document> read = ReadOfficeDocument(bytes, format, ConversionProfile{});
    EXPECT_TRUE(read.Ok());
    return read.Ok() ? read.Value() : Document();
  };
}

std::function<std::string(const std::string&, Spelling)> OfficeInPlace(DocumentFormat format) {
  return [format](const std::string& bytes, Spelling spelling) {
    OfficeResult result =
        ConvertOfficeDocument(bytes, format, OutputKind::kInPlace, ConversionProfile{.spelling = spelling});
    EXPECT_TRUE(result.Ok());
    return result.Ok() ? result.Value() : std::string();
  };
}

std::string FlatText(const Document& document, Spelling spelling) {
  return ConvertDocument(document, OutputKind::kText, ConversionProfile{.spelling = spelling});
}

// Legacy-font characters left in a converted document, but paragraph ends.
std::string LegacyLeft(const Document& document) {
  std::string left;
  RunCursor formats(document);
  for (std::size_t i = 0; i < document.Size(); ++i) {
    const char16_t ch = document.Text()[i];
    if (ch == u'\r' || ch == u'\n') continue;
    const std::string& font = document.Format(formats.FormatAt(i)).fontName;
    if (IsConvertedFont(Generation::kAuto, font)) left += font + ":" + testing::Hex(std::u16string_view(&ch, 1)) + " ";
  }
  return left;
}

TEST(InPlaceParity, EveryFormatReadsBackAsTheFlatText) {
  const std::vector<Format> formats = {
      {"rtf", AsRtf, ReadRtfDocument, RtfInPlace},
      {"docx", AsDocx, OfficeReader(DocumentFormat::kDocx), OfficeInPlace(DocumentFormat::kDocx)},
      {"odt", AsOdt, OfficeReader(DocumentFormat::kOdt), OfficeInPlace(DocumentFormat::kOdt)},
  };
  const unsigned seed = 20261208;
  std::mt19937 random(seed);
  for (int round = 0; round < 1000; ++round) {
    const RandomDocument source = MakeDocument(random);
    const Spelling spelling = round % 2 == 0 ? Spelling::kModern : Spelling::kLegacy;
    for (const Format& format : formats) {
      SCOPED_TRACE(std::string(format.name) + ", seed " + std::to_string(seed) + " round " + std::to_string(round));
      const std::string original = format.write(source);
      const Document readBack = format.read(format.inPlace(original, spelling));
      ASSERT_EQ(LegacyLeft(readBack), "") << testing::Describe(format.read(original));
      ASSERT_EQ(FlatText(readBack, spelling), FlatText(format.read(original), spelling))
          << testing::Describe(format.read(original));
    }
  }
}

}  // namespace
}  // namespace maravelundi
