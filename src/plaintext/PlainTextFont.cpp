#include "plaintext/PlainTextFont.h"

#include <algorithm>
#include <iterator>

#include "families/ConvertLegacyRun.h"
#include "richtext/GlyphString.h"
#include "transcode/GlyphTables.h"
#include "transcode/Transcoder.h"

namespace maravelundi {
namespace {

// The families whose maps are keyed by Mac Roman characters: their fonts
// were made on the Macintosh, and text copied out of them holds Mac Roman
// characters. The font maps say so; the families' tables keep only bytes.
constexpr std::string_view kMacRomanFamilies[] = {
    "ML", "ML-TT Mayoori", "MLB-TT Ambili BoldItalic", "GIST-MLTT", "MLB", "MLB-TT Revathi BoldItalic",
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(x) == lower(y);
         });
}

const LegacyEncoding& MlttEncoding() {
  static const LegacyEncoding& mltt = *std::find_if(LegacyEncodings().begin(), LegacyEncodings().end(),
                                                    [](const LegacyEncoding& e) { return e.mltt; });
  return mltt;
}

std::optional<PlainTextFont> FindRachanaFont(std::string_view name) {
  for (const GlyphTableDescriptor& table : kGlyphTables) {
    for (const std::string_view fontName : table.fontNames) {
      if (!EqualIgnoringCase(fontName, name)) continue;
      PlainTextFont font;
      font.fontName = fontName;
      font.encodingName = table.generation == Generation::kVersion2 ? "Rachana 2" : "Rachana 7";
      font.rachana = &GlyphTable(table);
      return font;
    }
  }
  return std::nullopt;
}

}  // namespace

GlyphReading NaturalReading(const LegacyEncoding& encoding) {
  return std::find(std::begin(kMacRomanFamilies), std::end(kMacRomanFamilies), encoding.name) !=
                 std::end(kMacRomanFamilies)
             ? GlyphReading::kMacRoman
             : GlyphReading::kWindows1252;
}

PlainTextFont FontOfEncoding(const LegacyEncoding& encoding, GlyphReading reading) {
  const auto fonts = KnownLegacyFonts();
  const auto first = std::find_if(fonts.begin(), fonts.end(), [&](const LegacyFontName& f) {
    return f.encoding == &encoding;
  });
  std::string_view name = first != fonts.end() ? first->name : encoding.name;
  if (encoding.mltt) name = kMlttFontName;
  return PlainTextFont{name, encoding.name, &encoding, nullptr, reading};
}

std::optional<PlainTextFont> FindPlainTextFont(std::string_view name) {
  for (const LegacyFontName& font : KnownLegacyFonts()) {
    if (font.encoding == nullptr || !EqualIgnoringCase(font.name, name)) continue;
    return PlainTextFont{font.name, font.encoding->name, font.encoding, nullptr, NaturalReading(*font.encoding)};
  }
  return FindRachanaFont(name);
}

const LegacyEncoding& ConvertingEncoding(const PlainTextFont& font) {
  return font.encoding != nullptr ? *font.encoding : MlttEncoding();
}

std::u16string CodesInEncoding(const PlainTextFont& font, std::u16string_view glyphs) {
  if (font.rachana == nullptr) return std::u16string(glyphs);
  std::u16string mltt;
  mltt.reserve(glyphs.size() * 2);
  for (const char16_t& ch : glyphs) mltt += font.rachana->Lookup(ch);
  return mltt;
}

std::u16string FontToUnicode(const PlainTextFont& font, std::u16string_view glyphs) {
  if (font.rachana == nullptr) return ConvertLegacyText(ConvertingEncoding(font), glyphs);
  return ConvertLegacyText(ConvertingEncoding(font), CodesInEncoding(font, glyphs));
}

}  // namespace maravelundi
