// A PDF's text boxes as any producer might hand them over (any place, any
// order, pages going back, empty boxes, any characters in any font kind),
// made from the input's bytes, laid out into a document and converted. The
// layout loses no character, the document is well formed, and it converts.
// poppler itself is not fuzzed here: it is not ours, and it reads each PDF
// in a child process with limits of its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "convert/Conversion.h"
#include "pdf/PdfLayout.h"
#include "richtext/ByteSink.h"

namespace {

using maravelundi::PdfTextBox;

constexpr const char* kFonts[] = {"ML-TTKarthika", "BAAAAA+rl1", "Arial", "F1"};

// Each box: page, left, top, width, flags (space after, font), length,
// then its characters, two bytes each.
std::vector<PdfTextBox> BoxesOf(const std::uint8_t* data, std::size_t size) {
  std::vector<PdfTextBox> boxes;
  std::size_t at = 0;
  while (at + 6 <= size) {
    PdfTextBox box;
    box.page = 1 + data[at] % 4;
    box.left = data[at + 1] * 3.0;
    box.top = data[at + 2] * 4.0;
    box.right = box.left + data[at + 3];
    box.bottom = box.top + 1 + data[at + 4] % 20;
    box.spaceAfter = (data[at + 4] & 0x80) != 0;
    box.font = kFonts[(data[at + 4] >> 5) & 3];
    const std::size_t length = data[at + 5] % 16;
    const bool measured = data[at + 3] % 2 == 0;
    at += 6;
    for (std::size_t i = 0; i < length && at + 1 < size; ++i, at += 2) {
      box.text += static_cast<char16_t>(data[at] | (data[at + 1] << 8));
    }
    // Where each character ends, as the library measured them: for boxes
    // of an even width, steps of any size, backwards too.
    if (measured) {
      float right = static_cast<float>(box.left);
      for (const char16_t ch : box.text) {
        right += static_cast<float>(static_cast<std::int8_t>(ch & 0xFF));
        box.charRights.push_back(right);
      }
    }
    boxes.push_back(std::move(box));
  }
  return boxes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace maravelundi;
  const std::vector<PdfTextBox> boxes = BoxesOf(data, size);
  PdfLayoutCounts counts;
  const Document document = LayOutPdfText(
      boxes,
      [](const std::string& font) -> std::optional<std::string> {
        if (font == "ML-TTKarthika") return font;
        if (font == "BAAAAA+rl1") return std::string("rl1");
        return std::nullopt;
      },
      "Manjari", counts);
  fuzz::CheckWellFormed(document);
  std::size_t characters = 0;
  for (const PdfTextBox& box : boxes) characters += box.text.size();
  if (document.Size() < characters) fuzz::Fail("the layout lost characters");
  if (counts.codes.ambiguous + counts.codes.unicode + counts.codes.unknown > counts.legacyCharacters) {
    fuzz::Fail("more codes counted than legacy characters read");
  }
  StringSink text;
  ConvertDocument(document, OutputKind::kText, ConversionProfile{}, text);
  return 0;
}
