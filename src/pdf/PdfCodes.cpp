#include "pdf/PdfCodes.h"

#include "office/ConvertedFonts.h"
#include "richtext/GlyphString.h"

namespace maravelundi {
namespace {

constexpr char16_t kBullet = u'\u2022';

}  // namespace

bool IsMalayalamUnicode(char16_t ch) { return ch >= 0x0D00 && ch <= 0x0D7F; }

void DecodeCodes(std::u16string_view text, DecodedCodes& into) {
  for (const char16_t ch : text) {
    const char16_t glyph = GlyphOfStoredChar(ch);
    if (ch == kBullet) {
      ++into.ambiguous;
    } else if (IsMalayalamUnicode(ch)) {
      ++into.unicode;
    } else if (glyph == ch && !GlyphCode(ch)) {
      ++into.unknown;
    }
    into.glyphs += glyph;
  }
}

}  // namespace maravelundi
