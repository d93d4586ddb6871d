#include "plaintext/PlainTextMaterial.h"

#include <fstream>

#include "plaintext/MacRoman.h"
#include "plaintext/PlainTextFont.h"
#include "richtext/GlyphString.h"

namespace maravelundi::testing {

std::string_view HeldAsName(HeldAs form) {
  switch (form) {
    case HeldAs::kNatural: return "natural";
    case HeldAs::kWindows1252: return "Windows-1252";
    case HeldAs::kMacRoman: return "Mac Roman";
    case HeldAs::kPrivateUse: return "private use";
    case HeldAs::kBytes: return "bytes";
    case HeldAs::kUtf16Le: return "UTF-16LE";
    case HeldAs::kUtf16Be: return "UTF-16BE";
  }
  return "";
}

namespace {

std::u16string Characters(std::u16string_view glyphs, GlyphReading reading) {
  std::u16string out;
  for (const char16_t glyph : glyphs) {
    const auto code = GlyphCode(glyph);
    if (!code || *code < 0x80 || reading == GlyphReading::kWindows1252) {
      out.push_back(glyph);
    } else {
      out.push_back(MacRomanCharacter(*code));
    }
  }
  return out;
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

}  // namespace

std::string HoldCodes(std::u16string_view glyphs, const LegacyEncoding& encoding, HeldAs form) {
  const GlyphReading natural = NaturalReading(encoding);
  switch (form) {
    case HeldAs::kNatural: return ToUtf8(Characters(glyphs, natural));
    case HeldAs::kWindows1252: return ToUtf8(Characters(glyphs, GlyphReading::kWindows1252));
    case HeldAs::kMacRoman: return ToUtf8(Characters(glyphs, GlyphReading::kMacRoman));
    case HeldAs::kPrivateUse: {
      std::u16string text;
      for (const char16_t glyph : glyphs) {
        const auto code = GlyphCode(glyph);
        text.push_back(glyph == u'\n' || glyph == u' ' || !code ? glyph : static_cast<char16_t>(0xF000 + *code));
      }
      return ToUtf8(text);
    }
    case HeldAs::kBytes: {
      std::string bytes;
      for (const char16_t glyph : glyphs) bytes.push_back(static_cast<char>(GlyphCode(glyph).value_or('?')));
      return bytes;
    }
    case HeldAs::kUtf16Le: return Utf16(Characters(glyphs, natural), false);
    case HeldAs::kUtf16Be: return Utf16(Characters(glyphs, natural), true);
  }
  return {};
}

std::vector<std::u16string> ReadDictionary(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::u16string> words;
  std::string line;
  std::getline(in, line);  // the word count
  while (std::getline(in, line)) {
    std::string word = line.substr(0, line.find('/'));
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t' || word.back() == '\r')) word.pop_back();
    if (!word.empty()) words.push_back(FromUtf8(word));
  }
  return words;
}

std::vector<std::u16string> HeldOutWords(const std::vector<std::u16string>& words) {
  std::vector<std::u16string> held;
  for (std::size_t i = 9; i < words.size(); i += 10) held.push_back(words[i]);
  return held;
}

std::uint64_t Random::Next() {
  // splitmix64
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

TypedText TypeRandomWords(const TypistEncoder& typist, const std::vector<std::u16string>& words, std::size_t count,
                          Random& random) {
  TypedText text;
  while (text.words.size() < count) {
    const std::u16string& word = words[random.Below(words.size())];
    const auto glyphs = typist.Type(word);
    if (!glyphs) continue;
    if (!text.glyphs.empty()) text.glyphs.push_back(u' ');
    text.glyphs += *glyphs;
    text.words.push_back(word);
  }
  return text;
}

}  // namespace maravelundi::testing
