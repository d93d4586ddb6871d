#include "unicode/Utf8Builder.h"

namespace maravelundi {

void Utf8Builder::AppendCodePoint(char32_t cp) {
  if (cp < 0x80) {
    out_.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out_.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out_.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out_.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out_.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out_.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out_.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

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
