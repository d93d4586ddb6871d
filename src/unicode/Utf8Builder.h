#pragma once
// Builds UTF-8 output from 16-bit units and ASCII markup. A surrogate pair that
// arrives as two neighbouring units becomes one code point; a surrogate left
// without its partner (a reordering rule can separate them) becomes U+FFFD.

#include <string>
#include <string_view>

#include "richtext/ByteSink.h"

namespace maravelundi {

class Utf8Builder {
 public:
  // Without a sink the output collects in memory for Take(); with one, it is
  // handed over in pieces of about kPieceSize bytes, and Finish() sends the rest.
  explicit Utf8Builder(ByteSink* sink = nullptr) : sink_(sink) {
    if (sink_ != nullptr) out_.reserve(kPieceSize + 256);
  }

  // Markup and character references, which are ASCII.
  void AppendAscii(std::string_view ascii) {
    // Nothing appended leaves a waiting high surrogate free to meet its low
    // half: an empty piece (a break mark's) stands between nothing.
    if (ascii.empty()) return;
    FlushPending();
    out_.append(ascii);
    MaybeHandOver();
  }

  void Append(char16_t unit);
  // Many units at once: the text outputs' whole lines.
  void Append(std::u16string_view units);

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

  void Finish() {
    FlushPending();
    HandOver();
  }

 private:
  static constexpr std::size_t kPieceSize = 1 << 16;

  void MaybeHandOver() {
    if (sink_ != nullptr && out_.size() >= kPieceSize) HandOver();
  }
  void HandOver() {
    if (sink_ == nullptr) return;
    sink_->Write(out_);
    out_.clear();
  }

  void AppendCodePoint(char32_t cp);
  void FlushPending() {
    if (pendingHigh_ != 0) {
      AppendCodePoint(0xFFFD);
      pendingHigh_ = 0;
    }
  }

  ByteSink* sink_;
  std::string out_;
  char16_t pendingHigh_ = 0;
};

}  // namespace maravelundi
