// Measures the legacy converter on real words: every word of a hunspell
// dictionary is typed in each encoding as a typist would (TypistEncoder),
// converted back, and compared with the dictionary's spelling.
//
//   measure_families_dictionary [DICTIONARY.dic] [--failures N] [--untypable N]
//
// --failures N shows, per encoding, the first N words whose modern spelling
// differs; --untypable N the first N words it cannot type.
//
// Default dictionary: Debian's hunspell-ml. Reads the dictionary only; writes
// only to standard output. A measurement, not a test: it asserts nothing.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "families/ConvertLegacyRun.h"
#include "families/LegacyEncoding.h"
#include "families/MalayalamLetters.h"
#include "families/SpellingFilter.h"
#include "families/TypistEncoder.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

std::vector<std::u16string> ReadDictionary(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::u16string> words;
  std::string line;
  std::getline(in, line);  // the word count
  while (std::getline(in, line)) {
    const std::string word = line.substr(0, line.find('/'));
    if (!word.empty()) words.push_back(FromUtf8(word));
  }
  return words;
}

// The dictionary's word with atomic chillus and composed signs, its
// non-joiners as the dictionary has them.
std::u16string ChillusAndComposition(std::u16string_view word) {
  using namespace malayalam;
  std::u16string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char16_t chillu = AtomicChilluOf(word[i]);
    if (chillu != 0 && i + 2 < word.size() && word[i + 1] == kVirama && word[i + 2] == kZwj) {
      out.push_back(chillu);
      i += 2;
      if (i + 1 < word.size() && word[i + 1] == kZwnj) ++i;
    } else {
      out.push_back(word[i]);
    }
  }
  return ComposeMalayalam(out);
}

struct Tally {
  std::size_t encodable = 0;
  std::size_t notEncodable = 0;
  std::size_t legacyExact = 0;
  std::size_t modernExact = 0;
  std::size_t modernBothRespelled = 0;
};

struct Shown {
  int failures = 0;
  int untypable = 0;
};

Tally Measure(const LegacyEncoding& encoding, const std::vector<std::u16string>& words, Shown show) {
  const testing::TypistEncoder typist(encoding);
  Tally tally;
  for (const std::u16string& word : words) {
    const auto glyphs = typist.Type(word);
    if (!glyphs) {
      ++tally.notEncodable;
      if (show.untypable-- > 0) std::cout << "  untypable: " << ToUtf8(word) << "\n";
      continue;
    }
    ++tally.encodable;
    const std::u16string legacy = ComposeMalayalam(ConvertLegacyText(encoding, *glyphs));
    const std::u16string modern = ModernSpelling(ConvertLegacyText(encoding, *glyphs, Spelling::kModern));
    tally.legacyExact += legacy == word;
    tally.modernExact += modern == ChillusAndComposition(word);
    const bool respelled = modern == ModernSpelling(word);
    tally.modernBothRespelled += respelled;
    if (!respelled && show.failures-- > 0) {
      std::cout << "  " << ToUtf8(word) << " -> " << ToUtf8(legacy) << " -> " << ToUtf8(modern) << "\n";
    }
  }
  return tally;
}

double Percent(std::size_t part, std::size_t whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

}  // namespace
}  // namespace maravelundi

int main(int argc, char** argv) {
  using namespace maravelundi;
  std::string path = "/usr/share/hunspell/ml_IN.dic";
  Shown show;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--failures" && i + 1 < argc) show.failures = std::atoi(argv[++i]);
    else if (arg == "--untypable" && i + 1 < argc) show.untypable = std::atoi(argv[++i]);
    else path = arg;
  }
  const std::vector<std::u16string> words = ReadDictionary(path);
  if (words.empty()) {
    std::cerr << path << ": no words\n";
    return 1;
  }
  std::printf("%zu words from %s\n\n", words.size(), path.c_str());
  std::printf("%-26s %9s %9s %16s %16s %16s\n", "encoding", "typed", "untypable", "legacy exact", "modern exact",
              "modern respelled");
  for (const LegacyEncoding& encoding : LegacyEncodings()) {
    const auto t = Measure(encoding, words, show);
    std::printf("%-26.*s %9zu %9zu %8zu %6.2f%% %8zu %6.2f%% %8zu %6.2f%%\n", static_cast<int>(encoding.name.size()),
                encoding.name.data(), t.encodable, t.notEncodable, t.legacyExact, Percent(t.legacyExact, t.encodable),
                t.modernExact, Percent(t.modernExact, t.encodable), t.modernBothRespelled,
                Percent(t.modernBothRespelled, t.encodable));
  }
  return 0;
}
