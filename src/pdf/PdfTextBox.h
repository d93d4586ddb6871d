#pragma once
// A piece of a PDF page's text as the PDF library hands it over, roughly a
// word: its characters as the library decoded them, where it stands (in
// points, y growing downwards), and the name of the font it is set in.

#include <string>
#include <vector>

namespace maravelundi {

struct PdfTextBox {
  std::u16string text;
  double left = 0, top = 0, right = 0, bottom = 0;
  std::string font;         // as the PDF names it, a subset prefix ("ABCDEF+") and all
  bool spaceAfter = false;  // the library saw a space after it on its line
  int page = 0;
  // Where each character of `text` ends on the right: what a line's
  // producer measured when it chose where to break the line.
  std::vector<float> charRights;
};

}  // namespace maravelundi
