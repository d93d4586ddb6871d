#include "richtext/RtfTokenizer.h"

#include <algorithm>

namespace maravelundi {
namespace {

bool EndsText(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parameters beyond this are clamped: no RTF value needs more, and a `\binN`
// this large runs to the end of any file anyway.
constexpr std::int64_t kMaxParameter = std::int64_t{1} << 40;

RtfToken MakeToken(RtfTokenKind kind, std::size_t offset) {
  RtfToken token;
  token.kind = kind;
  token.offset = offset;
  return token;
}

}  // namespace

RtfToken RtfTokenizer::Next() {
  while (pos_ < bytes_.size()) {
    const std::size_t start = pos_;
    const char c = bytes_[pos_];
    switch (c) {
      case '{':
        ++pos_;
        return MakeToken(RtfTokenKind::GroupOpen, start);
      case '}':
        ++pos_;
        return MakeToken(RtfTokenKind::GroupClose, start);
      case '\\':
        return ReadBackslash(start);
      case '\r':
      case '\n':
        ++pos_;  // line ends in the markup only wrap it
        continue;
      case '\0':
        // Not a character of Rich Text: damaged files carry runs of them
        // (a block zeroed on disk); `\'00` is how a document writes byte 0.
        ++pos_;
        continue;
      default: {
        ++pos_;
        while (pos_ < bytes_.size() && !EndsText(bytes_[pos_])) ++pos_;
        RtfToken token = MakeToken(RtfTokenKind::Text, start);
        token.text = bytes_.substr(start, pos_ - start);
        return token;
      }
    }
  }
  return MakeToken(RtfTokenKind::End, bytes_.size());
}

RtfToken RtfTokenizer::ReadBackslash(std::size_t start) {
  pos_ = start + 1;
  if (pos_ >= bytes_.size()) {
    // A lone backslash at the very end: nothing to read; the caller sees the
    // end of the file next.
    return MakeToken(RtfTokenKind::ControlSymbol, start);
  }
  const char c = bytes_[pos_];
  if (IsLetter(c)) return ReadControlWord(start);
  ++pos_;
  if (c == '\'') {
    if (pos_ + 2 <= bytes_.size()) {
      const int high = HexValue(bytes_[pos_]);
      const int low = HexValue(bytes_[pos_ + 1]);
      if (high >= 0 && low >= 0) {
        pos_ += 2;
        RtfToken token = MakeToken(RtfTokenKind::HexByte, start);
        token.symbol = static_cast<unsigned char>(high * 16 + low);
        return token;
      }
    }
  }
  // Any other symbol, including `\'` without two hex digits, which is then
  // an unknown symbol and the following bytes are read as they come.
  RtfToken token = MakeToken(RtfTokenKind::ControlSymbol, start);
  token.symbol = static_cast<unsigned char>(c);
  return token;
}

RtfToken RtfTokenizer::ReadControlWord(std::size_t start) {
  RtfToken token = MakeToken(RtfTokenKind::ControlWord, start);
  const std::size_t nameStart = pos_;
  while (pos_ < bytes_.size() && IsLetter(bytes_[pos_])) ++pos_;
  token.text = bytes_.substr(nameStart, pos_ - nameStart);

  bool negative = false;
  if (pos_ + 1 < bytes_.size() && bytes_[pos_] == '-' && IsDigit(bytes_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < bytes_.size() && IsDigit(bytes_[pos_])) {
    std::int64_t value = 0;
    for (; pos_ < bytes_.size() && IsDigit(bytes_[pos_]); ++pos_) {
      value = std::min(kMaxParameter, value * 10 + (bytes_[pos_] - '0'));
    }
    token.hasParameter = true;
    token.parameter = negative ? -value : value;
  }
  if (pos_ < bytes_.size() && bytes_[pos_] == ' ') ++pos_;  // the delimiter space

  if (token.text == "bin") {
    // Binary data follows the delimiter: exactly N bytes that may hold
    // braces and backslashes. A count past the end stops at the end, and
    // the reader is told: the file was cut off inside the data.
    const std::int64_t count = token.hasParameter ? std::max<std::int64_t>(0, token.parameter) : 0;
    const std::size_t available = bytes_.size() - pos_;
    if (static_cast<std::uint64_t>(count) > available) {
      if (!cutBinary_) cutBinary_ = start;
      pos_ = bytes_.size();
    } else {
      pos_ += static_cast<std::size_t>(count);
    }
  }
  return token;
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
