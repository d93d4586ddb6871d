#include "richtext/RtfTokenizer.h"

#include <algorithm>

namespace maravelundi {

void RtfTokenizer::SkipBinary(const RtfToken& bin) {
  // Binary data follows the delimiter: exactly N bytes that may hold
  // braces and backslashes. A count past the end stops at the end, and
  // the reader is told: the file was cut off inside the data.
  const std::int64_t count = bin.hasParameter ? std::max<std::int64_t>(0, bin.parameter) : 0;
  const std::size_t available = bytes_.size() - pos_;
  if (static_cast<std::uint64_t>(count) > available) {
    if (!cutBinary_) cutBinary_ = bin.offset;
    pos_ = bytes_.size();
  } else {
    pos_ += static_cast<std::size_t>(count);
  }
}

RtfTail ScanRtfTail(std::string_view bytes, std::size_t from) {
  RtfTail tail;
  RtfTokenizer tokens(bytes, from);
  for (RtfToken token = tokens.Next(); token.kind != RtfTokenKind::End; token = tokens.Next()) {
    const bool blank =
        token.kind == RtfTokenKind::Text && token.text.find_first_not_of(" \t") == std::string_view::npos;
    if (!tail.firstContent && !blank) {
      tail.firstContent = token.offset;
      if (token.kind == RtfTokenKind::GroupOpen) {
        const RtfToken next = RtfTokenizer(bytes, tokens.Position()).Next();
        tail.secondDocument = next.kind == RtfTokenKind::ControlWord && next.text == "rtf";
      }
    }
    if (token.kind == RtfTokenKind::GroupOpen) --tail.braceBalance;
    if (token.kind == RtfTokenKind::GroupClose) ++tail.braceBalance;
  }
  return tail;
}

}  // namespace maravelundi
