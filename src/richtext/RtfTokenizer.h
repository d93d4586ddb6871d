#pragma once
// Splits Rich Text markup into tokens: group braces, control words with their
// optional signed parameter, control symbols, `\'hh` bytes and runs of plain
// text. The tokenizer knows nothing of destinations or fonts; it only keeps
// the lexical rules in one place (the delimiter space, `\binN` data, raw line
// ends that carry no meaning).

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

class RtfTokenizer {
 public:
  // Control words longer than this are not words RTF defines; they are read
  // to their end all the same, so that no letter of them turns into text.
  static constexpr std::size_t kMaxControlWord = 32;

  explicit RtfTokenizer(std::string_view bytes, std::size_t start = 0) : bytes_(bytes), pos_(start) {}

  RtfToken Next();
  std::size_t Position() const { return pos_; }

  // Where a `\binN` begins whose N bytes run past the end of the input, if
  // one did: the input was cut short inside binary data.
  std::optional<std::size_t> CutBinary() const { return cutBinary_; }

 private:
  RtfToken ReadBackslash(std::size_t start);
  RtfToken ReadControlWord(std::size_t start);

  std::string_view bytes_;
  std::size_t pos_;
  std::optional<std::size_t> cutBinary_;
};

// What follows the brace that closes a document's outermost group.
struct RtfTail {
  std::int64_t braceBalance = 0;  // '}' minus '{' in it, as markup (not escaped, not \bin data)
  bool secondDocument = false;    // it begins with another `{\rtf`
  std::optional<std::size_t> firstContent;  // offset of its first token other than white space
};

// Reads the markup from `from` to the end once, as the tokenizer does.
RtfTail ScanRtfTail(std::string_view bytes, std::size_t from);

}  // namespace maravelundi
