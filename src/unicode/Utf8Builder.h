#pragma once
// Builds UTF-8 output from 16-bit units and ASCII markup. A surrogate pair that
// arrives as two neighbouring units becomes one code point; a surrogate left
// without its partner (a reordering rule can separate them) becomes U+FFFD.

#include <string>
#include <string_view>

namespace maravelundi {

class Utf8Builder {
 public:
  void Reserve(std::size_t bytes) { out_.reserve(bytes); }

  // Markup and character references, which are ASCII.
  void AppendAscii(std::string_view ascii) {
    FlushPending();
    out_.append(ascii);
  }

  void Append(char16_t unit);

  // Text copied from the document into HTML: the characters that would read
  // as markup are escaped.
  void AppendEscaped(char16_t unit);
  void AppendEscaped(std::u16string_view text) {
    for (char16_t unit : text) AppendEscaped(unit);
  }

  std::string Take() {
    FlushPending();
    return std::move(out_);
  }

 private:
  void AppendCodePoint(char32_t cp);
  void FlushPending() {
    if (pendingHigh_ != 0) {
      AppendCodePoint(0xFFFD);
      pendingHigh_ = 0;
    }
  }

  std::string out_;
  char16_t pendingHigh_ = 0;
};

}  // namespace maravelundi
