#include "plaintext/WordLanguage.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "families/ConvertLegacyRun.h"
#include "plaintext/CharacterModel.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// What a punctuation mark at a word's edge costs: a little, in either
// language, so that a word is judged by its letters.
constexpr double kEdgeBits = 3.0;

// Quotes, brackets and stops, which English and Malayalam text put at the
// edges of words alike. In the ML-TT layout some of these codes are letters
// ('[' is DHA): there the Malayalam reading keeps them, and wins.
constexpr std::u16string_view kOpening = u"\"'([{<\u201C\u2018\u00AB\u00BF\u00A1";
constexpr std::u16string_view kClosing = u".,;:!?\"')]}>\u201D\u2019\u00BB\u2026";
constexpr std::u16string_view kEither = u"-\u2013\u2014*/";

bool IsOpening(char16_t ch) {
  return kOpening.find(ch) != std::u16string_view::npos || kEither.find(ch) != std::u16string_view::npos;
}
bool IsClosing(char16_t ch) {
  return kClosing.find(ch) != std::u16string_view::npos || kEither.find(ch) != std::u16string_view::npos;
}

constexpr bool IsLatinLetter(char16_t ch) {
  return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
         (ch >= 0xC0 && ch <= 0xFF && ch != 0xD7 && ch != 0xF7);
}

constexpr char16_t LowerLatin(char16_t ch) {
  return (ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) ? static_cast<char16_t>(ch + 0x20)
                                                                                 : ch;
}

}  // namespace

double EnglishWordLog2(std::u16string_view word) {
  std::size_t begin = 0;
  std::size_t end = word.size();
  while (begin < end && IsOpening(word[begin])) ++begin;
  while (end > begin && IsClosing(word[end - 1])) --end;
  const std::u16string_view core = word.substr(begin, end - begin);
  if (std::none_of(core.begin(), core.end(), IsLatinLetter)) return kNoLikelihood;
  std::u16string lower(core);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerLatin);
  const double edges = static_cast<double>(word.size() - core.size()) * kEdgeBits;
  return EnglishModel().WordLog2(lower) + EnglishCaseLog2(core) - edges;
}

double MalayalamWordLog2(std::u16string_view unicode) {
  const std::u16string canonical = CanonicalMalayalam(unicode);
  std::size_t begin = 0;
  std::size_t end = canonical.size();
  while (begin < end && IsOpening(canonical[begin])) ++begin;
  while (end > begin && IsClosing(canonical[end - 1])) --end;
  const std::u16string_view core = std::u16string_view(canonical).substr(begin, end - begin);
  if (std::none_of(core.begin(), core.end(), [](char16_t ch) { return ch >= 0x0D00 && ch <= 0x0D7F; })) {
    return kNoLikelihood;
  }
  const double edges = static_cast<double>(canonical.size() - core.size()) * kEdgeBits;
  return MalayalamModel().WordLog2(core) - edges;
}

void JudgeLine(std::span<const WordScore> scores, std::span<WordKind> kinds) {
  // Viterbi over two states; a likelihood of none is a very low finite one,
  // so that sums stay numbers.
  constexpr double kImpossible = -1e9;
  constexpr int kEnglish = 0;
  constexpr int kMalayalam = 1;
  const auto finite = [&](double bits) { return bits == kNoLikelihood ? kImpossible : bits; };
  std::vector<std::array<std::uint8_t, 2>> cameFrom(scores.size());
  // A line begins and ends among Malayalam: English costs a change either way.
  std::array<double, 2> best = {-kLanguageSwitchBits, 0.0};
  for (std::size_t i = 0; i < scores.size(); ++i) {
    kinds[i] = scores[i].Kind();
    if (kinds[i] == WordKind::kNeutral) continue;
    const std::array<double, 2> own = {finite(scores[i].english) - kEnglishMarginBits, finite(scores[i].malayalam)};
    std::array<double, 2> next{};
    for (int state = 0; state < 2; ++state) {
      const double stay = best[state];
      const double change = best[1 - state] - kLanguageSwitchBits;
      cameFrom[i][state] = static_cast<std::uint8_t>(stay >= change ? state : 1 - state);
      next[state] = std::max(stay, change) + own[state];
    }
    best = next;
  }
  int state = best[kEnglish] - kLanguageSwitchBits > best[kMalayalam] ? kEnglish : kMalayalam;
  for (std::size_t i = scores.size(); i-- > 0;) {
    if (kinds[i] == WordKind::kNeutral) continue;
    kinds[i] = state == kEnglish ? WordKind::kEnglish : WordKind::kMalayalam;
    state = cameFrom[i][state];
  }
}

MalayalamReading ReadAsMalayalam(const PlainTextFont& font, std::u16string_view glyphs) {
  const LegacyEncoding& encoding = ConvertingEncoding(font);
  const std::u16string codes = CodesInEncoding(font, glyphs);
  MalayalamReading reading{ConvertLegacyText(encoding, codes), kNoLikelihood};
  reading.log2 = MalayalamWordLog2(reading.unicode);
  std::size_t end = codes.size();
  const auto glyphAt = [&](std::size_t i) -> const LegacyGlyph* {
    const auto code = GlyphCode(codes[i]);
    return code ? &encoding.Glyph(*code) : nullptr;
  };
  while (end > 0) {
    const LegacyGlyph* glyph = glyphAt(end - 1);
    const std::u16string_view drawn =
        glyph != nullptr && !glyph->text.empty() ? glyph->text : std::u16string_view(&codes[end - 1], 1);
    if (drawn.size() != 1 || !IsClosing(drawn[0])) break;
    --end;
  }
  if (end > 0) {
    const LegacyGlyph* last = glyphAt(end - 1);
    if (last != nullptr && (last->role == GlyphRole::kPreBaseSign || last->role == GlyphRole::kRaSign)) {
      reading.log2 -= CharacterModel::kUnseenBits;
    }
  }
  return reading;
}

WordScore ScoreWord(const PlainTextFont& font, std::u16string_view glyphs, std::u16string_view characters) {
  return WordScore{EnglishWordLog2(characters), ReadAsMalayalam(font, glyphs).log2};
}

}  // namespace maravelundi
