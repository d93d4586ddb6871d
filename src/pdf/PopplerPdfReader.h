#pragma once
// The PDF reader of the command line and the window: poppler's text boxes,
// each with its font's name, laid out into paragraphs (PdfLayout.h). A
// font named for a legacy font is read as its codes; a font whose name says
// nothing ("F1") is read as the font the plain-text detector finds its text
// in (--font auto), or as the font --font names; any other font's text is
// kept as it came.

#include "job/PdfInput.h"
#include "pdf/IsolatedRead.h"

namespace maravelundi {

class PopplerPdfReader : public PdfReader {
 public:
  explicit PopplerPdfReader(std::string unicodeFont, ReadLimits limits = {})
      : unicodeFont_(std::move(unicodeFont)), limits_(limits) {}
  // Reads in a child process, within the limits (IsolatedRead.h).
  Result<PdfReading> Read(std::string_view bytes, const std::string& name,
                          const TextInputSettings& text) const override;

 private:
  Result<PdfReading> ReadHere(std::string_view bytes, const std::string& name, const TextInputSettings& text) const;

  std::string unicodeFont_;
  ReadLimits limits_;
};

}  // namespace maravelundi
