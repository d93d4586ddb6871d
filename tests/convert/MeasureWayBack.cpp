// Measures the way back on real words: every word of a hunspell dictionary
// is spelled in each writable legacy font (LegacyTargetNamed), read back by
// the converter as any document in that font is read (for Rachana, each
// glyph in the font that holds it), and compared with the dictionary's word,
// both in today's spelling.
//
//   measure_way_back [DICTIONARY.dic] [--failures N]
//
// Default dictionary: Debian's hunspell-ml. Reads the dictionary only; writes
// only to standard output. A measurement, not a test: it asserts nothing.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "convert/Conversion.h"
#include "convert/LegacyTarget.h"
#include "families/LegacyEncoding.h"
#include "families/SpellingFilter.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

std::vector<std::u16string> ReadDictionary(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::u16string> words;
  std::string line;
  std::getline(in, line);  // the word count
  while (std::getline(in, line)) {
    const std::u16string word = FromUtf8(line.substr(0, line.find('/')));
    if (!word.empty() && word[0] >= 0x0D00 && word[0] <= 0x0D7F) words.push_back(word);
  }
  return words;
}

// Appends each word's glyphs to a document, a line each, in the fonts the
// target sets them in; counts the words with a character it has no glyph for.
class WordsInTarget final : public LegacyGlyphSink {
 public:
  WordsInTarget(const LegacyTarget& target, Document& document) : target_(target), document_(document) {
    for (const std::string& font : target.fonts) fonts_.push_back(document.InternFont(font));
  }
  void Glyph(const InventoryGlyph& glyph, std::size_t) override {
    for (std::size_t c = 0; c < glyph.count; ++c) document_.Append(GlyphChar(glyph.codes[c]), fonts_[glyph.font]);
  }
  void Unmapped(char16_t ch, std::size_t) override {
    document_.Append(ch, fonts_[0]);
    unmapped_ = true;
  }
  bool Word(std::u16string_view word) {
    unmapped_ = false;
    EncodeForTarget(target_, word, *this);
    document_.Append(u"\r\n", fonts_[0]);
    return !unmapped_;
  }

 private:
  const LegacyTarget& target_;
  Document& document_;
  std::vector<FormatId> fonts_;
  bool unmapped_ = false;
};

struct Tally {
  std::size_t words = 0, unmapped = 0, exact = 0;
};

Tally Measure(const LegacyTarget& target, const std::vector<std::u16string>& words, int failures) {
  Document document;
  WordsInTarget spelled(target, document);
  Tally tally;
  std::vector<bool> complete;
  for (const std::u16string& word : words) complete.push_back(spelled.Word(word));
  const std::u16string back = FromUtf8(ConvertDocument(document, OutputKind::kText, ConversionProfile{.spelling = Spelling::kModern}));
  std::size_t at = 0;
  for (std::size_t w = 0; w < words.size(); ++w) {
    const std::size_t end = back.find(u'\n', at);
    const std::u16string line = back.substr(at, end - at);
    at = end + 1;
    ++tally.words;
    if (!complete[w]) {
      ++tally.unmapped;
      continue;
    }
    const bool exact = line == ModernSpelling(words[w]);
    tally.exact += exact;
    if (!exact && failures-- > 0) std::cout << "  " << ToUtf8(words[w]) << " -> " << ToUtf8(line) << "\n";
  }
  return tally;
}

double Percent(std::size_t part, std::size_t whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

}  // namespace
}  // namespace maravelundi

int main(int argc, char** argv) {
  using namespace maravelundi;
  std::string path = "/usr/share/hunspell/ml_IN.dic";
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--failures" && i + 1 < argc) failures = std::atoi(argv[++i]);
    else path = arg;
  }
  const std::vector<std::u16string> words = ReadDictionary(path);
  if (words.empty()) {
    std::cerr << path << ": no words\n";
    return 1;
  }
  std::printf("%zu words from %s, spelled in each font and read back\n\n", words.size(), path.c_str());
  std::printf("%-26s %-10s %9s %16s\n", "font", "encoding", "no glyph", "back exact");
  std::vector<std::pair<std::string, std::string>> fonts = {{"rl", "Rachana 7"}, {"ra", "Rachana 2"}};
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    for (const LegacyFontName& font : KnownLegacyFonts()) {
      if (font.encoding != &encoding) continue;
      fonts.emplace_back(std::string(font.name), std::string(encoding.name));
      break;
    }
  }
  for (const auto& [font, encoding] : fonts) {
    const auto target = LegacyTargetNamed(font);
    if (!target) continue;
    const Tally t = Measure(*target, words, failures);
    const std::size_t spelled = t.words - t.unmapped;
    std::printf("%-26s %-10s %9zu %8zu %6.2f%%\n", font.c_str(), encoding.c_str(), t.unmapped, t.exact,
                Percent(t.exact, spelled));
  }
  return 0;
}
