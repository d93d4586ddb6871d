#include "plaintext/DecodeLegacyText.h"

#include <optional>

#include "plaintext/MacRoman.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

constexpr char16_t kPrivateUseFirst = 0xF000;
constexpr char16_t kPrivateUseLast = 0xF0FF;

// The length of the well-formed UTF-8 sequence at the start of `rest`, or 0.
std::size_t Utf8SequenceLength(std::string_view rest, char32_t& codePoint) {
  const auto b0 = static_cast<unsigned char>(rest[0]);
  if (b0 < 0x80) {
    codePoint = b0;
    return 1;
  }
  const std::size_t length = b0 >= 0xC2 && b0 <= 0xDF   ? 2
                             : b0 >= 0xE0 && b0 <= 0xEF ? 3
                             : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                        : 0;
  if (length == 0 || rest.size() < length) return 0;
  char32_t cp = b0 & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(rest[k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  codePoint = cp;
  return length;
}

bool IsUtf8(std::string_view bytes) {
  char32_t cp = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes.substr(i), cp);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

// UTF-16 without a byte order mark shows in its zero bytes: ASCII and Latin
// text has one in every unit, in the high byte's place. Legacy bytes have
// none.
std::optional<TextForm> Utf16WithoutMark(std::string_view bytes) {
  if (bytes.size() < 8 || bytes.size() % 2 != 0) return std::nullopt;
  std::size_t zeroLow = 0;
  std::size_t zeroHigh = 0;  // as little endian
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    zeroLow += bytes[i] == 0;
    zeroHigh += bytes[i + 1] == 0;
  }
  const std::size_t units = bytes.size() / 2;
  if (zeroHigh * 2 >= units && zeroLow * 20 < units) return TextForm::kUtf16LittleEndian;
  if (zeroLow * 2 >= units && zeroHigh * 20 < units) return TextForm::kUtf16BigEndian;
  return std::nullopt;
}

class Builder {
 public:
  explicit Builder(DecodedText& text) : text_(text) {}

  // One UTF-16 unit of decoded text.
  void Character(char16_t ch) {
    if (LineEnd(ch)) return;
    if (ch >= kPrivateUseFirst && ch <= kPrivateUseLast) {
      text_.privateUse = true;
      Code(ch, GlyphChar(static_cast<std::uint8_t>(ch - kPrivateUseFirst)));
    } else if (ch >= 0x80 && ch <= 0x9F) {
      Code(ch, GlyphChar(static_cast<std::uint8_t>(ch)));
    } else if (const auto mac = MacRomanCode(ch); mac && ch >= 0x80) {
      Append(ch, ch, GlyphChar(*mac));
    } else {
      Append(ch, ch, ch);
    }
  }

  // One byte of text that is not UTF-8.
  void Byte(std::uint8_t byte) {
    if (LineEnd(byte)) return;
    const char16_t glyph = GlyphChar(byte);
    Append(glyph, glyph, glyph);
  }

  void Finish(bool readsApart) {
    if (!readsApart || !macDiffers_) {
      text_.macRoman.clear();
      text_.macRoman.shrink_to_fit();
    }
  }

 private:
  // Whether `ch` ends a line (or is a NUL, which goes); CR LF is one end.
  bool LineEnd(char16_t ch) {
    const bool afterCr = afterCr_;
    afterCr_ = ch == u'\r';
    if (ch == 0) return true;
    if (ch == u'\n' && afterCr) return true;
    if (ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == 0x2028 || ch == 0x2029) {
      Append(u'\n', u'\n', u'\n');
      return true;
    }
    return false;
  }

  // A character that stands for one code in both readings.
  void Code(char16_t ch, char16_t glyph) { Append(ch, glyph, glyph); }

  void Append(char16_t ch, char16_t windows, char16_t mac) {
    text_.characters.push_back(ch);
    text_.windows1252.push_back(windows);
    text_.macRoman.push_back(mac);
    macDiffers_ = macDiffers_ || mac != windows;
  }

  DecodedText& text_;
  bool afterCr_ = false;
  bool macDiffers_ = false;
};

void DecodeUtf8(std::string_view bytes, Builder& builder) {
  char32_t cp = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    i += Utf8SequenceLength(bytes.substr(i), cp);
    if (cp >= 0x10000) {
      builder.Character(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      builder.Character(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      builder.Character(static_cast<char16_t>(cp));
    }
  }
}

void DecodeUtf16(std::string_view bytes, bool bigEndian, Builder& builder) {
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    builder.Character(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
  }
  if (bytes.size() % 2 != 0) builder.Character(0xFFFD);  // half a unit at the end
}

void Reserve(DecodedText& text, std::size_t units) {
  text.characters.reserve(units);
  text.windows1252.reserve(units);
  text.macRoman.reserve(units);
}

}  // namespace

DecodedText DecodeLegacyText(std::string_view bytes) {
  DecodedText text;
  Builder builder(text);
  const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  std::optional<TextForm> utf16;
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    text.byteOrderMark = true;
    utf16 = starts("\xFF\xFE") ? TextForm::kUtf16LittleEndian : TextForm::kUtf16BigEndian;
    bytes.remove_prefix(2);
  } else {
    utf16 = Utf16WithoutMark(bytes);
  }
  if (utf16) {
    text.form = *utf16;
    Reserve(text, bytes.size() / 2 + 1);
    DecodeUtf16(bytes, *utf16 == TextForm::kUtf16BigEndian, builder);
    builder.Finish(true);
    return text;
  }
  if (starts("\xEF\xBB\xBF")) {
    text.byteOrderMark = true;
    bytes.remove_prefix(3);
  }
  if (IsUtf8(bytes)) {
    text.form = TextForm::kUtf8;
    Reserve(text, bytes.size());
    DecodeUtf8(bytes, builder);
    builder.Finish(true);
    return text;
  }
  // Not UTF-8 after all: a byte order mark's bytes are codes too.
  if (text.byteOrderMark) {
    text.byteOrderMark = false;
    bytes = std::string_view(bytes.data() - 3, bytes.size() + 3);
  }
  text.form = TextForm::kBytes;
  Reserve(text, bytes.size());
  for (const char byte : bytes) builder.Byte(static_cast<std::uint8_t>(byte));
  builder.Finish(false);
  return text;
}

std::string_view TextFormName(TextForm form) {
  switch (form) {
    case TextForm::kUtf8: return "UTF-8";
    case TextForm::kUtf16LittleEndian: return "UTF-16LE";
    case TextForm::kUtf16BigEndian: return "UTF-16BE";
    case TextForm::kBytes: return "8-bit";
  }
  return "";
}

}  // namespace maravelundi
