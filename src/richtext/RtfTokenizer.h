#pragma once
// Splits Rich Text markup into tokens: group braces, control words with their
// optional signed parameter, control symbols, `\'hh` bytes and runs of plain
// text. The tokenizer knows nothing of destinations or fonts; it only keeps
// the lexical rules in one place (the delimiter space, `\binN` data, raw line
// ends that carry no meaning). The reader calls it for every token it does
// not read in its own inner loop, so the common paths are inline here.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace maravelundi {

enum class RtfTokenKind {
  GroupOpen,
  GroupClose,
  ControlWord,    // name in `text`, parameter if hasParameter
  ControlSymbol,  // the character after the backslash in `symbol`
  HexByte,        // `\'hh`: the byte in `symbol`
  Text,           // a run of plain bytes in `text`, never containing \ { } CR LF NUL
  End,
};

struct RtfToken {
  RtfTokenKind kind = RtfTokenKind::End;
  std::size_t offset = 0;  // of the token's first byte
  std::string_view text;
  std::int64_t parameter = 0;
  bool hasParameter = false;
  unsigned char symbol = 0;
};

// What each byte is to the tokenizer, one table lookup per byte.
namespace rtflex {

enum ByteClass : std::uint8_t {
  kPlain,    // text
  kSpecial,  // \ { }: a token of its own kind begins
  kIgnored,  // CR, LF and NUL: no token at all
};

inline constexpr std::array<ByteClass, 256> kByteClasses = [] {
  std::array<ByteClass, 256> classes{};
  classes[static_cast<unsigned char>('\\')] = kSpecial;
  classes[static_cast<unsigned char>('{')] = kSpecial;
  classes[static_cast<unsigned char>('}')] = kSpecial;
  classes[static_cast<unsigned char>('\r')] = kIgnored;
  classes[static_cast<unsigned char>('\n')] = kIgnored;
  classes[0] = kIgnored;
  return classes;
}();

constexpr bool IsPlain(char c) { return kByteClasses[static_cast<unsigned char>(c)] == kPlain; }
constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a hex digit; 0xFF for any other byte.
inline constexpr std::array<std::uint8_t, 256> kHexValues = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(0xFF);
  for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<std::uint8_t>(d);
  for (int d = 0; d < 6; ++d) {
    values['a' + d] = static_cast<std::uint8_t>(10 + d);
    values['A' + d] = static_cast<std::uint8_t>(10 + d);
  }
  return values;
}();

// The byte of a `\'hh` whose two digits start at `digits`, or -1 where they
// are not two hex digits.
inline int HexByte(const char* digits) {
  const std::uint8_t high = kHexValues[static_cast<unsigned char>(digits[0])];
  const std::uint8_t low = kHexValues[static_cast<unsigned char>(digits[1])];
  return (high | low) > 15 ? -1 : high * 16 + low;
}

// Parameters beyond this are clamped: no RTF value needs more, and a `\binN`
// this large runs to the end of any file anyway.
inline constexpr std::int64_t kMaxParameter = std::int64_t{1} << 40;

// Reads the digits at `p` (there is at least one) into `value`; returns
// where they end.
inline const char* ReadDigits(const char* p, const char* end, std::int64_t& value) {
  value = 0;
  for (; p < end; ++p) {
    const auto digit = static_cast<unsigned char>(*p - '0');
    if (digit > 9) break;
    value = std::min(kMaxParameter, value * 10 + digit);
  }
  return p;
}

}  // namespace rtflex

class RtfTokenizer {
 public:
  // Control words longer than this are not words RTF defines; they are read
  // to their end all the same, so that no letter of them turns into text.
  static constexpr std::size_t kMaxControlWord = 32;

  explicit RtfTokenizer(std::string_view bytes, std::size_t start = 0) : bytes_(bytes), pos_(start) {}

