#include "pdf/PopplerPdfReader.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>

#include <map>
#include <memory>

#include "convert/FontClassifier.h"
#include "pdf/PdfFonts.h"
#include "pdf/PdfLayout.h"
#include "plaintext/FontDetector.h"
#include "plaintext/PlainTextFont.h"

namespace maravelundi {
namespace {

// How sure the detector must be before a font whose name says nothing is
// read as a legacy font.
constexpr double kDetectorConfidence = 0.5;

Failure Refusal(const std::string& name, std::string message) {
  return Failure{FailureCode::kNotADocument, name, std::move(message), {}, std::nullopt};
}

std::u16string Utf16(const poppler::ustring& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// poppler prints what it cannot read to standard error; its messages are
// not the user's.
void Quiet(const std::string&, void*) {}

std::vector<PdfTextBox> TextBoxes(poppler::document& pdf) {
  std::vector<PdfTextBox> boxes;
  for (int index = 0; index < pdf.pages(); ++index) {
    const std::unique_ptr<poppler::page> page(pdf.create_page(index));
    if (!page) continue;
    for (const poppler::text_box& box : page->text_list(poppler::page::text_list_include_font)) {
      const poppler::rectf area = box.bbox();
      PdfTextBox& laid = boxes.emplace_back(PdfTextBox{Utf16(box.text()), area.left(), area.top(), area.right(),
                                                       area.bottom(), box.get_font_name(0), box.has_space_after(),
                                                       index + 1, {}});
      laid.charRights.reserve(laid.text.size());
      for (std::size_t c = 0; c < laid.text.size(); ++c) {
        laid.charRights.push_back(static_cast<float>(box.char_bbox(c).right()));
      }
    }
  }
  return boxes;
}

// Which legacy font each PDF font is read in, each font decided once.
class FontReadings {
 public:
  FontReadings(const std::vector<PdfTextBox>& boxes, const TextInputSettings& settings) {
    std::map<std::string, std::u16string> unnamedText;
    for (const PdfTextBox& box : boxes) {
      if (readings_.contains(box.font)) continue;
      if (auto legacy = LegacyFontNamed(box.font, classifier_)) {
        readings_[box.font] = std::move(legacy);
      } else if (!SaysNothing(WithoutSubsetPrefix(box.font))) {
        readings_[box.font] = std::nullopt;
      } else {
        unnamedText[box.font] += box.text + u" ";
      }
    }
    for (auto& [font, text] : unnamedText) readings_[font] = Unnamed(font, text, settings);
  }

  std::optional<std::string> Of(const std::string& font) const {
    const auto found = readings_.find(font);
    return found == readings_.end() ? std::nullopt : found->second;
  }
  const std::vector<std::string>& Details() const { return details_; }

 private:
  std::optional<std::string> Unnamed(const std::string& font, const std::u16string& text,
                                     const TextInputSettings& settings) {
    if (settings.font != "auto") {
      const std::optional<PlainTextFont> named = FindPlainTextFont(settings.font);
      if (named) {
        details_.push_back("the font " + font + " read as " + std::string(named->fontName) + " (--font)");
        return std::string(named->fontName);
      }
    }
    DecodedCodes decoded;
    DecodeCodes(text, decoded);
    const FontGuess guess = DetectFont(GlyphText{decoded.glyphs, {}, {}});
    if (guess.kind != TextKind::kLegacy || guess.confidence < kDetectorConfidence) {
      details_.push_back("the font " + font + " says nothing of itself and its text reads as no legacy font; kept");
      return std::nullopt;
    }
    details_.push_back("the font " + font + " read as " + std::string(guess.font.fontName) + " (found from its text)");
    return std::string(guess.font.fontName);
  }

  FontClassifier classifier_{Generation::kAuto};
  std::map<std::string, std::optional<std::string>> readings_;
  std::vector<std::string> details_;
};

std::string Pages(const std::vector<int>& pages) {
  std::string text;
  for (const int page : pages) text += (text.empty() ? "" : ", ") + std::to_string(page);
  return text;
}

}  // namespace

Result<PdfReading> PopplerPdfReader::Read(std::string_view bytes, const std::string& name,
                                          const TextInputSettings& text) const {
  return ReadIsolated([&] { return ReadHere(bytes, name, text); }, name, limits_);
}

Result<PdfReading> PopplerPdfReader::ReadHere(std::string_view bytes, const std::string& name,
                                              const TextInputSettings& text) const {
  poppler::set_debug_error_function(Quiet, nullptr);
  const std::unique_ptr<poppler::document> pdf(
      poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
  if (!pdf) return Refusal(name, "the PDF cannot be read (damaged, or not a PDF)");
  if (pdf->is_locked()) {
    return Failure{FailureCode::kEncrypted, name, "the PDF is encrypted and needs its password", {}, std::nullopt};
  }
  const std::vector<PdfTextBox> boxes = TextBoxes(*pdf);
  if (boxes.empty()) return Refusal(name, "no text in this PDF (is it a scan?)");
  const FontReadings fonts(boxes, text);
  PdfLayoutCounts counts;
  PdfReading reading;
  reading.document = LayOutPdfText(
      boxes, [&](const std::string& font) { return fonts.Of(font); }, unicodeFont_, counts);
  for (const std::string& detail : fonts.Details()) reading.details.push_back(name + ": " + detail);
  reading.details.push_back(name + ": " + std::to_string(pdf->pages()) + (pdf->pages() == 1 ? " page, " : " pages, ") +
                            std::to_string(counts.legacyCharacters) + " characters in legacy fonts");
  if (counts.codes.ambiguous > 0) {
    reading.details.push_back(name + ": " + std::to_string(counts.codes.ambiguous) +
                              " codes read back as a bullet, which stands for several codes (0x7F, 0x81, 0x8D, "
                              "0x8F, 0x90, 0x95, 0x9D), read as 0x95; on page " +
                              Pages(counts.ambiguousPages));
  }
  if (counts.codes.unicode > 0) {
    reading.details.push_back(name + ": " + std::to_string(counts.codes.unicode) +
                              " characters of legacy fonts came as Malayalam Unicode already, and are kept");
  }
  if (counts.codes.unknown > 0) {
    reading.details.push_back(name + ": " + std::to_string(counts.codes.unknown) +
                              " characters of legacy fonts stand for no code, and are kept as they are");
  }
  return reading;
}

}  // namespace maravelundi
