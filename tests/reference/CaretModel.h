#pragma once
// A deliberately simple stand-in for the rich text edit control, as the
// conversion passes use it: characters each carrying a font name, a caret, a
// pending insertion font, and insertion at the caret. Everything is a plain
// vector walk; speed is of no concern here, only that it behaves as the
// control does, so the fast passes can be checked against a walk through it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "richtext/Document.h"

namespace maravelundi::reference {

class CaretModel {
 public:
  // The font an emptied control gives text typed into it before any font was
  // chosen.
  static constexpr const char* kDefaultFont = "";

  CaretModel() = default;
  // Loads a document, keeping each character's font; the caret goes to the
  // start.
  explicit CaretModel(const Document& document);

  // The plain text, one character per position (positions count from 1).
  std::u16string Text() const;
  // Replaces the whole content with `text` in the default font; the empty
  // string empties the control.
  void SetText(const std::u16string& text);

  // An empty selection after the first `p` characters; past the end it goes
  // to the end, below the start to the start.
  void SetSelStart(long long p);
  std::size_t SelStart() const { return caret_; }

  // With the caret at p >= 1: the font of the p-th character. At the start of
  // the text there is no character before the caret; then the font that
  // typing would use is reported.
  std::string SelFontName() const;
  // The font of the text inserted next at the caret.
  void SetSelFontName(const std::string& font);

  // Inserts at the caret, in the font last written to SelFontName since the
  // caret was placed, or else in the font of the character before the caret;
  // the caret ends after the inserted text.
  void SetSelText(const std::u16string& text);

  std::size_t Length() const { return chars_.size(); }
  // The font of the character at 1-based position `p`.
  const std::string& FontOfPosition(std::size_t p) const { return chars_.at(p - 1).font; }

  // The content as a document of the core library.
  Document ToDocument() const;

 private:
  struct Char {
    char16_t ch;
    std::string font;
  };

  std::vector<Char> chars_;
  std::size_t caret_ = 0;
  std::optional<std::string> pendingFont_;
};

}  // namespace maravelundi::reference
