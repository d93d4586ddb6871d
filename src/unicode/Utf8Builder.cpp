#include "unicode/Utf8Builder.h"

#include "richtext/GlyphString.h"

namespace maravelundi {

void Utf8Builder::AppendCodePoint(char32_t cp) { AppendUtf8(out_, cp); }

void Utf8Builder::Append(char16_t unit) {
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    if (pendingHigh_ != 0) {
      AppendCodePoint(0x10000 + ((char32_t(pendingHigh_) - 0xD800) << 10) + (unit - 0xDC00));
      pendingHigh_ = 0;
    } else {
      AppendCodePoint(0xFFFD);
    }
    MaybeHandOver();
    return;
  }
  FlushPending();
  if (unit >= 0xD800 && unit <= 0xDBFF) pendingHigh_ = unit;
  else AppendCodePoint(unit);
  MaybeHandOver();
}

void Utf8Builder::Append(std::u16string_view units) {
  std::size_t i = 0;
  while (i < units.size()) {
    // Surrogates, and a high one waiting for its partner, take the careful
    // way; everything else is encoded straight into room made for it.
    if (pendingHigh_ != 0 || (units[i] >= 0xD800 && units[i] <= 0xDFFF)) {
      Append(units[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < units.size() && (units[end] < 0xD800 || units[end] > 0xDFFF) && end - i < kPieceSize) ++end;
    const std::size_t at = out_.size();
    out_.resize(at + 3 * (end - i));
    char* out = out_.data() + at;
    for (; i < end; ++i) {
      const char16_t unit = units[i];
      if (unit < 0x80) {
        *out++ = static_cast<char>(unit);
      } else if (unit < 0x800) {
        *out++ = static_cast<char>(0xC0 | (unit >> 6));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
      } else {
        *out++ = static_cast<char>(0xE0 | (unit >> 12));
        *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (unit & 0x3F));
      }
    }
    out_.resize(static_cast<std::size_t>(out - out_.data()));
    MaybeHandOver();
  }
}

void Utf8Builder::AppendEscaped(char16_t unit) {
  switch (unit) {
    case u'&': AppendAscii("&amp;"); break;
    case u'<': AppendAscii("&lt;"); break;
    case u'>': AppendAscii("&gt;"); break;
    default: Append(unit);
  }
}

}  // namespace maravelundi
