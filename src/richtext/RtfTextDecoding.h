#pragma once
// What the bytes of a font's text become. Bytes of legacy and Western fonts
// are glyph characters and those of the font "Symbol" what it draws, a byte
// each, looked up in a table. Bytes of a font with a code page are held
// until something else comes, so that the two bytes of a double-byte
// character decode together, and are then decoded as a piece. The Rich
// Text reader's own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext/CodePage.h"
#include "richtext/FontEncoding.h"
#include "richtext/GlyphString.h"
#include "richtext/RtfGroupState.h"
#include "richtext/RtfStory.h"
#include "richtext/RtfTokenizer.h"
#include "richtext/SymbolFont.h"

namespace maravelundi::rtfread {

// The characters of a font's bytes, two ways: in plain text, where the
// bytes that end a stretch of it (\ { } CR LF NUL) are kEndsText instead, so
// that the inner loop finds the end of a stretch and the character of a
// byte in one lookup; and of every byte, for `\'hh` and escaped bytes. No
// byte's character is U+FFFF, a noncharacter. One array, so that the inner
// loop picks either half by index without a branch.
struct ByteChars {
  static constexpr std::size_t kOfByte = 256;  // where the characters of every byte begin
  std::array<char16_t, 512> chars;

  char16_t InText(unsigned char byte) const { return chars[byte]; }
  char16_t OfByte(unsigned char byte) const { return chars[kOfByte + byte]; }
};
inline constexpr char16_t kEndsText = 0xFFFF;

template <typename CharOfByte>
constexpr ByteChars MakeByteChars(CharOfByte charOfByte) {
  ByteChars table{};
  for (std::size_t byte = 0; byte < 256; ++byte) {
    const char16_t ch = charOfByte(static_cast<std::uint8_t>(byte));
    table.chars[byte] = rtflex::IsPlain(static_cast<char>(byte)) ? ch : kEndsText;
    table.chars[ByteChars::kOfByte + byte] = ch;
  }
  return table;
}

// Made before any reading, so that looking them up costs no check whether
// they have been made yet.
inline constexpr ByteChars kGlyphByteChars = MakeByteChars(GlyphChar);
inline const ByteChars kSymbolByteChars = MakeByteChars(SymbolChar);

// The characters of the bytes of a font whose bytes are kGlyphBytes or
// kSymbolBytes; nullptr for a code page, whose bytes are decoded as pieces.
inline const ByteChars* CharsOfBytes(int codePage) {
  if (codePage == kGlyphBytes) return &kGlyphByteChars;
  if (codePage == kSymbolBytes) return &kSymbolByteChars;
  return nullptr;
}

// U+F020..U+F0FF in a symbol or legacy font, or in a font's name, stand for
// the font's bytes: the byte's character, or in the font "Symbol" what it
// draws. Whatever way they came, \uN or a code page's user-defined area,
// they read the same, since a writer has only \uN to carry them.
inline void ReadPrivateUseAsBytes(char16_t* begin, char16_t* end, bool symbolFont) {
  for (char16_t* ch = begin; ch != end; ++ch) {
    if (*ch < 0xF020 || *ch > 0xF0FF) continue;
    const auto byte = static_cast<std::uint8_t>(*ch - 0xF000);
    *ch = symbolFont ? SymbolChar(byte) : GlyphChar(byte);
  }
}

// Bytes of a font with a code page, held for one story in one character
// state, or for the name of the font table's entry being read.
class HeldBytes {
 public:
  // Where held bytes go: a story in a character state, or a font name.
  struct Owner {
    Story* story = nullptr;  // nullptr: the font table's entry
    CharState chars;
    int codePage = 0;
    bool operator==(const Owner&) const = default;
  };

  bool Empty() const { return bytes_.empty(); }
  const Owner& HeldFor() const { return owner_; }
  std::size_t Offset() const { return offset_; }

  // Whether bytes for `owner` may join those held: a change of any
  // attribute, not only of font, ends a double-byte pair, whose two halves
  // would otherwise belong to different runs.
  bool Joins(const Owner& owner) const { return bytes_.empty() || owner_ == owner; }

  // `offset` is where the token of the first of them begins;
  // `privateUseAsBytes` whether their font takes U+F020..U+F0FF as bytes.
  void Hold(const Owner& owner, std::string_view bytes, std::size_t offset, bool privateUseAsBytes) {
    if (bytes_.empty()) {
      offset_ = offset;
      privateUseAsBytes_ = privateUseAsBytes;
    }
    owner_ = owner;
    bytes_.append(bytes);
  }

  // Decodes the bytes held, which are then gone; the text stays valid until
  // the next call. A font name takes U+F020..U+F0FF as bytes whatever its
  // font, as a symbol or legacy font's text does.
  std::u16string_view Decode(DecodeReport& report) {
    decoded_.clear();
    report = decoder_.Append(owner_.codePage, bytes_, decoded_);
    if (owner_.story == nullptr || privateUseAsBytes_) {
      ReadPrivateUseAsBytes(decoded_.data(), decoded_.data() + decoded_.size(), false);
    }
    bytes_.clear();
    return decoded_;
  }

 private:
  std::string bytes_;
  Owner owner_;
  std::size_t offset_ = 0;
  bool privateUseAsBytes_ = false;
  std::u16string decoded_;
  CodePageDecoder decoder_;
};

}  // namespace maravelundi::rtfread