  RtfToken Next();
  std::size_t Position() const { return pos_; }
  // For a reader that read some tokens itself: go on from `position`.
  void MoveTo(std::size_t position) { pos_ = position; }

  // Where a `\binN` begins whose N bytes run past the end of the input, if
  // one did: the input was cut short inside binary data.
  std::optional<std::size_t> CutBinary() const { return cutBinary_; }

 private:
  RtfToken ReadBackslash(std::size_t start);
  RtfToken ReadControlWord(std::size_t start);
  void SkipBinary(const RtfToken& bin);

  static RtfToken MakeToken(RtfTokenKind kind, std::size_t offset) {
    RtfToken token;
    token.kind = kind;
    token.offset = offset;
    return token;
  }

  std::string_view bytes_;
  std::size_t pos_;
  std::optional<std::size_t> cutBinary_;
};

inline RtfToken RtfTokenizer::Next() {
  const char* const data = bytes_.data();
  const std::size_t size = bytes_.size();
  while (pos_ < size) {
    const std::size_t start = pos_;
    switch (data[pos_]) {
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
        while (pos_ < size && rtflex::IsPlain(data[pos_])) ++pos_;
        RtfToken token = MakeToken(RtfTokenKind::Text, start);
        token.text = bytes_.substr(start, pos_ - start);
        return token;
      }
    }
  }
  return MakeToken(RtfTokenKind::End, size);
}

inline RtfToken RtfTokenizer::ReadBackslash(std::size_t start) {
  pos_ = start + 1;
  if (pos_ >= bytes_.size()) {
    // A lone backslash at the very end: nothing to read; the caller sees the
    // end of the file next.
    return MakeToken(RtfTokenKind::ControlSymbol, start);
  }
  const char c = bytes_[pos_];
  if (rtflex::IsLetter(c)) return ReadControlWord(start);
  ++pos_;
  if (c == '\'' && pos_ + 2 <= bytes_.size()) {
    if (const int byte = rtflex::HexByte(bytes_.data() + pos_); byte >= 0) {
      pos_ += 2;
      RtfToken token = MakeToken(RtfTokenKind::HexByte, start);
      token.symbol = static_cast<unsigned char>(byte);
      return token;
    }
  }
  // Any other symbol, including `\'` without two hex digits, which is then
  // an unknown symbol and the following bytes are read as they come.
  RtfToken token = MakeToken(RtfTokenKind::ControlSymbol, start);
  token.symbol = static_cast<unsigned char>(c);
  return token;
}

inline RtfToken RtfTokenizer::ReadControlWord(std::size_t start) {
  RtfToken token = MakeToken(RtfTokenKind::ControlWord, start);
  const char* const data = bytes_.data();
  const char* const end = data + bytes_.size();
  const char* p = data + pos_;
  const char* const name = p;
  while (p < end && rtflex::IsLetter(*p)) ++p;
  token.text = std::string_view(name, static_cast<std::size_t>(p - name));

  const bool negative = p + 1 < end && *p == '-' && rtflex::IsDigit(p[1]);
  if (negative) ++p;
  if (p < end && rtflex::IsDigit(*p)) {
    p = rtflex::ReadDigits(p, end, token.parameter);
    token.hasParameter = true;
    if (negative) token.parameter = -token.parameter;
  }
  if (p < end && *p == ' ') ++p;  // the delimiter space
  pos_ = static_cast<std::size_t>(p - data);
  if (token.text == "bin") SkipBinary(token);
  return token;
}

// What follows the brace that closes a document's outermost group.
struct RtfTail {
  std::int64_t braceBalance = 0;  // '}' minus '{' in it, as markup (not escaped, not \bin data)
  bool secondDocument = false;    // it begins with another `{\rtf`
  std::optional<std::size_t> firstContent;  // offset of its first token other than white space
};

// Reads the markup from `from` to the end once, as the tokenizer does.
RtfTail ScanRtfTail(std::string_view bytes, std::size_t from);

}  // namespace maravelundi
