#pragma once
// A PDF as an input: its text layer, read by a reader the program supplies
// (poppler, for the command line and the window; the page in the browser has
// none). Each piece of text in a PDF carries its font's name, so the text
// of a legacy font reads back as that font's codes, and the document made of
// it (a paragraph per paragraph of the PDF, each piece in its font's name) is
// converted as any document is.

#include <string>
#include <string_view>
#include <vector>

#include "failure/Failure.h"
#include "job/PlainTextInput.h"
#include "richtext/Document.h"

namespace maravelundi {

struct PdfReading {
  Document document;
  std::vector<std::string> notices;  // said whatever the verbosity
  std::vector<std::string> details;  // said with --verbose: the fonts read, the codes that cannot be known
};

class PdfReader {
 public:
  virtual ~PdfReader() = default;
  // The text of the PDF in `bytes`, or why there is none (no text layer,
  // a password). `name` is the input as messages call it; `text` says which
  // font a font whose name says nothing is read in (--font).
  virtual Result<PdfReading> Read(std::string_view bytes, const std::string& name,
                                  const TextInputSettings& text) const = 0;
};

// Why a PDF cannot be read where no reader is supplied.
Failure NoPdfReader(const std::string& name);

}  // namespace maravelundi
