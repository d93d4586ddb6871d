#include "reference/CaretModel.h"

namespace maravelundi::reference {

CaretModel::CaretModel(const Document& document) {
  const std::u16string& text = document.Text();
  for (std::size_t k = 0; k < text.size(); ++k) {
    chars_.push_back(Char{text[k], document.FontAt(k)});
  }
}

std::u16string CaretModel::Text() const {
  std::u16string text;
  for (const Char& c : chars_) text.push_back(c.ch);
  return text;
}

void CaretModel::SetText(const std::u16string& text) {
  chars_.clear();
  for (char16_t ch : text) chars_.push_back(Char{ch, kDefaultFont});
  caret_ = 0;
  pendingFont_.reset();
}

void CaretModel::SetSelStart(long long p) {
  if (p < 0) p = 0;
  if (static_cast<unsigned long long>(p) > chars_.size()) p = static_cast<long long>(chars_.size());
  caret_ = static_cast<std::size_t>(p);
  pendingFont_.reset();  // placing the caret forgets any font chosen before
}

std::string CaretModel::SelFontName() const {
  if (caret_ >= 1) return chars_[caret_ - 1].font;
  if (pendingFont_) return *pendingFont_;
  return kDefaultFont;
}

void CaretModel::SetSelFontName(const std::string& font) { pendingFont_ = font; }

void CaretModel::SetSelText(const std::u16string& text) {
  std::string font;
  if (pendingFont_) {
    font = *pendingFont_;
  } else if (caret_ >= 1) {
    font = chars_[caret_ - 1].font;
  } else {
    font = kDefaultFont;
  }
  for (char16_t ch : text) {
    chars_.insert(chars_.begin() + static_cast<std::ptrdiff_t>(caret_), Char{ch, font});
    ++caret_;
  }
}

Document CaretModel::ToDocument() const {
  Document document;
  for (const Char& c : chars_) document.Append(c.ch, document.InternFont(c.font));
  return document;
}

}  // namespace maravelundi::reference
