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

void Utf8Builder::AppendEscaped(char16_t unit) {
  switch (unit) {
    case u'&': AppendAscii("&amp;"); break;
    case u'<': AppendAscii("&lt;"); break;
    case u'>': AppendAscii("&gt;"); break;
    default: Append(unit);
  }
}

}  // namespace maravelundi
