#include "GenerateWords.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <vector>

#include "richtext/GlyphString.h"
#include "unicode/MlttEncoder.h"

namespace maravelundi::bench {
namespace {

// Of every ten words the models were trained on nine; the tenth of each
// ten (counting every word of the file) was held out.
constexpr std::size_t kHeldOutEvery = 10;
constexpr std::size_t kHeldOutRemainder = 9;

// The dictionary's words as ML-TT glyph bytes; a line is a word, then
// hunspell's flags after a slash.
std::vector<std::string> ReadWords(const std::filesystem::path& dictionary, WordChoice choice) {
  std::ifstream in(dictionary);
  std::vector<std::string> words;
  std::string line;
  std::getline(in, line);  // the word count
  std::size_t index = 0;
  while (std::getline(in, line)) {
    const std::u16string word = FromUtf8(line.substr(0, line.find('/')));
    if (word.empty()) continue;
    const bool heldOut = index++ % kHeldOutEvery == kHeldOutRemainder;
    if (choice == WordChoice::kHeldOut && !heldOut) continue;
    if (word[0] < 0x0D00 || word[0] > 0x0D7F) continue;
    std::string glyphs;
    for (const char16_t ch : EncodeMltt(word)) {
      const auto code = GlyphCode(ch);
      if (!code) continue;
      if (*code == '\\' || *code == '{' || *code == '}') glyphs += '\\';
      if (*code >= 0x80) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", *code);
        glyphs += hex;
      } else {
        glyphs += static_cast<char>(*code);
      }
    }
    words.push_back(std::move(glyphs));
  }
  return words;
}

}  // namespace

std::optional<std::string> GenerateWordsRtf(const std::filesystem::path& dictionary, std::size_t bytes,
                                            std::uint64_t seed, WordChoice choice) {
  const std::vector<std::string> words = ReadWords(dictionary, choice);
  if (words.empty()) return std::nullopt;
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<std::size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> paragraph(30, 120);
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil ML-TTKarthika;}}\n\\pard\\f0\\fs24 ";
  while (rtf.size() < bytes) {
    for (int n = paragraph(random); n > 0; --n) {
      rtf += words[pick(random)];
      rtf += n > 1 ? " " : "\\par\n";
    }
  }
  rtf += "}\n";
  return rtf;
}

}  // namespace maravelundi::bench
