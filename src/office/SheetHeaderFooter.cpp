#include "office/SheetHeaderFooter.h"

#include <vector>

#include "convert/InPlaceConversion.h"
#include "office/ConvertedFonts.h"
#include "richtext/Document.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

// One piece of the string: a code as written, or a character of text in
// the font then in force ("Name,Style" as the code wrote it; empty: the
// default font).
struct Token {
  bool code;
  std::string written;  // a code; or the UTF-8 of one text character
  std::string font;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The length of the code at `at` (which holds '&').
std::size_t CodeLength(std::string_view codes, std::size_t at) {
  if (at + 1 >= codes.size()) return 1;
  const char kind = codes[at + 1];
  if (kind == '"') {
    const std::size_t close = codes.find('"', at + 2);
    return close == std::string_view::npos ? codes.size() - at : close - at + 1;
  }
  std::size_t end = at + 2;
  if (IsDigit(kind)) {
    while (end < codes.size() && IsDigit(codes[end])) ++end;
  } else if (kind == 'K') {
    // A colour: six hex digits, or a theme colour and its tint ("01+000").
    while (end < codes.size() && end < at + 8 && (IsHex(codes[end]) || codes[end] == '+' || codes[end] == '-')) ++end;
  } else if ((kind == 'P' || kind == 'N') && end < codes.size() && (codes[end] == '+' || codes[end] == '-')) {
    ++end;
    while (end < codes.size() && IsDigit(codes[end])) ++end;  // a page number's offset
  }
  return end - at;
}

std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return lead >= 0xC0 ? 2 : 1;
}

std::vector<Token> Tokenize(std::string_view codes) {
  std::vector<Token> tokens;
  std::string font;
  for (std::size_t at = 0; at < codes.size();) {
    if (codes[at] == '&' && at + 1 < codes.size() && codes[at + 1] == '&') {
      tokens.push_back({false, "&", font});
      at += 2;
      continue;
    }
    if (codes[at] == '&') {
      const std::size_t length = CodeLength(codes, at);
      const std::string_view code = codes.substr(at, length);
      if (code.starts_with("&\"") && code.size() >= 3) font = std::string(code.substr(2, code.size() - 3));
      if (code == "&L" || code == "&C" || code == "&R") font.clear();
      tokens.push_back({true, std::string(code), font});
      at += length;
      continue;
    }
    const std::size_t length = std::min(Utf8Length(static_cast<unsigned char>(codes[at])), codes.size() - at);
    tokens.push_back({false, std::string(codes.substr(at, length)), font});
    at += length;
  }
  return tokens;
}

std::string_view FontName(std::string_view spec) { return spec.substr(0, spec.find(',')); }

std::string_view StyleOf(std::string_view spec) {
  const std::size_t comma = spec.find(',');
  return comma == std::string_view::npos ? std::string_view("Regular") : spec.substr(comma + 1);
}

// Writes the text back, each piece after the font code it needs.
class HeaderWriter {
 public:
  explicit HeaderWriter(std::string_view defaultFont) : defaultFont_(defaultFont) {}

  void Code(const Token& token) {
    out_ += token.written;
    current_ = token.font;
  }
  void Text(std::u16string_view text, const std::string& font) {
    if (text.empty()) return;
    if (font != current_) {
      out_ += "&\"" + (font.empty() ? std::string(defaultFont_) + ",Regular" : font) + "\"";
      current_ = font;
    }
    for (const char16_t c : text) {
      if (c == u'&') out_ += '&';  // an ampersand of text is doubled
      out_ += ToUtf8(std::u16string(1, c));
    }
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string_view defaultFont_;
  std::string out_;
  std::string current_;
};

}  // namespace

std::optional<std::string> ConvertHeaderFooter(std::string_view codes, std::string_view defaultFont,
                                               const ConversionProfile& profile,
                                               const std::function<bool(std::string_view)>& isLegacy) {
  const std::vector<Token> tokens = Tokenize(codes);
  // The story: each text character in its font's name; a section's start
  // ends a paragraph, so that no word runs on into the next section.
  Document story;
  std::vector<bool> replaceable;
  std::vector<std::size_t> tokenOf;  // per story character
  std::vector<bool> legacyAt;        // per story character: in a legacy font
  bool legacy = false;
  for (std::size_t t = 0; t < tokens.size(); ++t) {
    const Token& token = tokens[t];
    if (token.code) {
      if (token.written == "&L" || token.written == "&C" || token.written == "&R") {
        story.Append(u"\r\n", story.Intern(CharFormat{}));
        replaceable.insert(replaceable.end(), 2, false);
        tokenOf.insert(tokenOf.end(), 2, t);
        legacyAt.insert(legacyAt.end(), 2, false);
      }
      continue;
    }
    CharFormat format;
    format.fontName = std::string(token.font.empty() ? defaultFont : FontName(token.font));
    const bool converted = isLegacy(format.fontName);
    legacy |= converted;
    const std::u16string text = FromUtf8(token.written);
    story.Append(converted ? std::u16string(1, GlyphOfStoredChar(text.empty() ? u'?' : text[0])) : text,
                 story.Intern(format));
    replaceable.resize(story.Size(), true);
    tokenOf.resize(story.Size(), t);
    legacyAt.resize(story.Size(), converted);
  }
  if (!legacy) return std::nullopt;
  const PlacedText placed = ConvertInPlace(story, replaceable, profile);
  PlacedCursor cursor(placed);
  HeaderWriter writer(defaultFont);
  const std::u16string_view text = story.Text();
  std::size_t i = 0;
  for (std::size_t t = 0; t < tokens.size(); ++t) {
    const Token& token = tokens[t];
    if (token.code) writer.Code(token);
    for (; i < text.size() && tokenOf[i] == t; ++i) {
      if (!replaceable[i]) continue;  // a section's mark
      for (const PlacedRun& piece : cursor.RunsAt(i)) {
        const std::string font = piece.font == PlacedText::kKept
                                     ? token.font
                                     : placed.fonts[piece.font] + "," + std::string(StyleOf(token.font));
        writer.Text(piece.text, font);
      }
      if (placed.replaced[i]) continue;
      // Kept as it was: a legacy character as stored, not as its glyph.
      writer.Text(legacyAt[i] ? FromUtf8(token.written) : std::u16string(text.substr(i, 1)), token.font);
    }
  }
  return writer.Take();
}

}  // namespace maravelundi
